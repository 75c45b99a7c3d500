// What the program reads from its own executable: the version information
// and the data resources (the about box's pictures).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class TProgramInfo {
 public:
  virtual ~TProgramInfo() = default;
  // GetFileVersionInfoSizeA and GetFileVersionInfoA on the running program;
  // false when it carries no version information.
  virtual bool LoadVersionInfo(std::string& block) = 0;
  // VerQueryValueA "\VarFileInfo\Translation": the first language and code
  // page pair.
  virtual bool QueryTranslation(std::string& block, std::uint16_t& language,
                                std::uint16_t& codePage) = 0;
  // VerQueryValueA for a string value such as
  // "StringFileInfo\040604E4\FileVersion".
  virtual bool QueryString(std::string& block, const std::string& subBlock, std::string& value) = 0;
  // The bytes of a data resource (RT_RCDATA) of the program, by name; empty
  // when there is none.
  virtual std::string ResourceData(const std::string& name) = 0;
};

}  // namespace platform
