// An ordered list of texts, the framework's TStrings: combo box items, check
// list items and the device list are all one of these.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

class TStrings {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::string& operator[](int i) const { return FItems.at(static_cast<std::size_t>(i)); }
  void Set(int i, std::string s);
  void Add(std::string s);
  void Clear();
  void Assign(const std::vector<std::string>& items);
  const std::vector<std::string>& Items() const { return FItems; }
  // Index of the first item equal to s (exact), or -1.
  int IndexOf(const std::string& s) const;
  // All items, each followed by CR LF; setting splits at CR LF, CR or LF.
  std::string Text() const;
  void SetText(const std::string& text);

  // Called after every change, so that a native list can follow.
  std::function<void()> OnChange;

 private:
  void Changed() const {
    if (OnChange) OnChange();
  }
  std::vector<std::string> FItems;
};

}  // namespace platform
