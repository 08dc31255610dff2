#pragma once
// The DPI a menu window's rows are measured at. A window is measured for the
// monitor it is about to open on, before it is placed there, and measured
// again when the system tells it that its DPI has changed (WM_DPICHANGED: a
// monitor's scale was changed, or the window ended up on another monitor);
// it then keeps hanging where it hung, on the pointer it opened at or on
// its parent's row.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "folder/caption_fill.h"
#include "folder/list_box.h"
#include "folder/menu_chain.h"
#include "ui/form.h"
#include "ui/menu.h"
#include "ui/paint_box.h"

namespace folder {

// What of its window the DPI handling sizes and places.
struct TMenuDpiSite {
    ui::TForm& window;
    ui::TPopupMenu& rows;
    const std::unique_ptr<TListBox>& view;
    const std::unique_ptr<ui::TPaintBox>& upButton;
    const std::unique_ptr<ui::TPaintBox>& downButton;
    TCaptionFill& captions;
    TMenuChain& chain;
    std::int32_t& frameWidth;
    std::function<RECT()> workArea;
};

class TMenuDpi {
public:
    // Sent to an open child once its parent has been placed again: its row
    // has moved, and the child follows it.
    static constexpr UINT kFollowParentRow = WM_APP + 0x118;

    explicit TMenuDpi(TMenuDpiSite site) : site_(std::move(site)) {}
    TMenuDpi(const TMenuDpi&) = delete;
    TMenuDpi& operator=(const TMenuDpi&) = delete;

    // The DPI the rows are measured at: until the first show, the window's.
    UINT Dpi() const noexcept;
    // Before a show whose anchor is the screen point anchor: the rows are
    // for that monitor's DPI. A window filled before at another DPI is
    // measured again (true then: its client is to be the widest caption and
    // one row height wide).
    bool ShowAt(POINT anchor);
    // What the window's frame will add to its client size at Dpi().
    SIZE FrameSize() const noexcept;
    // After the show has placed the window: its anchor, and whether it
    // opened leftwards of it (its right edge on the anchor or the parent).
    void Placed(POINT anchor, bool leftwards) noexcept {
        anchor_ = anchor;
        leftwards_ = leftwards;
    }
    // WM_DPICHANGED.
    LRESULT DpiChanged(WPARAM wp, LPARAM lp);
    // Sizes the window for its rows and puts it back on its anchor; its
    // open child follows its row.
    void Place();

private:
    // Row height, scroll buttons and the widest row at dpi.
    void Measure(UINT dpi);

    TMenuDpiSite site_;
    UINT dpi_ = 0;
    POINT anchor_{0, 0};  // the root's: the pointer it opened at
    bool leftwards_ = false;
};

}  // namespace folder
