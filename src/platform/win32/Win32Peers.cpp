// The common part of every control peer: window creation, the window
// procedure with its exception barrier, notification reflection, hints, and
// the factory that picks a peer for each model.
#include "platform/win32/Win32Peers.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

#include "platform/Application.h"
#include "platform/win32/Win32PeerSupport.h"

namespace platform::win32 {

using namespace detail;

namespace {

constexpr const char* kPeerProperty = "Morvel.Peer";

// The tool record as the oldest common controls know it; a larger cbSize is
// refused there.
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);

LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (TWin32Peer* peer = TWin32Peer::FromWindow(window))
    return peer->Dispatch(window, message, wParam, lParam);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOwnClass(const char* name, UINT style, HBRUSH background) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = style;
  wc.lpfnWndProc = PeerWindowProc;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  ::RegisterClassExA(&wc);
}

HBRUSH SysBrush(int color) { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(color + 1)); }

bool IsGraphic(const TControl* control) {
  return dynamic_cast<const TWinControl*>(control) == nullptr;
}

}  // namespace

namespace detail {

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

void EnsureClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    RegisterOwnClass(kFormClass, CS_DBLCLKS, SysBrush(COLOR_BTNFACE));
    RegisterOwnClass(kContainerClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                     SysBrush(COLOR_BTNFACE));
    RegisterOwnClass(kGraphicClass, CS_HREDRAW | CS_VREDRAW, nullptr);
    return true;
  }();
  (void)done;
}

int NextControlId() {
  static int next = 100;
  if (next >= 0xFFFF) next = 100;  // ids are 16 bits in WM_COMMAND
  return next++;
}

std::string WindowText(HWND window) {
  int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return text;
}

std::string BesideProgram(const std::string& file) {
  if ((file.size() >= 2 && file[1] == ':') ||
      (!file.empty() && (file[0] == '\\' || file[0] == '/')))
    return file;
  // The path may be longer than MAX_PATH; grow until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return file;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of("\\/") + 1) + file;
}

}  // namespace detail

void ReportException(const std::exception& e) noexcept {
  try {
    if (Application) Application->HandleException(e);
  } catch (...) {
    // The error report itself failed; there is nobody left to tell.
  }
}

void ReportUnknownException() noexcept { ReportException(Exception("Unexpected error.")); }

// ---- TWin32Peer ----

TWin32Peer::TWin32Peer(TControl& model) : FModel(model) {}

TWin32Peer::~TWin32Peer() { DestroyNow(); }

TWin32Peer* TWin32Peer::FromWindow(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWin32Peer*>(::GetPropA(window, kPeerProperty));
}

TWin32Peer::TCreateParams TWin32Peer::ChildParams(const TControl& model, const char* className,
                                                  DWORD style, DWORD exStyle) {
  TCreateParams p;
  p.ClassName = className;
  p.Style = style;
  p.ExStyle = exStyle;
  p.Text = model.Caption();
  const TRect& b = model.Bounds();
  p.Left = b.Left;
  p.Top = b.Top;
  p.Width = b.Width;
  p.Height = b.Height;
  p.Visible = model.Visible();
  return p;
}

void TWin32Peer::CreateChild(const TCreateParams& p) {
  EnsureClasses();
  TWinControl* parent = FModel.Parent();
  HWND parentWindow = parent ? ToHwnd(parent->Handle()) : nullptr;
  DWORD style = p.Style | WS_CHILD | WS_CLIPSIBLINGS;
  if (p.Visible) style |= WS_VISIBLE;
  if (!FModel.EffectivelyEnabled()) style |= WS_DISABLED;
  HWND window = ::CreateWindowExA(
      p.ExStyle, p.ClassName, p.Text.c_str(), style, p.Left, p.Top, p.Width, p.Height, parentWindow,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(NextControlId())), Instance(), nullptr);
  if (!window) throw Exception("Error creating window");
  Attach(window, !p.OwnClass);
  if (HFONT font = FormFont())
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  Restack();
  ApplyHint();
}

void TWin32Peer::Attach(HWND window, bool subclass) {
  FWindow.reset(window);
  ::SetPropA(window, kPeerProperty, this);
  if (subclass)
    FOldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PeerWindowProc)));
}

void TWin32Peer::DestroyNow() noexcept {
  // From here on the model may be half destroyed: messages sent while the
  // window goes away reach only the default procedure.
  FAlive = false;
  RemoveTools();
  FWindow.reset();  // WM_NCDESTROY removes the property
}

void TWin32Peer::Forget(HWND window) noexcept {
  ::RemovePropA(window, kPeerProperty);
  if (FWindow.get() == window) (void)FWindow.release();
}

LRESULT TWin32Peer::Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) {
    // Also reached when a parent window takes this one down with it.
    LRESULT result = CallDefault(window, message, wParam, lParam);
    Forget(window);
    return result;
  }
  if (!FAlive) return CallDefault(window, message, wParam, lParam);
  try {
    return WndProc(window, message, wParam, lParam);
  } catch (const std::exception& e) {
    ReportException(e);
  } catch (...) {
    ReportUnknownException();
  }
  return 0;
}

LRESULT TWin32Peer::CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  if (FOldProc) return ::CallWindowProcA(FOldProc, window, message, wParam, lParam);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TWin32Peer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETCURSOR && FModel.Cursor == TCursor::HandPoint &&
      LOWORD(lParam) == HTCLIENT) {
    // The hand is missing before Windows 98 and 2000: the arrow stands in.
    HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND);
    ::SetCursor(hand ? hand : ::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
  }
  if (!FOldProc) {
    // Our own classes keep the font the form hands out, for their painting.
    switch (message) {
      case WM_SETFONT:
        FFont = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) ::InvalidateRect(window, nullptr, TRUE);
        return 0;
      case WM_GETFONT:
        return reinterpret_cast<LRESULT>(FFont);
      default: {
        LRESULT result = 0;
        if (ReflectToChild(window, message, wParam, lParam, result)) return result;
      }
    }
  }
  return CallDefault(window, message, wParam, lParam);
}

bool TWin32Peer::ReflectToChild(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) const {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU) child = item->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU) child = ::GetDlgItem(window, static_cast<int>(item->CtlID));
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(lParam);
      break;
    default:
      return false;
  }
  if (!child || child == window) return false;
  TWin32Peer* peer = FromWindow(child);
  if (!peer || !peer->FAlive) return false;
  return peer->Reflected(message, wParam, lParam, result);
}

bool TWin32Peer::Reflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void TWin32Peer::Changed(TChange what) {
  HWND window = Window();
  if (!window) return;
  switch (what) {
    case TChange::Bounds:
      ApplyBounds();
      break;
    case TChange::Visible:
      ApplyVisible();
      break;
    case TChange::Enabled:
      ::EnableWindow(window, FModel.EffectivelyEnabled());
      break;
    case TChange::Caption:
      if (FCaptionIsText) ::SetWindowTextA(window, FModel.Caption().c_str());
      break;
    case TChange::Hint:
      ApplyHint();
      break;
    default:
      break;
  }
}

void TWin32Peer::ApplyBounds() {
  const TRect& b = FModel.Bounds();
  ::MoveWindow(Window(), b.Left, b.Top, b.Width, b.Height, TRUE);
}

void TWin32Peer::ApplyVisible() { ::ShowWindow(Window(), FModel.Visible() ? SW_SHOW : SW_HIDE); }

TWin32FormPeer* TWin32Peer::FormPeer() const {
  const TControl* top = &FModel;
  while (top->Parent()) top = top->Parent();
  if (top == &FModel) return dynamic_cast<TWin32FormPeer*>(const_cast<TWin32Peer*>(this));
  return dynamic_cast<TWin32FormPeer*>(top->Peer());
}

HFONT TWin32Peer::FormFont() const {
  TWin32FormPeer* form = FormPeer();
  return form ? form->FormFontHandle() : nullptr;
}

void TWin32Peer::ApplyHint() {
  const std::string& hint = FModel.Hint();
  if (!FToolTip) {
    if (hint.empty()) return;
    TWin32FormPeer* form = FormPeer();
    if (!form || !form->ToolTip() || form == this) return;
    FToolTip = form->ToolTip();
  }
  HWND owner = ::GetParent(FToolTip) ? ::GetParent(FToolTip) : ::GetWindow(FToolTip, GW_OWNER);
  TTTOOLINFOA info{};
  info.cbSize = kToolInfoSize;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner;
  info.hinst = Instance();
  info.lpszText = const_cast<char*>(hint.c_str());
  if (hint.empty()) {
    RemoveTools();
    return;
  }
  if (FTools.empty()) {
    for (HWND tool : ToolWindows()) {
      if (!tool) continue;
      info.uId = reinterpret_cast<UINT_PTR>(tool);
      if (::SendMessageA(FToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)))
        FTools.push_back(tool);
    }
  } else {
    for (HWND tool : FTools) {
      info.uId = reinterpret_cast<UINT_PTR>(tool);
      ::SendMessageA(FToolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
}

void TWin32Peer::RemoveTools() noexcept {
  if (FToolTip && ::IsWindow(FToolTip)) {
    HWND owner = ::GetParent(FToolTip) ? ::GetParent(FToolTip) : ::GetWindow(FToolTip, GW_OWNER);
    for (HWND tool : FTools) {
      TTTOOLINFOA info{};
      info.cbSize = kToolInfoSize;
      info.hwnd = owner;
      info.uId = reinterpret_cast<UINT_PTR>(tool);
      ::SendMessageA(FToolTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
  FTools.clear();
}

void TWin32Peer::Restack() const {
  // As in the classic framework, windowed controls lie above the graphic
  // ones (labels, shapes, images, bevels); within each group a later control
  // lies above an earlier one, so a picture stays on top of its frame.
  const TWinControl* parent = FModel.Parent();
  if (!parent) return;
  HWND after = HWND_TOP;
  auto place = [&](const TControl* control) {
    HWND window = control == &FModel ? Window() : ToHwnd(control->Handle());
    if (!window) return;
    ::SetWindowPos(window, after, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    after = window;
  };
  const auto& controls = parent->Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (!IsGraphic(*it)) place(*it);
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (IsGraphic(*it)) place(*it);
}

// ---- containers ----

TWin32ContainerPeer::TWin32ContainerPeer(TWinControl& model)
    : TWin32ContainerPeer(model, [&] {
        // Tab goes on into the container's controls.
        TCreateParams p = ChildParams(model, kContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
        p.OwnClass = true;
        return p;
      }()) {}

TWin32ContainerPeer::TWin32ContainerPeer(TWinControl& model, const TCreateParams& params)
    : TWin32Peer(model) {
  CreateChild(params);
}

LRESULT TWin32ContainerPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    TPaintScope paint(window);
    RECT client;
    ::GetClientRect(window, &client);
    Paint(paint.Dc(), client);
    return 0;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

TWin32PanelPeer::TWin32PanelPeer(TPanel& panel) : TWin32ContainerPeer(panel), FPanel(panel) {
  FCaptionIsText = true;
}

void TWin32PanelPeer::Changed(TChange what) {
  TWin32ContainerPeer::Changed(what);
  if (what == TChange::Caption && Window()) ::InvalidateRect(Window(), nullptr, TRUE);
}

void TWin32PanelPeer::Paint(HDC dc, const RECT& client) {
  RECT r = client;
  for (TBevelCut cut : {FPanel.BevelOuter, FPanel.BevelInner}) {
    if (cut == TBevelCut::None) continue;
    ::DrawEdge(dc, &r, cut == TBevelCut::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    ::InflateRect(&r, -1, -1);
  }
  const std::string& caption = FPanel.Caption();
  if (caption.empty()) return;
  TSelectScope font(dc, Font());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- factory ----

TWin32PeerFactory::TWin32PeerFactory() { EnsureClasses(); }

std::unique_ptr<TPeer> TWin32PeerFactory::CreatePeer(TComponent& component) {
  if (auto* timer = dynamic_cast<TTimer*>(&component))
    return std::make_unique<TWin32TimerPeer>(*timer);
  if (auto* menu = dynamic_cast<TPopupMenu*>(&component))
    return std::make_unique<TWin32MenuPeer>(*menu);
  auto* control = dynamic_cast<TControl*>(&component);
  if (!control) return nullptr;  // menu items live in their menu's peer
  if (auto* form = dynamic_cast<TForm*>(control)) return std::make_unique<TWin32FormPeer>(*form);

  // Every other control lives in its parent's window.
  TWinControl* parent = control->Parent();
  if (!parent || !parent->Handle()) return nullptr;

  if (auto* pages = dynamic_cast<TPageControl*>(control))
    return std::make_unique<TWin32PageControlPeer>(*pages);
  if (auto* sheet = dynamic_cast<TTabSheet*>(control)) {
    auto* pagesPeer = dynamic_cast<TWin32PageControlPeer*>(parent->Peer());
    if (!pagesPeer) return std::make_unique<TWin32ContainerPeer>(*sheet);
    return std::make_unique<TWin32TabSheetPeer>(*sheet, *pagesPeer);
  }
  if (auto* panel = dynamic_cast<TPanel*>(control))
    return std::make_unique<TWin32PanelPeer>(*panel);
  if (auto* bar = dynamic_cast<TStatusBar*>(control))
    return std::make_unique<TWin32StatusBarPeer>(*bar);
  if (auto* list = dynamic_cast<TCheckListBox*>(control))
    return std::make_unique<TWin32CheckListPeer>(*list);
  if (auto* combo = dynamic_cast<TComboBox*>(control))
    return std::make_unique<TWin32ComboBoxPeer>(*combo);
  if (auto* edit = dynamic_cast<TEdit*>(control)) return std::make_unique<TWin32EditPeer>(*edit);
  if (auto* box = dynamic_cast<TCheckBox*>(control))
    return std::make_unique<TWin32CheckBoxPeer>(*box);
  if (auto* button = dynamic_cast<TButton*>(control))
    return std::make_unique<TWin32ButtonPeer>(*button);
  if (auto* label = dynamic_cast<TLabel*>(control))
    return std::make_unique<TWin32LabelPeer>(*label);
  if (auto* bevel = dynamic_cast<TBevel*>(control))
    return std::make_unique<TWin32StaticPeer>(*bevel, SS_ETCHEDFRAME, false);
  if (auto* shape = dynamic_cast<TShape*>(control))
    return std::make_unique<TWin32ShapePeer>(*shape);
  if (auto* image = dynamic_cast<TImage*>(control))
    return std::make_unique<TWin32ImagePeer>(*image);
  if (auto* container = dynamic_cast<TWinControl*>(control))
    return std::make_unique<TWin32ContainerPeer>(*container);
  return nullptr;
}

}  // namespace platform::win32
