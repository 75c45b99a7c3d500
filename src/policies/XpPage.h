// The "XP" page (TabSheet3): settings of the NT family, disabled as a whole
// elsewhere. Each box writes its row on every click whatever was stored; the
// checked state writes the zero.
#pragma once

#include "policies/PolicyCheckBox.h"
#include "policies/PolicySettings.h"

namespace policies {

class TXpPage {
 public:
  // Makes the page on `pageControl`, its controls owned by the form.
  TXpPage(TPolicyPages& policies, platform::TPageControl* pageControl);

  platform::TTabSheet* TabSheet3;
  platform::TBevel* Bevel5;
  TPolicyCheckBox* CheckBox7;  // users may read CD-ROM drives
  TPolicyCheckBox* CheckBox8;  // CD burning enabled
  // Installing from removable media allowed. A plain check box: its click
  // runs on every change, also from code, and then writes too.
  platform::TCheckBox* CheckBox6;
};

}  // namespace policies
