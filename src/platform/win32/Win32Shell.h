#pragma once

#include "platform/Services.h"
#include "platform/win32/Win32Undef.h"

namespace platform::win32 {

class TWin32Shell : public TShellService {
 public:
  std::intptr_t Execute(THandle owner, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory,
                        int show) override;
};

}  // namespace platform::win32
