#include "platform/win32/Win32Keyboard.h"

#include <vector>

#include "platform/KeyboardNavigation.h"
#include "platform/win32/Win32FormPeer.h"

namespace platform::win32 {

namespace {

HWND RootOf(HWND window) {
  while (window && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
    window = ::GetParent(window);
  return window;
}

// The control of ours that has the focus, or holds the window that has it
// (a combo box's edit field).
TControl* FocusedControl(HWND root) {
  for (HWND w = ::GetFocus(); w && w != root; w = ::GetParent(w))
    if (TWin32Peer* peer = TWin32Peer::FromWindow(w)) return &peer->Model();
  return nullptr;
}

bool TakesFocus(HWND window) {
  return window && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_TABSTOP) &&
         ::IsWindowVisible(window) && ::IsWindowEnabled(window);
}

void MoveFocus(TWinControl& form, bool forward) {
  std::vector<HWND> stops;
  for (TWinControl* control : TabSequence(form))
    if (HWND window = ToHwnd(control->Handle()); TakesFocus(window)) stops.push_back(window);
  if (stops.empty()) return;
  const HWND focus = ::GetFocus();
  int at = -1;
  for (int i = 0; i < static_cast<int>(stops.size()); ++i)
    if (stops[static_cast<std::size_t>(i)] == focus ||
        (at < 0 && ::IsChild(stops[static_cast<std::size_t>(i)], focus)))
      at = i;
  const int count = static_cast<int>(stops.size());
  const int next =
      at < 0 ? (forward ? 0 : count - 1) : ((at + (forward ? 1 : -1)) % count + count) % count;
  ::SetFocus(stops[static_cast<std::size_t>(next)]);
}

// Enter presses the push button that has the focus, as Space does; a form
// of ours is no dialog, so the system would not.
bool PressFocusedButton() {
  const HWND focus = ::GetFocus();
  char name[16] = {};
  if (!focus || !::GetClassNameA(focus, name, sizeof name) || ::lstrcmpiA(name, "Button") != 0)
    return false;
  const LONG_PTR kind = ::GetWindowLongPtrA(focus, GWL_STYLE) & BS_TYPEMASK;
  if (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON) return false;
  ::SendMessageA(focus, BM_CLICK, 0, 0);
  return true;
}

}  // namespace

bool HandleNavigationKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const HWND root = RootOf(msg.hwnd);
  auto* form = root ? dynamic_cast<TWin32FormPeer*>(TWin32Peer::FromWindow(root)) : nullptr;
  if (!form) return false;
  // The keyboard is in use: focus rectangles and underlined access keys
  // show from now on, whatever the system hides for the mouse. Systems
  // before 2000 know neither message and always show them.
  if (::SendMessageA(root, WM_QUERYUISTATE, 0, 0) & (UISF_HIDEFOCUS | UISF_HIDEACCEL))
    ::SendMessageA(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
                   0);
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) return PressFocusedButton();
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  auto* model = dynamic_cast<TWinControl*>(&form->Model());
  if (!model) return false;
  const bool forward = ::GetKeyState(VK_SHIFT) >= 0;
  if (::GetKeyState(VK_CONTROL) < 0) {
    TPageControl* pages = TurnPage(*model, FocusedControl(root), forward);
    // The focus was on the page that went: the tabs take it.
    const HWND focus = ::GetFocus();
    if (pages && (!focus || !::IsWindowVisible(focus))) ::SetFocus(ToHwnd(pages->Handle()));
    return pages != nullptr;
  }
  MoveFocus(*model, forward);
  return true;
}

}  // namespace platform::win32
