// The program's global hot keys, held by the program's listening window.
#pragma once

#include "platform/HotKeys.h"

namespace platform::win32 {

class TWin32HotKeyService final : public THotKeyService {
 public:
  std::unique_ptr<THotKeyWindow> Listen(THotKeyHandler handler) override;
};

}  // namespace platform::win32
