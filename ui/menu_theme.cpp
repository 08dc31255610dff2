#include "ui/menu_theme.h"

namespace ui {

HTHEME TMenuTheme::Get(HWND wnd) {
    if (!opened_) {
        // Asked once per theme: OpenThemeData is a lookup by class name and
        // costs more than a row's drawing.
        theme_.reset(IsThemeActive() ? OpenThemeData(wnd, L"MENU") : nullptr);
        opened_ = true;
    }
    return theme_.get();
}

void TMenuTheme::Reset() noexcept {
    theme_.reset();
    opened_ = false;
}

}  // namespace ui
