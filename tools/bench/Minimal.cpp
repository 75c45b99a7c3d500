// The yardstick of the start-up benchmark: the least a Win32 program does
// to show one window and one notification-area icon.
#include <windows.h>
#include <shellapi.h>

#include "platform/StartupTrace.h"

namespace {

constexpr UINT KCallback = WM_APP + 1;

LRESULT CALLBACK WindowProc(HWND Wnd, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(Wnd, Message, WParam, LParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE Instance, HINSTANCE, LPSTR, int Show) {
  STARTUP_MARK("WinMain");
  WNDCLASSA Class{};
  Class.lpfnWndProc = WindowProc;
  Class.hInstance = Instance;
  Class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  Class.lpszClassName = "MinimalWindow";
  RegisterClassA(&Class);
  HWND Wnd = CreateWindowA("MinimalWindow", "Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 400, 300, nullptr, nullptr, Instance, nullptr);
  if (!Wnd) return 1;
  STARTUP_MARK("window made");

  NOTIFYICONDATAA Icon{};
  Icon.cbSize = sizeof Icon;
  Icon.hWnd = Wnd;
  Icon.uID = 1;
  Icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  Icon.uCallbackMessage = KCallback;
  Icon.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynA(Icon.szTip, "Minimal", sizeof Icon.szTip);
  Shell_NotifyIconA(NIM_ADD, &Icon);
  STARTUP_MARK("tray icon added");

  ShowWindow(Wnd, Show);
  UpdateWindow(Wnd);
  STARTUP_MARK("window shown");
  MSG Message;
  while (GetMessageA(&Message, nullptr, 0, 0) > 0) {
    TranslateMessage(&Message);
    DispatchMessageA(&Message);
  }
  Shell_NotifyIconA(NIM_DELETE, &Icon);
  return 0;
}
