// Message boxes through the system.
#pragma once

#include "platform/Dialogs.h"

namespace platform::win32 {

class TWin32Dialogs : public TDialogService {
 public:
  int MessageBox(THandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
};

}  // namespace platform::win32
