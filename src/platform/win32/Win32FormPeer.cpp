#include "platform/win32/Win32FormPeer.h"

#include <commctrl.h>

#include "platform/Application.h"
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

BOOL CALLBACK SetFontOnChild(HWND window, LPARAM font) {
  if (TWin32Peer::FromWindow(window))
    ::SendMessageA(window, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

}  // namespace

TWin32FormPeer::TWin32FormPeer(TForm& form) : TWin32Peer(form), FForm(form) {
  EnsureClasses();
  CreateFormFont();

  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (form.MinimizeBox) style |= WS_MINIMIZEBOX;
  if (form.MaximizeBox) style |= WS_MAXIMIZEBOX;
  if (form.Sizeable && !form.Dialog) style |= WS_THICKFRAME;
  if (!form.Enabled()) style |= WS_DISABLED;
  const DWORD exStyle = form.Dialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : 0;
  HWND owner = Application ? ToHwnd(Application->Handle()) : nullptr;
  const TRect& b = form.Bounds();
  int width = b.Width, height = b.Height;
  if (form.ClientWidth() > 0 && form.ClientHeight() > 0) {
    // The frame and caption differ between systems and themes.
    RECT outer{0, 0, form.ClientWidth(), form.ClientHeight()};
    if (::AdjustWindowRectEx(&outer, style, FALSE, exStyle)) {
      width = outer.right - outer.left;
      height = outer.bottom - outer.top;
    }
  }
  HWND window =
      ::CreateWindowExA(exStyle, ClassName(TWindowClass::Form), form.Caption().c_str(), style,
                        b.Left, b.Top, width, height, owner, nullptr, Instance(), nullptr);
  if (!window) throw Exception("Error creating window");
  Attach(window, false);
  if (form.Dialog) ::SetPropA(window, kDialogKeysProperty, reinterpret_cast<HANDLE>(1));
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), 0);
  LoadIcons();
  if (form.ClientWidth() > 0) SyncBounds();  // the model learns the outer size

  FToolTip.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                   Instance(), nullptr));
  if (form.Visible()) ApplyVisible();
}

TWin32FormPeer::~TWin32FormPeer() {
  EnableOtherWindows();
  FToolTip.reset();
  // The window goes before the font and icons it uses.
  DestroyNow();
}

void TWin32FormPeer::CreateFormFont() {
  int pixelsPerInch = 96;
  {
    TWindowDc screen;
    if (screen.Dc()) pixelsPerInch = ::GetDeviceCaps(screen.Dc(), LOGPIXELSY);
  }
  FFont.reset(::CreateFontA(-::MulDiv(FForm.FontSize, pixelsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE,
                            FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, FForm.FontName.c_str()));
}

void TWin32FormPeer::LoadIcons() {
  // Without an icon file of its own a form shows the program's icon, when
  // the executable carries one.
  auto load = [this](int width, int height) {
    if (FForm.IconFile.empty())
      return static_cast<HICON>(
          ::LoadImageA(Instance(), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, width, height, 0));
    const std::string path = BesideProgram(FForm.IconFile);
    if (!FileExists(path)) return HICON{};
    return static_cast<HICON>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_ICON, width, height, LR_LOADFROMFILE));
  };
  FBigIcon.reset(load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)));
  FSmallIcon.reset(load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)));
  if (FBigIcon)
    ::SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FBigIcon.get()));
  if (FSmallIcon)
    ::SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FSmallIcon.get()));
}

bool TWin32FormPeer::IsMainForm() const { return Application && Application->MainForm() == &FForm; }

void TWin32FormPeer::Changed(TChange what) {
  if (what == TChange::Font && Window()) {
    TGdiObject old = std::move(FFont);
    CreateFormFont();
    ::SendMessageA(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), TRUE);
    ::EnumChildWindows(Window(), SetFontOnChild, reinterpret_cast<LPARAM>(FFont.get()));
    return;  // `old` goes only now that nobody uses it
  }
  TWin32Peer::Changed(what);
}

void TWin32FormPeer::ApplyBounds() {
  if (FSyncing) return;
  TWin32Peer::ApplyBounds();
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
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT r;
    ::GetWindowRect(window, &r);
    ::SetWindowPos(window, nullptr, area.left + (area.right - area.left - (r.right - r.left)) / 2,
                   area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::ShowWindow(window, ::IsIconic(window) ? SW_RESTORE : SW_SHOW);
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
  TRect now{r.left, r.top, r.right - r.left, r.bottom - r.top};
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
        // even while the window is minimised.
        const TRect& b = FForm.Bounds();
        if (pos->cx != b.Width || pos->cy != b.Height) {
          int width = pos->cx, height = pos->cy;
          if (FForm.CanResize(width, height)) {
            pos->cx = width;
            pos->cy = height;
          } else {
            pos->cx = b.Width;
            pos->cy = b.Height;
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
