#include "drives/DiscIcon.h"

#include "platform/Convert.h"
#include "platform/TextFields.h"

namespace drives {

namespace {

// Lower case in the ANSI code page: ASCII and the Windows-1252 capitals
// from 0xC0 on (but 0xD7, the multiplication sign).
std::string Lower(std::string text) {
  for (char& c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
      c = static_cast<char>(u + 0x20);
  }
  return text;
}

TIconKind KindOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return TIconKind::None;
  const std::string extension = fileName.substr(dot);
  if (extension == ".ico") return TIconKind::IconFile;
  if (extension == ".exe" || extension == ".dll") return TIconKind::Program;
  return TIconKind::None;
}

}  // namespace

TIconEntry ParseIconEntry(const std::string& entry) {
  const std::string lower = Lower(entry);
  TIconEntry result;
  result.FileName = platform::GetNthField(',', lower, 1);
  // The index is read before the file name is looked at: ",x" is an error
  // too, where ",3" is only no icon.
  if (lower.size() > result.FileName.size())
    result.Index = platform::StrToInt(lower.substr(result.FileName.size() + 1));
  if (!result.FileName.empty()) result.Kind = KindOf(result.FileName);
  return result;
}

}  // namespace drives
