#include "platform/TextFields.h"

namespace platform {

std::string GetNthField(char separator, const std::string& text, int n) {
  if (text.empty() || n < 1) return {};
  std::string rest = text;
  if (rest.back() != separator) rest += separator;
  std::string field;
  for (int i = 0; i < n; ++i) {
    const std::size_t at = rest.find(separator);
    if (at == std::string::npos) return {};  // the text is used up
    field = rest.substr(0, at);
    rest.erase(0, at + 1);
  }
  return field;
}

}  // namespace platform
