// The notification area, the tray icons' utility windows, and icon images.
#include "platform/win32/Win32NotifyArea.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/win32/Win32PeerSupport.h"
#include "platform/win32/Win32Peers.h"

namespace platform::win32 {

using namespace detail;

static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE);
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP);
// Every shell since the first one takes the version-1 record; a larger one is
// refused by the oldest.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);
static_assert(offsetof(NOTIFYICONDATAA, szTip) + kNotifyTipChars + 1 == NOTIFYICONDATAA_V1_SIZE,
              "the tip and its zero must end the version-1 record");

namespace {

constexpr const char* kUtilityClass = "MorvelUtility";

// What a utility window carries. The handler may destroy its own window, so
// the record outlives every call into it that is still on the stack.
struct TUtilityWindow {
  TWindowMessageHandler Handler;
  int Calls = 0;
  bool Adopted = false;  // the window frees it; until then CreateUtilityWindow does
  bool Destroyed = false;
};

TUtilityWindow* StateOf(HWND window) {
  return reinterpret_cast<TUtilityWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK UtilityWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  TUtilityWindow* state = StateOf(window);
  if (!state) return ::DefWindowProcA(window, message, wParam, lParam);

  ++state->Calls;
  TLResult result = 0;
  bool handled = false;
  try {
    if (state->Handler) handled = state->Handler(message, wParam, lParam, result);
  } catch (const std::exception& e) {
    ReportException(e);
  } catch (...) {
    ReportUnknownException();
  }
  // Still counted as a call: the default procedure may destroy the window.
  LRESULT answer =
      handled ? static_cast<LRESULT>(result) : ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    state->Destroyed = true;
  }
  --state->Calls;
  if (state->Destroyed && state->Calls == 0 && state->Adopted) delete state;
  return answer;
}

void RegisterUtilityClass() {
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = UtilityWindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = kUtilityClass;
    return ::RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

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
  return ::Shell_NotifyIconA(message, &record) != FALSE;
}

THandle TWin32NotifyArea::CreateUtilityWindow(TWindowMessageHandler handler) {
  RegisterUtilityClass();
  auto state = std::make_unique<TUtilityWindow>();
  state->Handler = std::move(handler);
  // Top-level, not message-only: only top-level windows hear the shell's
  // "TaskbarCreated" broadcast. A tool window, so it never shows in the
  // task list even if something makes it visible.
  HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW, kUtilityClass, "", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, Instance(), state.get());
  if (!window) return 0;  // the record was never handed over, and goes with `state`
  state.release()->Adopted = true;
  return reinterpret_cast<THandle>(window);
}

void TWin32NotifyArea::DestroyUtilityWindow(THandle window) {
  // WM_NCDESTROY frees the handler.
  if (window) ::DestroyWindow(ToHwnd(window));
}

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
  if (path.empty()) return 0;
  HANDLE icon = ::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                             ::GetSystemMetrics(SM_CYSMICON), LR_LOADFROMFILE);
  return reinterpret_cast<THandle>(icon);
}

THandle TWin32IconService::CopyIcon(THandle icon) {
  if (!icon) return 0;
  return reinterpret_cast<THandle>(::CopyIcon(reinterpret_cast<HICON>(icon)));
}

void TWin32IconService::DestroyIcon(THandle icon) {
  if (icon) ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

}  // namespace platform::win32
