#include "platform/Strings.h"

namespace platform {

void TStrings::Set(int i, std::string s) {
  FItems.at(static_cast<std::size_t>(i)) = std::move(s);
  Changed();
}

void TStrings::Add(std::string s) {
  FItems.push_back(std::move(s));
  Changed();
}

void TStrings::Clear() {
  FItems.clear();
  Changed();
}

void TStrings::Assign(const std::vector<std::string>& items) {
  FItems = items;
  Changed();
}

int TStrings::IndexOf(const std::string& s) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == s) return static_cast<int>(i);
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (const auto& s : FItems) out += s + "\r\n";
  return out;
}

void TStrings::SetText(const std::string& text) {
  std::vector<std::string> items;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      items.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) items.push_back(line);
  Assign(items);
}

}  // namespace platform
