#pragma once

// First, whatever a file included before: the interface below must be read
// without the system's renaming macros.
#include "platform/win32/Win32Undef.h"
// Its method names now stay as written.
#include "platform/Services.h"

namespace platform::win32 {

class TWin32Drives : public TDriveService {
 public:
  std::uint32_t GetLogicalDrives() override;
  unsigned GetDriveType(const std::string& name) override;
  bool GetVolumeSize(const std::string& root, std::uint64_t& totalBytes) override;
  unsigned SetErrorMode(unsigned mode) override;
  bool FileExists(const std::string& path) override;
  bool EntryExists(const std::string& path) override;
  bool ReadFile(const std::string& path, std::string& contents) override;
  unsigned SetCurrentDirectory(const std::string& path) override;
  std::string ProgramDir() override;
};

}  // namespace platform::win32
