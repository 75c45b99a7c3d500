#include "platform/win32/Win32Instance.h"

#include <memory>

#include "platform/win32/Handles.h"
#include "platform/win32/ModuleFunction.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

namespace {

// The program's hook, bound to the window whose procedure it replaces.
class THookTarget final : public TWindowTarget {
 public:
  explicit THookTarget(TWndProcHook hook) : FHook(hook) {}
  LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    return FHook(ToHandle(window), message, wParam, lParam);
  }

 private:
  TWndProcHook FHook;
};

}  // namespace

std::uint32_t TWin32Instance::RegisterMessage(const std::string& name) {
  return ::RegisterWindowMessageA(name.c_str());
}

std::uintptr_t TWin32Instance::ReplaceWindowProc(THandle window, TWndProcHook hook) {
  HWND target = ToHwnd(window);
  BindWindow(target, std::make_unique<THookTarget>(hook));
  // SetWindowLongPtrA is SetWindowLongA on 32-bit Windows and the only right
  // call for a code pointer on 64-bit Windows.
  ::SetLastError(0);
  const LONG_PTR previous =
      ::SetWindowLongPtrA(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoundWindowProc));
  if (previous == 0) UnbindWindow(target);
  return static_cast<std::uintptr_t>(previous);
}

void TWin32Instance::RestoreWindowProc(THandle window, std::uintptr_t previous) {
  ::SetWindowLongPtrA(ToHwnd(window), GWLP_WNDPROC, static_cast<LONG_PTR>(previous));
  UnbindWindow(ToHwnd(window));
}

TLResult TWin32Instance::CallWindowProc(std::uintptr_t previous, THandle window,
                                        std::uint32_t message, TWParam wParam, TLParam lParam) {
  if (previous == 0) return ::DefWindowProcA(ToHwnd(window), message, wParam, lParam);
  return ::CallWindowProcA(reinterpret_cast<WNDPROC>(previous), ToHwnd(window), message, wParam,
                           lParam);
}

THandle TWin32Instance::OpenMutex(std::uint32_t access, bool inherit, const std::string& name) {
  return ToHandle(::OpenMutexA(access, inherit ? TRUE : FALSE, name.c_str()));
}

THandle TWin32Instance::CreateMutex(const std::string& name) {
  return ToHandle(::CreateMutexA(nullptr, FALSE, name.c_str()));
}

void TWin32Instance::CloseHandle(THandle handle) {
  if (handle) ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

void TWin32Instance::Broadcast(std::uint32_t flags, std::uint32_t recipients, std::uint32_t message,
                               TWParam wParam, TLParam lParam) {
  DWORD to = recipients;
  ::BroadcastSystemMessageA(flags, &to, message, wParam, lParam);
}

void TWin32Instance::PostMessage(THandle window, std::uint32_t message, TWParam wParam,
                                 TLParam lParam) {
  ::PostMessageA(ToHwnd(window), message, wParam, lParam);
}

bool TWin32Instance::IsIconic(THandle window) { return ::IsIconic(ToHwnd(window)) != FALSE; }

void TWin32Instance::SetForegroundWindow(THandle window) { ::SetForegroundWindow(ToHwnd(window)); }

THandle TWin32Instance::Owner(THandle window) {
  return ToHandle(::GetWindow(ToHwnd(window), GW_OWNER));
}

bool TWin32Instance::SendCopyData(THandle window, THandle from, std::uint32_t tag,
                                  const std::string& data, TLResult& answer) {
  COPYDATASTRUCT copy{};
  copy.dwData = tag;
  copy.cbData = static_cast<DWORD>(data.size());
  copy.lpData = const_cast<char*>(data.data());
  // The receiver may show a message box before it answers: it is waited for
  // as long as it takes messages, but not when it has stopped taking them.
  constexpr UINT kLongWaitMs = 10 * 60 * 1000;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutA(ToHwnd(window), WM_COPYDATA, reinterpret_cast<WPARAM>(ToHwnd(from)),
                             reinterpret_cast<LPARAM>(&copy), SMTO_ABORTIFHUNG, kLongWaitMs,
                             &result))
    return false;
  answer = static_cast<TLResult>(result);
  return true;
}

bool TWin32Instance::ReadCopyData(TLParam lParam, std::size_t limit, std::uint32_t& tag,
                                  std::string& data) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!copy || !copy->lpData || copy->cbData == 0 || copy->cbData > limit) return false;
  tag = static_cast<std::uint32_t>(copy->dwData);
  data.assign(static_cast<const char*>(copy->lpData), copy->cbData);
  return true;
}

bool TWin32Instance::WriteParentConsole(const std::string& text) {
  // Missing before XP: there, as without a console, the caller shows a box.
  using TAttachConsole = BOOL(WINAPI*)(DWORD);
  const auto attach = ModuleFunction<TAttachConsole>("kernel32.dll", "AttachConsole");
  if (!attach || !attach(ATTACH_PARENT_PROCESS)) return false;
  bool written = false;
  {
    const TKernelHandle out(::CreateFileA("CONOUT$", GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    DWORD done = 0;
    // The console's prompt came back when the program started: the text
    // starts on a line of its own.
    const std::string line = "\r\n" + text;
    written =
        out &&
        ::WriteFile(out.get(), line.data(), static_cast<DWORD>(line.size()), &done, nullptr) &&
        done == line.size();
  }
  ::FreeConsole();
  return written;
}

}  // namespace platform::win32
