#pragma once

// The macros go before the service declarations are read: in a file that
// has included <windows.h> already they would rename the interface's
// methods (GetDriveType to GetDriveTypeA), and the overrides below would
// match nothing.
// clang-format off
#include "platform/win32/Win32Undef.h"
#include "platform/Services.h"
// clang-format on

namespace platform::win32 {

class TWin32Drives : public TDriveService {
 public:
  std::uint32_t GetLogicalDrives() override;
  unsigned GetDriveType(const std::string& name) override;
  bool GetVolumeSize(const std::string& root, std::uint64_t& totalBytes) override;
  unsigned SetErrorMode(unsigned mode) override;
  bool FileExists(const std::string& path) override;
  bool EntryExists(const std::string& path) override;
  TFileRead ReadFile(const std::string& path, std::string& contents) override;
  unsigned SetCurrentDirectory(const std::string& path) override;
  std::string GetCurrentDirectory() override;
  std::string ProgramDir() override;
};

}  // namespace platform::win32
