#include "drives/DiscIcon.h"

#include "platform/Convert.h"
#include "platform/Services.h"
#include "platform/TextFields.h"

namespace drives {

namespace {

// Lower case as the system makes it for its own code page: a table of one
// code page would rewrite the trail bytes of a Japanese, Chinese or Korean
// name, and the file would not be found.
std::string Lower(const std::string& text) {
  platform::TSystemService* system = platform::Services().System;
  return system ? system->LowerCase(text) : text;
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
