#include "policies/OSVersion.h"

namespace policies {

int OSCodeOf(const platform::TOsVersionInfo& info) {
  const std::uint32_t major = info.MajorVersion, minor = info.MinorVersion;
  if (info.PlatformId == platform::kVerPlatformWin32Windows) {
    if (major == 4 && minor == 0) return 0;
    // The Second Edition says so with " A " as its service-pack text.
    if (major == 4 && minor == 10)
      return info.CSDVersion.size() > 1 && info.CSDVersion[1] == 'A' ? 2 : 1;
    if (major == 4 && minor == 90) return 3;
    return -1;
  }
  if (info.PlatformId == platform::kVerPlatformWin32Nt) {
    if (major <= 4) return 4;
    if (major == 5 && minor == 0) return 5;
    if (major == 5 && minor == 1) return 6;
    // Everything after XP keeps its policies where XP does; as -1 it would
    // be taken for the 9x family and get that family's keys and forms.
    return 7;
  }
  return -1;
}

int GetOperatingSystem() {
  platform::TSystemService* system = platform::Services().System;
  platform::TOsVersionInfo info;
  if (!system || !system->GetVersionInfo(info)) return -1;
  return OSCodeOf(info);
}

}  // namespace policies
