// Owning wrappers for the Win32 handles the program creates, and scopes for
// what must be put back (a DC's state, a selected object, a flag). Each one
// releases exactly once, on every path; copies are deleted so ownership can
// only move.
#pragma once

#include <windows.h>

#include <utility>

#include "platform/Types.h"

namespace platform::win32 {

// Above the seam a handle is an opaque number; these are the only ways back
// and forth.
inline HWND ToHwnd(THandle handle) { return reinterpret_cast<HWND>(handle); }

// A model colour as the system's: 0x80000000 plus an index is a system colour.
inline COLORREF ToColorRef(std::uint32_t color) {
  return (color & 0x80000000u) ? ::GetSysColor(static_cast<int>(color & 0xFF))
                               : static_cast<COLORREF>(color & 0xFFFFFF);
}
template <class H>
THandle ToHandle(H handle) {
  return reinterpret_cast<THandle>(handle);
}

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
// A DC the program made itself (CreateCompatibleDC).
struct TMemoryDc : TNullIsInvalid<HDC> {
  static void Close(HDC h) noexcept { ::DeleteDC(h); }
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
using TMemoryDc = TUniqueHandle<handle_traits::TMemoryDc>;
using TMenuHandle = TUniqueHandle<handle_traits::TMenu>;
using TKernelHandle = TUniqueHandle<handle_traits::TKernel>;
using TRegKey = TUniqueHandle<handle_traits::TKey>;
using TModuleHandle = TUniqueHandle<handle_traits::TModule>;

// BeginPaint/EndPaint as a scope.
class TPaintScope {
 public:
  explicit TPaintScope(HWND window) : FWindow(window) { FDc = ::BeginPaint(window, &FPs); }
  ~TPaintScope() { ::EndPaint(FWindow, &FPs); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC Dc() const { return FDc; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPs{};
  HDC FDc;
};

// Selects an object into a DC for a scope and puts the previous one back.
class TSelectScope {
 public:
  TSelectScope(HDC dc, HGDIOBJ object)
      : FDc(dc), FOld(object ? ::SelectObject(dc, object) : nullptr) {}
  ~TSelectScope() {
    if (FOld) ::SelectObject(FDc, FOld);
  }
  TSelectScope(const TSelectScope&) = delete;
  TSelectScope& operator=(const TSelectScope&) = delete;

 private:
  HDC FDc;
  HGDIOBJ FOld;
};

// SaveDC/RestoreDC as a scope.
class TSavedDc {
 public:
  explicit TSavedDc(HDC dc) : FDc(dc), FState(::SaveDC(dc)) {}
  ~TSavedDc() {
    if (FState) ::RestoreDC(FDc, FState);
  }
  TSavedDc(const TSavedDc&) = delete;
  TSavedDc& operator=(const TSavedDc&) = delete;

 private:
  HDC FDc;
  int FState;
};

// A window's DC (the screen's for no window), for measuring text.
class TWindowDc {
 public:
  explicit TWindowDc(HWND window = nullptr) : FWindow(window), FDc(::GetDC(window)) {}
  ~TWindowDc() {
    if (FDc) ::ReleaseDC(FWindow, FDc);
  }
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  HDC Dc() const { return FDc; }

 private:
  HWND FWindow;
  HDC FDc;
};

// Sets a flag for a scope, restoring the previous value.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : FFlag(flag), FOld(flag) { flag = true; }
  ~TFlagScope() { FFlag = FOld; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FOld;
};

}  // namespace platform::win32
