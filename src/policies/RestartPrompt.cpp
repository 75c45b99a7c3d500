#include "policies/RestartPrompt.h"

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

using namespace platform;

namespace policies {

namespace {

bool AskTranslated(const std::string& text) {
  TDialogService* dialogs = Services().Dialogs;
  if (!dialogs) return false;
  const THandle owner = Application ? Application->DialogOwner() : 0;
  // Esc and the close box answer Cancel.
  return dialogs->MessageDlg(owner, text, "Information", kMbIconInformation,
                             {{"&Yes", kIdYes}, {"Cancel", kIdCancel}}) == kIdYes;
}

}  // namespace

bool AskQuestion(const i18n::TLanguage& language, const std::string& text) {
  return AskTranslated(language.TranslateText(text));
}

void PromptReboot(const i18n::TLanguage& language, const std::string& text) {
  // Both texts are looked up before anything shows.
  const std::string question = language.TranslateText(text);
  const std::string refused = language.TranslateText(kRebootRefused);
  if (!AskTranslated(question)) return;
  if (!MyExitWindows(kEwxReboot)) ShowMessage(refused);
}

bool MyExitWindows(unsigned flags) {
  TSystemService* system = Services().System;
  if (!system) return false;
  // The platform itself decides, not the program's code for the system: an
  // NT system the program does not know needs the privilege too.
  TOsVersionInfo info;
  if (system->GetVersionInfo(info) && info.PlatformId == kVerPlatformWin32Nt)
    system->EnableShutdownPrivilege();
  return system->RequestExitWindows(flags);
}

}  // namespace policies
