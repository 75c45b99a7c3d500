#include "app/Settings.h"

#include "platform/Convert.h"
#include "platform/Registry.h"
#include "platform/Types.h"
#include "policies/RegistryRoutines.h"

namespace app {

namespace {

void Read(const char* name, std::string& value) {
  policies::RegReadStr(kSettingsRoot, kSettingsKey, name, value);
}

void Write(const char* name, const std::string& value) {
  policies::RegWriteStr(kSettingsRoot, kSettingsKey, name, value);
}

}  // namespace

void ReadLanguageSetting(std::string& language) { Read(kSettingLanguage, language); }
void ReadTraySetting(std::string& mode) { Read(kSettingTray, mode); }
void ReadIconSetting(std::string& icons) { Read(kSettingIcons, icons); }

std::uint16_t ReadAnimationSetting() {
  platform::TRegistry registry;
  registry.SetRootKey(kSettingsRoot);
  std::int32_t ms = 0;
  try {
    if (registry.OpenKeyReadOnly(kSettingsKey) && registry.ValueExists(kSettingAnimationMs) &&
        platform::TryStrToInt(registry.ReadString(kSettingAnimationMs), ms) && ms >= 1 &&
        ms <= 65535)
      return static_cast<std::uint16_t>(ms);
  } catch (const platform::Exception&) {
    // A value of another type counts as absent.
  }
  return kAnimationMs;
}

void WriteLanguageSetting(const std::string& language) { Write(kSettingLanguage, language); }
void WriteTraySetting(bool inTray) { Write(kSettingTray, inTray ? kYes : kNo); }
void WriteIconSetting(bool discIcons) { Write(kSettingIcons, discIcons ? kYes : kNo); }

}  // namespace app
