#include "fakes/Fakes.h"

namespace fakes {

void TFakeSystemService::Set(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                             std::string csd) {
  VersionKnown = true;
  Version = {major, minor, 0, platformId, std::move(csd)};
}

bool TFakeSystemService::GetVersionInfo(platform::TOsVersionInfo& info) {
  Calls.push_back("GetVersionInfo");
  if (VersionKnown) info = Version;
  return VersionKnown;
}

bool TFakeSystemService::RequestExitWindows(unsigned flags) {
  Calls.push_back("RequestExitWindows " + std::to_string(flags));
  return ExitAccepted;
}

TFakeSystem::TFakeSystem() {
  Registry.CreateKey(platform::kHkeyLocalMachine,
                     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  Registry.PutString(platform::kHkeyClassesRoot, "AudioCD\\Shell\\Play\\Command", "",
                     "cdplayer.exe /play %1");
  Registry.PutString(platform::kHkeyLocalMachine, "SOFTWARE\\Classes\\AudioCD\\Shell", "", "play");
  Registry.PutString(platform::kHkeyClassesRoot, "AudioCD\\Shell", "", "play");
  Registry.PutString(platform::kHkeyLocalMachine,
                     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "AllocateCDRoms",
                     "0");
}

}  // namespace fakes
