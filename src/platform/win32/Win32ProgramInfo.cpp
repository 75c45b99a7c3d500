#include "platform/win32/Win32ProgramInfo.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/win32/Win32Paths.h"

namespace platform::win32 {

bool TWin32ProgramInfo::LoadVersionInfo(std::string& block) {
  block.clear();
  const std::string path = ProgramFile();
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return false;
  block.assign(size, '\0');
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) {
    block.clear();
    return false;
  }
  return true;
}

bool TWin32ProgramInfo::QueryTranslation(std::string& block, std::uint16_t& language,
                                         std::uint16_t& codePage) {
  void* data = nullptr;
  UINT length = 0;
  if (block.empty() ||
      !::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &data, &length) || !data ||
      length < 4)
    return false;
  WORD pair[2];
  std::memcpy(pair, data, sizeof pair);
  language = pair[0];
  codePage = pair[1];
  return true;
}

bool TWin32ProgramInfo::QueryString(std::string& block, const std::string& subBlock,
                                    std::string& value) {
  void* data = nullptr;
  UINT length = 0;
  if (block.empty() || !::VerQueryValueA(block.data(), subBlock.c_str(), &data, &length) || !data)
    return false;
  // The length counts characters, the terminator included on most systems;
  // the text ends at its terminator either way, and never past the block.
  const char* text = static_cast<const char*>(data);
  const char* end = block.data() + block.size();
  std::size_t n = 0;
  while (n < length && text + n < end && text[n] != '\0') ++n;
  value.assign(text, n);
  return true;
}

std::string TWin32ProgramInfo::ResourceData(const std::string& name) {
  HMODULE self = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(self, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!found) return {};
  HGLOBAL loaded = ::LoadResource(self, found);
  const DWORD size = ::SizeofResource(self, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};
  // Resources of the program's own image need no freeing.
  return std::string(static_cast<const char*>(bytes), size);
}

}  // namespace platform::win32
