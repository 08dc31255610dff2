#include "folder/row_drawing.h"

#include "core/arrow_geometry.h"
#include "ui/menu_arrow.h"

namespace folder {

TRowDrawing::TRowDrawing(ui::TPopupMenu& rows, TFolderEntries& entries, const std::unique_ptr<TListBox>& view)
    : rows_(rows), entries_(entries), view_(view) {}

void TRowDrawing::DrawRow(HDC canvas, int index, RECT rect, ui::TOwnerDrawState state,
                          const ui::TMenuMetrics& metrics, const TShellObject* folder) {
    if (index < 0 || index >= rows_.Count()) return;
    ui::TMenuItem& item = rows_.Item(index);
    item.DrawItem(canvas, rect, state, metrics, view_ ? view_->MenuTheme.Get(view_->Handle()) : nullptr);
    if (entries_.OpensSubMenu(index)) {
        const bool selected = (state & ODS_SELECTED) != 0;
        const auto arrow = core::SubMenuArrowFor(rect.left, rect.top, rect.right, rect.bottom);
        ui::DrawArrow(canvas, core::ArrowDirection::Right, arrow.size, arrow.origin.x, arrow.origin.y,
                      GetSysColor(selected ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT));
    }
    if (item.ImageIndex < 0 && entries_.Icon(index) == TIconState::None) {
        const TShellObject* entry = entries_.Object(index, folder);
        if (entry && icons_.Request(index, entry->AbsID)) entries_.SetIcon(index, TIconState::Pending);
    }
}

void TRowDrawing::IconArrived(int index, int icon) {
    if (index < 0 || index >= rows_.Count()) return;
    entries_.SetIcon(index, icon < 0 ? TIconState::NoneFound : TIconState::Done);
    rows_.Item(index).ImageIndex = icon;
    if (icon >= 0 && view_) view_->RedrawItem(index);
}

void TRowDrawing::DrawScrollButton(HDC canvas, RECT client, bool up, bool canScroll, int backgroundColor) {
    // The paint box erases nothing itself: the window's own background.
    FillRect(canvas, &client, GetSysColorBrush(backgroundColor));
    const auto arrow = core::ScrollArrowFor(client.right - client.left, client.bottom - client.top);
    const COLORREF color = GetSysColor(canScroll ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
    ui::DrawArrow(canvas, up ? core::ArrowDirection::Up : core::ArrowDirection::Down, arrow.size, arrow.origin.x,
                  arrow.origin.y, color);
}

}  // namespace folder
