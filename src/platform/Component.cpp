#include "platform/Component.h"

#include <cctype>

#include "platform/Convert.h"

namespace platform {

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

TComponent::TComponent(TComponent* owner) : FOwner(owner) {}

TComponent::~TComponent() { DestroyComponents(); }

void TComponent::DestroyComponents() {
  // Reverse creation order: later components, which may refer to earlier
  // ones (a control to its parent panel), go first.
  while (!FOwned.empty()) FOwned.pop_back();
}

void TComponent::Adopt(std::unique_ptr<TComponent> child) { FOwned.push_back(std::move(child)); }

TComponent* TComponent::FindComponent(std::string_view name) const {
  for (const auto& c : FOwned)
    if (SameText(c->Name(), name)) return c.get();
  return nullptr;
}

const TPropTable& TComponent::PublishedProperties() const {
  static const TPropTable table{
      nullptr,
      {{"Name", TPropKind::Text, [](const TComponent& c) { return c.Name(); },
        [](TComponent& c, const std::string& v) { c.SetName(v); }},
       {"Tag", TPropKind::Integer, [](const TComponent& c) { return std::to_string(c.Tag()); },
        [](TComponent& c, const std::string& v) { c.SetTag(StrToInt(v)); }}}};
  return table;
}

const TPropInfo* TComponent::FindProperty(std::string_view name) const {
  for (const TPropTable* t = &PublishedProperties(); t; t = t->Base)
    for (const TPropInfo& p : t->Props)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

}  // namespace platform
