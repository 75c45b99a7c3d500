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

std::string TFakeSystemService::LowerCase(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (DoubleByte && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)))
      ++i;
    else if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      text[i] = static_cast<char>(c + 0x20);
  }
  return text;
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
