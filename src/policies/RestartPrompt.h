// The questions of the policy handlers: the yes-or-cancel question asked
// before a change is written, and the restart question that ends every
// change Windows only honours after a restart.
#pragma once

#include <string>

#include "i18n/Lang.h"

namespace policies {

inline constexpr const char* kRebootQuestion =
    "Change will take effect after reboot. Do you wish to reboot now?";
inline constexpr const char* kRebootRefused = "An application refused to terminate";

// Shows the translated text in an information dialog with "Yes" and
// "Cancel"; true only for "Yes".
bool AskQuestion(const i18n::TLanguage& language, const std::string& text);
// Asks to restart now; on "Yes" asks Windows to, and says so when it
// refuses.
void PromptReboot(const i18n::TLanguage& language, const std::string& text = kRebootQuestion);
// Asks Windows to end the session with `flags` (a restart: EWX_REBOOT, no
// forcing), with the shutdown privilege enabled first on the NT platform.
// True when Windows took the request.
bool MyExitWindows(unsigned flags);

}  // namespace policies
