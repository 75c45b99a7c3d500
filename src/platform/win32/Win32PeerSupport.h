// Small helpers shared by the peer implementations; not for use above the
// Win32 layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace platform::win32::detail {

inline constexpr const char* kFormClass = "MorvelForm";
inline constexpr const char* kContainerClass = "MorvelPanel";
inline constexpr const char* kGraphicClass = "MorvelGraphic";
inline constexpr const char* kTimerClass = "MorvelTimer";
// Marks a form's window whose keyboard input goes through the dialog keys
// (Tab, the arrows, Enter); the message loop looks for it.
inline constexpr const char* kDialogKeysProperty = "Morvel.DialogKeys";
// The program's own icon among the executable's resources.
inline constexpr WORD kProgramIconId = 1;

HINSTANCE Instance();
// Registers our window classes and initialises the common controls, once.
void EnsureClasses();
int NextControlId();
std::string WindowText(HWND window);
// A file the program keeps beside itself (an icon, a picture): a relative
// name is taken from the program's folder, wherever the current directory
// is; an absolute path stays as it is.
std::string BesideProgram(const std::string& file);

inline HWND ToHwnd(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

// A model colour as the system's: 0x80000000 plus an index is a system colour.
inline COLORREF ToColorRef(std::uint32_t color) {
  return (color & 0x80000000u) ? ::GetSysColor(static_cast<int>(color & 0xFF))
                               : static_cast<COLORREF>(color & 0xFFFFFF);
}

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

}  // namespace platform::win32::detail
