// Controls that take a text or a choice: the edit field, the combo box and
// the check-list box.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ControlBase.h"
#include "platform/Strings.h"

namespace platform {

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner, TWinControl* parent);
  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  const std::string& Text() const { return FText; }
  // From code: no OnChange.
  void SetText(const std::string& text);
  int ItemIndex() const { return FItemIndex; }
  // From code: selects the item and takes its text; no OnChange.
  void SetItemIndex(int index);

  // Input from the peer; both raise OnChange.
  void UserEdited(const std::string& text);
  void UserSelected(int index);

  TNotifyEvent OnChange;
  bool Editable = true;

  const TPropTable& PublishedProperties() const override;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  TStrings FItems;
  std::string FText;
  int FItemIndex = -1;
};

class TEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);  // from code: no event

  void UserEdited(const std::string& text) { FText = text; }
  void UserLeft() { DoEvent(OnExit, this); }  // the focus left the field

  TNotifyEvent OnExit;

  const TPropTable& PublishedProperties() const override;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::string FText;
};

class TCheckListBox : public TWinControl {
 public:
  explicit TCheckListBox(TComponent* owner, TWinControl* parent);
  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  bool Checked(int index) const;
  // From code: no event.
  void SetChecked(int index, bool checked);
  // A disabled item keeps and shows its mark, but the user cannot change it.
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool enabled);
  int ItemHeight = 13;

  // Input: the user toggled the mark of an item; raises OnClickCheck. A
  // disabled item, or a list that is disabled, takes no toggle.
  void UserToggled(int index);

  TNotifyEvent OnClickCheck;

  const TPropTable& PublishedProperties() const override;
  // The new window's items get their states for screen readers.
  void CreateHandle() override;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  // Tells screen readers the item's mark and whether it can change.
  void Annotate(int index) const;
  TStrings FItems;
  std::vector<bool> FChecked;
  std::vector<bool> FItemEnabled;
};

}  // namespace platform
