// The "Extras" page (TabSheet2): the default audio CD player, AutoRun of
// recordable discs, and AutoRun by drive letter and by drive type, each for
// the current user and for the whole machine.
#pragma once

#include "policies/PolicyCheckBox.h"
#include "policies/PolicySettings.h"

namespace policies {

class TDrivesPage {
 public:
  // Makes the page on `pageControl`, its controls owned by the form.
  TDrivesPage(TPolicyPages& policies, platform::TPageControl* pageControl);

  platform::TTabSheet* TabSheet2;
  platform::TBevel* Bevel4;
  platform::TLabel* Label3;
  platform::TEdit* DefPlay;    // the command that plays an audio CD
  TPolicyCheckBox* CheckBox4;  // AutoRun on recordable discs
  platform::TBevel* Bevel3;
  platform::TLabel* Label2;
  platform::TLabel* Label4;
  // Checked = AutoRun on. Each pair: the user's setting, then the machine's.
  platform::TCheckListBox* CheckListBox1;  // drive letters
  platform::TCheckListBox* CheckListBox2;
  platform::TBevel* Bevel2;
  platform::TLabel* Label1;
  platform::TCheckListBox* CheckListBox3;  // drive types
  platform::TCheckListBox* CheckListBox4;

  // Leaving the player command: when it differs from what is stored, asks
  // and on "Yes" stores it.
  void DefPlayExit(platform::TObject* sender);
  // An item of one of the four lists toggled: the list's mask stored once
  // confirmed.
  void CheckListBoxClickCheck(platform::TCheckListBox& list);

 private:
  TPolicyPages& FPolicies;
};

}  // namespace policies
