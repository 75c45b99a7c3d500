#include "platform/win32/Win32Instance.h"

#include <memory>

#include "platform/win32/Handles.h"
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

}  // namespace platform::win32
