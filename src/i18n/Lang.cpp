#include "i18n/Lang.h"

namespace i18n {

std::string TLanguage::TranslateText(const std::string& english) const { return english; }

}  // namespace i18n
