// The running system: its version, the restart request and the process's
// own facts, through kernel32, advapi32 and user32.
#pragma once

#include "platform/Services.h"
#include "platform/win32/Win32Undef.h"

namespace platform::win32 {

class TWin32System : public TSystemService {
 public:
  bool GetVersionInfo(TOsVersionInfo& info) override;
  void EnableShutdownPrivilege() override;
  bool RequestExitWindows(unsigned flags) override;
  bool IsWow64() override;
  std::string ProgramFile() override;
  std::string LowerCase(std::string text) override;
};

}  // namespace platform::win32
