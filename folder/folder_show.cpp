// Showing a menu window: filled on the first show, then placed beside the
// parent's selected row (or at the pointer) inside the monitor's work area;
// widened while its captions come in.
#include <algorithm>

#include "core/menu_placement.h"
#include "folder/folder_form.h"
#include "ui/dpi.h"
#include "ui/menu_metrics.h"

namespace folder {

namespace {
core::Rect ToCore(const RECT& r) { return core::Rect{r.left, r.top, r.right, r.bottom}; }
}  // namespace

const ui::TMenuMetrics& TFolderForm::RowMetrics() const { return FileList.Metrics(FDpi.Dpi()); }

RECT TFolderForm::WorkArea() const {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (ui::SystemMetricForDpi(SM_CMONITORS, ui::WindowDpi(Handle())) > 1) {
        HMONITOR monitor = nullptr;
        if (const ui::TForm* parent = FChain.ParentForm()) {
            monitor = MonitorFromWindow(parent->Handle(), MONITOR_DEFAULTTONULL);
        } else {
            POINT pt{};
            GetCursorPos(&pt);
            monitor = MonitorFromPoint(pt, MONITOR_DEFAULTTONULL);
        }
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (monitor && GetMonitorInfoW(monitor, &info)) work = info.rcWork;
    }
    return work;
}

void TFolderForm::FormShow(ui::TObject*) {
    FChain.Shown(*this);
    const bool isChild = FChain.IsChild();
    core::MenuPlacementRequest request;
    request.child = isChild;
    request.work = ToCore(WorkArea());
    POINT anchor{};
    if (isChild) {
        // The parent's row leading here, right end, top edge, on the screen.
        FChain.ParentRowAnchor(anchor, request.ownerLeft);
    } else {
        GetCursorPos(&anchor);
    }
    request.anchorX = anchor.x;
    request.anchorY = anchor.y;
    request.currentLeft = BoundsRect().left;
    request.firstShow = FileList.Count() == 0;
    // The rows are measured for the monitor the window opens on, which is
    // not the one it was made on; one shown before at another DPI is
    // measured again.
    const bool remeasured = FDpi.ShowAt(POINT{request.anchorX, request.anchorY});

    int rowHeight = 0;
    int clientWidth = ClientSize().cx;
    if (request.firstShow) {
        int widest = 0;
        // An error here (the folder cannot be listed, a bad mask) leaves the
        // window unsized and empty; the next show tries again.
        Populate(widest, rowHeight);
        // One row height more than the widest entry: room for the arrow.
        clientWidth = widest + rowHeight;
        FileView->SetItemHeight(rowHeight);
        UpButton->SetHeight(rowHeight);
        DownButton->SetHeight(rowHeight);
    } else {
        rowHeight = FileView->ItemHeight();
        if (remeasured) clientWidth = FCaptions.Widest() + rowHeight;
    }

    // The frame as it will be there (the system scales it with the DPI).
    const SIZE frame = FDpi.FrameSize();
    request.outerWidth = clientWidth + frame.cx;
    request.frame = FFrameWidth;
    request.rowHeight = rowHeight;
    request.rowCount = FileList.Count();
    const core::MenuPlacement placement = core::PlaceMenu(request);
    // Leftwards: a root flipped onto the pointer, a child left of its parent.
    // Told before the move: a window landing on a monitor of another DPI
    // than the anchor's is measured and placed again inside it.
    const bool leftwards = isChild ? placement.left + request.outerWidth <= request.ownerLeft
                                  : placement.left != request.anchorX;
    FDpi.Placed(POINT{request.anchorX, request.anchorY}, leftwards);
    SetBounds(placement.left, placement.top, request.outerWidth, placement.clientHeight + frame.cy);

    FileView->SetItemIndex(-1);
    // Read back: the buttons show exactly when not every row fits (at the
    // height the rows have now: landing on a monitor of another DPI than
    // the anchor's measures them again).
    const bool cut = ClientSize().cy != request.rowCount * FileView->ItemHeight();
    UpButton->SetVisible(cut);
    DownButton->SetVisible(cut);
    if (!request.firstShow) return;
    // The rest of the names come in while the window is up.
    if (FCaptions.Done()) {
        TCaptionFill::Finished(Handle());
    } else {
        SetTimer(Handle(), TCaptionFill::kTimer, TCaptionFill::kTimerMs, nullptr);
    }
}

void TFolderForm::Widen(int widest) {
    // One row height more than the widest entry: room for the arrow.
    const int clientWidth = widest + FileView->ItemHeight();
    const SIZE client = ClientSize();
    if (clientWidth <= client.cx) return;
    const RECT outer = BoundsRect();
    const int width = (outer.right - outer.left) + (clientWidth - client.cx);
    // A child opened to the left of its parent grows leftwards, away from
    // it; any other window grows rightwards, both within the work area.
    const ui::TForm* parent = FChain.ParentForm();
    const bool leftOfParent = parent && outer.right <= parent->BoundsRect().left;
    const RECT work = WorkArea();
    int left = leftOfParent ? outer.right - width : outer.left;
    left = std::max<int>(work.left, std::min<int>(left, work.right - width));
    SetWindowPos(Handle(), nullptr, left, outer.top, width, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    // The list only repaints the strip it gained: its rows' arrows, at the
    // old right edge, would stay where they were beside the new ones.
    FileView->Invalidate();
}

}  // namespace folder
