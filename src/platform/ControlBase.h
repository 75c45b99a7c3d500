// What every control model shares, and the peers that show them. A model
// holds a control's state and fires its events; its peer (platform/win32)
// shows it as a native window, mirrors every change the model reports and
// turns window messages into the model's input methods (UserClicked,
// UserToggled, UserEdited ...). Tests without windows call the same input
// methods, so the rules live here and are tested natively.
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
class THotKey;
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
  virtual std::unique_ptr<TPeer> Create(THotKey& hotKey) = 0;
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
  // Place among its siblings for the Tab key; -1: its place of creation.
  int TabOrder = -1;

 protected:
  void EnabledChanged() override;
  // Whether a visible child shows when this control does; a page control
  // shows its chosen page alone.
  virtual bool ShowsChild(const TControl&) const { return true; }

 private:
  friend class TControl;
  std::vector<TControl*> FControls;  // children in creation order
};

}  // namespace platform
