#pragma once
// The DPI a menu window's rows are measured at. A window is measured for the
// monitor it is about to open on, before it is placed there, and measured
// again when the system tells it that its DPI has changed (WM_DPICHANGED: a
// monitor's scale was changed, or the window ended up on another monitor);
// it then keeps hanging where it hung, on the pointer it opened at or on
// its parent's row.
#include <windows.h>

namespace folder {

class TFolderForm;

class TMenuDpi {
public:
    explicit TMenuDpi(TFolderForm& form) noexcept : form_(form) {}
    TMenuDpi(const TMenuDpi&) = delete;
    TMenuDpi& operator=(const TMenuDpi&) = delete;

    // The DPI the rows are measured at: until the first show, the window's.
    UINT Dpi() const noexcept;
    // Before a show whose anchor is the screen point anchor: the rows are
    // for that monitor's DPI. A window filled before at another DPI is
    // measured again (true then: its client is to be FWidest and one row
    // height wide).
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

private:
    // Row height, scroll buttons and the widest row at dpi.
    void Measure(UINT dpi);
    // Sizes the window for its rows and puts it back on its anchor; its
    // open children follow their rows.
    void Place();

    TFolderForm& form_;
    UINT dpi_ = 0;
    POINT anchor_{0, 0};  // the root's: the pointer it opened at
    bool leftwards_ = false;
};

}  // namespace folder
