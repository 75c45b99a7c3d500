// The registry: the service the platform provides, and TRegistry, the
// framework's accessor on top of it. TRegistry raises ERegistryException with
// the framework's texts when a value has another type than asked for or
// cannot be read or written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

// Predefined roots, as the numbers the program passes around.
using TRegRoot = std::uint32_t;
inline constexpr TRegRoot kHkeyClassesRoot = 0x80000000;
inline constexpr TRegRoot kHkeyCurrentUser = 0x80000001;
inline constexpr TRegRoot kHkeyLocalMachine = 0x80000002;

inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorMoreData = 234;

enum class TRegOpenMode {
  ReadOnly,      // RegOpenKeyExA, KEY_READ
  ForChange,     // RegOpenKeyExA, KEY_ALL_ACCESS
  OpenOrCreate,  // RegCreateKeyExA, non-volatile, KEY_ALL_ACCESS
};

inline constexpr std::uint32_t kKeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS
inline constexpr std::uint32_t kKeyWow64_64Key = 0x100;  // KEY_WOW64_64KEY

using TRegData = std::vector<std::uint8_t>;

// Results are the platform's error codes (0 is success).
class TRegistryService {
 public:
  virtual ~TRegistryService() = default;
  // `view` is added to the mode's access rights: 0, or kKeyWow64_64Key for
  // the 64-bit view of the registry.
  virtual long OpenKey(TRegRoot root, const std::string& path, TRegOpenMode mode,
                       std::uint32_t view, THandle& key) = 0;
  // RegQueryValueExA into a buffer of `capacity` bytes. On success `data`
  // holds the bytes stored; kErrorMoreData when they do not fit (the type
  // and `size` are still filled in).
  virtual long QueryValue(THandle key, const std::string& name, std::size_t capacity,
                          std::uint32_t& type, std::size_t& size, TRegData& data) = 0;
  virtual long SetValue(THandle key, const std::string& name, std::uint32_t type,
                        const TRegData& data) = 0;
  virtual long DeleteValue(THandle key, const std::string& name) = 0;
  virtual void CloseKey(THandle key) = 0;
};

// One key at a time, closed by CloseKey or the destructor. A 32-bit program
// on 64-bit Windows opens every key in the 64-bit view: the system's own
// settings live there, and the redirected 32-bit copies are not what
// Windows reads. The data kinds
// follow the registry's types: string (REG_SZ and REG_EXPAND_SZ), integer
// (REG_DWORD), binary (REG_BINARY and the types the framework does not
// know).
class TRegistry {
 public:
  TRegistry();  // the root is HKEY_CURRENT_USER until told otherwise
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  void SetRootKey(TRegRoot root);
  // KEY_ALL_ACCESS; with `canCreate` the key and every missing key along the
  // path are created.
  bool OpenKey(const std::string& path, bool canCreate);
  bool OpenKeyReadOnly(const std::string& path);
  void CloseKey();

  bool ValueExists(const std::string& name);
  bool DeleteValue(const std::string& name);

  std::string ReadString(const std::string& name);
  std::int32_t ReadInteger(const std::string& name);
  // Reads at most `size` bytes into `buffer`; returns the number read.
  std::size_t ReadBinaryData(const std::string& name, void* buffer, std::size_t size);

  void WriteString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, std::int32_t value);
  void WriteBinaryData(const std::string& name, const void* buffer, std::size_t size);

 private:
  void Write(const std::string& name, std::uint32_t type, TRegData data);

  bool Open() const { return FKey != 0; }

  TRegRoot FRoot;
  THandle FKey = 0;  // 0 while no key is open
};

}  // namespace platform
