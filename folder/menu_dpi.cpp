#include "folder/menu_dpi.h"

#include <algorithm>

#include "core/menu_placement.h"
#include "core/scope_exit.h"
#include "folder/folder_form.h"
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

UINT TMenuDpi::Dpi() const noexcept { return dpi_ ? dpi_ : ui::WindowDpi(form_.Handle()); }

bool TMenuDpi::ShowAt(POINT anchor) {
    const UINT dpi = ui::MonitorDpiAt(anchor, form_.Handle());
    const bool filled = form_.FileList.Count() > 0;
    const bool again = filled && dpi != Dpi();
    if (again) {
        Measure(dpi);
    } else {
        dpi_ = dpi;
    }
    form_.FFrameWidth = FrameSize().cy / 2;
    return again;
}

SIZE TMenuDpi::FrameSize() const noexcept { return ui::FrameSizeForDpi(form_.Handle(), Dpi()); }

void TMenuDpi::Measure(UINT dpi) {
    dpi_ = dpi;
    const ui::TMenuMetrics& metrics = form_.RowMetrics();
    const int rowHeight = metrics.RowHeight();
    form_.FileView->SetItemHeight(rowHeight);
    form_.UpButton->SetHeight(rowHeight);
    form_.DownButton->SetHeight(rowHeight);
    // The theme's parts were opened for the old DPI.
    form_.FileView->MenuTheme.Reset();
    // The width pass once more, over the captions already in, from the
    // font's letter widths for most: the shell is asked nothing, and the
    // names still to come are measured at the new DPI as they come.
    ui::UniqueDC dc(CreateCompatibleDC(nullptr));
    int widest = 0;
    for (const auto& item : form_.FileList.Items()) {
        int width = 0, height = 0;
        item->MeasureItem(dc.get(), metrics, width, height);
        widest = std::max(widest, width);
    }
    form_.FWidest = widest;
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
    if (dpi == 0 || dpi == Dpi() || g_placing || form_.FileList.Count() == 0) return 0;
    g_placing = true;
    const auto placed = core::ScopeExit([] { g_placing = false; });
    Measure(dpi);
    Place();
    return 0;
}

void TMenuDpi::Place() {
    HWND wnd = form_.Handle();
    // The system works the frame out for the window's DPI again; it is what
    // the window has from then on.
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, kPlaceFlags | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
    const SIZE frame = ui::FrameSizeForDpi(wnd, ui::WindowDpi(wnd));
    form_.FFrameWidth = frame.cy / 2;
    const int rowHeight = form_.FileView->ItemHeight();
    // One row height more than the widest entry: room for the arrow.
    const int outerWidth = form_.FWidest + rowHeight + frame.cx;
    const RECT outer = form_.BoundsRect();
    if (!form_.Visible()) {
        // A closed child: its next show places it.
        SetWindowPos(wnd, nullptr, 0, 0, outerWidth, outer.bottom - outer.top, kPlaceFlags | SWP_NOMOVE);
        return;
    }

    auto* parent = dynamic_cast<TFolderForm*>(form_.Owner());
    POINT anchor = anchor_;
    if (parent) {
        // The parent's row as it is now: the parent may have been measured
        // again before this window.
        TListBox& rows = *parent->FileView;
        const RECT row = rows.ItemRect(form_.FParentRow >= 0 ? form_.FParentRow : rows.ItemIndex());
        anchor = POINT{row.right, row.top};
        ClientToScreen(rows.Handle(), &anchor);
    }
    const RECT work = form_.WorkArea();
    const int ownerLeft = parent ? parent->BoundsRect().left : 0;
    int left = 0;
    if (leftwards_) {
        left = (parent ? ownerLeft : anchor.x) - outerWidth;
    } else {
        // Now wider than the work area has room for: it flips as a first
        // show would flip it.
        left = core::FlipLeft(anchor.x, outerWidth, work.right, parent ? &ownerLeft : nullptr);
        leftwards_ = left != anchor.x;
    }
    const int top = parent ? anchor.y - form_.FFrameWidth : anchor.y;
    const core::VerticalFit fit = core::FitVertically(top, form_.FileList.Count(), rowHeight, form_.FFrameWidth,
                                                      core::Rect{work.left, work.top, work.right, work.bottom});
    SetWindowPos(wnd, nullptr, left, fit.top, outerWidth, fit.clientHeight + frame.cy, kPlaceFlags);
    const bool cut = form_.ClientSize().cy != form_.FileList.Count() * rowHeight;
    form_.UpButton->SetVisible(cut);
    form_.DownButton->SetVisible(cut);
    InvalidateRect(wnd, nullptr, TRUE);

    // The open children hang on this window's rows, which have moved.
    for (TFolderForm* child : form_.FChildren)
        if (child->Visible()) child->FDpi.Place();
}

}  // namespace folder
