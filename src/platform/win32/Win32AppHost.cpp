#include "platform/win32/Win32AppHost.h"

#include "platform/win32/Win32Keyboard.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

namespace {

// Restores the loop depth on every way out of RunLoop.
class TDepthScope {
 public:
  explicit TDepthScope(int& depth) : FDepth(depth) { ++FDepth; }
  ~TDepthScope() { --FDepth; }
  TDepthScope(const TDepthScope&) = delete;
  TDepthScope& operator=(const TDepthScope&) = delete;

 private:
  int& FDepth;
};

// Keys for a dialog form (Tab, the arrows, Enter) go to the system's dialog
// handling, which moves the focus and presses the default button.
bool IsDialogKey(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = msg.hwnd;
  while (root && (::GetWindowLongPtrA(root, GWL_STYLE) & WS_CHILD)) root = ::GetParent(root);
  return root && ::GetPropA(root, kDialogKeysProperty) && ::IsDialogMessageA(root, &msg);
}

}  // namespace

THandle TWin32AppHost::CreateAppWindow(const std::string& title) {
  int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  FWindow.reset(
      ::CreateWindowExA(0, ClassName(TWindowClass::App), title.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                        0, 0, nullptr, nullptr, Instance(), nullptr));
  return ToHandle(FWindow.get());
}

void TWin32AppHost::SetTitle(THandle appWindow, const std::string& title) {
  ::SetWindowTextA(ToHwnd(appWindow), title.c_str());
}

void TWin32AppHost::ShowAppWindow(THandle appWindow, bool show) {
  ::ShowWindow(ToHwnd(appWindow), show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWin32AppHost::RestoreAppWindow(THandle appWindow) {
  ::ShowWindow(ToHwnd(appWindow), SW_RESTORE);
}

void TWin32AppHost::MinimizeAppWindow(THandle appWindow) {
  ::ShowWindow(ToHwnd(appWindow), SW_MINIMIZE);
}

void TWin32AppHost::RunLoop(const std::function<bool()>& done) {
  TDepthScope depth(FLoopDepth);
  MSG msg;
  while (!done()) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      // An inner loop hands the quit request on to the loop around it.
      if (FLoopDepth > 1) ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (got == -1) return;
    if (HandleNavigationKey(msg) || IsDialogKey(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void TWin32AppHost::RunLoopPolling(const std::function<bool()>& done, unsigned pollMs) {
  // A timer of the thread's own: its messages wake the loop and go nowhere.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, pollMs, nullptr);
  RunLoop(done);
  if (timer) ::KillTimer(nullptr, timer);
}

void TWin32AppHost::PostQuit() { ::PostQuitMessage(0); }

void TWin32AppHost::DestroyAppWindow(THandle appWindow) {
  if (ToHwnd(appWindow) == FWindow.get())
    FWindow.reset();
  else
    ::DestroyWindow(ToHwnd(appWindow));
}

}  // namespace platform::win32
