#include "policies/DrivesPage.h"

#include <iterator>

#include "policies/AutoRunMasks.h"
#include "policies/PolicyMap.h"
#include "policies/RestartPrompt.h"

using namespace platform;

namespace policies {

namespace {

const char* const kDriveTypes[] = {"Uknown",           "No Root Directory", "Removable Drives",
                                   "Hard Disk Drives", "Network Drives",    "CD-ROM Drives",
                                   "RAM Disk Drives"};

std::vector<std::string> DriveLetters() {
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.emplace_back(1, c);
  return letters;
}

}  // namespace

TDrivesPage::TDrivesPage(TPolicyPages& policies, TPageControl* pageControl) : FPolicies(policies) {
  TComponent* form = policies.Form;
  TabSheet2 = Make<TTabSheet>(form, pageControl, "TabSheet2", {}, "Extras");
  Bevel4 = Make<TBevel>(form, TabSheet2, "Bevel4", {1, 3, 224, 41});
  Label3 = Make<TLabel>(form, TabSheet2, "Label3", {8, 6, 114, 13}, "Default CD Audio Player");
  DefPlay =
      Make<TEdit>(form, TabSheet2, "DefPlay", {8, 20, 209, 21}, {}, "Default Audio CD Player");
  DefPlay->SetText("DefPlay");
  DefPlay->OnExit = [this](TObject* s) { DefPlayExit(s); };
  CheckBox4 = MakePolicyBox<TPolicyCheckBox>(policies, TabSheet2, "CheckBox4", {5, 48, 212, 17},
                                             "CD-R/DVD-R Auto Start");
  Bevel3 = Make<TBevel>(form, TabSheet2, "Bevel3", {2, 69, 66, 74});
  Label2 = Make<TLabel>(form, TabSheet2, "Label2", {10, 70, 42, 13}, "Autostart");
  Label2->Centered = true;
  Label4 = Make<TLabel>(form, TabSheet2, "Label4", {16, 82, 30, 13}, "Drives");
  CheckListBox1 = Make<TCheckListBox>(form, TabSheet2, "CheckListBox1", {8, 98, 49, 16}, {},
                                      "Auto Start Specific Drive (user)");
  CheckListBox2 = Make<TCheckListBox>(form, TabSheet2, "CheckListBox2", {8, 119, 49, 16}, {},
                                      "Auto Start Specific Drive (system)");
  Bevel2 = Make<TBevel>(form, TabSheet2, "Bevel2", {72, 69, 153, 74});
  Label1 = Make<TLabel>(form, TabSheet2, "Label1", {111, 75, 57, 13}, "Drive Types");
  Label1->Centered = true;
  CheckListBox3 = Make<TCheckListBox>(form, TabSheet2, "CheckListBox3", {80, 92, 137, 16}, {},
                                      "Auto Start Drive Type (user)");
  CheckListBox4 = Make<TCheckListBox>(form, TabSheet2, "CheckListBox4", {80, 122, 137, 16}, {},
                                      "Auto Start Drive Type (system)");
  for (TCheckListBox* list : {CheckListBox1, CheckListBox2}) list->Items().Assign(DriveLetters());
  for (TCheckListBox* list : {CheckListBox3, CheckListBox4})
    list->Items().Assign(std::vector<std::string>(std::begin(kDriveTypes), std::end(kDriveTypes)));
  for (TCheckListBox* list : {CheckListBox1, CheckListBox2, CheckListBox3, CheckListBox4})
    list->OnClickCheck = [this, list](TObject*) { CheckListBoxClickCheck(*list); };
}

void TDrivesPage::DefPlayExit(TObject*) {
  const std::string text = DefPlay->Text();
  if (text == FPolicies.Baselines.PlayerCommand) return;
  // On "Cancel" the field keeps the new text and asks again when left again.
  if (!AskQuestion(*FPolicies.Language, "Do you want to change default player?")) return;
  WriteText(kAudioCdPlayer, text);
  FPolicies.Baselines.PlayerCommand = text;
}

void TDrivesPage::CheckListBoxClickCheck(TCheckListBox& list) {
  MaskListClickCheck(FPolicies, list);
}

}  // namespace policies
