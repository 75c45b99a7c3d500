// Which Windows the program runs on, as one code. The code decides which
// registry locations and value forms apply; it is only ever compared in the
// three ways below.
#pragma once

#include "platform/Services.h"

namespace policies {

// 0 Windows 95, 1 Windows 98, 2 Windows 98 Second Edition, 3 Windows Me,
// 4 Windows NT 4.0 and earlier, 5 Windows 2000, 6 Windows XP, 7 any later NT
// system (XP x64, Server 2003, Vista and on); -1 for anything else.
int OSCodeOf(const platform::TOsVersionInfo& info);
// The code of the running system; -1 when its version cannot be read.
int GetOperatingSystem();

// An unrecognised system (-1) goes the 9x way.
inline bool IsNtFamily(int osCode) { return osCode > 3; }
inline bool Is9xFamily(int osCode) { return osCode < 4; }
inline bool IsXp(int osCode) { return osCode > 5; }

}  // namespace policies
