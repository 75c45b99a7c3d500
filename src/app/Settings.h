// The program's own settings: three text values in one machine-wide key,
// read once at start and written the moment the user changes a control, and
// two optional ones that only a test or an administrator sets.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace app {

inline constexpr platform::TRegRoot kSettingsRoot = platform::kHkeyLocalMachine;
inline constexpr const char* kSettingsKey = "Software\\Tandrel\\Morvel\\";

inline constexpr const char* kSettingLanguage = "Sprog";  // the language box text
inline constexpr const char* kSettingTray = "Tray";       // runs in the notification area
inline constexpr const char* kSettingIcons = "Ikon";      // discs show their own icons
// Optional, a test and diagnostic aid: the tray icons' animation step in
// milliseconds, so that a soak can run many steps in little time.
inline constexpr const char* kSettingAnimationMs = "AnimationMs";
inline constexpr std::uint16_t kAnimationMs = 7500;
// Optional: points the update check at another version file (a mirror, or a
// test server); absent, the maker's site.
inline constexpr const char* kSettingUpdateURL = "UpdateURL";

// The global hot keys (REG_DWORD), each as the hot-key control gives it:
// the HOTKEYF_* flags in the high byte, the virtual key in the low one; 0
// or absent for none.
inline constexpr const char* kSettingOpenKey = "OpenKey";
inline constexpr const char* kSettingCloseKey = "CloseKey";
inline constexpr const char* kSettingShowKey = "ShowKey";

// On and off, compared exactly: "ja" counts as neither.
inline constexpr const char* kYes = "Ja";
inline constexpr const char* kNo = "Nej";

// Each read fills its argument with the stored text; a missing key or value
// is reported in a message box and leaves the argument as it was.
void ReadLanguageSetting(std::string& language);
void ReadTraySetting(std::string& mode);
void ReadIconSetting(std::string& icons);
// The animation step; kAnimationMs, silently, when the value is absent or
// not a number from 1 to 65535.
std::uint16_t ReadAnimationSetting();
// The update check's version file; empty, silently, when the value is absent.
std::string ReadUpdateURLSetting();

// A hot key; 0, silently, when the value is absent, of another type, or not
// a key the control could have given.
std::uint16_t ReadHotKeySetting(const char* name);

// Each write reports a refused change in a message box and goes on.
void WriteLanguageSetting(const std::string& language);
// kYes or kNo.
void WriteTraySetting(bool inTray);
void WriteIconSetting(bool discIcons);
void WriteHotKeySetting(const char* name, std::uint16_t value);

}  // namespace app
