// The program's global hot keys, held by a window of their own.
#pragma once

#include "platform/HotKeys.h"

namespace platform::win32 {

class TWin32HotKeyService final : public THotKeyService {
 public:
  std::unique_ptr<THotKeyWindow> Listen(THotKeyHandler handler) override;
};

}  // namespace platform::win32
