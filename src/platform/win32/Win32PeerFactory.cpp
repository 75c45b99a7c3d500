#include "platform/win32/Win32PeerFactory.h"

#include <utility>

#include "platform/win32/Win32ContainerPeers.h"
#include "platform/win32/Win32ControlPeers.h"
#include "platform/win32/Win32FormPeer.h"
#include "platform/win32/Win32GraphicPeers.h"
#include "platform/win32/Win32HotKeyPeer.h"
#include "platform/win32/Win32ListPeers.h"
#include "platform/win32/Win32MenuPeer.h"
#include "platform/win32/Win32TimerPeer.h"

namespace platform::win32 {

namespace {

// Every control but a form lives in its parent's window: until that exists,
// the control has no peer.
bool ParentHasWindow(const TControl& control) {
  const TWinControl* parent = control.Parent();
  return parent && parent->Handle();
}

template <class TPeerClass, class TModel, class... TArgs>
std::unique_ptr<TPeer> ChildPeer(TModel& model, TArgs&&... args) {
  if (!ParentHasWindow(model)) return nullptr;
  return std::make_unique<TPeerClass>(model, std::forward<TArgs>(args)...);
}

}  // namespace

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TForm& form) {
  return std::make_unique<TWin32FormPeer>(form);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TPanel& panel) {
  return ChildPeer<TWin32PanelPeer>(panel);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TTabSheet& sheet) {
  if (!ParentHasWindow(sheet)) return nullptr;
  // A sheet outside a page control is a plain container.
  auto* pages = dynamic_cast<TWin32PageControlPeer*>(sheet.Parent()->Peer());
  if (!pages) return std::make_unique<TWin32ContainerPeer>(sheet);
  return std::make_unique<TWin32TabSheetPeer>(sheet, *pages);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TPageControl& pages) {
  return ChildPeer<TWin32PageControlPeer>(pages);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TButton& button) {
  return ChildPeer<TWin32ButtonPeer>(button);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TCheckBox& box) {
  return ChildPeer<TWin32CheckBoxPeer>(box);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TComboBox& combo) {
  return ChildPeer<TWin32ComboBoxPeer>(combo);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TEdit& edit) {
  return ChildPeer<TWin32EditPeer>(edit);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TCheckListBox& list) {
  return ChildPeer<TWin32CheckListPeer>(list);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(THotKey& hotKey) {
  return ChildPeer<TWin32HotKeyPeer>(hotKey);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TLabel& label) {
  return ChildPeer<TWin32LabelPeer>(label);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TBevel& bevel) {
  return ChildPeer<TWin32StaticPeer>(bevel, SS_ETCHEDFRAME, false);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TShape& shape) {
  return ChildPeer<TWin32ShapePeer>(shape);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TImage& image) {
  return ChildPeer<TWin32ImagePeer>(image);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TStatusBar& bar) {
  return ChildPeer<TWin32StatusBarPeer>(bar);
}

std::unique_ptr<TPeer> TWin32PeerFactory::Create(TTimer& timer) {
  return std::make_unique<TWin32TimerPeer>(timer);
}

std::unique_ptr<TMenuPeer> TWin32PeerFactory::Create(TPopupMenu& menu) {
  return std::make_unique<TWin32MenuPeer>(menu);
}

}  // namespace platform::win32
