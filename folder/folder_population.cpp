// Filling a menu window on its first show: the folder's listing becomes the
// window's entries in one step, and the list shows them as rows of its own
// (a count, no strings), so filling it costs nothing per row.
#include <algorithm>
#include <utility>

#include "folder/folder_form.h"
#include "folder/folder_listing.h"
#include "ui/menu_metrics.h"

namespace folder {

void TFolderForm::Populate(int& width, int& height) {
    // Listed apart and taken over whole: an error midway (the folder cannot
    // be listed, a bad mask) leaves the window empty, and the next show
    // tries again. An item the shell cannot make is skipped when first used.
    const ui::TNotifyEvent onClick(this, &TFolderForm::MenuItemClick);
    TFolderListing listing = ListedAhead ? ListedRows(Namespace, std::exchange(ListedAhead, nullptr)(), onClick)
                                         : ListFolder(Namespace, EnumFlags, FileMask, onClick);
    FEntries.Add(std::move(listing.rows), std::move(listing.entries));
    FileView->SetCount(FileList.Count());

    height = RowMetrics().RowHeight();
    if (!listing.names) {
        FCaptions.MeasureAll();
    } else {
        // The window shows once the rows it can show at first have their
        // captions (as many as the work area holds); a few names only are
        // not worth the wait for a later caption.
        const bool helped = listing.names->Helpers() > 0;
        const RECT work = WorkArea();
        const int first = helped ? (work.bottom - work.top) / std::max(1, height) + 1 : FileList.Count();
        FCaptions.Start(std::move(listing.names), std::move(listing.itemOfRow), first);
    }
    width = FCaptions.Widest();
}

}  // namespace folder
