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
    // The visual style rows are drawn with (opened on this list, dropped
    // when the theme changes).
    ui::TMenuTheme MenuTheme;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CNDrawItem(DRAWITEMSTRUCT& dis);
    LRESULT WMNCCalcSize(WPARAM wp, LPARAM lp);
    // Press tracking for drags: true when the move began a drag.
    bool DragMove(WPARAM wp, LPARAM lp);

    bool FPressed = false;
    POINT FPressPoint{0, 0};
};

}  // namespace folder
