#include "platform/KeyboardNavigation.h"

#include <algorithm>
#include <cstddef>

namespace platform {

namespace {

void AddInTabOrder(const TWinControl& parent, std::vector<TWinControl*>& sequence) {
  std::vector<std::pair<int, TWinControl*>> children;
  const auto& controls = parent.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(controls[i]);
    if (child && child->Showing())
      children.emplace_back(child->TabOrder >= 0 ? child->TabOrder : static_cast<int>(i), child);
  }
  std::stable_sort(children.begin(), children.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [order, child] : children) {
    sequence.push_back(child);
    AddInTabOrder(*child, sequence);
  }
}

}  // namespace

std::vector<TWinControl*> TabSequence(const TWinControl& root) {
  std::vector<TWinControl*> sequence;
  AddInTabOrder(root, sequence);
  return sequence;
}

TPageControl* TurnPage(const TWinControl& root, TControl* focused, bool forward) {
  TPageControl* pages = nullptr;
  for (TControl* c = focused; c && !pages; c = c->Parent()) pages = dynamic_cast<TPageControl*>(c);
  if (!pages)
    for (TWinControl* control : TabSequence(root))
      if ((pages = dynamic_cast<TPageControl*>(control)) != nullptr) break;
  if (!pages) return nullptr;
  const auto sheets = pages->Pages();
  const int count = static_cast<int>(sheets.size());
  for (int step = 1; step < count; ++step) {
    const int index =
        ((pages->ActivePageIndex() + (forward ? step : -step)) % count + count) % count;
    if (sheets[static_cast<std::size_t>(index)]->Visible()) {
      pages->UserSelected(index);
      break;
    }
  }
  return pages;
}

}  // namespace platform
