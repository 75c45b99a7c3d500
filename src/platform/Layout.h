// Laying out a designed form: a control made at its place with its caption
// and hint, owned by the form whatever panel or page it sits on, so that the
// language files reach it as "Form1.<Name>.Caption".
#pragma once

#include <string>

#include "platform/Controls.h"

namespace platform {

template <class T>
T* Make(TComponent* owner, TWinControl* parent, const char* name, TRect r,
        const std::string& caption = {}, const std::string& hint = {}) {
  T* control = TComponent::Create<T>(owner, name, parent);
  control->SetBounds(r.Left, r.Top, r.Width, r.Height);
  control->SetCaption(caption);
  control->SetHint(hint);
  return control;
}

}  // namespace platform
