#pragma once
// The menu window's list: never shows a scroll bar or a focus rectangle, and
// hands the hover notification to the window that holds it.
#include "ui/list_box.h"
#include "ui/menu_theme.h"

namespace folder {

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
};

}  // namespace folder
