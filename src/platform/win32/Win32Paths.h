// The program's own folder and files beside it, as the Win32 layer finds them.
#pragma once

#include <string>

namespace platform::win32 {

// The full path of the running executable as the program's ANSI calls can
// use it: the long path when the code page has every character of it, else
// its short (8.3) form. Empty when the system cannot tell, or when neither
// form fits (the program cannot run from there).
std::string ProgramFile();

// The folder of the running executable, with its trailing backslash; empty
// when the system cannot tell.
std::string ProgramFolder();

// A file the program keeps beside itself (an icon, a picture): a relative
// name is taken from the program's folder, wherever the current directory
// is; an absolute path stays as it is.
std::string BesideProgram(const std::string& file);

// True for an existing ordinary file: a folder is none, and neither is a
// device, whatever its name's extension ("aux.lng" is the serial port).
bool FileExists(const std::string& path);

}  // namespace platform::win32
