#pragma once
// RAII owners for the GDI and USER handles the toolkit creates.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace ui {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { if (h) DeleteObject(h); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

struct MenuDeleter {
    void operator()(HMENU h) const noexcept { if (h) DestroyMenu(h); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct WindowDeleter {
    void operator()(HWND h) const noexcept { if (h) DestroyWindow(h); }
};
// A window of our own that nothing else destroys.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

struct IconDeleter {
    void operator()(HICON h) const noexcept { if (h) DestroyIcon(h); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct DCDeleter {
    void operator()(HDC h) const noexcept { if (h) DeleteDC(h); }
};
// A memory DC of our own (CreateCompatibleDC), deleted on destruction.
using UniqueDC = std::unique_ptr<std::remove_pointer_t<HDC>, DCDeleter>;

// A window DC, released on destruction.
class WindowDC {
public:
    explicit WindowDC(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {}
    ~WindowDC() { if (dc_) ReleaseDC(wnd_, dc_); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const noexcept { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { if (old_) SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace ui
