#include "platform/IniFile.h"

#include "platform/Services.h"

namespace platform {

namespace {

bool IsBlank(char c) {
  // Control-Z counts as a blank: old editors end text files with it.
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

unsigned char Upper1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A:
      return 0x8A;  // s caron
    case 0x9C:
      return 0x8C;  // oe
    case 0x9E:
      return 0x8E;  // z caron
    case 0xFF:
      return 0x9F;  // y diaeresis
    default:
      return c;
  }
}

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper1252(static_cast<unsigned char>(a[i])) != Upper1252(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

TIniFile::TIniFile(const std::string& path) {
  std::string text;
  platform::TDriveService* files = platform::Services().Drives;
  if (path.empty() || !files) return;
  switch (files->ReadFile(path, text)) {
    case TFileRead::Done:
      FRead = true;
      Parse(text);
      break;
    case TFileRead::TooLarge:
      FTooLarge = true;
      break;
    case TFileRead::Unreadable:
      break;
  }
}

TIniFile TIniFile::FromText(std::string_view text) {
  TIniFile ini;
  ini.Parse(text);
  return ini;
}

void TIniFile::Parse(std::string_view text) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  TSection* current = nullptr;  // entries before the first header belong nowhere
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      std::string_view name = line.substr(1);
      if (const std::size_t close = name.rfind(']'); close != std::string_view::npos)
        name = name.substr(0, close);
      FSections.push_back({std::string(Trim(name)), {}});
      current = &FSections.back();
      continue;
    }
    if (!current) continue;
    const std::size_t equals = line.find('=');
    std::string_view key = Trim(line.substr(0, equals));
    if (equals == std::string_view::npos) {
      current->Entries.push_back({std::string(key), {}, false});
      continue;
    }
    current->Entries.push_back(
        {std::string(key), std::string(Trim(line.substr(equals + 1))), true});
  }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 const std::string& defaultValue) const {
  section = Trim(section);
  key = Trim(key);
  for (const TSection& s : FSections) {
    if (!SameIniName(s.Name, section)) continue;
    // Like the system's reader: only the first section of a name and the
    // first line of a key count, and a key without '=' has no value.
    for (const TEntry& e : s.Entries) {
      if (!SameIniName(e.Key, key)) continue;
      if (!e.HasValue) return defaultValue;
      std::string_view value = e.Value;
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      return std::string(value.substr(0, kIniValueMax));
    }
    break;
  }
  return defaultValue;
}

}  // namespace platform
