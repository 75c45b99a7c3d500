// Running and exploring the disc in a drive: its audio, the program its
// autorun file names, or a file-explorer window on the drive.
#pragma once

#include <string>

namespace drives {

// An autorun start line cut at its first blank. Quotation marks mean
// nothing: a program path with a blank in it is cut at that blank.
struct TStartLine {
  std::string Program;
  std::string Parameters;
};
TStartLine SplitStartLine(const std::string& line);

// The most the shell is handed of a program text, and of a parameter text.
// Shells have fixed buffers of their own, some overflowing from about a
// thousand characters on, and a cut command would be another command.
inline constexpr std::size_t kShellTextMax = 800;

// What RunDisc did not do, for the caller to tell the user in the chosen
// language.
enum class TRunResult { Done, ProgramTooLong, RemoteProgram };
inline constexpr const char* kProgramTooLong =
    "The program named on the disc is too long to start.";
inline constexpr const char* kRemoteProgram =
    "The program named on the disc is on another computer and is not started.";
// The message for a result, nullptr for Done.
const char* RefusalText(TRunResult result);

// True when a program text may lead off this computer: a UNC path, or
// anything with two separators in front (the \\?\ and \\.\ forms reach
// UNC paths as well), an object path (\??\UNC\...), or a colon other than a
// drive letter's (a URL such as "file://host/..."). Opening one connects to
// the host the disc chose, with the user's credentials.
bool NamesARemoteProgram(const std::string& program);

// Asks the shell to open the program with the parameters, owned by the
// application window; whether the program starts is not reported. The
// texts go to the shell whole.
void OpenProgram(const std::string& program, const std::string& parameters);

// Runs the disc in a drive that holds one (the caller has checked): the
// first audio track, else the program of the autorun file (started from the
// disc's root; the current directory is put back once it has started), else
// the explorer. A program or parameter text over kShellTextMax starts
// nothing and answers ProgramTooLong, a program elsewhere on the network
// RemoteProgram. Raises an input/output error, starting nothing, when the
// disc's root cannot be made the current directory.
TRunResult RunDisc(char drive);

// A file-explorer window on the drive.
void ExploreDrive(char drive);

}  // namespace drives
