// The disc's icon entry on any text: the file name is the lower-cased entry
// up to its first ",", the index is what the integer conversion makes of
// the rest (its error passed on unchanged), and the kind follows the file
// name's extension alone.
#include <cstring>

#include "Fuzz.h"
#include "drives/DiscIcon.h"
#include "fakes/Fakes.h"
#include "platform/Convert.h"
#include "platform/Types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fakes::TFakeSystemService system;
  static platform::TScopedServices services{{.System = &system}};
  const std::string entry = fuzz::Text(data, size);
  (void)drives::IsSoundIconFile(entry);  // reads only the bytes it gets
  const std::size_t comma = entry.find(',');
  const std::string rest = comma == std::string::npos ? std::string() : entry.substr(comma + 1);
  drives::TIconEntry parsed;
  try {
    parsed = drives::ParseIconEntry(entry);
  } catch (const platform::EConvertError&) {
    // Only a text after the "," that the conversion refuses may raise.
    std::int32_t ignored = 0;
    FUZZ_CHECK(comma != std::string::npos && !platform::TryStrToInt(rest, ignored));
    return 0;
  }
  FUZZ_CHECK(parsed.FileName.size() == std::min(comma, entry.size()));
  FUZZ_CHECK(parsed.FileName.find(',') == std::string::npos);
  FUZZ_CHECK(parsed.FileName == system.LowerCase(entry).substr(0, parsed.FileName.size()));
  if (comma == std::string::npos) {
    FUZZ_CHECK(parsed.Index == 0);
  } else {
    std::int32_t index = 0;
    FUZZ_CHECK(platform::TryStrToInt(rest, index) && parsed.Index == index);
  }
  const std::size_t dot = parsed.FileName.rfind('.');
  const std::string extension = dot == std::string::npos ? "" : parsed.FileName.substr(dot);
  const drives::TIconKind expected = extension == ".ico" ? drives::TIconKind::IconFile
                                     : extension == ".exe" || extension == ".dll"
                                         ? drives::TIconKind::Program
                                         : drives::TIconKind::None;
  FUZZ_CHECK(parsed.Kind == expected);
  return 0;
}
