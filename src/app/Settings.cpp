#include "app/Settings.h"

#include "platform/Convert.h"
#include "platform/HotKeys.h"
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

// An optional value: absent, or of another type, it reads as empty, and
// nothing is reported.
std::string ReadOptional(const char* name) {
  platform::TRegistry registry;
  registry.SetRootKey(kSettingsRoot);
  try {
    if (registry.OpenKeyReadOnly(kSettingsKey) && registry.ValueExists(name))
      return registry.ReadString(name);
  } catch (const platform::Exception&) {
    // A value of another type counts as absent.
  }
  return {};
}

}  // namespace

void ReadLanguageSetting(std::string& language) { Read(kSettingLanguage, language); }
void ReadTraySetting(std::string& mode) { Read(kSettingTray, mode); }
void ReadIconSetting(std::string& icons) { Read(kSettingIcons, icons); }

std::uint16_t ReadAnimationSetting() {
  std::int32_t ms = 0;
  if (platform::TryStrToInt(ReadOptional(kSettingAnimationMs), ms) && ms >= 1 && ms <= 65535)
    return static_cast<std::uint16_t>(ms);
  return kAnimationMs;
}

std::string ReadUpdateURLSetting() { return ReadOptional(kSettingUpdateURL); }

std::uint16_t ReadHotKeySetting(const char* name) {
  platform::TRegistry registry;
  registry.SetRootKey(kSettingsRoot);
  try {
    if (registry.OpenKeyReadOnly(kSettingsKey) && registry.ValueExists(name))
      return platform::ValidHotKey(static_cast<std::uint32_t>(registry.ReadInteger(name)));
  } catch (const platform::Exception&) {
    // A value of another type counts as none.
  }
  return 0;
}

void WriteHotKeySetting(const char* name, std::uint16_t value) {
  if (!policies::RegWriteInt(kSettingsRoot, kSettingsKey, name, value))
    policies::ShowWriteRefused(kSettingsKey);
}

void WriteLanguageSetting(const std::string& language) { Write(kSettingLanguage, language); }
void WriteTraySetting(bool inTray) { Write(kSettingTray, inTray ? kYes : kNo); }
void WriteIconSetting(bool discIcons) { Write(kSettingIcons, discIcons ? kYes : kNo); }

}  // namespace app
