#include "policies/PolicyCheckBox.h"

namespace policies {

void TPolicyCheckBox::Click() {
  // The mark is cleared on every way out, so one press runs one handler.
  struct TClear {
    bool& Mark;
    ~TClear() { Mark = false; }
  } clear{FMouseClick};
  if (FMouseClick) TCheckBox::Click();
}

}  // namespace policies
