// The main window's policy handlers: each hands its control's state to the
// policy modules, which know where and how it is stored.
#include "app/Main.h"
#include "policies/AutoRunMasks.h"
#include "policies/OptionsPage.h"
#include "policies/RestartPrompt.h"
#include "policies/XpPage.h"

using platform::TObject;

namespace app {

policies::TPolicyPages TForm1::PolicyPages() const {
  return {CheckBox1, CheckBox2,     BitBtn5,       BitBtn6,       DefPlay,
          CheckBox4, CheckListBox1, CheckListBox2, CheckListBox3, CheckListBox4,
          CheckBox7, CheckBox8,     CheckBox6};
}

void TForm1::LoadPolicySettings() {
  policies::LoadPolicySettings(OSCode, PolicyPages(), Baselines);
}

void TForm1::ResetPolicyDefaults() { policies::ResetPolicyDefaults(OSCode, PolicyPages(), *Sprog); }

bool TForm1::MyExitWindows(unsigned flags) { return policies::MyExitWindows(flags); }

void TForm1::BitBtn5Click(TObject*) {
  policies::SwitchCdRomAutoRun(true, OSCode, PolicyPages(), *Sprog);
}

void TForm1::BitBtn6Click(TObject*) {
  policies::SwitchCdRomAutoRun(false, OSCode, PolicyPages(), *Sprog);
}

void TForm1::CheckBox1Click(TObject*) { policies::WriteStartWithWindows(CheckBox1->Checked()); }

void TForm1::CheckBox2Click(TObject*) { policies::WriteAudioCdAutoplay(CheckBox2->Checked()); }

void TForm1::DefPlayExit(TObject*) {
  policies::ChangePlayerCommand(DefPlay->Text(), Baselines.PlayerCommand, *Sprog);
}

void TForm1::CheckListBox1ClickCheck(TObject*) {
  policies::MaskListClickCheck(policies::TMaskList::UserDrives, *CheckListBox1,
                               Baselines.UserDriveMask, OSCode, *Sprog);
}

void TForm1::CheckListBox2ClickCheck(TObject*) {
  policies::MaskListClickCheck(policies::TMaskList::SystemDrives, *CheckListBox2,
                               Baselines.SystemDriveMask, OSCode, *Sprog);
}

void TForm1::CheckListBox3ClickCheck(TObject*) {
  policies::MaskListClickCheck(policies::TMaskList::UserTypes, *CheckListBox3,
                               Baselines.UserTypeMask, OSCode, *Sprog);
}

void TForm1::CheckListBox4ClickCheck(TObject*) {
  policies::MaskListClickCheck(policies::TMaskList::SystemTypes, *CheckListBox4,
                               Baselines.SystemTypeMask, OSCode, *Sprog);
}

void TForm1::CheckBox4Click(TObject*) { policies::WriteCdrAutoRun(*CheckBox4); }

void TForm1::CheckBox6Click(TObject*) { policies::WriteRemovableMediaInstall(*CheckBox6); }

void TForm1::CheckBox7Click(TObject*) { policies::WriteCdRomAccess(CheckBox7->Checked()); }

void TForm1::CheckBox8Click(TObject*) { policies::WriteCdBurning(*CheckBox8); }

}  // namespace app
