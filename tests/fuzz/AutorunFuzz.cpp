// An Autorun.inf of any bytes, and its start line: the split gives back the
// line exactly, and running the disc hands the shell either nothing (a text
// too long) or one request within the shell's limits.
#include "Fuzz.h"
#include "drives/RunDisc.h"
#include "fakes/Fakes.h"
#include "platform/IniFile.h"

namespace {

drives::TStartLine CheckSplit(const std::string& line) {
  const drives::TStartLine split = drives::SplitStartLine(line);
  FUZZ_CHECK(split.Program.find(' ') == std::string::npos);
  FUZZ_CHECK((line.size() > split.Program.size() ? split.Program + ' ' + split.Parameters
                                                 : split.Program) == line);
  return split;
}

void CheckRun(const std::string& autorun) {
  fakes::TFakeSystem system;
  system.Drives.Files["E:\\Autorun.inf"] = autorun;
  const drives::TRunResult result = drives::RunDisc('E');
  // A value may end in a blank that quotes kept: the split says what the
  // shell gets.
  const drives::TStartLine split =
      CheckSplit(platform::TIniFile::FromText(autorun).ReadString("autorun", "open", ""));
  const auto& calls = system.Shell.Calls;
  if (result != drives::TRunResult::Done) {  // too long, or off this computer
    FUZZ_CHECK(calls.empty() && (split.Program.size() > drives::kShellTextMax ||
                                 split.Parameters.size() > drives::kShellTextMax ||
                                 drives::NamesARemoteProgram(split.Program)));
    return;
  }
  FUZZ_CHECK(calls.size() == 1 && calls[0].Verb == "open");
  if (calls[0].File == "Explorer.exe" && calls[0].Parameters == "E:") return;
  FUZZ_CHECK(calls[0].File.size() <= drives::kShellTextMax &&
             calls[0].Parameters.size() <= drives::kShellTextMax);
  FUZZ_CHECK(calls[0].File == split.Program && calls[0].Parameters == split.Parameters);
  FUZZ_CHECK(system.Drives.CurrentDirectory == "C:\\");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzz::Text(data, size);
  CheckSplit(text);
  CheckRun(text);
  CheckRun("[autorun]\r\nopen=" + text);
  return 0;
}
