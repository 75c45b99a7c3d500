// Control models. A model holds a control's state and fires its events; its
// peer (platform/win32) shows it as a native window, mirrors every change the
// model reports and turns window messages into the model's input methods
// (UserClicked, UserToggled, UserEdited ...). Tests without windows call the
// same input methods, so the rules live here and are tested natively.
//
// A change made from code never pretends to be user input: which events fire
// on a programmatic change is a rule of each control class, stated at its
// setter.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Component.h"
#include "platform/Guarded.h"
#include "platform/Strings.h"

namespace platform {

// What changed in a model, so that its peer updates only that.
enum class TChange {
  Caption,
  Hint,
  Bounds,
  Visible,
  Enabled,
  Checked,
  Items,
  ItemIndex,
  Text,
  Picture,
  ActivePage,
  Timer,
  Font,
};

class TPeer {
 public:
  virtual ~TPeer() = default;
  virtual void Changed(TChange what) = 0;
  virtual THandle Handle() const = 0;
};

// The native side of a pop-up menu.
class TMenuPeer : public TPeer {
 public:
  // Shows the menu at a screen position, owned by `owner`, and returns the
  // index of the item chosen, or -1 when the menu was dismissed.
  virtual int Track(int x, int y, THandle owner) = 0;
};

class TForm;
class TPanel;
class TTabSheet;
class TPageControl;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TCheckListBox;
class TLabel;
class TBevel;
class TShape;
class TImage;
class TStatusBar;
class TTimer;
class TPopupMenu;

// Makes the native peer of each kind of model: one overload per concrete
// model class, each pure, so that a factory missing one does not build.
// nullptr where there is no peer to make (yet): a control whose parent has
// no window. Menu items have none; they live in their menu's peer.
class TPeerFactory {
 public:
  virtual ~TPeerFactory() = default;
  virtual std::unique_ptr<TPeer> Create(TForm& form) = 0;
  virtual std::unique_ptr<TPeer> Create(TPanel& panel) = 0;
  virtual std::unique_ptr<TPeer> Create(TTabSheet& sheet) = 0;
  virtual std::unique_ptr<TPeer> Create(TPageControl& pages) = 0;
  virtual std::unique_ptr<TPeer> Create(TButton& button) = 0;
  virtual std::unique_ptr<TPeer> Create(TCheckBox& box) = 0;
  virtual std::unique_ptr<TPeer> Create(TComboBox& combo) = 0;
  virtual std::unique_ptr<TPeer> Create(TEdit& edit) = 0;
  virtual std::unique_ptr<TPeer> Create(TCheckListBox& list) = 0;
  virtual std::unique_ptr<TPeer> Create(TLabel& label) = 0;
  virtual std::unique_ptr<TPeer> Create(TBevel& bevel) = 0;
  virtual std::unique_ptr<TPeer> Create(TShape& shape) = 0;
  virtual std::unique_ptr<TPeer> Create(TImage& image) = 0;
  virtual std::unique_ptr<TPeer> Create(TStatusBar& bar) = 0;
  virtual std::unique_ptr<TPeer> Create(TTimer& timer) = 0;
  virtual std::unique_ptr<TMenuPeer> Create(TPopupMenu& menu) = 0;
};

class TWinControl;

// A colour as 0x00BBGGRR, or a system colour: 0x80000000 plus its index.
using TColor = std::uint32_t;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clActiveBorder = 0x8000000A;
inline constexpr TColor clBtnFace = 0x8000000F;

enum class TCursor { Default, HandPoint };

// A control's own font: the form's, with these changes.
struct TFont {
  TColor Color = clWindowText;
  int Height = 0;  // pixels; negative for the height of the characters alone; 0: the form's
  bool Bold = false;
  bool Underline = false;
  bool operator==(const TFont&) const = default;
};

struct TRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

class TControl : public TComponent {
 public:
  TControl(TComponent* owner, TWinControl* parent);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }

  const TRect& Bounds() const { return FBounds; }
  void SetBounds(int left, int top, int width, int height);

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint);
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);

  // True when the control and all its parents are enabled.
  bool EffectivelyEnabled() const;

  // Creates the native peer of this control and of its children that show.
  // A control that does not show (hidden, or inside something hidden, or on
  // a page not chosen) keeps its whole state in the model and gets its
  // window when it first shows: a window never seen costs nothing at start.
  // A form's own window is made either way. Does nothing when no peer
  // factory is installed, as in native tests.
  virtual void CreateHandle();
  // Visible, and so are all its parents, each showing this child.
  bool Showing() const;
  bool HandleAllocated() const { return FPeer != nullptr; }
  THandle Handle() const { return FPeer ? FPeer->Handle() : 0; }
  TPeer* Peer() const { return FPeer.get(); }

  TNotifyEvent OnClick;
  // The mouse pointer over the control; the peer asks for it each time.
  TCursor Cursor = TCursor::Default;

  const TPropTable& PublishedProperties() const override;

 protected:
  friend class TWinControl;  // passes an enabled change on to its children
  void Changed(TChange what);
  virtual void CaptionChanged() { Changed(TChange::Caption); }
  virtual void EnabledChanged();
  virtual void VisibleChanged();
  // Each concrete control asks the factory for its own kind of peer
  // (`return factory.Create(*this);`), so one that names none stays
  // abstract and cannot be made.
  virtual std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) = 0;

 private:
  TWinControl* FParent;
  TRect FBounds;
  std::string FCaption, FHint;
  bool FVisible = true;
  bool FEnabled = true;
  std::unique_ptr<TPeer> FPeer;
};

class TWinControl : public TControl {
 public:
  using TControl::TControl;
  // Owned controls go before this control's own members, since they sit in it.
  ~TWinControl() override { DestroyComponents(); }
  const std::vector<TControl*>& Controls() const { return FControls; }
  void CreateHandle() override;

 protected:
  void EnabledChanged() override;
  // Whether a visible child shows when this control does; a page control
  // shows its chosen page alone.
  virtual bool ShowsChild(const TControl&) const { return true; }

 private:
  friend class TControl;
  std::vector<TControl*> FControls;  // children in creation order
};

class TLabel : public TControl {
 public:
  using TControl::TControl;
  bool Centered = false;
  // The label fits its caption on one line, its left edge staying where it
  // is, so that a longer translation is neither cut nor wrapped.
  bool AutoSize = true;
  // The peer tells the size of the caption on one line in the label's font
  // whenever the caption or the font changes.
  void TextMeasured(int width, int height);

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  // The controls below show through around the text.
  bool Transparent = false;

  // Input: the left mouse button went down on the label.
  virtual void UserMouseDown() { DoEvent(OnMouseDown, this); }
  TNotifyEvent OnMouseDown;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  TFont FFont;
};

enum class TBevelCut { None, Lowered, Raised };

class TPanel : public TWinControl {
 public:
  using TWinControl::TWinControl;
  // The two bevels around the panel, the outer one at its edge.
  TBevelCut BevelOuter = TBevelCut::Raised;
  TBevelCut BevelInner = TBevelCut::None;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

enum class TBevelShape { Box, Frame };

class TBevel : public TControl {
 public:
  using TControl::TControl;
  TBevelShape Shape = TBevelShape::Box;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

// A frame with a hatched brush, drawn behind a picture.
class TShape : public TControl {
 public:
  using TControl::TControl;
  int PenWidth = 2;
  bool CrossBrush = true;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

class TImage : public TControl {
 public:
  using TControl::TControl;
  // The picture is an icon file; a missing or unreadable file shows an
  // empty picture rather than an error.
  void LoadFromFile(const std::string& path);
  const std::string& PictureFile() const { return FPictureFile; }
  // The picture is a JPEG file held in memory; it takes the place of an
  // icon file. Data that does not decode shows an empty picture.
  void SetJpeg(std::string data);
  const std::string& Jpeg() const { return FJpeg; }
  bool Center = true;
  // A JPEG picture is drawn to the control's size.
  bool Stretch = false;

  // Input: the user clicked the picture.
  void UserClicked() { DoEvent(OnClick, this); }

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::string FPictureFile;
  std::string FJpeg;
};

class TButton : public TWinControl {
 public:
  using TWinControl::TWinControl;
  // The button that Enter presses in a dialog form.
  bool Default = false;
  // Input: the user pressed the button (mouse or keyboard).
  void UserClicked() { DoEvent(OnClick, this); }

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
};

class TBitBtn : public TButton {
 public:
  using TButton::TButton;
};

class TCheckBox : public TWinControl {
 public:
  using TWinControl::TWinControl;
  bool Checked() const { return FChecked; }
  // Every real change of the state, also one made from code, calls Click.
  void SetChecked(bool checked);
  // From code, for a change that could not be kept: the mark goes back
  // without a Click.
  void RestoreChecked(bool checked);
  // True while the handler of a change the user made runs.
  bool UserChange() const { return FUserChange; }

  // Input from the peer.
  virtual void UserMouseDown() {}  // left button pressed on the box
  // The box changed its mark itself. A disabled box takes no input, as the
  // system gives it none.
  void UserToggled();

 protected:
  // Called after every change of the state; raises OnClick.
  virtual void Click() { DoEvent(OnClick, this); }
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  bool FChecked = false;
  bool FUserChange = false;
};

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner, TWinControl* parent);
  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  const std::string& Text() const { return FText; }
  // From code: no OnChange.
  void SetText(const std::string& text);
  int ItemIndex() const { return FItemIndex; }
  // From code: selects the item and takes its text; no OnChange.
  void SetItemIndex(int index);

  // Input from the peer; both raise OnChange.
  void UserEdited(const std::string& text);
  void UserSelected(int index);

  TNotifyEvent OnChange;
  bool Editable = true;

  const TPropTable& PublishedProperties() const override;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  TStrings FItems;
  std::string FText;
  int FItemIndex = -1;
};

class TEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);  // from code: no event

  void UserEdited(const std::string& text) { FText = text; }
  void UserLeft() { DoEvent(OnExit, this); }  // the focus left the field

  TNotifyEvent OnExit;

  const TPropTable& PublishedProperties() const override;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::string FText;
};

class TCheckListBox : public TWinControl {
 public:
  explicit TCheckListBox(TComponent* owner, TWinControl* parent);
  TStrings& Items() { return FItems; }
  const TStrings& Items() const { return FItems; }
  bool Checked(int index) const;
  // From code: no event.
  void SetChecked(int index, bool checked);
  // A disabled item keeps and shows its mark, but the user cannot change it.
  bool ItemEnabled(int index) const;
  void SetItemEnabled(int index, bool enabled);
  int ItemHeight = 13;

  // Input: the user toggled the mark of an item; raises OnClickCheck. A
  // disabled item, or a list that is disabled, takes no toggle.
  void UserToggled(int index);

  TNotifyEvent OnClickCheck;

  const TPropTable& PublishedProperties() const override;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  TStrings FItems;
  std::vector<bool> FChecked;
  std::vector<bool> FItemEnabled;
};

class TTabSheet : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
  // The caption shows on the page control's tab, which is there whether or
  // not this sheet has been shown and has a window of its own.
  void CaptionChanged() override;
};

class TPageControl : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::vector<TTabSheet*> Pages() const;
  int ActivePageIndex() const { return FActivePage; }
  void SetActivePageIndex(int index);
  // Input: the user picked a tab.
  void UserSelected(int index) { SetActivePageIndex(index); }
  // A sheet's caption changed: the tabs show the sheets' captions anew.
  void PageCaptionChanged() { Changed(TChange::Items); }

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;
  bool ShowsChild(const TControl& child) const override;

 private:
  int FActivePage = 0;
};

class TStatusBar : public TWinControl {
 public:
  using TWinControl::TWinControl;
  const std::string& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::string& text);

 protected:
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  std::string FSimpleText;
};

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  void SetOnTimer(TNotifyEvent handler);

  // Input: one period has passed.
  void Tick() { DoEvent(FOnTimer, this); }
  // Like the framework's timer, it runs only while enabled with a handler.
  bool Running() const { return FEnabled && FInterval > 0 && FOnTimer != nullptr; }

 private:
  void Update();
  unsigned FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
  std::unique_ptr<TPeer> FPeer;
};

class TMenuItem : public TComponent {
 public:
  using TComponent::TComponent;
  std::string Caption;
  std::string Picture;  // icon file beside the program, shown beside the caption
  bool Enabled = true;
  bool Default = false;  // shown in bold; a tray icon's double click chooses it
  TNotifyEvent OnClick;
  // Made so by the menu (TPopupMenu::AddSeparator), never by its caption: a
  // command translated as "-" stays a command.
  bool IsSeparator() const { return FSeparator; }
  void UserClicked() { DoEvent(OnClick, this); }
  const TPropTable& PublishedProperties() const override;

 private:
  friend class TPopupMenu;
  bool FSeparator = false;
};

class TPopupMenu : public TComponent {
 public:
  using TComponent::TComponent;
  TMenuItem* Add(std::string name, std::string caption, TNotifyEvent onClick = {});
  TMenuItem* AddSeparator(std::string name);
  const std::vector<TMenuItem*>& Items() const { return FItems; }
  // The enabled default item, or nullptr.
  TMenuItem* DefaultItem() const;

  // Whether the menu opens by itself on a right click of its owner.
  bool AutoPopup = true;
  // The component that opened the menu last.
  TComponent* PopupComponent = nullptr;

  // Shows the menu at a screen position and returns when it has closed; the
  // chosen item's OnClick runs after that. OnPopup runs first.
  void Popup(int x, int y, THandle owner);
  TNotifyEvent OnPopup;

 private:
  std::vector<TMenuItem*> FItems;
};

}  // namespace platform
