// A label that opens a link when the left mouse button goes down on it.
#pragma once

#include <string>

#include "platform/Controls.h"

namespace about {

class TLinkLabel : public platform::TLabel {
 public:
  TLinkLabel(platform::TComponent* owner, platform::TWinControl* parent);

  // With AutoColors the colour follows Visited in blue and purple whatever
  // the two colour properties hold; without, it takes one of them.
  bool AutoColors() const { return FAutoColors; }
  void SetAutoColors(bool value);
  platform::TColor ColorUnvisited() const { return FColorUnvisited; }
  void SetColorUnvisited(platform::TColor value);
  platform::TColor ColorVisited() const { return FColorVisited; }
  void SetColorVisited(platform::TColor value);
  // The link: a web address or anything else the shell can open.
  std::string HREF = "http://";
  // Only ever changed by assignment: opening the link leaves it alone.
  bool Visited() const { return FVisited; }
  void SetVisited(bool value);

  // The label's own handling of the press, then the link opens.
  void UserMouseDown() override;

  const platform::TPropTable& PublishedProperties() const override;

 protected:
  virtual void UpdateLinkColor();

 private:
  bool FAutoColors = true;
  platform::TColor FColorUnvisited = platform::clBlue;
  platform::TColor FColorVisited = platform::clPurple;
  bool FVisited = false;
};

}  // namespace about
