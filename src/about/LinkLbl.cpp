#include "about/LinkLbl.h"

#include "platform/Services.h"

using namespace platform;

namespace about {

TLinkLabel::TLinkLabel(TComponent* owner, TWinControl* parent) : TLabel(owner, parent) {
  TFont font = Font();
  font.Underline = true;
  font.Color = clBlue;
  SetFont(font);
  Cursor = TCursor::HandPoint;
}

void TLinkLabel::SetAutoColors(bool value) {
  if (FAutoColors == value) return;
  FAutoColors = value;
  UpdateLinkColor();
}

void TLinkLabel::SetColorUnvisited(TColor value) {
  if (FColorUnvisited == value) return;
  FColorUnvisited = value;
  if (!FAutoColors) UpdateLinkColor();
}

void TLinkLabel::SetColorVisited(TColor value) {
  if (FColorVisited == value) return;
  FColorVisited = value;
  if (!FAutoColors) UpdateLinkColor();
}

void TLinkLabel::SetVisited(bool value) {
  if (FVisited == value) return;
  FVisited = value;
  UpdateLinkColor();
}

void TLinkLabel::UpdateLinkColor() {
  TFont font = Font();
  if (FAutoColors)
    font.Color = FVisited ? clPurple : clBlue;
  else
    font.Color = FVisited ? FColorVisited : FColorUnvisited;
  SetFont(font);
}

void TLinkLabel::UserMouseDown() {
  TLabel::UserMouseDown();
  if (TShellService* shell = Services().Shell) shell->Execute(0, "open", HREF, "", "", kSwShow);
}

const TPropTable& TLinkLabel::PublishedProperties() const {
  using T = TLinkLabel;
  const auto flag = [](std::string_view name, bool (T::*get)() const) {
    return TPropInfo{name, TPropKind::Other,
                     [get](const TComponent& c) {
                       return std::string((static_cast<const T&>(c).*get)() ? "True" : "False");
                     },
                     [](TComponent&, const std::string&) {}};
  };
  const auto color = [](std::string_view name, TColor (T::*get)() const) {
    return TPropInfo{
        name, TPropKind::Other,
        [get](const TComponent& c) { return std::to_string((static_cast<const T&>(c).*get)()); },
        [](TComponent&, const std::string&) {}};
  };
  static const TPropTable table{
      &TLabel::PublishedProperties(),
      {flag("AutoColors", &T::AutoColors), color("ColorUnvisited", &T::ColorUnvisited),
       color("ColorVisited", &T::ColorVisited),
       TPropInfo{"HREF", TPropKind::Text,
                 [](const TComponent& c) { return static_cast<const T&>(c).HREF; },
                 [](TComponent& c, const std::string& v) { static_cast<T&>(c).HREF = v; }},
       flag("Visited", &T::Visited)}};
  return table;
}

}  // namespace about
