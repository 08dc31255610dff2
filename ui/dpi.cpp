#include "ui/dpi.h"

#include <cstddef>
#include <initializer_list>

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

}  // namespace ui
