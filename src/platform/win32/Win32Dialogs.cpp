#include <windows.h>
// The service's method shares its name with the system's macro.
#undef MessageBox

#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

namespace {

struct THookTraits : handle_traits::TNullIsInvalid<HHOOK> {
  static void Close(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
};
using THookHandle = TUniqueHandle<THookTraits>;

// The captions the next message box of this thread takes, in the order of
// its buttons' identifiers; cleared once they are set.
struct TRelabel {
  const int* Ids = nullptr;
  const std::vector<TDialogButton>* Buttons = nullptr;
};
thread_local TRelabel gRelabel;

LRESULT CALLBACK RelabelHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && gRelabel.Buttons) {
    HWND box = reinterpret_cast<HWND>(wParam);
    char name[16] = {};
    ::GetClassNameA(box, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0) {
      const TRelabel relabel = std::exchange(gRelabel, TRelabel{});
      for (std::size_t i = 0; i < relabel.Buttons->size(); ++i)
        ::SetDlgItemTextA(box, relabel.Ids[i], (*relabel.Buttons)[i].Caption.c_str());
      // The system places a message box near its owner; the dialog belongs
      // in the middle of the screen.
      RECT area{}, r{};
      if (::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) && ::GetWindowRect(box, &r)) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        ::SetWindowPos(box, nullptr, area.left + (area.right - area.left - w) / 2,
                       area.top + (area.bottom - area.top - h) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// A message box is made of the system's controls, which the program's
// manifest takes from the common controls library; Windows XP does not load
// the library by itself, and a box shown before any control of ours (a
// start in the tray) would not come up.
int TWin32Dialogs::MessageBox(THandle owner, const std::string& text, const std::string& caption,
                              unsigned flags) {
  EnsureCommonControls();
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), flags);
}

int TWin32Dialogs::MessageDlg(THandle owner, const std::string& text, const std::string& title,
                              unsigned icon, const std::vector<TDialogButton>& buttons) {
  // The system's button sets, by their number of buttons; Esc and the close
  // box give the last identifier of each.
  static const int kOne[] = {IDOK}, kTwo[] = {IDOK, IDCANCEL}, kThree[] = {IDYES, IDNO, IDCANCEL};
  static const int* const kIds[] = {nullptr, kOne, kTwo, kThree};
  static const UINT kStyles[] = {0, MB_OK, MB_OKCANCEL, MB_YESNOCANCEL};
  if (buttons.empty() || buttons.size() > 3)
    return TDialogService::MessageDlg(owner, text, title, icon, buttons);
  const int* ids = kIds[buttons.size()];
  EnsureCommonControls();

  THookHandle hook(::SetWindowsHookExA(WH_CBT, RelabelHook, nullptr, ::GetCurrentThreadId()));
  gRelabel = {ids, &buttons};
  const int answer = ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), title.c_str(),
                                   kStyles[buttons.size()] | icon | MB_DEFBUTTON1);
  gRelabel = {};
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (answer == ids[i]) return buttons[i].Result;
  return buttons.back().Result;
}

}  // namespace platform::win32
