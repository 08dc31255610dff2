#include "ui/menu.h"

#include "ui/handles.h"
#include "ui/image_list.h"
#include "ui/menu_metrics.h"

namespace ui {

void TMenuItem::Click() {
    if (Enabled && OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(HDC canvas, const TMenuMetrics& metrics, int& width, int& height) const {
    width = metrics.TextLeft() + metrics.TextWidth(canvas, Caption) + metrics.TextRightPadding();
    height = metrics.RowHeight();
}

void TMenuItem::DrawItem(HDC canvas, const RECT& rect, TOwnerDrawState state, const TMenuMetrics& metrics) const {
    const bool selected = (state & ODS_SELECTED) != 0;
    FillRect(canvas, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const int height = rect.bottom - rect.top;
    if (menu_ && menu_->Images && ImageIndex >= 0) {
        menu_->Images->Draw(canvas, rect.left + metrics.IconLeft(),
                            rect.top + (height - metrics.IconHeight()) / 2, ImageIndex, Enabled);
    }
    SelectGuard font(canvas, metrics.Font());
    SetBkMode(canvas, TRANSPARENT);
    RECT text = rect;
    text.left += metrics.TextLeft();
    text.right -= metrics.TextRightPadding();
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS;
    if (!Enabled && !selected) {
        // The classic greyed look: an embossed copy under the grey text.
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(canvas, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(canvas, Caption.c_str(), -1, &shadow, format);
    }
    SetTextColor(canvas, GetSysColor(!Enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextW(canvas, Caption.c_str(), -1, &text, format);
}

TMenuItem& TPopupMenu::Add(std::unique_ptr<TMenuItem> item) {
    item->menu_ = this;
    items_.push_back(std::move(item));
    return *items_.back();
}

const TMenuMetrics& TPopupMenu::Metrics(UINT dpi) const {
    const int width = Images ? Images->Width() : 0;
    const int height = Images ? Images->Height() : 0;
    return TMenuMetrics::For(dpi, width, height);
}

}  // namespace ui
