#include "drives/RunDisc.h"

#include "drives/CDFunc.h"
#include "platform/Application.h"
#include "platform/IniFile.h"
#include "platform/Services.h"
#include "platform/TextFields.h"

using namespace platform;

namespace drives {

TStartLine SplitStartLine(const std::string& line) {
  TStartLine split;
  split.Program = GetNthField(' ', line, 1);
  // The program and the one character after it (the blank) go.
  if (line.size() > split.Program.size()) split.Parameters = line.substr(split.Program.size() + 1);
  return split;
}

void OpenProgram(const std::string& program, const std::string& parameters) {
  const THandle owner = Application ? Application->Handle() : 0;
  Services().Shell->Execute(owner, "open", program, parameters, {}, kSwShowNormal);
}

void ExploreDrive(char drive) { OpenProgram("Explorer.exe", std::string{drive, ':'}); }

TRunResult RunDisc(char drive) {
  const std::string letter(1, drive);
  TDriveService& drives = *Services().Drives;

  const std::string track = letter + ":\\Track01.cda";
  if (drives.EntryExists(track)) {
    // An audio CD: its first track plays in the system's player.
    Services().Shell->Execute(0, "play", track, {}, {}, kSwShowNormal);
    return TRunResult::Done;
  }

  const std::string autorun = letter + ":\\Autorun.inf";
  if (!drives.EntryExists(autorun)) {
    ExploreDrive(drive);
    return TRunResult::Done;
  }
  const std::string line = platform::TIniFile(autorun).ReadString("autorun", "open", "");
  const TStartLine start = SplitStartLine(line);
  if (start.Program.empty()) {
    // An autorun file that names no program is a data disc all the same.
    ExploreDrive(drive);
    return TRunResult::Done;
  }
  // Never cut. This also covers a line the reader may have cut at its own
  // limit: two texts within bounds and their blank are far shorter.
  static_assert(2 * kShellTextMax + 1 < platform::kIniValueMax);
  if (start.Program.size() > kShellTextMax || start.Parameters.size() > kShellTextMax)
    return TRunResult::ProgramTooLong;

  // A relative program name is the disc's, and the program expects to find
  // its files beside it.
  if (const unsigned error = drives.SetCurrentDirectory(letter + ":\\"))
    throw EInOutError("I/O error " + std::to_string(error));
  OpenProgram(start.Program, start.Parameters);
  return TRunResult::Done;
}

}  // namespace drives
