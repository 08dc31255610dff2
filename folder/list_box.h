#pragma once
// The menu window's list: never shows a scroll bar or a focus rectangle,
// hands the hover notification to the window that holds it, and tells that
// window when a press on a row turns into a drag.
#include "ui/list_box.h"
#include "ui/menu_theme.h"

namespace folder {

// Sent to the list's parent when the pointer, left button down, has left
// the drag rectangle around the press: wParam is the row pressed on (-1
// for none). The parent runs the drag inside the message.
inline constexpr UINT kBeginRowDrag = WM_APP + 0x117;

class TListBox final : public ui::TListBox {
public:
    using ui::TListBox::TListBox;

    // Index of the last wholly visible row.
    int BottomIndex() const;
    // Whether the list can scroll one row up (Up) or down.
    bool CanScroll(bool Up) const;
    // Arms or cancels the hover notification for the list (TrackMouseEvent
    // flags), after the system's menu show delay.
    void TrackHover(DWORD Flags);
    // Draws row index now, where it is and as it is, through the owner-draw
    // path; nothing when it is out of view.
    void RedrawItem(int index);
    // Raised once the selected row has changed, by the keys, the pointer or
    // SetItemIndex.
    ui::TNotifyEvent OnSelectionChange;
    // The visual style rows are drawn with (opened on this list, dropped
    // when the theme changes).
    ui::TMenuTheme MenuTheme;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void CNDrawItem(DRAWITEMSTRUCT& dis);
    LRESULT WMNCCalcSize(WPARAM wp, LPARAM lp);
    // Press tracking for drags: true when the move began a drag.
    bool DragMove(WPARAM wp, LPARAM lp);

    bool FPressed = false;
    POINT FPressPoint{0, 0};
};

}  // namespace folder
