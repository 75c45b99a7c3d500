#pragma once

// First, whatever a file included before: the interface below must be read
// without the system's renaming macros.
#include "platform/win32/Win32Undef.h"
// Its method names now stay as written.
#include "platform/Services.h"

namespace platform::win32 {

class TWin32Shell : public TShellService {
 public:
  std::intptr_t Execute(THandle owner, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory,
                        int show) override;
};

}  // namespace platform::win32
