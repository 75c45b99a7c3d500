#pragma once

// First, whatever a file included before: the interface below must be read
// without the system's renaming macros.
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Undef.h"
// Its method names now stay as written.
#include "platform/Services.h"

namespace platform::win32 {

class TWin32Media : public TMediaControl {
 public:
  std::uint32_t SendCommand(std::uint32_t device, std::uint32_t message, std::uint32_t flags,
                            TMciOpenParms* parms) override;

 private:
  TModuleHandle FWinmm;
};

}  // namespace platform::win32
