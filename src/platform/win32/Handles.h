// Owning wrappers for the Win32 handles the program creates. Each one closes
// its handle exactly once, on every path; copies are deleted so ownership can
// only move.
#pragma once

#include <windows.h>

#include <utility>

namespace platform::win32 {

// Traits: `Handle` is the raw type, `Null()` the "no handle" value, `IsValid`
// tells a live handle from the failure values a creating call may return, and
// `Close` releases a valid one.
template <class Traits>
class TUniqueHandle {
 public:
  using handle_type = typename Traits::Handle;

  TUniqueHandle() noexcept = default;
  explicit TUniqueHandle(handle_type h) noexcept : FHandle(h) {}
  ~TUniqueHandle() { reset(); }

  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;

  TUniqueHandle(TUniqueHandle&& other) noexcept : FHandle(other.release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  [[nodiscard]] handle_type get() const noexcept { return FHandle; }

  // Gives up ownership without closing.
  [[nodiscard]] handle_type release() noexcept { return std::exchange(FHandle, Traits::Null()); }

  // Closes the current handle (if any) and takes ownership of h.
  void reset(handle_type h = Traits::Null()) noexcept {
    handle_type old = std::exchange(FHandle, h);
    if (Traits::IsValid(old) && old != h) Traits::Close(old);
  }

  explicit operator bool() const noexcept { return Traits::IsValid(FHandle); }

  void swap(TUniqueHandle& other) noexcept { std::swap(FHandle, other.FHandle); }

 private:
  handle_type FHandle = Traits::Null();
};

namespace handle_traits {

template <class H>
struct TNullIsInvalid {
  using Handle = H;
  static constexpr Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
};

struct TWindow : TNullIsInvalid<HWND> {
  static void Close(HWND h) noexcept { ::DestroyWindow(h); }
};
struct TIcon : TNullIsInvalid<HICON> {
  static void Close(HICON h) noexcept { ::DestroyIcon(h); }
};
struct TGdi : TNullIsInvalid<HGDIOBJ> {
  static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct TMenu : TNullIsInvalid<HMENU> {
  static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};
// CreateFile reports failure with INVALID_HANDLE_VALUE, most other calls with
// null; neither may be closed.
struct TKernel {
  using Handle = HANDLE;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct TKey : TNullIsInvalid<HKEY> {
  static void Close(HKEY h) noexcept { ::RegCloseKey(h); }
};
struct TModule : TNullIsInvalid<HMODULE> {
  static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};

}  // namespace handle_traits

using TWindowHandle = TUniqueHandle<handle_traits::TWindow>;
using TIconHandle = TUniqueHandle<handle_traits::TIcon>;
using TGdiObject = TUniqueHandle<handle_traits::TGdi>;
using TMenuHandle = TUniqueHandle<handle_traits::TMenu>;
using TKernelHandle = TUniqueHandle<handle_traits::TKernel>;
using TRegKey = TUniqueHandle<handle_traits::TKey>;
using TModuleHandle = TUniqueHandle<handle_traits::TModule>;

}  // namespace platform::win32
