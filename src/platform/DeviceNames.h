// Names the system takes for a device rather than a file. "aux.lng" in any
// folder is the serial port, and reading it waits for a byte that may never
// come; such a path is never opened as a file.
#pragma once

#include <string_view>

namespace platform {

// True when the last part of `path` is a reserved device name (CON, PRN,
// AUX, NUL, COM1 to COM9, LPT1 to LPT9 and the console and clock names),
// whatever its case, extension or trailing blanks.
bool NamesADevice(std::string_view path);

}  // namespace platform
