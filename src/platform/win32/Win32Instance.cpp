#include "platform/win32/Win32Instance.h"

#include <windows.h>

namespace platform::win32 {

namespace {

// The hook the program installed; the window only knows this trampoline.
TWndProcHook FHook = nullptr;

LRESULT CALLBACK HookTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return FHook(reinterpret_cast<THandle>(window), message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind into the system's message dispatch.
    return 0;
  }
}

}  // namespace

std::uint32_t TWin32Instance::RegisterMessage(const std::string& name) {
  return ::RegisterWindowMessageA(name.c_str());
}

std::uintptr_t TWin32Instance::ReplaceWindowProc(THandle window, TWndProcHook hook) {
  FHook = hook;
  // SetWindowLongPtrA is SetWindowLongA on 32-bit Windows and the only right
  // call for a code pointer on 64-bit Windows.
  ::SetLastError(0);
  const LONG_PTR previous = ::SetWindowLongPtrA(reinterpret_cast<HWND>(window), GWLP_WNDPROC,
                                                reinterpret_cast<LONG_PTR>(&HookTrampoline));
  return static_cast<std::uintptr_t>(previous);
}

void TWin32Instance::RestoreWindowProc(THandle window, std::uintptr_t previous) {
  ::SetWindowLongPtrA(reinterpret_cast<HWND>(window), GWLP_WNDPROC,
                      static_cast<LONG_PTR>(previous));
}

TLResult TWin32Instance::CallWindowProc(std::uintptr_t previous, THandle window,
                                        std::uint32_t message, TWParam wParam, TLParam lParam) {
  if (previous == 0)
    return ::DefWindowProcA(reinterpret_cast<HWND>(window), message, wParam, lParam);
  return ::CallWindowProcA(reinterpret_cast<WNDPROC>(previous), reinterpret_cast<HWND>(window),
                           message, wParam, lParam);
}

THandle TWin32Instance::OpenMutex(std::uint32_t access, bool inherit, const std::string& name) {
  return reinterpret_cast<THandle>(::OpenMutexA(access, inherit ? TRUE : FALSE, name.c_str()));
}

THandle TWin32Instance::CreateMutex(const std::string& name) {
  return reinterpret_cast<THandle>(::CreateMutexA(nullptr, FALSE, name.c_str()));
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
  ::PostMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

bool TWin32Instance::IsIconic(THandle window) {
  return ::IsIconic(reinterpret_cast<HWND>(window)) != FALSE;
}

void TWin32Instance::SetForegroundWindow(THandle window) {
  ::SetForegroundWindow(reinterpret_cast<HWND>(window));
}

}  // namespace platform::win32
