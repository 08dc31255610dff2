#include "ui/dpi.h"

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <type_traits>

#include "sys/system_proc.h"

namespace ui {

namespace {

template <typename Fn>
Fn User32Proc(const char* name) noexcept {
    return sys::SystemProc<Fn>(L"user32.dll", name);
}

UINT SystemDpi() noexcept {
    HDC screen = GetDC(nullptr);
    UINT dpi = screen ? static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY)) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi ? dpi : 96;
}

}  // namespace

UINT WindowDpi(HWND wnd) noexcept {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Proc<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && wnd) {
        if (UINT dpi = getDpiForWindow(wnd)) return dpi;
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) noexcept {
    using Fn = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Proc<Fn>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return GetSystemMetrics(index);
}

NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi) noexcept {
    using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = User32Proc<Fn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) return metrics;
    metrics = NONCLIENTMETRICSW{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        // Very old systems know only the shorter record (no iPaddedBorderWidth).
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    }
    // Without the per-DPI call the fonts are for the system DPI; scale them.
    const UINT system = SystemDpi();
    if (system != dpi) {
        for (LOGFONTW* font : {&metrics.lfMenuFont, &metrics.lfMessageFont, &metrics.lfCaptionFont,
                               &metrics.lfSmCaptionFont, &metrics.lfStatusFont})
            font->lfHeight = MulDiv(font->lfHeight, static_cast<int>(dpi), static_cast<int>(system));
    }
    return metrics;
}

UINT ScreenDpi() noexcept {
    // Fixed for the life of a DPI-aware process; asked for every row drawn.
    static const UINT dpi = SystemDpi();
    return dpi;
}

namespace {

struct LibraryDeleter {
    void operator()(HMODULE module) const noexcept { if (module) FreeLibrary(module); }
};

}  // namespace

UINT MonitorDpiAt(POINT point, HWND wnd) noexcept {
    // MONITOR_DPI_TYPE is an enum of shellscalingapi.h; 0 is MDT_EFFECTIVE_DPI.
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    // Loaded once and kept for the process: shcore.dll is there from Windows
    // 8.1 on, and the program must still start where it is not.
    static const std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter> shcore(
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    static const auto getDpiForMonitor = sys::ModuleProc<GetDpiForMonitorFn>(shcore.get(), "GetDpiForMonitor");
    if (getDpiForMonitor) {
        UINT x = 0, y = 0;
        HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
        if (monitor && SUCCEEDED(getDpiForMonitor(monitor, 0, &x, &y)) && y) return y;
    }
    return WindowDpi(wnd);
}

SIZE FrameSizeForDpi(HWND wnd, UINT dpi) noexcept {
    if (!wnd) return SIZE{0, 0};
    RECT outer{}, client{};
    GetWindowRect(wnd, &outer);
    GetClientRect(wnd, &client);
    const SIZE now{(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
    const UINT current = WindowDpi(wnd);
    if (dpi == 0 || dpi == current) return now;
    using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = User32Proc<Fn>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, 0, 0};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_EXSTYLE));
    if (forDpi && forDpi(&frame, style, GetMenu(wnd) != nullptr, exStyle, dpi))
        return SIZE{frame.right - frame.left, frame.bottom - frame.top};
    return SIZE{MulDiv(now.cx, static_cast<int>(dpi), static_cast<int>(current)),
                MulDiv(now.cy, static_cast<int>(dpi), static_cast<int>(current))};
}

}  // namespace ui
