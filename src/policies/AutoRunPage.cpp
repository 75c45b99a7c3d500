#include "policies/AutoRunPage.h"

#include "policies/PolicyMap.h"

using namespace platform;

namespace policies {

TAutoRunPage::TAutoRunPage(TPolicyPages& policies, TPageControl* pageControl)
    : FPolicies(policies) {
  TComponent* form = policies.Form;
  TabSheet1 = Make<TTabSheet>(form, pageControl, "TabSheet1", {}, "Options");
  Panel1 = Make<TPanel>(form, TabSheet1, "Panel1", {0, 1, 233, 142});
  CheckBox1 = MakePolicyBox<TPolicyCheckBox>(policies, Panel1, "CheckBox1", {8, 5, 201, 17},
                                             "Start Morvel");
  CheckBox2 =
      MakePolicyBox<TPolicyCheckBox>(policies, Panel1, "CheckBox2", {8, 24, 201, 17}, "Lyd auto");
  Bevel1 = Make<TBevel>(form, Panel1, "Bevel1", {6, 46, 222, 54});
  BitBtn5 =
      Make<TBitBtn>(form, Panel1, "BitBtn5", {12, 62, 89, 25}, "BitBtn5", "Autorun function on");
  BitBtn5->OnClick = [this](TObject* s) { BitBtn5Click(s); };
  BitBtn6 =
      Make<TBitBtn>(form, Panel1, "BitBtn6", {130, 62, 91, 25}, "BitBtn6", "Autorun function off");
  BitBtn6->OnClick = [this](TObject* s) { BitBtn6Click(s); };
  CheckBox3 = Make<TPolicyCheckBox>(form, Panel1, "CheckBox3", {8, 104, 177, 17}, "Taskbar");
  CheckBox5 = Make<TPolicyCheckBox>(form, Panel1, "CheckBox5", {8, 121, 201, 17}, "Ikon");
}

void TAutoRunPage::BitBtn5Click(TObject*) {
  StoreMark(FPolicies, Policy(kCdRomAutoRunNt).Control, true, true, [] {});
}

void TAutoRunPage::BitBtn6Click(TObject*) {
  StoreMark(FPolicies, Policy(kCdRomAutoRunNt).Control, false, true, [] {});
}

}  // namespace policies
