#include "platform/win32/Win32Registry.h"

#include <climits>

#include "platform/win32/Handles.h"

namespace platform::win32 {

namespace {

// The predefined keys are sign-extended 32-bit values, also in a 64-bit
// program.
HKEY RootKey(TRegRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

HKEY KeyOf(THandle key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

long TWin32Registry::OpenKey(TRegRoot root, const std::string& path, TRegOpenMode mode,
                             std::uint32_t view, THandle& key) {
  HKEY opened = nullptr;
  LONG result = ERROR_SUCCESS;
  switch (mode) {
    case TRegOpenMode::ReadOnly:
      result = ::RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_READ | view, &opened);
      break;
    case TRegOpenMode::ForChange:
      result = ::RegOpenKeyExA(RootKey(root), path.c_str(), 0, KEY_ALL_ACCESS | view, &opened);
      break;
    case TRegOpenMode::OpenOrCreate:
      result = ::RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS | view, nullptr, &opened, nullptr);
      break;
  }
  TRegKey owned(result == ERROR_SUCCESS ? opened : nullptr);
  key = ToHandle(owned.release());
  return result;
}

long TWin32Registry::QueryValue(THandle key, const std::string& name, std::size_t capacity,
                                std::uint32_t& type, std::size_t& size, TRegData& data) {
  if (capacity > ULONG_MAX) capacity = ULONG_MAX;
  data.assign(capacity, 0);
  DWORD valueType = REG_NONE;
  DWORD bytes = static_cast<DWORD>(capacity);
  const LONG result = ::RegQueryValueExA(KeyOf(key), name.c_str(), nullptr, &valueType,
                                         capacity ? data.data() : nullptr, &bytes);
  type = valueType;
  size = bytes;
  if (result == ERROR_SUCCESS && capacity)
    data.resize(std::min<std::size_t>(bytes, capacity));
  else
    data.clear();
  return result;
}

long TWin32Registry::SetValue(THandle key, const std::string& name, std::uint32_t type,
                              const TRegData& data) {
  if (data.size() > ULONG_MAX) return ERROR_INVALID_PARAMETER;
  return ::RegSetValueExA(KeyOf(key), name.c_str(), 0, type, data.data(),
                          static_cast<DWORD>(data.size()));
}

long TWin32Registry::DeleteValue(THandle key, const std::string& name) {
  return ::RegDeleteValueA(KeyOf(key), name.c_str());
}

void TWin32Registry::CloseKey(THandle key) { TRegKey closing(KeyOf(key)); }

}  // namespace platform::win32
