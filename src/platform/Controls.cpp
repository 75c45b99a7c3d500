#include "platform/Controls.h"

#include <algorithm>
#include <utility>

#include "platform/Accessibility.h"
#include "platform/Convert.h"
#include "platform/Services.h"

namespace platform {

namespace {

TPropInfo TextProp(std::string_view name, std::string (*get)(const TComponent&),
                   void (*set)(TComponent&, const std::string&)) {
  return {name, TPropKind::Text, get, set};
}

// Geometry as integer properties: the language files could move a control.
TPropInfo BoundsProp(std::string_view name, int TRect::*field) {
  return {name, TPropKind::Integer,
          [field](const TComponent& c) {
            return std::to_string(static_cast<const TControl&>(c).Bounds().*field);
          },
          [field](TComponent& c, const std::string& v) {
            auto& control = static_cast<TControl&>(c);
            TRect r = control.Bounds();
            r.*field = StrToInt(v);
            control.SetBounds(r.Left, r.Top, r.Width, r.Height);
          }};
}

// A Boolean is neither text nor a number to the language component.
TPropInfo FlagProp(std::string_view name, bool (TControl::*get)() const) {
  return {name, TPropKind::Other,
          [get](const TComponent& c) {
            return (static_cast<const TControl&>(c).*get)() ? std::string("True")
                                                            : std::string("False");
          },
          [](TComponent&, const std::string&) {}};
}

template <class T>
TPropInfo ItemsProp() {
  return {"Items", TPropKind::Strings,
          [](const TComponent& c) { return static_cast<const T&>(c).Items().Text(); },
          [](TComponent& c, const std::string& v) { static_cast<T&>(c).Items().SetText(v); },
          [](TComponent& c, const std::vector<std::string>& items) {
            static_cast<T&>(c).Items().Assign(items);
          }};
}

}  // namespace

// ---- TControl ----

TControl::TControl(TComponent* owner, TWinControl* parent) : TComponent(owner), FParent(parent) {
  if (parent) parent->FControls.push_back(this);
}

TControl::~TControl() {
  // The peer goes first: its window must not outlive the model it shows.
  FPeer.reset();
  if (FParent) {
    auto& list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  FBounds = {left, top, width, height};
  Changed(TChange::Bounds);
}

void TControl::SetCaption(const std::string& caption) {
  if (FCaption == caption) return;
  FCaption = caption;
  CaptionChanged();
}

void TControl::SetHint(const std::string& hint) {
  if (FHint == hint) return;
  FHint = hint;
  Changed(TChange::Hint);
}

void TControl::SetVisible(bool visible) {
  if (FVisible == visible) return;
  FVisible = visible;
  VisibleChanged();
}

void TControl::VisibleChanged() {
  // First shown: the new windows take the models' state as it is now.
  // A form's own window is made by the form, before it can show.
  if (FVisible && (FParent || FPeer) && Showing()) CreateHandle();
  Changed(TChange::Visible);
}

void TControl::SetEnabled(bool enabled) {
  if (FEnabled == enabled) return;
  FEnabled = enabled;
  EnabledChanged();
}

void TControl::EnabledChanged() { Changed(TChange::Enabled); }

bool TControl::EffectivelyEnabled() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled) return false;
  return true;
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible || (c->FParent && !c->FParent->ShowsChild(*c))) return false;
  return true;
}

void TControl::CreateHandle() {
  if (FPeer || !Services().Peers) return;
  if (FParent && !Showing()) return;
  FPeer = CreatePeer(*Services().Peers);
}

void TControl::Changed(TChange what) {
  if (FPeer) FPeer->Changed(what);
}

const TPropTable& TControl::PublishedProperties() const {
  static const TPropTable table{
      &TComponent::PublishedProperties(),
      {TextProp(
           "Caption", [](const TComponent& c) { return static_cast<const TControl&>(c).Caption(); },
           [](TComponent& c, const std::string& v) { static_cast<TControl&>(c).SetCaption(v); }),
       TextProp(
           "Hint", [](const TComponent& c) { return static_cast<const TControl&>(c).Hint(); },
           [](TComponent& c, const std::string& v) { static_cast<TControl&>(c).SetHint(v); }),
       BoundsProp("Left", &TRect::Left), BoundsProp("Top", &TRect::Top),
       BoundsProp("Width", &TRect::Width), BoundsProp("Height", &TRect::Height),
       FlagProp("Visible", &TControl::Visible), FlagProp("Enabled", &TControl::Enabled)}};
  return table;
}

// ---- TWinControl ----

void TWinControl::CreateHandle() {
  TControl::CreateHandle();
  if (!HandleAllocated() || !Showing()) return;
  for (TControl* child : FControls) child->CreateHandle();
}

void TWinControl::EnabledChanged() {
  TControl::EnabledChanged();
  // Native children of a disabled parent must look and act disabled too.
  for (TControl* child : FControls) child->EnabledChanged();
}

// ---- panels, bevels, shapes, buttons, sheets ----

std::unique_ptr<TPeer> TPanel::CreatePeer(TPeerFactory& f) { return f.Create(*this); }
std::unique_ptr<TPeer> TBevel::CreatePeer(TPeerFactory& f) { return f.Create(*this); }
std::unique_ptr<TPeer> TShape::CreatePeer(TPeerFactory& f) { return f.Create(*this); }
std::unique_ptr<TPeer> TButton::CreatePeer(TPeerFactory& f) { return f.Create(*this); }
std::unique_ptr<TPeer> TTabSheet::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

// ---- TLabel ----

std::unique_ptr<TPeer> TLabel::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TLabel::TextMeasured(int width, int height) {
  if (!AutoSize) return;
  const TRect& r = Bounds();
  if (width != r.Width || height != r.Height) SetBounds(r.Left, r.Top, width, height);
}

void TLabel::SetFont(const TFont& font) {
  if (FFont == font) return;
  FFont = font;
  Changed(TChange::Font);
}

// ---- TImage ----

std::unique_ptr<TPeer> TImage::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TImage::LoadFromFile(const std::string& path) {
  FPictureFile = path;
  Changed(TChange::Picture);
}

void TImage::SetJpeg(std::string data) {
  FJpeg = std::move(data);
  Changed(TChange::Picture);
}

// ---- TCheckBox ----

std::unique_ptr<TPeer> TCheckBox::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TCheckBox::SetChecked(bool checked) {
  if (FChecked == checked) return;
  FChecked = checked;
  Changed(TChange::Checked);
  Click();
}

void TCheckBox::RestoreChecked(bool checked) {
  FChecked = checked;
  Changed(TChange::Checked);
}

void TCheckBox::UserToggled() {
  if (!EffectivelyEnabled()) return;
  FUserChange = true;
  struct TScope {
    bool& Flag;
    ~TScope() { Flag = false; }
  } scope{FUserChange};
  SetChecked(!FChecked);
}

// ---- TComboBox ----

std::unique_ptr<TPeer> TComboBox::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

TComboBox::TComboBox(TComponent* owner, TWinControl* parent) : TWinControl(owner, parent) {
  FItems.OnChange = [this] {
    if (FItemIndex >= FItems.Count()) FItemIndex = -1;
    Changed(TChange::Items);
  };
}

void TComboBox::SetText(const std::string& text) {
  FText = text;
  FItemIndex = FItems.IndexOf(text);
  Changed(TChange::Text);
}

void TComboBox::SetItemIndex(int index) {
  FItemIndex = (index >= 0 && index < FItems.Count()) ? index : -1;
  FText = FItemIndex >= 0 ? FItems[FItemIndex] : std::string();
  Changed(TChange::Text);
}

void TComboBox::UserEdited(const std::string& text) {
  FText = text;
  FItemIndex = FItems.IndexOf(text);
  DoEvent(OnChange, this);
}

void TComboBox::UserSelected(int index) {
  if (index < 0 || index >= FItems.Count()) return;
  FItemIndex = index;
  FText = FItems[index];
  DoEvent(OnChange, this);
}

const TPropTable& TComboBox::PublishedProperties() const {
  static const TPropTable table{
      &TControl::PublishedProperties(),
      {TextProp(
           "Text", [](const TComponent& c) { return static_cast<const TComboBox&>(c).Text(); },
           [](TComponent& c, const std::string& v) { static_cast<TComboBox&>(c).SetText(v); }),
       ItemsProp<TComboBox>()}};
  return table;
}

// ---- TEdit ----

std::unique_ptr<TPeer> TEdit::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TEdit::SetText(const std::string& text) {
  FText = text;
  Changed(TChange::Text);
}

const TPropTable& TEdit::PublishedProperties() const {
  static const TPropTable table{
      &TControl::PublishedProperties(),
      {TextProp(
          "Text", [](const TComponent& c) { return static_cast<const TEdit&>(c).Text(); },
          [](TComponent& c, const std::string& v) { static_cast<TEdit&>(c).SetText(v); })}};
  return table;
}

// ---- TCheckListBox ----

std::unique_ptr<TPeer> TCheckListBox::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

TCheckListBox::TCheckListBox(TComponent* owner, TWinControl* parent) : TWinControl(owner, parent) {
  FItems.OnChange = [this] {
    FChecked.resize(static_cast<std::size_t>(FItems.Count()), false);
    FItemEnabled.resize(static_cast<std::size_t>(FItems.Count()), true);
    Changed(TChange::Items);
    for (int i = 0; i < FItems.Count(); ++i) Annotate(i);
  };
}

void TCheckListBox::CreateHandle() {
  const bool had = HandleAllocated();
  TWinControl::CreateHandle();
  if (!had && HandleAllocated())
    for (int i = 0; i < FItems.Count(); ++i) Annotate(i);
}

void TCheckListBox::Annotate(int index) const {
  TAccessibility* access = Services().Accessibility;
  if (!access || !Handle()) return;
  // The marks are painted, so the list's own description of an item lacks
  // them: each item says it is a check box, whether it is checked, and
  // whether it can be changed.
  unsigned state = kAccStateFocusable | kAccStateSelectable;
  if (Checked(index)) state |= kAccStateChecked;
  if (!ItemEnabled(index)) state |= kAccStateUnavailable;
  access->SetItemState(Handle(), static_cast<unsigned>(index) + 1, kAccRoleCheckButton, state);
}

bool TCheckListBox::Checked(int index) const {
  return index >= 0 && index < static_cast<int>(FChecked.size()) &&
         FChecked[static_cast<std::size_t>(index)];
}

void TCheckListBox::SetChecked(int index, bool checked) {
  if (index < 0 || index >= static_cast<int>(FChecked.size())) return;
  FChecked[static_cast<std::size_t>(index)] = checked;
  Changed(TChange::Checked);
  Annotate(index);
}

bool TCheckListBox::ItemEnabled(int index) const {
  return index >= 0 && index < static_cast<int>(FItemEnabled.size()) &&
         FItemEnabled[static_cast<std::size_t>(index)];
}

void TCheckListBox::SetItemEnabled(int index, bool enabled) {
  if (index < 0 || index >= static_cast<int>(FItemEnabled.size())) return;
  FItemEnabled[static_cast<std::size_t>(index)] = enabled;
  Changed(TChange::Checked);  // the item is drawn anew
  Annotate(index);
}

void TCheckListBox::UserToggled(int index) {
  if (!ItemEnabled(index) || !EffectivelyEnabled()) return;
  FChecked[static_cast<std::size_t>(index)] = !FChecked[static_cast<std::size_t>(index)];
  Changed(TChange::Checked);
  Annotate(index);
  DoEvent(OnClickCheck, this);
}

const TPropTable& TCheckListBox::PublishedProperties() const {
  static const TPropTable table{&TControl::PublishedProperties(), {ItemsProp<TCheckListBox>()}};
  return table;
}

// ---- TPageControl ----

std::unique_ptr<TPeer> TPageControl::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TTabSheet::CaptionChanged() {
  if (auto* pages = dynamic_cast<TPageControl*>(Parent())) pages->PageCaptionChanged();
}

std::vector<TTabSheet*> TPageControl::Pages() const {
  std::vector<TTabSheet*> pages;
  for (TControl* c : Controls())
    if (auto* sheet = dynamic_cast<TTabSheet*>(c)) pages.push_back(sheet);
  return pages;
}

void TPageControl::SetActivePageIndex(int index) {
  const auto pages = Pages();
  if (index < 0 || index >= static_cast<int>(pages.size()) || index == FActivePage) return;
  FActivePage = index;
  // A page first chosen gets its windows before the old page goes.
  if (HandleAllocated() && Showing()) pages[static_cast<std::size_t>(index)]->CreateHandle();
  Changed(TChange::ActivePage);
}

bool TPageControl::ShowsChild(const TControl& child) const {
  const auto pages = Pages();
  const auto found = std::find(pages.begin(), pages.end(), &child);
  return found == pages.end() || found - pages.begin() == FActivePage;
}

// ---- TStatusBar ----

std::unique_ptr<TPeer> TStatusBar::CreatePeer(TPeerFactory& f) { return f.Create(*this); }

void TStatusBar::SetSimpleText(const std::string& text) {
  if (FSimpleText == text) return;
  FSimpleText = text;
  Changed(TChange::Text);
}

// ---- TTimer ----

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}
TTimer::~TTimer() = default;

void TTimer::SetInterval(unsigned ms) {
  FInterval = ms;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  FOnTimer = std::move(handler);
  Update();
}

void TTimer::Update() {
  if (!FPeer && Running() && Services().Peers) FPeer = Services().Peers->Create(*this);
  if (FPeer) FPeer->Changed(TChange::Timer);
}

// ---- menus ----

const TPropTable& TMenuItem::PublishedProperties() const {
  static const TPropTable table{
      &TComponent::PublishedProperties(),
      {TextProp(
          "Caption", [](const TComponent& c) { return static_cast<const TMenuItem&>(c).Caption; },
          [](TComponent& c, const std::string& v) { static_cast<TMenuItem&>(c).Caption = v; })}};
  return table;
}

TMenuItem* TPopupMenu::Add(std::string name, std::string caption, TNotifyEvent onClick) {
  // Menu items belong to the menu's owner, like every component of a form.
  TMenuItem* item = TComponent::Create<TMenuItem>(Owner() ? Owner() : this, std::move(name));
  item->Caption = std::move(caption);
  item->OnClick = std::move(onClick);
  FItems.push_back(item);
  return item;
}

TMenuItem* TPopupMenu::AddSeparator(std::string name) {
  TMenuItem* item = Add(std::move(name), "-");
  item->FSeparator = true;
  return item;
}

TMenuItem* TPopupMenu::DefaultItem() const {
  for (TMenuItem* item : FItems)
    if (item->Default && item->Enabled && !item->IsSeparator()) return item;
  return nullptr;
}

void TPopupMenu::Popup(int x, int y, THandle owner) {
  DoEvent(OnPopup, this);
  if (!Services().Peers) return;
  // The native menu is built anew each time, so it always shows the current
  // captions; it lives only while it is shown.
  std::unique_ptr<TMenuPeer> menu = Services().Peers->Create(*this);
  if (!menu) return;
  const int chosen = menu->Track(x, y, owner);
  menu.reset();
  if (chosen >= 0 && chosen < static_cast<int>(FItems.size()) && FItems[chosen]->Enabled &&
      !FItems[chosen]->IsSeparator())
    FItems[chosen]->UserClicked();
}

}  // namespace platform
