#include "folder/menu_dpi.h"

#include <algorithm>

#include "core/menu_placement.h"
#include "core/scope_exit.h"
#include "ui/dpi.h"
#include "ui/handles.h"
#include "ui/menu_metrics.h"

namespace folder {

namespace {

// True while a window is placed for its new DPI (UI thread only). A move
// that takes a window onto a monitor of yet another DPI does not start
// another round: two monitors could otherwise hand it back and forth.
bool g_placing = false;

constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

}  // namespace

UINT TMenuDpi::Dpi() const noexcept { return dpi_ ? dpi_ : ui::WindowDpi(site_.window.Handle()); }

bool TMenuDpi::ShowAt(POINT anchor) {
    const UINT dpi = ui::MonitorDpiAt(anchor, site_.window.Handle());
    const bool filled = site_.rows.Count() > 0;
    const bool again = filled && dpi != Dpi();
    if (again) {
        Measure(dpi);
    } else {
        dpi_ = dpi;
    }
    site_.frameWidth = FrameSize().cy / 2;
    return again;
}

SIZE TMenuDpi::FrameSize() const noexcept { return ui::FrameSizeForDpi(site_.window.Handle(), Dpi()); }

void TMenuDpi::Measure(UINT dpi) {
    dpi_ = dpi;
    const int rowHeight = site_.rows.Metrics(dpi).RowHeight();
    site_.view->SetItemHeight(rowHeight);
    site_.upButton->SetHeight(rowHeight);
    site_.downButton->SetHeight(rowHeight);
    // The theme's parts were opened for the old DPI.
    site_.view->MenuTheme.Reset();
    // The width pass once more, over the captions already in: the shell is
    // asked nothing, and the names still to come are measured at the new
    // DPI as they come.
    site_.captions.MeasureAll();
}

LRESULT TMenuDpi::DpiChanged(WPARAM wp, LPARAM) {
    // lParam suggests a rectangle: the window scaled about its own place, as
    // for a window the user drags onto another monitor. A menu hangs on a
    // point instead (the pointer it opened at, or its parent's row), and its
    // new size is no scaled copy of the old (whole rows, text that does not
    // scale evenly, the work area). So the suggestion is left alone: the
    // rows are measured at the new DPI, and the window is placed as its show
    // would place it, with the same corner on its anchor (top left, or top
    // right for a window that opened leftwards).
    const UINT dpi = HIWORD(wp);  // the vertical DPI; the horizontal one is the same
    // A window not yet filled is measured by its first show.
    if (dpi == 0 || dpi == Dpi() || g_placing || site_.rows.Count() == 0) return 0;
    g_placing = true;
    const auto placed = core::ScopeExit([] { g_placing = false; });
    Measure(dpi);
    Place();
    return 0;
}

void TMenuDpi::Place() {
    HWND wnd = site_.window.Handle();
    // The system works the frame out for the window's DPI again; it is what
    // the window has from then on.
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, kPlaceFlags | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
    const SIZE frame = ui::FrameSizeForDpi(wnd, ui::WindowDpi(wnd));
    site_.frameWidth = frame.cy / 2;
    const int rowHeight = site_.view->ItemHeight();
    // One row height more than the widest entry: room for the arrow.
    const int outerWidth = site_.captions.Widest() + rowHeight + frame.cx;
    const RECT outer = site_.window.BoundsRect();
    if (!site_.window.Visible()) {
        // A closed child: its next show places it.
        SetWindowPos(wnd, nullptr, 0, 0, outerWidth, outer.bottom - outer.top, kPlaceFlags | SWP_NOMOVE);
        return;
    }

    const bool child = site_.chain.IsChild();
    POINT anchor = anchor_;
    int ownerLeft = 0;
    // The parent's row as it is now: the parent may have been measured
    // again before this window.
    if (child) site_.chain.ParentRowAnchor(anchor, ownerLeft);
    const RECT work = site_.workArea();
    int left = 0;
    if (leftwards_) {
        left = (child ? ownerLeft : anchor.x) - outerWidth;
    } else {
        // Now wider than the work area has room for: it flips as a first
        // show would flip it.
        left = core::FlipLeft(anchor.x, outerWidth, work.right, child ? &ownerLeft : nullptr);
        leftwards_ = left != anchor.x;
    }
    const int rows = site_.rows.Count();
    const int top = child ? anchor.y - site_.frameWidth : anchor.y;
    const core::VerticalFit fit = core::FitVertically(top, rows, rowHeight, site_.frameWidth,
                                                      core::Rect{work.left, work.top, work.right, work.bottom});
    SetWindowPos(wnd, nullptr, left, fit.top, outerWidth, fit.clientHeight + frame.cy, kPlaceFlags);
    const bool cut = site_.window.ClientSize().cy != rows * rowHeight;
    site_.upButton->SetVisible(cut);
    site_.downButton->SetVisible(cut);
    InvalidateRect(wnd, nullptr, TRUE);

    // The open child hangs on this window's row, which has moved.
    if (ui::TForm* open = site_.chain.OpenChild(); open && open->Visible())
        SendMessageW(open->Handle(), kFollowParentRow, 0, 0);
}

}  // namespace folder
