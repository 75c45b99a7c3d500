#include "about/OmU.h"

using namespace platform;

namespace about {

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
  SetCaption("About");
  // A dialog: neither sized nor minimised, and placed near the screen's
  // middle.
  SetBounds(376, 240, 278, 274);
  MaximizeBox = false;
  MinimizeBox = false;
  OKButton = TComponent::Create<TButton>(this, "OKButton", this);
  OKButton->SetBounds(101, 215, 75, 25);
  OKButton->SetCaption("OK");
  OKButton->OnClick = [this](TObject*) { Close(); };
  AboutBox = this;
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}

}  // namespace about
