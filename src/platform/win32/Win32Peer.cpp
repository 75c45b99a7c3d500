// The common part of every control peer: window creation, the binding of
// the window to its peer, notification reflection and hints.
#include "platform/win32/Win32Peer.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

#include "platform/Scale.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32FormPeer.h"

namespace platform::win32 {

namespace {

// The tool record as the oldest common controls know it; a larger cbSize is
// refused there.
constexpr UINT kToolInfoSize = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);

bool IsGraphic(const TControl* control) {
  return dynamic_cast<const TWinControl*>(control) == nullptr;
}

int NextControlId() {
  static int next = 100;
  if (next >= 0xFFFF) next = 100;  // ids are 16 bits in WM_COMMAND
  return next++;
}

}  // namespace

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return true;
  }();
  (void)done;
}

std::string WindowText(HWND window) {
  int length = ::GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return text;
}

// ---- TWin32Peer ----

TWin32Peer::TWin32Peer(TControl& model) : FModel(model) {}

TWin32Peer::~TWin32Peer() { DestroyNow(); }

TWin32Peer* TWin32Peer::FromWindow(HWND window) {
  return dynamic_cast<TWin32Peer*>(BoundTarget(window));
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
  EnsureCommonControls();
  TWinControl* parent = FModel.Parent();
  HWND parentWindow = parent ? ToHwnd(parent->Handle()) : nullptr;
  DWORD style = p.Style | WS_CHILD | WS_CLIPSIBLINGS;
  if (p.Visible) style |= WS_VISIBLE;
  if (!FModel.EffectivelyEnabled()) style |= WS_DISABLED;
  const TRect r = p.Scaled ? TRect{p.Left, p.Top, p.Width, p.Height}
                           : ScaleRect({p.Left, p.Top, p.Width, p.Height}, Dpi());
  HWND window = ::CreateWindowExA(
      p.ExStyle, p.ClassName, p.Text.c_str(), style, r.Left, r.Top, r.Width, r.Height, parentWindow,
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
  BindWindow(window, *this);
  if (subclass)
    FOldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoundWindowProc)));
}

void TWin32Peer::DestroyNow() noexcept {
  // From here on the model may be half destroyed: messages sent while the
  // window goes away reach only the default procedure.
  FAlive = false;
  RemoveTools();
  FWindow.reset();  // WM_NCDESTROY unbinds the window
}

LRESULT TWin32Peer::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The last message goes to the window's own procedure alone, as does
  // every message once the model may be going.
  if (message == WM_NCDESTROY || !FAlive) return CallDefault(window, message, wParam, lParam);
  return WndProc(window, message, wParam, lParam);
}

void TWin32Peer::WindowGone(HWND window) noexcept {
  if (FWindow.get() == window) (void)FWindow.release();
}

LRESULT TWin32Peer::CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  if (FOldProc) return ::CallWindowProcA(FOldProc, window, message, wParam, lParam);
  return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TWin32Peer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The mouse is over the form: its hints' tooltip is wanted now.
  if (message == WM_SETCURSOR)
    if (TWin32FormPeer* form = FormPeer(); form && !form->ExistingToolTip()) form->ToolTip();
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
  const TRect b = ScaledBounds();
  ::MoveWindow(Window(), b.Left, b.Top, b.Width, b.Height, TRUE);
}

TRect TWin32Peer::ScaledBounds() const { return ScaleRect(FModel.Bounds(), Dpi()); }

int TWin32Peer::Dpi() const {
  const TWin32FormPeer* form = FormPeer();
  return form ? form->FormDpi() : SystemDpi();
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
    if (!form || form == this || !form->ExistingToolTip()) return;
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
  constexpr UINT kOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  const auto& controls = parent->Controls();
  const auto self = std::find(controls.begin(), controls.end(), &FModel);
  // Made after every sibling that has a window, as a form's controls are:
  // the new window is the lowest, and one move takes it to its place, on
  // top of all (a windowed control) or just below the lowest windowed
  // sibling (a graphic one). Nothing else moves.
  if (self != controls.end() &&
      std::none_of(self + 1, controls.end(), [](const TControl* c) { return c->Handle(); }) &&
      ::GetWindow(Window(), GW_HWNDNEXT) == nullptr) {
    HWND after = HWND_TOP;
    if (IsGraphic(&FModel)) {
      const auto lowest = std::find_if(
          controls.begin(), self, [](const TControl* c) { return !IsGraphic(c) && c->Handle(); });
      if (lowest != self) after = ToHwnd((*lowest)->Handle());
    }
    ::SetWindowPos(Window(), after, 0, 0, 0, 0, kOrderOnly);
    return;
  }
  HWND after = HWND_TOP;
  auto place = [&](const TControl* control) {
    HWND window = control == &FModel ? Window() : ToHwnd(control->Handle());
    if (!window) return;
    // Each move is a round of messages to the window; with every new control
    // restacking its siblings, moving only those out of place keeps the
    // form's creation from growing with the square of its controls.
    const HWND above = ::GetWindow(window, GW_HWNDPREV);
    if (after == HWND_TOP ? above != nullptr : above != after)
      ::SetWindowPos(window, after, 0, 0, 0, 0, kOrderOnly);
    after = window;
  };
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (!IsGraphic(*it)) place(*it);
  for (auto it = controls.rbegin(); it != controls.rend(); ++it)
    if (IsGraphic(*it)) place(*it);
}

}  // namespace platform::win32
