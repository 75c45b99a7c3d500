// The component model: named components owned by other components, and a
// small published-property table per class that lets the language component
// set texts by a path such as "Form1.BitBtn2.Caption".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Types.h"

namespace platform {

class TComponent;

enum class TPropKind { Text, Integer, Strings, Other };

struct TPropInfo {
  std::string_view Name;
  TPropKind Kind;
  // Text and Integer properties are read and written as text (an integer in
  // decimal); a Strings property is read and written as its lines joined
  // with CR LF.
  std::function<std::string(const TComponent&)> Get;
  std::function<void(TComponent&, const std::string&)> Set;
  // A Strings property also takes its items as they are, empty ones
  // included, which the joined text cannot always carry.
  std::function<void(TComponent&, const std::vector<std::string>&)> SetItems = {};
};

struct TPropTable {
  const TPropTable* Base;  // the base class's table, or nullptr
  std::vector<TPropInfo> Props;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return FName; }
  void SetName(std::string name) { FName = std::move(name); }
  TComponent* Owner() const { return FOwner; }
  // A number for the program's own use.
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  // Components owned by this one, in creation order.
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return FOwned; }
  // Case-insensitive, like every name lookup of the framework.
  TComponent* FindComponent(std::string_view name) const;

  // Looks a property up by name (case-insensitive) in this class's table and
  // its bases; nullptr when there is none.
  const TPropInfo* FindProperty(std::string_view name) const;
  virtual const TPropTable& PublishedProperties() const;

  // Creates a component owned by `owner`; the owner destroys it.
  template <class T, class... Args>
  static T* Create(TComponent* owner, std::string name, Args&&... args) {
    auto object = std::make_unique<T>(owner, std::forward<Args>(args)...);
    T* raw = object.get();
    raw->SetName(std::move(name));
    if (owner)
      owner->Adopt(std::move(object));
    else
      object.release();  // an unowned component is the caller's to delete
    static_cast<TComponent*>(raw)->AfterConstruction();
    return raw;
  }

 protected:
  // Runs once the component is named and owned, so that it can be found by
  // its path from the application down (a form's creation handler).
  virtual void AfterConstruction() {}

  // Destroys the owned components now, last created first. A derived class
  // whose members the owned components refer to calls it in its destructor.
  void DestroyComponents();

 private:
  void Adopt(std::unique_ptr<TComponent> child);

  std::string FName;
  int FTag = 0;
  TComponent* FOwner;
  std::vector<std::unique_ptr<TComponent>> FOwned;
};

bool SameText(std::string_view a, std::string_view b);

}  // namespace platform
