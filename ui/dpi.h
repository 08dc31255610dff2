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

}  // namespace ui
