#include <algorithm>
#include <cctype>

#include "fakes/Fakes.h"

using platform::kErrorAccessDenied;
using platform::kErrorFileNotFound;
using platform::kErrorMoreData;
using platform::kErrorSuccess;
using platform::TRegData;
using platform::TRegOpenMode;
using platform::TRegRoot;

namespace fakes {

namespace {

constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorBadPathname = 161;

std::string Upper(const std::string& s) {
  std::string u = s;
  std::transform(u.begin(), u.end(), u.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return u;
}

std::string RootName(TRegRoot root) {
  switch (root) {
    case platform::kHkeyClassesRoot:
      return "HKCR";
    case platform::kHkeyCurrentUser:
      return "HKCU";
    case platform::kHkeyLocalMachine:
      return "HKLM";
    default:
      return {};
  }
}

std::string ParentOf(const std::string& id) { return id.substr(0, id.rfind('\\')); }

}  // namespace

bool TFakeRegistry::Normalize(TRegRoot root, const std::string& path, std::string& id) {
  id = RootName(root);
  if (id.empty()) return false;
  // As Windows does: a trailing backslash is ignored; a leading one, or an
  // empty name between two, is a bad path.
  std::string p = path;
  if (!p.empty() && p.back() == '\\') p.pop_back();
  if (p.empty()) return true;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = p.find('\\', start);
    const std::string part = p.substr(start, end == std::string::npos ? end : end - start);
    if (part.empty()) return false;
    id += '\\';
    id += Upper(part);
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

void TFakeRegistry::CreateKey(TRegRoot root, const std::string& path) {
  std::string id;
  if (!Normalize(root, path, id)) return;
  for (std::string k = id; k.find('\\') != std::string::npos; k = ParentOf(k)) FKeys[k];
  FKeys[id];
}

void TFakeRegistry::Put(TRegRoot root, const std::string& path, const std::string& name,
                        std::uint32_t type, TRegData data) {
  CreateKey(root, path);
  std::string id;
  Normalize(root, path, id);
  FKeys[id].Values[Upper(name)] = {type, std::move(data)};
}

void TFakeRegistry::PutString(TRegRoot root, const std::string& path, const std::string& name,
                              const std::string& text) {
  TRegData data(text.begin(), text.end());
  data.push_back(0);
  Put(root, path, name, platform::kRegSz, std::move(data));
}

void TFakeRegistry::PutDword(TRegRoot root, const std::string& path, const std::string& name,
                             std::uint32_t v) {
  Put(root, path, name, platform::kRegDword,
      {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
       static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
}

const TFakeValue* TFakeRegistry::Find(TRegRoot root, const std::string& path,
                                      const std::string& name) const {
  std::string id;
  if (!Normalize(root, path, id)) return nullptr;
  auto key = FKeys.find(id);
  if (key == FKeys.end()) return nullptr;
  auto value = key->second.Values.find(Upper(name));
  return value == key->second.Values.end() ? nullptr : &value->second;
}

std::string TFakeRegistry::String(TRegRoot root, const std::string& path,
                                  const std::string& name) const {
  const TFakeValue* v = Find(root, path, name);
  if (!v || v->Type != platform::kRegSz) return "<absent>";
  std::string text(v->Data.begin(), v->Data.end());
  return text.substr(0, text.find('\0'));
}

bool TFakeRegistry::KeyExists(TRegRoot root, const std::string& path) const {
  std::string id;
  return Normalize(root, path, id) && FKeys.count(id) != 0;
}

long TFakeRegistry::OpenKey(TRegRoot root, const std::string& path, TRegOpenMode mode,
                            std::uint32_t view, platform::THandle& key) {
  static const char* const kModes[] = {"ReadOnly", "ForChange", "Create"};
  Calls.push_back(std::string("Open ") + RootName(root) + "\\" + path + " " +
                  kModes[static_cast<int>(mode)]);
  Access.push_back((mode == TRegOpenMode::ReadOnly ? platform::kKeyRead : platform::kKeyAllAccess) |
                   view);
  key = 0;
  std::string id;
  if (RootName(root).empty()) return kErrorInvalidHandle;
  if (!Normalize(root, path, id)) return kErrorBadPathname;
  const bool writable = mode != TRegOpenMode::ReadOnly;
  if (writable &&
      std::find(ReadOnlyRoots.begin(), ReadOnlyRoots.end(), root) != ReadOnlyRoots.end())
    return kErrorAccessDenied;
  if (mode == TRegOpenMode::OpenOrCreate)
    CreateKey(root, path);
  else if (!FKeys.count(id) && id.find('\\') != std::string::npos)
    return kErrorFileNotFound;
  FKeys[id];  // the root itself always exists
  key = FNext++;
  FOpen[key] = {id, writable};
  return kErrorSuccess;
}

long TFakeRegistry::QueryValue(platform::THandle key, const std::string& name, std::size_t capacity,
                               std::uint32_t& type, std::size_t& size, TRegData& data) {
  Calls.push_back("Query " + name);
  data.clear();
  auto open = FOpen.find(key);
  if (open == FOpen.end()) return kErrorInvalidHandle;
  const auto& values = FKeys[open->second.Id].Values;
  auto value = values.find(Upper(name));
  if (value == values.end()) return kErrorFileNotFound;
  type = value->second.Type;
  size = value->second.Data.size();
  if (capacity == 0) return kErrorSuccess;
  if (size > capacity) return kErrorMoreData;
  data = value->second.Data;
  return kErrorSuccess;
}

long TFakeRegistry::SetValue(platform::THandle key, const std::string& name, std::uint32_t type,
                             const TRegData& data) {
  Calls.push_back("Set " + name);
  auto open = FOpen.find(key);
  if (open == FOpen.end()) return kErrorInvalidHandle;
  if (!open->second.Writable || RefuseSetValue) return kErrorAccessDenied;
  FKeys[open->second.Id].Values[Upper(name)] = {type, data};
  return kErrorSuccess;
}

long TFakeRegistry::DeleteValue(platform::THandle key, const std::string& name) {
  Calls.push_back("Delete " + name);
  auto open = FOpen.find(key);
  if (open == FOpen.end()) return kErrorInvalidHandle;
  if (!open->second.Writable) return kErrorAccessDenied;
  return FKeys[open->second.Id].Values.erase(Upper(name)) ? kErrorSuccess : kErrorFileNotFound;
}

void TFakeRegistry::CloseKey(platform::THandle key) {
  Calls.push_back("Close");
  FOpen.erase(key);
}

}  // namespace fakes
