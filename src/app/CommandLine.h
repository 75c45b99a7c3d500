// The command line: what a start with arguments asks for, the usage text,
// and the form in which a command travels to a running copy.
#pragma once

#include <functional>
#include <string>

namespace app {

enum class TCommandKind {
  None,  // no arguments: the ordinary start
  Open,
  Close,
  Run,
  Explore,
  Show,
  Exit,
  Usage,  // "/?"
  Wrong,  // an unknown switch or a wrong argument
};

struct TCommandLine {
  TCommandKind Kind = TCommandKind::None;
  char Drive = '\0';  // the upper-case letter given, '\0' for the current drive
};

// The exit codes of a start with a command.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;  // no CD-ROM drive of that letter, or the command failed
inline constexpr int kExitWrong = 2;   // an unknown switch or a wrong argument

// The arguments as the system hands them over, without the program's name.
// Switches start with "/" or "-" and are read without regard to case; a
// drive is a letter and a colon, with or without a backslash after it.
TCommandLine ParseCommandLine(const std::string& arguments);

// The commands that act on a drive.
bool IsDriveCommand(TCommandKind kind);

// The usage text, each description passed through `translate`.
std::string UsageText(const std::function<std::string(const std::string&)>& translate);

// The command as it travels to a running copy, and back. Decoding takes
// what another process sent: anything but a drive command, "/show" or
// "/exit" in the encoded form is refused.
inline constexpr unsigned kCommandTag = 0x4D4F5256;  // "MORV"
std::string EncodeCommand(const TCommandLine& command);
bool DecodeCommand(const std::string& data, TCommandLine& command);

}  // namespace app
