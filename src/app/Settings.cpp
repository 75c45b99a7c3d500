#include "app/Settings.h"

#include "policies/RegisterU.h"

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

void WriteLanguageSetting(const std::string& language) { Write(kSettingLanguage, language); }
void WriteTraySetting(bool inTray) { Write(kSettingTray, inTray ? kYes : kNo); }
void WriteIconSetting(bool discIcons) { Write(kSettingIcons, discIcons ? kYes : kNo); }

}  // namespace app
