// Captions that come in after a big folder's window is shown: the names
// timer names items between input and collects what the helper threads
// have named; the window widens to its widest caption as they come.
#include <algorithm>

#include "folder/folder_form.h"
#include "ui/menu_metrics.h"

namespace folder {

namespace {
// Time the UI thread spends naming per tick, at most (it stops at once
// when input arrives).
constexpr ULONGLONG kNamingSliceMs = 12;
// A window widens at most this often while names come in: rarely enough
// not to flicker, often enough that a wider caption is soon seen whole.
constexpr ULONGLONG kWideningGapMs = 250;
// Set on a menu window once every caption it lists is final; tools (and
// the benchmark) read it to know that the listing is complete.
constexpr wchar_t kListedProperty[] = L"QuinceListed";
}  // namespace

void TFolderForm::CaptionArrived(int entry) {
    if (!FMeasureDC) return;
    int w = 0, h = 0;
    FileList.Item(entry).MeasureItem(FMeasureDC.get(), RowMetrics(), w, h);
    FWidest = std::max(FWidest, w);
}

void TFolderForm::CaptionsDone() {
    KillTimer(Handle(), kNamesTimer);
    FPendingCaptions.reset();
    FMeasureDC.reset();
    SetPropW(Handle(), kListedProperty, reinterpret_cast<HANDLE>(1));
}

void TFolderForm::NamesTick() {
    if (!FPendingCaptions) {
        KillTimer(Handle(), kNamesTimer);
        return;
    }
    FPendingCaptions->Work(GetTickCount64() + kNamingSliceMs);
    const bool done = FPendingCaptions->Done();
    if (done || GetTickCount64() - FLastWidening >= kWideningGapMs) FollowWidestCaption();
    if (done) CaptionsDone();
}

void TFolderForm::FollowWidestCaption() {
    // One row height more than the widest entry: room for the arrow.
    const int clientWidth = FWidest + FileView->ItemHeight();
    const SIZE client = ClientSize();
    if (clientWidth <= client.cx) return;
    FLastWidening = GetTickCount64();
    const RECT outer = BoundsRect();
    const int width = (outer.right - outer.left) + (clientWidth - client.cx);
    // A child opened to the left of its parent grows leftwards, away from
    // it; any other window grows rightwards, both within the work area.
    const auto* parent = dynamic_cast<TFolderForm*>(Owner());
    const bool leftOfParent = parent && outer.right <= parent->BoundsRect().left;
    const RECT work = WorkArea();
    int left = leftOfParent ? outer.right - width : outer.left;
    left = std::max<int>(work.left, std::min<int>(left, work.right - width));
    SetWindowPos(Handle(), nullptr, left, outer.top, width, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

}  // namespace folder
