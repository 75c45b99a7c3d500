#include "platform/Registry.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/Services.h"

namespace platform {

namespace {

TRegistryService& Service() {
  TRegistryService* service = Services().Registry;
  if (!service) throw ERegistryException("No registry");
  return *service;
}

[[noreturn]] void InvalidType(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

[[noreturn]] void FailedGet(const std::string& name) {
  throw ERegistryException("Failed to get data for '" + name + "'");
}

// Asked on every open: keys are opened rarely, and a test may change the
// answer between two opens.
std::uint32_t View() {
  TSystemService* system = Services().System;
  return system && system->IsWow64() ? kKeyWow64_64Key : 0;
}

bool IsBinaryKind(std::uint32_t type) {
  // REG_BINARY and every type the framework has no name for.
  return type != kRegSz && type != kRegExpandSz && type != kRegDword;
}

}  // namespace

TRegistry::TRegistry() : FRoot(kHkeyCurrentUser) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(TRegRoot root) {
  CloseKey();
  FRoot = root;
}

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
  CloseKey();
  THandle key = 0;
  if (Service().OpenKey(FRoot, path,
                        canCreate ? TRegOpenMode::OpenOrCreate : TRegOpenMode::ForChange, View(),
                        key) != kErrorSuccess)
    return false;
  FKey = key;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& path) {
  CloseKey();
  THandle key = 0;
  if (Service().OpenKey(FRoot, path, TRegOpenMode::ReadOnly, View(), key) != kErrorSuccess)
    return false;
  FKey = key;
  return true;
}

void TRegistry::CloseKey() {
  if (!Open()) return;
  Service().CloseKey(std::exchange(FKey, 0));
}

bool TRegistry::ValueExists(const std::string& name) {
  if (!Open()) return false;
  std::uint32_t type = 0;
  std::size_t size = 0;
  TRegData data;
  return Service().QueryValue(FKey, name, 0, type, size, data) == kErrorSuccess;
}

bool TRegistry::DeleteValue(const std::string& name) {
  return Open() && Service().DeleteValue(FKey, name) == kErrorSuccess;
}

std::string TRegistry::ReadString(const std::string& name) {
  std::uint32_t type = 0;
  std::size_t size = 0;
  TRegData data;
  if (!Open() || Service().QueryValue(FKey, name, 0, type, size, data) != kErrorSuccess) return {};
  if (size == 0) return {};
  if (Service().QueryValue(FKey, name, size, type, size, data) != kErrorSuccess) FailedGet(name);
  if (type != kRegSz && type != kRegExpandSz) InvalidType(name);
  // Stored as written, without expanding environment references; the text
  // ends at the first zero byte, or with the data when it has none.
  const auto stored = data.begin() + static_cast<std::ptrdiff_t>(std::min(size, data.size()));
  return std::string(data.begin(), std::find(data.begin(), stored, std::uint8_t{0}));
}

std::int32_t TRegistry::ReadInteger(const std::string& name) {
  std::uint32_t type = 0;
  std::size_t size = 0;
  TRegData data;
  if (!Open() || Service().QueryValue(FKey, name, 4, type, size, data) != kErrorSuccess)
    FailedGet(name);
  if (type != kRegDword) InvalidType(name);
  // A DWORD stored with fewer than four bytes reads with the rest as zero.
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  std::memcpy(bytes, data.data(), std::min<std::size_t>(data.size(), 4));
  const std::uint32_t bits =
      bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return static_cast<std::int32_t>(bits);
}

std::size_t TRegistry::ReadBinaryData(const std::string& name, void* buffer, std::size_t bufSize) {
  std::uint32_t type = 0;
  std::size_t size = 0;
  TRegData data;
  if (!Open() || Service().QueryValue(FKey, name, 0, type, size, data) != kErrorSuccess)
    FailedGet(name);
  if (!IsBinaryKind(type) || size > bufSize) InvalidType(name);
  if (size == 0) return 0;
  if (Service().QueryValue(FKey, name, bufSize, type, size, data) != kErrorSuccess) FailedGet(name);
  const std::size_t n = std::min({size, data.size(), bufSize});
  std::memcpy(buffer, data.data(), n);
  return n;
}

void TRegistry::Write(const std::string& name, std::uint32_t type, TRegData data) {
  if (!Open() || Service().SetValue(FKey, name, type, data) != kErrorSuccess)
    throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  TRegData data(value.begin(), value.end());
  data.push_back(0);
  Write(name, kRegSz, std::move(data));
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  Write(name, kRegDword,
        {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
         static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)});
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  Write(name, kRegBinary, TRegData(bytes, bytes + size));
}

}  // namespace platform
