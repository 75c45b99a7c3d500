#include "platform/DeviceNames.h"

namespace platform {

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

// 1 to 9, and the superscripts one, two and three of Windows-1252, which the
// system counts as port numbers too.
bool IsPortDigit(char c) {
  return (c >= '1' && c <= '9') || c == '\xB9' || c == '\xB2' || c == '\xB3';
}

}  // namespace

bool NamesADevice(std::string_view path) {
  // A drive-relative "C:aux" names the device as much as "C:\aux" does.
  if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
  if (const std::size_t slash = path.find_last_of("\\/"); slash != std::string_view::npos)
    path.remove_prefix(slash + 1);
  // The extension, a stream after a colon and blanks before them do not count.
  path = path.substr(0, path.find_first_of(".:"));
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);

  for (std::string_view name : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (SameAscii(path, name)) return true;
  return path.size() == 4 &&
         (SameAscii(path.substr(0, 3), "COM") || SameAscii(path.substr(0, 3), "LPT")) &&
         IsPortDigit(path[3]);
}

}  // namespace platform
