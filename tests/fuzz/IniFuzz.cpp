// The INI reader on any bytes: every answer is a piece of the text within
// the length limit, names match without regard to ASCII case or blanks
// around them, a byte-order mark changes nothing, a later section of the
// same name is never read, and the file read through the drive service
// answers as the text does.
#include <cctype>

#include "Fuzz.h"
#include "fakes/Fakes.h"
#include "platform/IniFile.h"

using platform::TIniFile;

namespace {

const std::string kDefault = "\x01no value";

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Section and key names as they appear in the text; the reader decides
// which of them count.
struct TName {
  std::string Section, Key;
};
std::vector<TName> Names(const std::string& text) {
  std::vector<TName> names;
  std::string section;
  for (const std::string& line : fuzz::Lines(text, 16)) {
    const std::size_t open = line.find('['), close = line.rfind(']');
    if (open != std::string::npos)
      section =
          line.substr(open + 1, close == std::string::npos || close < open ? std::string::npos
                                                                           : close - open - 1);
    else
      names.push_back({section, line.substr(0, line.find('='))});
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzz::Text(data, size);
  const TIniFile ini = TIniFile::FromText(text);

  fakes::TFakeDrives drives;
  drives.Files["C:\\fuzz.ini"] = text;
  const platform::TScopedServices scope{platform::TServices{.Drives = &drives}};
  const TIniFile read("C:\\fuzz.ini");
  FUZZ_CHECK(!read.TooLarge());

  const bool marked = text.rfind("\xEF\xBB\xBF", 0) == 0;
  const TIniFile withMark = TIniFile::FromText("\xEF\xBB\xBF" + text);

  bool appendedOnce = false;
  for (const TName& name : Names(text)) {
    const std::string value = ini.ReadString(name.Section, name.Key, kDefault);
    FUZZ_CHECK(read.ReadString(name.Section, name.Key, kDefault) == value);
    if (!marked) FUZZ_CHECK(withMark.ReadString(name.Section, name.Key, kDefault) == value);
    if (value == kDefault) continue;
    FUZZ_CHECK(value.size() <= platform::kIniValueMax);
    FUZZ_CHECK(text.find(value) != std::string::npos);
    FUZZ_CHECK(ini.ReadString(Upper(name.Section), " " + Upper(name.Key) + "\t", kDefault) ==
               value);
    // Only the first section of a name counts (asked once: it reads the
    // whole text again).
    if (appendedOnce) continue;
    appendedOnce = true;
    const TIniFile appended =
        TIniFile::FromText(text + "\r\n[" + name.Section + "]\r\n" + name.Key + "=other\r\n");
    FUZZ_CHECK(appended.ReadString(name.Section, name.Key, kDefault) == value);
  }
  return 0;
}
