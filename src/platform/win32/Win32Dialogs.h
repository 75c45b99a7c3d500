// Message boxes through the system.
#pragma once

// First, whatever a file included before: the interface below must be read
// without the system's renaming macros.
#include "platform/win32/Win32Undef.h"
// Its method names now stay as written.
#include "platform/Dialogs.h"

namespace platform::win32 {

class TWin32Dialogs : public TDialogService {
 public:
  int MessageBox(THandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
  // A system message box whose buttons take the dialog's captions just
  // before it shows, and which is moved to the centre of the screen.
  int MessageDlg(THandle owner, const std::string& text, const std::string& title, unsigned icon,
                 const std::vector<TDialogButton>& buttons) override;
};

}  // namespace platform::win32
