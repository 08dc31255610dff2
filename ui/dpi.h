#pragma once
// DPI of a window and the system metrics for a DPI. Per-monitor-aware
// windows get their own monitor's DPI on Windows 10 1607 and later; older
// systems (and Wine) report one system DPI, which these functions fall back to.
#include <windows.h>

namespace ui {

UINT WindowDpi(HWND wnd) noexcept;
int SystemMetricForDpi(int index, UINT dpi) noexcept;
// The non-client metrics (menu and message fonts among them) for a DPI.
NONCLIENTMETRICSW NonClientMetricsForDpi(UINT dpi) noexcept;
// value, given for 96 DPI, at dpi (rounded as MulDiv rounds).
inline int ScaleForDpi(int value, UINT dpi) noexcept { return MulDiv(value, static_cast<int>(dpi), 96); }

// The system DPI (the screen DC's): what GetSystemMetrics and the shell's
// image lists are made for.
UINT ScreenDpi() noexcept;
// The DPI of the monitor at a screen point (the nearest one when none holds
// it), as this process sees it. Without shcore.dll's GetDpiForMonitor
// (before Windows 8.1) the DPI of wnd, or the system DPI.
UINT MonitorDpiAt(POINT point, HWND wnd) noexcept;
// What wnd's frame adds to its client size, across and down, at dpi: what it
// adds now when wnd is at that DPI; otherwise what it will add there, from
// its styles (AdjustWindowRectExForDpi, Windows 10 1607 and later) or, before
// that, the present frame scaled.
SIZE FrameSizeForDpi(HWND wnd, UINT dpi) noexcept;

}  // namespace ui
