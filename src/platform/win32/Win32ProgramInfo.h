#pragma once

#include "platform/ProgramInfo.h"

namespace platform::win32 {

class TWin32ProgramInfo : public TProgramInfo {
 public:
  bool LoadVersionInfo(std::string& block) override;
  bool QueryTranslation(std::string& block, std::uint16_t& language,
                        std::uint16_t& codePage) override;
  bool QueryString(std::string& block, const std::string& subBlock, std::string& value) override;
  std::string ResourceData(const std::string& name) override;
};

}  // namespace platform::win32
