#include "platform/win32/Win32Dpi.h"

#include "platform/Scale.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ModuleFunction.h"

namespace platform::win32 {

namespace {

template <class F>
F User32(const char* name) {
  return ModuleFunction<F>("user32.dll", name);
}

using TGetDpiForSystem = UINT(WINAPI*)();
using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using TMonitorFromWindow = HMONITOR(WINAPI*)(HWND, DWORD);
using TGetMonitorInfoA = BOOL(WINAPI*)(HMONITOR, MONITORINFO*);

// Looked up once each: the system does not change while the program runs.
const auto kGetDpiForSystem = User32<TGetDpiForSystem>("GetDpiForSystem");
const auto kGetDpiForWindow = User32<TGetDpiForWindow>("GetDpiForWindow");
const auto kGetSystemMetricsForDpi = User32<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
const auto kAdjustWindowRectExForDpi =
    User32<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
const auto kMonitorFromWindow = User32<TMonitorFromWindow>("MonitorFromWindow");
const auto kGetMonitorInfoA = User32<TGetMonitorInfoA>("GetMonitorInfoA");

}  // namespace

int SystemDpi() {
  if (kGetDpiForSystem)
    if (const UINT dpi = kGetDpiForSystem()) return static_cast<int>(dpi);
  TWindowDc screen;
  return ValidDpi(screen.Dc() ? ::GetDeviceCaps(screen.Dc(), LOGPIXELSY) : 0);
}

int WindowDpi(HWND window) {
  if (kGetDpiForWindow && window)
    if (const UINT dpi = kGetDpiForWindow(window)) return static_cast<int>(dpi);
  return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
  if (kGetSystemMetricsForDpi) return kGetSystemMetricsForDpi(index, static_cast<UINT>(dpi));
  return ::GetSystemMetrics(index);
}

bool AdjustRectForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
  if (kAdjustWindowRectExForDpi)
    return kAdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)) != FALSE;
  return ::AdjustWindowRectEx(&rect, style, FALSE, exStyle) != FALSE;
}

RECT WorkAreaOf(HWND window) {
  if (kMonitorFromWindow && kGetMonitorInfoA) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (HMONITOR monitor = kMonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))
      if (kGetMonitorInfoA(monitor, &info)) return info.rcWork;
  }
  RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace platform::win32
