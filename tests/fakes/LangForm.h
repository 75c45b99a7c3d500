// A small form for the language component: a control inside a panel and a
// list box, like the real forms; shared by the unit tests and the fuzz target.
#pragma once

#include "i18n/Lang.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

namespace fakes {

class TLangForm : public platform::TForm {
 public:
  explicit TLangForm(platform::TComponent* owner) : TForm(owner) {
    Panel = Create<platform::TPanel>(this, "Panel1", this);
    Button = Create<platform::TButton>(this, "Button1", Panel);
    Button->SetCaption("Design");
    List = Create<platform::TComboBox>(this, "List1", this);
    Lang = Create<i18n::TLanguage>(this, "Lang");
  }
  platform::TPanel* Panel;
  platform::TButton* Button;
  platform::TComboBox* List;
  i18n::TLanguage* Lang;
};

}  // namespace fakes
