// Opening a child window: its folder is listed on a thread of its own. A
// listing there within a moment shows the child at once, as if listed here;
// a longer one leaves this window taking the pointer and the keys (a click
// outside or Escape ends the wait like any other), and the child shows when
// its listing comes, if its row is still the one selected.
#include <utility>

#include "folder/folder_form.h"
#include "shell/folder_lister.h"
#include "sys/worker_thread.h"

namespace folder {

namespace {
WPARAM g_lastListing = 0;  // UI thread only
}  // namespace

TFolderForm* TFolderForm::OpenSubMenu() {
    const int index = FileView->ItemIndex();
    // Resting again on the row whose child is being listed waits on.
    if (index >= 0 && index == FPending.row) return nullptr;
    CloseSubMenus();
    TFolderForm* child = ChildForm(index);
    if (!child || !ListAhead(*child, index)) return nullptr;
    child->Show();
    return child;
}

bool TFolderForm::ListAhead(TFolderForm& child, int row) {
    // Shown before, or listed already: its show has what it needs.
    if (child.FileList.Count() > 0 || child.ListedAhead || !child.Namespace) return true;
    shell::TListRequest request;
    request.flags = static_cast<DWORD>(child.EnumFlags);
    request.mask = child.FileMask;
    const WPARAM tag = ++g_lastListing;
    auto lister = std::make_shared<shell::TFolderLister>(child.Namespace->AbsID, std::move(request),
                                                         shell::TListedNotice{Handle(), kChildListed, tag});
    child.ListedAhead = [lister] { return lister->Take(); };
    if (lister->Done() || sys::WaitAnsweringSentMessages(lister->Finished(), ChildListWaitMs) == WAIT_OBJECT_0) {
        return true;
    }
    FPending = TPendingChild{row, tag, false};
    return false;
}

void TFolderForm::PendingChildListed(WPARAM tag) {
    // A notice of a listing shown already, or let go.
    if (FPending.row < 0 || tag != FPending.tag) return;
    const TPendingChild pending = std::exchange(FPending, TPendingChild{});
    // Moved on meanwhile: the listing stays with the child for its next show.
    if (!Visible() || FileView->ItemIndex() != pending.row) return;
    TFolderForm* child = FEntries.Child(pending.row);
    if (!child) return;
    child->Show();
    if (pending.selectFirst) child->FileView->SetItemIndex(0);
}

void TFolderForm::DropPendingChild() {
    const TPendingChild pending = std::exchange(FPending, TPendingChild{});
    if (pending.row < 0) return;
    // Its thread stops at the next item.
    if (TFolderForm* child = FEntries.Child(pending.row)) child->ListedAhead = nullptr;
}

}  // namespace folder
