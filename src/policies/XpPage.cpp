#include "policies/XpPage.h"

using namespace platform;

namespace policies {

TXpPage::TXpPage(TPolicyPages& policies, TPageControl* pageControl) {
  TabSheet3 = Make<TTabSheet>(policies.Form, pageControl, "TabSheet3", {}, "XP");
  Bevel5 = Make<TBevel>(policies.Form, TabSheet3, "Bevel5", {2, 17, 223, 104});
  CheckBox7 = MakePolicyBox<TPolicyCheckBox>(policies, TabSheet3, "CheckBox7", {8, 32, 217, 17},
                                             "Access to CD-ROM drives");
  CheckBox8 = MakePolicyBox<TPolicyCheckBox>(policies, TabSheet3, "CheckBox8", {8, 64, 217, 17},
                                             "Enable cd burning");
  CheckBox6 = MakePolicyBox<TCheckBox>(policies, TabSheet3, "CheckBox6", {8, 96, 217, 17},
                                       "Install from Removable Media");
}

}  // namespace policies
