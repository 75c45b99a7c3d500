#include "platform/win32/Win32Dialogs.h"

#include "platform/win32/Handles.h"

namespace platform::win32 {

int TWin32Dialogs::MessageBox(THandle owner, const std::string& text, const std::string& caption,
                              unsigned flags) {
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), flags);
}

}  // namespace platform::win32
