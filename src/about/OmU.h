// The about box: created once after the main window and shown modally by
// the main window's about button.
#pragma once

#include "platform/Forms.h"

namespace about {

class TAboutBox : public platform::TForm {
 public:
  explicit TAboutBox(platform::TComponent* owner);
  ~TAboutBox() override;

  platform::TButton* OKButton;
};

// The program's about box while it exists.
extern TAboutBox* AboutBox;

}  // namespace about
