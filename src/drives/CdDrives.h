// The CD-ROM drive list and the tray commands.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Strings.h"

namespace drives {

// Keeps the process error mode at "fail critical errors" for its lifetime,
// so that no system box asks for a disc while a drive is probed, and puts
// the previous mode back on every way out.
class TErrorModeGuard {
 public:
  TErrorModeGuard();
  ~TErrorModeGuard();
  TErrorModeGuard(const TErrorModeGuard&) = delete;
  TErrorModeGuard& operator=(const TErrorModeGuard&) = delete;

 private:
  unsigned FPrevious;
};

// Keeps the process's current directory as it was at construction: it is
// set back on every way out.
class TCurrentDirectoryGuard {
 public:
  TCurrentDirectoryGuard();
  ~TCurrentDirectoryGuard();
  TCurrentDirectoryGuard(const TCurrentDirectoryGuard&) = delete;
  TCurrentDirectoryGuard& operator=(const TCurrentDirectoryGuard&) = delete;

 private:
  std::string FPrevious;
};

// The CD-ROM drives as a set of letters, a bit each (bit 0 is A). Each
// letter in use is asked for its type once: the drive list and the device
// probe share the answer, since each question is a request to the system.
std::uint32_t CdRomLetters();

// Fills `list` with the names ("D:") of the drives in `letters`, or of
// every CD-ROM drive, in letter order.
void ListCdDrives(platform::TStrings& list, std::uint32_t letters);
void ListCdDrives(platform::TStrings& list);

// True when the drive holds a readable volume. A lower-case letter means its
// drive; any other non-letter raises "Not a valid drive ID". The system's
// critical-error dialog is kept off for the time of the request.
bool DiskInDrive(char drive);

// Open or close the drive's tray through the media control interface. Neither
// reports an outcome: a drive that cannot do it simply stays as it is.
void OpenCD(char drive);
void CloseCD(char drive);

// The icon file of a drive letter: the program's directory, the lower-case
// letter and ".ico".
std::string GetIcoFileName(char drive);

}  // namespace drives
