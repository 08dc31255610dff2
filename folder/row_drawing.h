#pragma once
// The drawing of a menu window: its rows as popup-menu rows (with the arrow
// of a row that opens a sub-menu), each row's icon asked for the first time
// the row is drawn, and the arrows of the two scroll buttons.
#include <windows.h>

#include <memory>

#include "folder/folder_entries.h"
#include "folder/icon_lookup.h"
#include "folder/list_box.h"
#include "ui/menu.h"
#include "ui/menu_metrics.h"

namespace folder {

class TRowDrawing {
public:
    // rows: the window's FileList; entries: its entries; view: its list
    // (made after this, read when an icon comes in).
    TRowDrawing(ui::TPopupMenu& rows, TFolderEntries& entries, const std::unique_ptr<TListBox>& view);

    // Draws row index into rect on canvas; folder is the window's, of which
    // the row's shell object is made when its icon is to be asked for.
    void DrawRow(HDC canvas, int index, RECT rect, ui::TOwnerDrawState state, const ui::TMenuMetrics& metrics,
                 const TShellObject* folder);
    // Draws a scroll button's arrow, dimmed when the list cannot scroll its
    // way, on the window's background colour.
    static void DrawScrollButton(HDC canvas, RECT client, bool up, bool canScroll, int backgroundColor);
    TIconLookups& Icons() noexcept { return icons_; }

private:
    void IconArrived(int index, int icon);

    ui::TPopupMenu& rows_;
    TFolderEntries& entries_;
    const std::unique_ptr<TListBox>& view_;
    TIconLookups icons_{[this](int index, int icon) { IconArrived(index, icon); }};
};

}  // namespace folder
