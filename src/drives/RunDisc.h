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

// Asks the shell to open the program with the parameters, owned by the
// application window; whether the program starts is not reported. The
// texts go to the shell whole, however long they are.
void OpenProgram(const std::string& program, const std::string& parameters);

// Runs the disc in a drive that holds one (the caller has checked): the
// first audio track, else the program of the autorun file (started from the
// disc's root, which stays the current directory), else the explorer. A
// start line too long to have been read whole starts nothing.
// Raises an input/output error, starting nothing, when the disc's root
// cannot be made the current directory.
void RunDisc(char drive);

// A file-explorer window on the drive.
void ExploreDrive(char drive);

}  // namespace drives
