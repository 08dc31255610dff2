#include "ui/menu.h"

#include <vssym32.h>

#include "ui/dpi.h"
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

namespace {
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS;

RECT CaptionRect(const RECT& rect, const TMenuMetrics& metrics) {
    RECT text = rect;
    text.left += metrics.TextLeft();
    text.right -= metrics.TextRightPadding();
    return text;
}
}  // namespace

void TMenuItem::DrawItem(HDC canvas, const RECT& rect, TOwnerDrawState state, const TMenuMetrics& metrics,
                         HTHEME theme) const {
    const bool selected = (state & ODS_SELECTED) != 0;
    if (theme) {
        DrawThemed(canvas, rect, selected, metrics, theme);
    } else {
        DrawClassic(canvas, rect, selected, metrics);
    }
}

void TMenuItem::DrawIcon(HDC canvas, const RECT& rect, const TMenuMetrics& metrics) const {
    if (!menu_ || !menu_->Images || ImageIndex < 0) return;
    const int height = rect.bottom - rect.top;
    menu_->Images->Draw(canvas, rect.left + metrics.IconLeft(), rect.top + (height - metrics.IconHeight()) / 2,
                        ImageIndex, Enabled, metrics.IconWidth(), metrics.IconHeight());
}

void TMenuItem::DrawClassic(HDC canvas, const RECT& rect, bool selected, const TMenuMetrics& metrics) const {
    // Flat menus (the XP-style classic look, and Wine's default) highlight
    // in the menu highlight colour and grey disabled text without embossing.
    BOOL flat = FALSE;
    SystemParametersInfoW(SPI_GETFLATMENU, 0, &flat, 0);
    FillRect(canvas, &rect, GetSysColorBrush(selected ? (flat ? COLOR_MENUHILIGHT : COLOR_HIGHLIGHT) : COLOR_MENU));
    DrawIcon(canvas, rect, metrics);
    SelectGuard font(canvas, metrics.Font());
    SetBkMode(canvas, TRANSPARENT);
    RECT text = CaptionRect(rect, metrics);
    if (!Enabled && !selected && !flat) {
        // The classic greyed look: an embossed copy under the grey text.
        RECT shadow = text;
        OffsetRect(&shadow, 1, 1);
        SetTextColor(canvas, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(canvas, Caption.c_str(), -1, &shadow, kCaptionFormat);
    }
    SetTextColor(canvas, GetSysColor(!Enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextW(canvas, Caption.c_str(), -1, &text, kCaptionFormat);
}

void TMenuItem::DrawThemed(HDC canvas, const RECT& rect, bool selected, const TMenuMetrics& metrics,
                           HTHEME theme) const {
    // The parts in the order a themed popup menu stacks them: background,
    // icon gutter, then the item's own state (the hot highlight) on top.
    DrawThemeBackground(theme, canvas, MENU_POPUPBACKGROUND, 0, &rect, nullptr);
    RECT gutter = rect;
    gutter.right = rect.left + metrics.GutterWidth();
    DrawThemeBackground(theme, canvas, MENU_POPUPGUTTER, 0, &gutter, nullptr);
    const int stateId = Enabled ? (selected ? MPI_HOT : MPI_NORMAL) : (selected ? MPI_DISABLEDHOT : MPI_DISABLED);
    if (selected) {
        RECT item = rect;
        InflateRect(&item, -metrics.ItemMargin(), 0);
        DrawThemeBackground(theme, canvas, MENU_POPUPITEM, stateId, &item, nullptr);
    }
    DrawIcon(canvas, rect, metrics);
    SelectGuard font(canvas, metrics.Font());
    SetBkMode(canvas, TRANSPARENT);
    RECT text = CaptionRect(rect, metrics);
    DrawThemeText(theme, canvas, MENU_POPUPITEM, stateId, Caption.c_str(), -1, kCaptionFormat, 0, &text);
}

TMenuItem& TPopupMenu::Add(std::unique_ptr<TMenuItem> item) {
    item->menu_ = this;
    items_.push_back(std::move(item));
    return *items_.back();
}

const TMenuMetrics& TPopupMenu::Metrics(UINT dpi) const {
    // The image list's icons are made for the system DPI; the icon column
    // at another DPI is theirs scaled, and DrawIcon scales them to it.
    const int screen = static_cast<int>(ScreenDpi());
    const int width = Images ? MulDiv(Images->Width(), static_cast<int>(dpi), screen) : 0;
    const int height = Images ? MulDiv(Images->Height(), static_cast<int>(dpi), screen) : 0;
    return TMenuMetrics::For(dpi, width, height);
}

}  // namespace ui
