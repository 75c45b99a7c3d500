#include "platform/win32/Win32AppHost.h"

#include "platform/win32/Win32PeerSupport.h"

namespace platform::win32 {

namespace {

HWND ToHwnd(THandle handle) { return reinterpret_cast<HWND>(handle); }

void RegisterAppClass(HINSTANCE instance) {
  static const bool registered = [instance] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    // The program's icon for the taskbar button, when the resources carry one.
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(detail::kProgramIconId));
    if (!wc.hIcon) wc.hIcon = ::LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = TWin32AppHost::kClassName;
    return ::RegisterClassExA(&wc) != 0;
  }();
  (void)registered;
}

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
  return root && ::GetPropA(root, detail::kDialogKeysProperty) && ::IsDialogMessageA(root, &msg);
}

}  // namespace

THandle TWin32AppHost::CreateAppWindow(const std::string& title) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  RegisterAppClass(instance);
  int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  FWindow.reset(
      ::CreateWindowExA(0, kClassName, title.c_str(),
                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                        0, 0, nullptr, nullptr, instance, nullptr));
  return reinterpret_cast<THandle>(FWindow.get());
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
    if (IsDialogKey(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void TWin32AppHost::PostQuit() { ::PostQuitMessage(0); }

void TWin32AppHost::DestroyAppWindow(THandle appWindow) {
  if (ToHwnd(appWindow) == FWindow.get())
    FWindow.reset();
  else
    ::DestroyWindow(ToHwnd(appWindow));
}

}  // namespace platform::win32
