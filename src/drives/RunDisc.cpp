#include "drives/RunDisc.h"

#include "drives/CdDrives.h"
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

const char* RefusalText(TRunResult result) {
  switch (result) {
    case TRunResult::ProgramTooLong:
      return kProgramTooLong;
    case TRunResult::RemoteProgram:
      return kRemoteProgram;
    case TRunResult::Done:
      break;
  }
  return nullptr;
}

bool NamesARemoteProgram(const std::string& program) {
  const auto separator = [&](std::size_t i) {
    return i < program.size() && (program[i] == '\\' || program[i] == '/');
  };
  if (separator(0) && separator(1)) return true;
  if (separator(0) && program.compare(1, 2, "??") == 0 && separator(3)) return true;
  for (std::size_t i = 0; i < program.size(); ++i)
    if (program[i] == ':' && i != 1) return true;
  return false;
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
  if (NamesARemoteProgram(start.Program)) return TRunResult::RemoteProgram;

  // A relative program name is the disc's, and the program expects to find
  // its files beside it. The started program has its own current directory;
  // ours goes back at once, as one on the disc keeps the drive busy and a
  // later Open could not eject it.
  TCurrentDirectoryGuard back;
  if (const unsigned error = drives.SetCurrentDirectory(letter + ":\\"))
    throw EInOutError("I/O error " + std::to_string(error));
  OpenProgram(start.Program, start.Parameters);
  return TRunResult::Done;
}

}  // namespace drives
