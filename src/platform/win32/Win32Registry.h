#pragma once

// First, whatever a file included before: the interface below must be read
// without the system's renaming macros.
#include "platform/win32/Win32Undef.h"
// Its method names now stay as written.
#include "platform/Registry.h"

namespace platform::win32 {

// advapi32's registry calls, one to one. Key handles travel above the seam
// as numbers; TRegistry closes every key it opens.
class TWin32Registry : public TRegistryService {
 public:
  long OpenKey(TRegRoot root, const std::string& path, TRegOpenMode mode, std::uint32_t view,
               THandle& key) override;
  long QueryValue(THandle key, const std::string& name, std::size_t capacity, std::uint32_t& type,
                  std::size_t& size, TRegData& data) override;
  long SetValue(THandle key, const std::string& name, std::uint32_t type,
                const TRegData& data) override;
  long DeleteValue(THandle key, const std::string& name) override;
  void CloseKey(THandle key) override;
};

}  // namespace platform::win32
