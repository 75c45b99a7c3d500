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
enum class TRunResult { Done, ProgramTooLong };
inline constexpr const char* kProgramTooLong =
    "The program named on the disc is too long to start.";

// Asks the shell to open the program with the parameters, owned by the
// application window; whether the program starts is not reported. The
// texts go to the shell whole.
void OpenProgram(const std::string& program, const std::string& parameters);

// Runs the disc in a drive that holds one (the caller has checked): the
// first audio track, else the program of the autorun file (started from the
// disc's root, which stays the current directory), else the explorer. A
// program or parameter text over kShellTextMax starts nothing and answers
// ProgramTooLong. Raises an input/output error, starting nothing, when the
// disc's root cannot be made the current directory.
TRunResult RunDisc(char drive);

// A file-explorer window on the drive.
void ExploreDrive(char drive);

}  // namespace drives
