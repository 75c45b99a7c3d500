// How every window of ours finds the object behind it: the classes we
// register, a table in the program that binds an object to a window, and the
// window procedure that hands each message to that object through the
// exception barrier (platform/Guarded.h), which keeps exceptions out of the
// system's code.
//
// A table and not GWLP_USERDATA: a window that is not ours (a combo box's
// inner edit, a tooltip) may use its user data for itself, and must never be
// taken for one of ours.
#pragma once

#include <windows.h>

#include <memory>

namespace platform::win32 {

// The module whose classes and resources these are.
HINSTANCE Instance();
// The program's own icon among the executable's resources.
inline constexpr WORD kProgramIconId = 1;
// Marks a form's window whose keyboard input goes through the dialog keys
// (Tab, the arrows, Enter); the message loop looks for it.
inline constexpr const char* kDialogKeysProperty = "Morvel.DialogKeys";

// The window classes of our own. The application window has a plain ANSI
// procedure of its own, so that the single-instance guard can chain to it;
// all the others dispatch through BoundWindowProc.
enum class TWindowClass { App, Form, Container, Graphic, Utility };

// The class's registered name; every class is registered on first use.
const char* ClassName(TWindowClass windowClass);

class TWindowTarget;

// The object behind a window.
class TWindowTarget {
 public:
  virtual ~TWindowTarget() = default;
  // Answers one message for the bound window. What it throws goes to the
  // application's error report, and the message then answers 0.
  virtual LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // WM_NCDESTROY has been answered and the window is no longer bound.
  virtual void WindowGone(HWND window) noexcept { (void)window; }
};

// Binds `target` to `window`; it keeps a binding of its own until it is
// unbound or the window is destroyed. Binding the same target again keeps
// the binding.
void BindWindow(HWND window, TWindowTarget& target);
// The same, and the binding owns the target: it goes with the window. A
// target bound already (from the creation parameter) is taken over.
void BindWindow(HWND window, std::unique_ptr<TWindowTarget> target);
// The window's messages reach no object from now on. A message still being
// answered finishes with the object it started with.
void UnbindWindow(HWND window) noexcept;
// The object bound to `window`, or nullptr for any window that is not ours.
TWindowTarget* BoundTarget(HWND window);

// The procedure of our classes, and of the system's windows our peers
// subclass: a window of one of our classes created with a TWindowTarget*
// as its creation parameter is bound from its first message on.
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::win32
