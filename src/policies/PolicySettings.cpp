#include "policies/PolicySettings.h"

#include <iterator>

#include "platform/Services.h"
#include "policies/AutoRunMasks.h"
#include "policies/OSVersion.h"
#include "policies/PolicyMap.h"
#include "policies/RestartPrompt.h"

namespace policies {

namespace {

// The read-out's steps. `set` counts the controls they have set, in the
// order LoadPolicySettings lists them.
void ReadOut(int osCode, const TPolicyPages& pages, TPolicyBaselines& baselines, std::size_t& set) {
  // The check boxes here report mouse clicks only, so checking them runs
  // nothing; CheckBox6 is the exception and writes its value when checked.
  if (Exists(kStartWithWindows)) pages.CheckBox1->SetChecked(true);
  set = 1;

  pages.DefPlay->SetText(ReadText(kAudioCdPlayer));
  baselines.PlayerCommand = pages.DefPlay->Text();
  set = 2;

  const std::string machinePlays = ReadText(kAudioCdAutoplay);
  const std::string classesPlay = ReadText(kAudioCdAutoplayClasses);
  if (machinePlays == "play") pages.CheckBox2->SetChecked(true);
  if (classesPlay == "play") pages.CheckBox2->SetChecked(true);
  set = 3;

  // The button of the state in force is the disabled one. Absent, the NT
  // value reads as -1 (off) and the 9x value as 1 (on).
  pages.BitBtn6->SetEnabled(false);
  pages.BitBtn5->SetEnabled(true);
  const int autoRun = IsNtFamily(osCode) ? ReadInteger(kCdRomAutoRunNt) : ReadByte(kCdRomAutoRun9x);
  if (autoRun == 1) {
    pages.BitBtn5->SetEnabled(false);
    pages.BitBtn6->SetEnabled(true);
  }
  set = 5;

  if (IsNtFamily(osCode)) {
    pages.CheckBox7->SetEnabled(true);
    const std::string access = ReadText(kCdRomAccess);
    if (access == "0") pages.CheckBox7->SetChecked(true);
    if (access == "1") pages.CheckBox7->SetChecked(false);
  }
  set = 6;
  if (IsXp(osCode)) {
    pages.CheckBox8->SetEnabled(true);
    if (ReadInteger(kCdBurning) < 1) pages.CheckBox8->SetChecked(true);
  }
  set = 7;
  if (IsXp(osCode)) {
    pages.CheckBox6->SetEnabled(true);
    if (ReadDisableMedia() < 1) pages.CheckBox6->SetChecked(true);
  }
  set = 8;

  if (ReadInteger(kCdrAutoRun) == 1) pages.CheckBox4->SetChecked(true);
  set = 9;

  baselines.UserTypeMask = ReadIntegerOrByte(kUserDriveTypes, osCode);
  ShowTypeMask(*pages.CheckListBox3, baselines.UserTypeMask);
  set = 10;
  baselines.SystemTypeMask = ReadIntegerOrByte(kSystemDriveTypes, osCode);
  ShowTypeMask(*pages.CheckListBox4, baselines.SystemTypeMask);
  set = 11;

  platform::TDriveService* drives = platform::Services().Drives;
  baselines.PresentDrives = drives ? drives->GetLogicalDrives() : 0;
  for (int i = 0; i < 26; ++i) {
    const bool present = (baselines.PresentDrives & (1u << i)) != 0;
    pages.CheckListBox1->SetItemEnabled(i, present);
    pages.CheckListBox2->SetItemEnabled(i, present);
  }

  baselines.UserDriveMask = ReadInteger(kUserDriveLetters);
  ShowLetterMask(*pages.CheckListBox1, baselines.UserDriveMask);
  set = 12;
  baselines.SystemDriveMask = ReadInteger(kSystemDriveLetters);
  ShowLetterMask(*pages.CheckListBox2, baselines.SystemDriveMask);
}

}  // namespace

void LoadPolicySettings(int osCode, const TPolicyPages& pages, TPolicyBaselines& baselines) {
  // The controls in the order the read-out sets them from the registry.
  platform::TControl* const readOrder[] = {
      pages.CheckBox1,    pages.DefPlay,       pages.CheckBox2,     pages.BitBtn5,
      pages.BitBtn6,      pages.CheckBox7,     pages.CheckBox8,     pages.CheckBox6,
      pages.CheckBox4,    pages.CheckListBox3, pages.CheckListBox4, pages.CheckListBox1,
      pages.CheckListBox2};
  std::size_t set = 0;
  try {
    ReadOut(osCode, pages, baselines, set);
  } catch (...) {
    // The read-out ends here. What the later controls show was never read,
    // and their handlers would write it, for a mask over every drive letter
    // even: they take no input until the next start.
    for (std::size_t i = set; i < std::size(readOrder); ++i) readOrder[i]->SetEnabled(false);
    throw;
  }
}

void ResetPolicyDefaults(int osCode, const TPolicyPages& pages, const i18n::TLanguage& language) {
  // Every step runs, and sets its control, whether its write went through
  // or not: the user asked for every default at once, and a number that
  // cannot be written stays unreported here, as it always was; the messages
  // of the text writes and the deletions already tell a user without rights.
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
