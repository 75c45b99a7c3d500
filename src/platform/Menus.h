// The components without a window of their own: the timer, and the pop-up
// menu with its items.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ControlBase.h"

namespace platform {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  void SetOnTimer(TNotifyEvent handler);

  // Input: one period has passed.
  void Tick() { DoEvent(FOnTimer, this); }
  // Like the framework's timer, it runs only while enabled with a handler.
  bool Running() const { return FEnabled && FInterval > 0 && FOnTimer != nullptr; }

 private:
  void Update();
  unsigned FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
  std::unique_ptr<TPeer> FPeer;
};

class TMenuItem : public TComponent {
 public:
  using TComponent::TComponent;
  std::string Caption;
  std::string Picture;  // icon file beside the program, shown beside the caption
  bool Enabled = true;
  bool Default = false;  // shown in bold; a tray icon's double click chooses it
  TNotifyEvent OnClick;
  // Made so by the menu (TPopupMenu::AddSeparator), never by its caption: a
  // command translated as "-" stays a command.
  bool IsSeparator() const { return FSeparator; }
  void UserClicked() { DoEvent(OnClick, this); }
  const TPropTable& PublishedProperties() const override;

 private:
  friend class TPopupMenu;
  bool FSeparator = false;
};

class TPopupMenu : public TComponent {
 public:
  using TComponent::TComponent;
  TMenuItem* Add(std::string name, std::string caption, TNotifyEvent onClick = {});
  TMenuItem* AddSeparator(std::string name);
  const std::vector<TMenuItem*>& Items() const { return FItems; }
  // The enabled default item, or nullptr.
  TMenuItem* DefaultItem() const;

  // Whether the menu opens by itself on a right click of its owner.
  bool AutoPopup = true;
  // The component that opened the menu last.
  TComponent* PopupComponent = nullptr;

  // Shows the menu at a screen position and returns when it has closed; the
  // chosen item's OnClick runs after that. OnPopup runs first.
  void Popup(int x, int y, THandle owner);
  TNotifyEvent OnPopup;

 private:
  std::vector<TMenuItem*> FItems;
};

}  // namespace platform
