#include "policies/OptionsPage.h"

#include "platform/Services.h"
#include "policies/OSVersion.h"
#include "policies/PolicyMap.h"
#include "policies/RestartPrompt.h"

namespace policies {

void SwitchCdRomAutoRun(bool on, int osCode, const TPolicyPages& pages,
                        const i18n::TLanguage& language) {
  // The buttons show what is stored: they change only once it is.
  const auto write = [&] {
    return IsNtFamily(osCode) ? WriteInteger(kCdRomAutoRunNt, on ? 1 : 0)
                              : WriteByte(kCdRomAutoRun9x, on ? 1 : 0);
  };
  if (!StoreOrPutBack(IsNtFamily(osCode) ? kCdRomAutoRunNt : kCdRomAutoRun9x, write, [] {})) return;
  pages.BitBtn5->SetEnabled(!on);
  pages.BitBtn6->SetEnabled(on);
  PromptReboot(language);
}

void WriteStartWithWindows(bool checked) {
  if (!checked) {
    Delete(kStartWithWindows);
    return;
  }
  // In quotes, without arguments: unquoted, a path with a blank in it such as
  // C:\Program Files\Morvel\morvel.exe would start C:\Program.exe at log-on
  // when someone put one there.
  platform::TSystemService* system = platform::Services().System;
  WriteText(kStartWithWindows, system ? '"' + system->ProgramFile() + '"' : std::string());
}

void WriteAudioCdAutoplay(bool checked) {
  const std::string verb = checked ? "play" : "";
  WriteText(kAudioCdAutoplay, verb);
  WriteText(kAudioCdAutoplayClasses, verb);
}

void ChangePlayerCommand(const std::string& text, std::string& playerCommand,
                         const i18n::TLanguage& language) {
  if (text == playerCommand) return;
  // On "Cancel" the field keeps the new text and asks again when left again.
  if (!AskQuestion(language, "Do you want to change default player?")) return;
  WriteText(kAudioCdPlayer, text);
  playerCommand = text;
}

}  // namespace policies
