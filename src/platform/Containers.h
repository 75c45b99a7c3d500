// Controls that hold other controls: a panel, a page control with its tab
// sheets, and the status bar.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ControlBase.h"

namespace platform {

class TTabSheet : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
  // The caption shows on the page control's tab, which is there whether or
  // not this sheet has been shown and has a window of its own.
  void CaptionChanged() override;
};

class TPageControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::vector<TTabSheet*> Pages() const;
  int ActivePageIndex() const { return FActivePage; }
  void SetActivePageIndex(int index);
  // Input: the user picked a tab.
  void UserSelected(int index) { SetActivePageIndex(index); }
  // A sheet's caption changed: the tabs show the sheets' captions anew.
  void PageCaptionChanged() { Changed(TChange::Items); }

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
  bool ShowsChild(const TControl& child) const override;

 private:
  int FActivePage = 0;
};

class TStatusBar : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& text);

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::string FSimpleText;
};

enum class TBevelCut { None, Lowered, Raised };

class TPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;
  // The two bevels around the panel, the outer one at its edge.
  TBevelCut BevelOuter = TBevelCut::Raised;
  TBevelCut BevelInner = TBevelCut::None;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

}  // namespace platform
