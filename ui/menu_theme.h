#pragma once
// The visual style's "MENU" class for one window, opened when first drawn
// with and dropped when the theme changes. Null when no theme is active (the
// classic look, and Wine without a visual style).
#include <windows.h>
#include <uxtheme.h>

#include <memory>
#include <type_traits>

namespace ui {

struct ThemeDeleter {
    void operator()(HTHEME theme) const noexcept { if (theme) CloseThemeData(theme); }
};
using UniqueTheme = std::unique_ptr<std::remove_pointer_t<HTHEME>, ThemeDeleter>;

class TMenuTheme {
public:
    // The menu theme data for wnd, or null without an active theme.
    HTHEME Get(HWND wnd);
    // Forgets the handle: the next Get opens the theme afresh (on
    // WM_THEMECHANGED the old data describes a style no longer in use).
    void Reset() noexcept;

private:
    UniqueTheme theme_;
    bool opened_ = false;
};

}  // namespace ui
