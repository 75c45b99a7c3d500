// The display scale of windows. The calls that tell it per window and per
// DPI came with Windows 10 and are looked up at run time; without them the
// screen's LOGPIXELSY is the scale (XP's "large fonts" are 120), and the
// system's metrics and frames are those of that scale.
#pragma once

#include <windows.h>

namespace platform::win32 {

// WM_DPICHANGED, which the headers for our oldest systems do not define:
// wParam holds the new DPI, lParam the suggested window rectangle.
inline constexpr UINT kWmDpiChanged = 0x02E0;

// GetDpiForSystem, else the screen's LOGPIXELSY, else 96.
int SystemDpi();
// GetDpiForWindow, else SystemDpi().
int WindowDpi(HWND window);
// GetSystemMetricsForDpi, else GetSystemMetrics.
int MetricForDpi(int index, int dpi);
// AdjustWindowRectExForDpi (no menu), else AdjustWindowRectEx.
bool AdjustRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// The work area of the monitor the window is on, or is nearest to:
// MonitorFromWindow and GetMonitorInfoA, which Windows 95 and NT 4.0 lack,
// else the primary monitor's (SPI_GETWORKAREA), else the screen.
RECT WorkAreaOf(HWND window);

}  // namespace platform::win32
