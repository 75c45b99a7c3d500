// Buttons and check boxes.
#pragma once

#include <memory>

#include "platform/ControlBase.h"

namespace platform {

class TButton : public TWinControl {
 public:
  using TWinControl::TWinControl;
  // The button that Enter presses in a dialog form.
  bool Default = false;
  // Input: the user pressed the button (mouse or keyboard).
  void UserClicked() { DoEvent(OnClick, this); }

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

class TBitBtn : public TButton {
 public:
  using TButton::TButton;
};

class TCheckBox : public TWinControl {
 public:
  using TWinControl::TWinControl;
  bool Checked() const { return FChecked; }
  // Every real change of the state, also one made from code, calls Click.
  void SetChecked(bool checked);
  // From code, for a change that could not be kept: the mark goes back
  // without a Click.
  void RestoreChecked(bool checked);
  // True while the handler of a change the user made runs.
  bool UserChange() const { return FUserChange; }

  // Input from the peer.
  virtual void UserMouseDown() {}  // left button pressed on the box
  // The box changed its mark itself. A disabled box takes no input, as the
  // system gives it none.
  void UserToggled();

 protected:
  // Called after every change of the state; raises OnClick.
  virtual void Click() { DoEvent(OnClick, this); }
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  bool FChecked = false;
  bool FUserChange = false;
};

}  // namespace platform
