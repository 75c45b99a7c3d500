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
  if (form.Sizeable) style |= WS_THICKFRAME;
  if (!form.Enabled()) style |= WS_DISABLED;
  HWND owner = Application ? ToHwnd(Application->Handle()) : nullptr;
  const TRect& b = form.Bounds();
  HWND window =
      ::CreateWindowExA(0, ClassName(TWindowClass::Form), form.Caption().c_str(), style, b.Left,
                        b.Top, b.Width, b.Height, owner, nullptr, Instance(), nullptr);
  if (!window) throw Exception("Error creating window");
  Attach(window, false);
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.get()), 0);
  LoadIcons();

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
    default:
      break;
  }
  return TWin32Peer::WndProc(window, message, wParam, lParam);
}

}  // namespace platform::win32
