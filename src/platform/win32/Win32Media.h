#pragma once

#include "platform/Services.h"
#include "platform/win32/Win32Undef.h"

namespace platform::win32 {

class TWin32Media : public TMediaControl {
 public:
  std::uint32_t SendCommand(std::uint32_t device, std::uint32_t message, std::uint32_t flags,
                            TMciOpenParms* parms) override;
};

}  // namespace platform::win32
