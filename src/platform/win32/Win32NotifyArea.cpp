// The notification area, the tray icons' listening window, and icon images.
#include "platform/win32/Win32NotifyArea.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/Guarded.h"
#include "platform/StartupTrace.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ListeningWindow.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Paths.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP);
// Every shell since the first one takes the version-1 record; a larger one is
// refused by the oldest.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);
static_assert(offsetof(NOTIFYICONDATAA, szTip) + kNotifyTipChars + 1 == NOTIFYICONDATAA_V1_SIZE,
              "the tip and its zero must end the version-1 record");

// ---- notification area ----

NOTIFYICONDATAA TWin32NotifyArea::Record(const TNotifyIconData& data) {
  NOTIFYICONDATAA record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = ToHwnd(data.Window);
  record.uID = data.Id;
  record.uFlags = data.Flags;
  record.uCallbackMessage = data.CallbackMessage;
  record.hIcon = reinterpret_cast<HICON>(data.Icon);
  const std::size_t length = std::min(data.Tip.size(), kNotifyTipChars);
  std::memcpy(record.szTip, data.Tip.data(), length);
  record.szTip[length] = '\0';
  return record;
}

bool TWin32NotifyArea::NotifyIcon(unsigned message, const TNotifyIconData& data) {
  NOTIFYICONDATAA record = Record(data);
  const bool done = ::Shell_NotifyIconA(message, &record) != FALSE;
  if (message == NIM_ADD) STARTUP_MARK("tray icon added");
  if (done && message == NIM_ADD) {
    // A shell of 2000 or later then reports Enter and the menu key on the
    // icon (NIN_KEYSELECT, WM_CONTEXTMENU), so the icon works from the
    // keyboard. The larger record goes with this request alone; an older
    // shell refuses it and the icon stays as it is.
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    record.uVersion = NOTIFYICON_VERSION;
    ::Shell_NotifyIconA(NIM_SETVERSION, &record);
  }
  return done;
}

unsigned TWin32NotifyArea::StartListening(TWindowMessageHandler handler) {
  return win32::StartListening(std::move(handler));
}

void TWin32NotifyArea::StopListening(unsigned listener) { win32::StopListening(listener); }

THandle TWin32NotifyArea::ListeningWindow() { return ToHandle(win32::ListeningWindow()); }

std::uint32_t TWin32NotifyArea::TaskbarCreatedMessage() {
  return ::RegisterWindowMessageA("TaskbarCreated");
}

bool TWin32NotifyArea::GetCursorPos(int& x, int& y) {
  POINT point{};
  if (!::GetCursorPos(&point)) return false;
  x = point.x;
  y = point.y;
  return true;
}

void TWin32NotifyArea::SetForegroundWindow(THandle window) {
  ::SetForegroundWindow(ToHwnd(window));
}

void TWin32NotifyArea::ProcessMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The quit request belongs to the main loop; put it back for it.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void TWin32NotifyArea::CancelMouseCapture() {
  HWND capture = ::GetCapture();
  if (capture && ::GetWindowThreadProcessId(capture, nullptr) == ::GetCurrentThreadId())
    ::SendMessageA(capture, WM_CANCELMODE, 0, 0);
}

// ---- icons ----

THandle TWin32IconService::LoadIconFile(const std::string& path) {
  // "aux.ico" is the serial port in any folder: a device is never opened.
  if (path.empty() || !FileExists(path)) return 0;
  // The notification area shows small icons at the system's DPI; the file's
  // image of that size, not a 16-pixel one stretched.
  const int dpi = SystemDpi();
  HANDLE icon = ::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, MetricForDpi(SM_CXSMICON, dpi),
                             MetricForDpi(SM_CYSMICON, dpi), LR_LOADFROMFILE);
  return ToHandle(icon);
}

THandle TWin32IconService::CopyIcon(THandle icon) {
  if (!icon) return 0;
  return ToHandle(::CopyIcon(reinterpret_cast<HICON>(icon)));
}

THandle TWin32IconService::ExtractIcon(const std::string& path, int index) {
  // Index -1 asks for the number of icons, and the answer 1 means "no
  // program file": neither is an icon to own.
  if (path.empty() || index == -1 || !FileExists(path)) return 0;
  HICON icon = ::ExtractIconA(::GetModuleHandleA(nullptr), path.c_str(), static_cast<UINT>(index));
  return reinterpret_cast<std::uintptr_t>(icon) <= 1 ? 0 : ToHandle(icon);
}

void TWin32IconService::DestroyIcon(THandle icon) {
  if (icon) ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

}  // namespace platform::win32
