// The language component. Message texts are written in English and passed
// through TranslateText just before they are shown.
//
// Language files are not read yet: with no file set, every text is shown in
// its English wording, which is also what the program shows before the
// language step of its start-up.
#pragma once

#include <string>

#include "platform/Component.h"

namespace i18n {

class TLanguage : public platform::TComponent {
 public:
  using TComponent::TComponent;
  const std::string& LanguageFile() const { return FLanguageFile; }
  // Translates one message text, keyed by its English wording.
  std::string TranslateText(const std::string& english) const;

 private:
  std::string FLanguageFile;
};

}  // namespace i18n
