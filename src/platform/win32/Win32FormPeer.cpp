#include "platform/win32/Win32FormPeer.h"

#include <commctrl.h>

#include <vector>

#include "platform/Application.h"
#include "platform/Scale.h"
#include "platform/StartupTrace.h"
#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Paths.h"

namespace platform::win32 {

namespace {

struct TEnumContext {
  HWND Self;
  HWND AppWindow;
  std::vector<HWND>* Found;
};

BOOL CALLBACK CollectEnabledWindows(HWND window, LPARAM lParam) {
  auto* context = reinterpret_cast<TEnumContext*>(lParam);
  if (window == context->Self || !::IsWindowEnabled(window)) return TRUE;
  bool ours = window == context->AppWindow ||
              dynamic_cast<TWin32FormPeer*>(TWin32Peer::FromWindow(window)) != nullptr;
  if (ours && (::IsWindowVisible(window) || window == context->AppWindow))
    context->Found->push_back(window);
  return TRUE;
}

// The default push button among a dialog form's controls.
BOOL CALLBACK FindDefaultButton(HWND window, LPARAM found) {
  const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
  char name[16] = "";
  ::GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, "Button") == 0 && (style & 0x0F) == BS_DEFPUSHBUTTON &&
      ::IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The program's icon at one size, from the executable's resources: loaded
// once and shared by every form that shows it, for the rest of the run;
// nullptr when the resources carry none.
HICON ProgramIcon(int width, int height) {
  struct TLoaded {
    int Width, Height;
    TIconHandle Icon;
  };
  static std::vector<TLoaded> loaded;  // a few: two sizes for each DPI met
  for (const TLoaded& l : loaded)
    if (l.Width == width && l.Height == height) return static_cast<HICON>(l.Icon.get());
  HICON icon = static_cast<HICON>(
      ::LoadImageA(Instance(), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, width, height, 0));
  loaded.push_back({width, height, TIconHandle(icon)});
  return icon;
}

BOOL CALLBACK SetFontOnChild(HWND window, LPARAM font) {
  if (TWin32Peer::FromWindow(window))
    ::SendMessageA(window, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

}  // namespace

TWin32FormPeer::TWin32FormPeer(TForm& form) : TWin32Peer(form), FForm(form), FDpi(SystemDpi()) {
  CreateFormFont();

  FStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (form.MinimizeBox) FStyle |= WS_MINIMIZEBOX;
  if (form.MaximizeBox) FStyle |= WS_MAXIMIZEBOX;
  if (form.Sizeable && !form.Dialog) FStyle |= WS_THICKFRAME;
  if (!form.Enabled()) FStyle |= WS_DISABLED;
  FExStyle = form.Dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : 0;
  HWND owner = Application ? ToHwnd(Application->Handle()) : nullptr;
  const TRect& b = form.Bounds();
  const SIZE outer = OuterSize();
  HWND window =
      ::CreateWindowExA(FExStyle, ClassName(TWindowClass::Form), form.Caption().c_str(), FStyle,
                        b.Left, b.Top, outer.cx, outer.cy, owner, nullptr, Instance(), nullptr);
  if (!window) throw Exception("Error creating window");
  Attach(window, false);
  // Made at the system's DPI; the monitor it landed on may have another.
  if (const int dpi = WindowDpi(window); dpi != FDpi) {
    FDpi = dpi;
    CreateFormFont();
    const SIZE size = OuterSize();
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  KeepOnWorkArea();
  if (form.Dialog) ::SetPropA(window, kDialogKeysProperty, reinterpret_cast<HANDLE>(1));
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), 0);
  if (form.ClientWidth() > 0) SyncBounds();  // the model learns the outer size
  if (form.Visible()) ApplyVisible();
}

void TWin32FormPeer::ForEachChildPeer(const std::function<void(TWin32Peer&)>& act) const {
  std::vector<TControl*> pending(FForm.Controls().begin(), FForm.Controls().end());
  for (std::size_t i = 0; i < pending.size(); ++i) {
    if (auto* peer = dynamic_cast<TWin32Peer*>(pending[i]->Peer())) act(*peer);
    if (auto* parent = dynamic_cast<TWinControl*>(pending[i]))
      pending.insert(pending.end(), parent->Controls().begin(), parent->Controls().end());
  }
}

HWND TWin32FormPeer::ToolTip() {
  // Made when the mouse first comes over the form (or when asked for), not
  // with the form: hints are for the mouse, and a window shows sooner
  // without a tooltip and its tools to make first.
  if (FToolTip || !Window()) return FToolTip.get();
  EnsureCommonControls();
  FToolTip.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Window(), nullptr,
                                   Instance(), nullptr));
  // The hints given so far become tools.
  ForEachChildPeer([](TWin32Peer& peer) { peer.ApplyHint(); });
  return FToolTip.get();
}

TWin32FormPeer::~TWin32FormPeer() {
  EnableOtherWindows();
  FToolTip.reset();
  // The window goes before the font and icons it uses.
  DestroyNow();
}

void TWin32FormPeer::CreateFormFont() {
  FFont.reset(::CreateFontA(FontHeightForPoints(FForm.FontSize, FDpi), 0, 0, 0, FW_NORMAL, FALSE,
                            FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FForm.FontName.c_str()));
}

void TWin32FormPeer::ReplaceFont() {
  TGdiObject old = std::move(FFont);
  CreateFormFont();
  ::SendMessageA(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), TRUE);
  ::EnumChildWindows(Window(), SetFontOnChild, reinterpret_cast<LPARAM>(FFont.get()));
  // `old` goes only now that nobody uses it
}

SIZE TWin32FormPeer::FrameSize(int dpi) const {
  RECT r{0, 0, 0, 0};
  if (!AdjustRectForDpi(r, FStyle, FExStyle, dpi)) return {0, 0};
  return {r.right - r.left, r.bottom - r.top};
}

SIZE TWin32FormPeer::DesignedClient() const {
  if (FForm.ClientWidth() > 0 && FForm.ClientHeight() > 0)
    return {FForm.ClientWidth(), FForm.ClientHeight()};
  // The frame and caption differ between systems and themes: the outer
  // size is taken as designed on this system at 96 DPI.
  const SIZE frame = FrameSize(kDesignDpi);
  const TRect& b = FForm.Bounds();
  return {b.Width - frame.cx, b.Height - frame.cy};
}

SIZE TWin32FormPeer::OuterSize() const {
  const SIZE client = DesignedClient();
  const SIZE frame = FrameSize(FDpi);
  return {ScaleValue(client.cx, FDpi) + frame.cx, ScaleValue(client.cy, FDpi) + frame.cy};
}

SIZE TWin32FormPeer::DesignedOuter(int width, int height) const {
  const SIZE frame = FrameSize(FDpi), designFrame = FrameSize(kDesignDpi);
  return {UnscaleValue(width - frame.cx, FDpi) + designFrame.cx,
          UnscaleValue(height - frame.cy, FDpi) + designFrame.cy};
}

void TWin32FormPeer::KeepOnWorkArea() {
  // The designed place suits the designed size: a window scaled up from it
  // may reach past the edge of its monitor's work area, or be larger than
  // it, and is moved back in so that its title bar can be reached.
  RECT r;
  if (!::GetWindowRect(Window(), &r)) return;
  const RECT a = WorkAreaOf(Window());
  const TRect placed = KeepInside({r.left, r.top, r.right - r.left, r.bottom - r.top},
                                  {a.left, a.top, a.right - a.left, a.bottom - a.top});
  if (placed.Left != r.left || placed.Top != r.top)
    ::SetWindowPos(Window(), nullptr, placed.Left, placed.Top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32FormPeer::ChangeDpi(int dpi, const RECT& suggested) {
  FDpi = ValidDpi(dpi);
  ReplaceFont();
  if (FIconsLoaded) LoadIcons();
  // Our own size at the new DPI, where the system suggests: its rectangle
  // is the old one scaled, which would carry the old rounding along.
  const SIZE size = OuterSize();
  ::SetWindowPos(Window(), nullptr, suggested.left, suggested.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // Parents before their children: a page control places its sheets.
  ForEachChildPeer([](TWin32Peer& peer) { peer.ScaleChanged(); });
  DockStatusBars();
  ::InvalidateRect(Window(), nullptr, TRUE);
}

void TWin32FormPeer::LoadIcons() {
  FIconsLoaded = true;
  if (HICON big = ProgramIcon(MetricForDpi(SM_CXICON, FDpi), MetricForDpi(SM_CYICON, FDpi)))
    ::SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (HICON little = ProgramIcon(MetricForDpi(SM_CXSMICON, FDpi), MetricForDpi(SM_CYSMICON, FDpi)))
    ::SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little));
}

bool TWin32FormPeer::IsMainForm() const { return Application && Application->MainForm() == &FForm; }

void TWin32FormPeer::Changed(TChange what) {
  if (what == TChange::Font && Window()) {
    ReplaceFont();
    return;
  }
  TWin32Peer::Changed(what);
}

void TWin32FormPeer::ApplyBounds() {
  if (FSyncing) return;
  // The place is on the screen, in its pixels; the size is designed.
  const TRect& b = FForm.Bounds();
  const SIZE size = OuterSize();
  ::MoveWindow(Window(), b.Left, b.Top, size.cx, size.cy, TRUE);
  KeepOnWorkArea();
}

void TWin32FormPeer::ApplyVisible() {
  HWND window = Window();
  if (!FForm.Visible()) {
    // The owner comes back before the form hides, so that the activation
    // goes back to it and not to some other program.
    EnableOtherWindows();
    ::ShowWindow(window, SW_HIDE);
    return;
  }
  if (!FIconsLoaded) LoadIcons();
  if (FForm.Modal() && FDisabled.empty()) DisableOtherWindows();
  if (FForm.WindowState() == TWindowState::Minimized) {
    if (IsMainForm()) {
      ::ShowWindow(window, SW_SHOWNOACTIVATE);
      Application->Minimize();
    } else {
      ::ShowWindow(window, SW_SHOWMINNOACTIVE);
    }
    return;
  }
  if (IsMainForm() && Application->Handle() && ::IsIconic(ToHwnd(Application->Handle())))
    Application->Restore();
  if (FForm.ScreenCenter && !::IsWindowVisible(window)) {
    const RECT area = WorkAreaOf(window);
    RECT r;
    ::GetWindowRect(window, &r);
    ::SetWindowPos(window, nullptr, area.left + (area.right - area.left - (r.right - r.left)) / 2,
                   area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Centred, a window taller or wider than the area would start above or
    // left of it.
    KeepOnWorkArea();
  }
  STARTUP_MARK("form: windows made, to be shown");
  const bool appearing = !::IsWindowVisible(window);
  ::ShowWindow(window, ::IsIconic(window) ? SW_RESTORE : SW_SHOW);
  // The controls are drawn now, all in one pass, rather than each when the
  // message loop comes to it: the window appears whole, not as a frame that
  // fills in while the start-up goes on.
  if (appearing) ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  STARTUP_MARK("form: shown");
  ::SetForegroundWindow(window);
}

void TWin32FormPeer::DisableOtherWindows() {
  std::vector<HWND> found;
  TEnumContext context{Window(), Application ? ToHwnd(Application->Handle()) : nullptr, &found};
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindows,
                      reinterpret_cast<LPARAM>(&context));
  for (HWND window : found) ::EnableWindow(window, FALSE);
  FDisabled = std::move(found);
}

void TWin32FormPeer::EnableOtherWindows() {
  for (HWND window : FDisabled)
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  FDisabled.clear();
}

void TWin32FormPeer::DockStatusBars() {
  // A status bar places itself at the bottom of its parent when told the
  // parent's size changed.
  for (TControl* child : FForm.Controls())
    if (dynamic_cast<TStatusBar*>(child) && child->Handle())
      ::SendMessageA(ToHwnd(child->Handle()), WM_SIZE, 0, 0);
}

void TWin32FormPeer::SyncBounds() {
  HWND window = Window();
  if (FSyncing || !window || ::IsIconic(window) || ::IsZoomed(window)) return;
  RECT r;
  if (!::GetWindowRect(window, &r)) return;
  const TRect& b = FForm.Bounds();
  const SIZE designed = DesignedOuter(r.right - r.left, r.bottom - r.top);
  TRect now{r.left, r.top, designed.cx, designed.cy};
  if (now.Left == b.Left && now.Top == b.Top && now.Width == b.Width && now.Height == b.Height)
    return;
  TFlagScope syncing(FSyncing);
  FForm.SetBounds(now.Left, now.Top, now.Width, now.Height);
}

LRESULT TWin32FormPeer::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      FForm.UserClose();  // the model decides; the window is never destroyed here
      return 0;
    case WM_SYSCOMMAND:
      if (FForm.WMSysCommand(static_cast<unsigned>(wParam))) return 0;
      if ((wParam & 0xFFF0) == SC_MINIMIZE && IsMainForm()) {
        // The application window minimises; the owned form hides with it.
        Application->Minimize();
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return FForm.WMQueryEndSession() ? TRUE : FALSE;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!(pos->flags & SWP_NOSIZE) && !::IsIconic(window) && !FSyncing) {
        // Compared with the model's size, which holds the last normal size
        // even while the window is minimised. The form decides in designed
        // pixels.
        const SIZE now = OuterSize();
        if (pos->cx != now.cx || pos->cy != now.cy) {
          const SIZE asked = DesignedOuter(pos->cx, pos->cy);
          int width = asked.cx, height = asked.cy;
          if (FForm.CanResize(width, height)) {
            const SIZE frame = FrameSize(FDpi), designFrame = FrameSize(kDesignDpi);
            pos->cx = ScaleValue(width - designFrame.cx, FDpi) + frame.cx;
            pos->cy = ScaleValue(height - designFrame.cy, FDpi) + frame.cy;
          } else {
            pos->cx = now.cx;
            pos->cy = now.cy;
          }
        }
      }
      break;
    }
    case WM_WINDOWPOSCHANGED:
      SyncBounds();
      break;
    case WM_SIZE:
      DockStatusBars();
      break;
    case kWmDpiChanged:
      ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ERASEBKGND:
      if (FForm.Color != clBtnFace) {
        RECT client;
        ::GetClientRect(window, &client);
        TGdiObject brush(::CreateSolidBrush(ToColorRef(FForm.Color)));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush.get()));
        return 1;
      }
      break;
    case DM_GETDEFID:
      if (FForm.Dialog) {
        HWND button = nullptr;
        ::EnumChildWindows(window, FindDefaultButton, reinterpret_cast<LPARAM>(&button));
        if (button) return MAKELRESULT(::GetDlgCtrlID(button), DC_HASDEFID);
      }
      break;
    case WM_SETFOCUS:
      // As a dialog box does: the focus goes on to the first control.
      if (FForm.Dialog) {
        if (HWND first = ::GetNextDlgTabItem(window, nullptr, FALSE)) {
          ::SetFocus(first);
          return 0;
        }
      }
      break;
    default:
      break;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

}  // namespace platform::win32
