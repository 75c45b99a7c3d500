#include "policies/PolicySettings.h"

#include "platform/Services.h"
#include "policies/AutoRunMasks.h"
#include "policies/OSVersion.h"
#include "policies/PolicyMap.h"
#include "policies/RestartPrompt.h"

namespace policies {

void LoadPolicySettings(int osCode, const TPolicyPages& pages, TPolicyBaselines& baselines) {
  // The check boxes here report mouse clicks only, so checking them runs
  // nothing; CheckBox6 is the exception and writes its value when checked.
  if (Exists(kStartWithWindows)) pages.CheckBox1->SetChecked(true);

  pages.DefPlay->SetText(ReadText(kAudioCdPlayer));
  baselines.PlayerCommand = pages.DefPlay->Text();

  const std::string machinePlays = ReadText(kAudioCdAutoplay);
  const std::string classesPlay = ReadText(kAudioCdAutoplayClasses);
  if (machinePlays == "play") pages.CheckBox2->SetChecked(true);
  if (classesPlay == "play") pages.CheckBox2->SetChecked(true);

  // The button of the state in force is the disabled one. Absent, the NT
  // value reads as -1 (off) and the 9x value as 1 (on).
  pages.BitBtn6->SetEnabled(false);
  pages.BitBtn5->SetEnabled(true);
  const int autoRun = IsNtFamily(osCode) ? ReadInteger(kCdRomAutoRunNt) : ReadByte(kCdRomAutoRun9x);
  if (autoRun == 1) {
    pages.BitBtn5->SetEnabled(false);
    pages.BitBtn6->SetEnabled(true);
  }

  if (IsNtFamily(osCode)) {
    pages.CheckBox7->SetEnabled(true);
    const std::string access = ReadText(kCdRomAccess);
    if (access == "0") pages.CheckBox7->SetChecked(true);
    if (access == "1") pages.CheckBox7->SetChecked(false);
  }
  if (IsXp(osCode)) {
    pages.CheckBox8->SetEnabled(true);
    if (ReadInteger(kCdBurning) < 1) pages.CheckBox8->SetChecked(true);
  }
  if (IsXp(osCode)) {
    pages.CheckBox6->SetEnabled(true);
    if (ReadDisableMedia() < 1) pages.CheckBox6->SetChecked(true);
  }

  if (ReadInteger(kCdrAutoRun) == 1) pages.CheckBox4->SetChecked(true);

  baselines.UserTypeMask = ReadIntegerOrByte(kUserDriveTypes, osCode);
  ShowTypeMask(*pages.CheckListBox3, baselines.UserTypeMask);
  baselines.SystemTypeMask = ReadIntegerOrByte(kSystemDriveTypes, osCode);
  ShowTypeMask(*pages.CheckListBox4, baselines.SystemTypeMask);

  platform::TDriveService* drives = platform::Services().Drives;
  baselines.PresentDrives = drives ? drives->GetLogicalDrives() : 0;
  for (int i = 0; i < 26; ++i) {
    const bool present = (baselines.PresentDrives & (1u << i)) != 0;
    pages.CheckListBox1->SetItemEnabled(i, present);
    pages.CheckListBox2->SetItemEnabled(i, present);
  }

  baselines.UserDriveMask = ReadInteger(kUserDriveLetters);
  ShowLetterMask(*pages.CheckListBox1, baselines.UserDriveMask);
  baselines.SystemDriveMask = ReadInteger(kSystemDriveLetters);
  ShowLetterMask(*pages.CheckListBox2, baselines.SystemDriveMask);
}

void ResetPolicyDefaults(int osCode, const TPolicyPages& pages, const i18n::TLanguage& language) {
  // Every step runs, and sets its control, whether its write went through
  // or not.
  WriteText(kAudioCdAutoplay, "play");
  WriteText(kAudioCdAutoplayClasses, "play");
  pages.CheckBox2->SetChecked(true);
  Delete(kCdrAutoRun);
  Delete(kUserDriveLetters);
  Delete(kSystemDriveLetters);
  Delete(kUserDriveTypes);
  Delete(kSystemDriveTypes);
  if (IsNtFamily(osCode))
    WriteInteger(kCdRomAutoRunNt, 1);
  else
    WriteByte(kCdRomAutoRun9x, 1);
  pages.BitBtn5->SetEnabled(false);
  pages.BitBtn6->SetEnabled(true);
  if (IsNtFamily(osCode)) {
    WriteText(kCdRomAccess, "0");
    pages.CheckBox7->SetChecked(true);
  }
  if (IsXp(osCode)) {
    WriteInteger(kCdBurning, 0);
    pages.CheckBox8->SetChecked(true);
  }
  if (IsXp(osCode)) {
    WriteDisableMedia(0);
    pages.CheckBox6->SetChecked(true);
  }
  PromptReboot(language);
}

}  // namespace policies
