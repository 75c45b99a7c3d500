// The program's INI reader, for language files, a disc's Autorun.inf and the
// downloaded version file. It keeps the profile-string rules: names match
// without regard to case, blanks around keys and values do not count, one
// pair of matching quotes around a value is removed, a value is cut at 2047
// characters, and an absent file, section or key gives the caller's default.
// A UTF-8 byte-order mark at the start of a file is skipped, as the system's
// reader does: editors put one before the first header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr std::size_t kIniValueMax = 2047;

class TIniFile {
 public:
  // Reads the whole file through the drive service; a file that cannot be
  // read, or is over the size cap, behaves as an empty one.
  explicit TIniFile(const std::string& path);
  static TIniFile FromText(std::string_view text);

  // The file was not read because it is over the size cap: the caller may
  // want to say so, where an absent file needs no word.
  bool TooLarge() const { return FTooLarge; }
  // The file was read (it may still hold nothing).
  bool Read() const { return FRead; }

  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& defaultValue) const;

 private:
  TIniFile() = default;
  void Parse(std::string_view text);

  struct TEntry {
    std::string Key;
    std::string Value;
    bool HasValue;  // false for a line without '=': it answers with the default
  };
  struct TSection {
    std::string Name;
    std::vector<TEntry> Entries;
  };
  std::vector<TSection> FSections;
  bool FTooLarge = false;
  bool FRead = false;
};

// Case-insensitive comparison of names in the Windows-1252 code page.
bool SameIniName(std::string_view a, std::string_view b);

}  // namespace platform
