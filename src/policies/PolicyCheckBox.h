// A check box whose click handler runs only after a left-button press on it:
// the program's option boxes react to the user's mouse, not to the program
// setting them nor to the keyboard.
#pragma once

#include "platform/Controls.h"

namespace policies {

class TPolicyCheckBox : public platform::TCheckBox {
 public:
  using TCheckBox::TCheckBox;
  void UserMouseDown() override { FMouseClick = true; }
  bool MouseClick() const { return FMouseClick; }

 protected:
  void Click() override;

 private:
  bool FMouseClick = false;
};

}  // namespace policies
