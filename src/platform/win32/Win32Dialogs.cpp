#include <windows.h>
// The service's method shares its name with the system's macro.
#undef MessageBox

#include "platform/win32/Win32Dialogs.h"

namespace platform::win32 {

int TWin32Dialogs::MessageBox(THandle owner, const std::string& text, const std::string& caption,
                              unsigned flags) {
  return ::MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), flags);
}

}  // namespace platform::win32
