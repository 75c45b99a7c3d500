// The notification area of Wine's taskbar and the pop-up menus of the
// program's tray icons, worked from outside (see MorvelProcess.h).
#include <algorithm>

#include "MorvelProcess.h"

namespace e2e {

namespace {

// Wine's taskbar keeps a border of 2 pixels around each small icon.
constexpr int KIconBorder = 2;
// More slots than any scenario fills, few enough to capture in one go.
constexpr int KSlotsLooked = 12;

SIZE TraySlotSize() {
  return {GetSystemMetrics(SM_CXSMICON) + 2 * KIconBorder,
          GetSystemMetrics(SM_CYSMICON) + 2 * KIconBorder};
}

}  // namespace

HWND TaskbarWindow() { return FindWindowA("Shell_TrayWnd", nullptr); }

int TrayIconCount() {
  HWND Taskbar = TaskbarWindow();
  RECT Client{};
  if (!Taskbar || !IsWindowVisible(Taskbar) || !GetClientRect(Taskbar, &Client)) return -1;
  const SIZE Slot = TraySlotSize();
  const int Width = std::min<int>(Slot.cx * KSlotsLooked, Client.right);
  const int Height = std::min<int>(Slot.cy, Client.bottom);
  // The icons are drawn centred in the bar's height.
  POINT Origin{Client.right - Width, (Client.bottom - Height) / 2};
  ClientToScreen(Taskbar, &Origin);

  HDC Screen = GetDC(nullptr);
  if (!Screen) return -1;
  BITMAPINFO Info = TopDownBitmapInfo(Width, Height, 32);
  void* Bits = nullptr;
  HBITMAP Picture = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HDC Memory = CreateCompatibleDC(Screen);
  bool Copied = false;
  if (Picture && Memory) {
    HGDIOBJ Old = SelectObject(Memory, Picture);
    Copied = BitBlt(Memory, 0, 0, Width, Height, Screen, Origin.x, Origin.y, SRCCOPY) != FALSE;
    SelectObject(Memory, Old);
  }
  int Count = Copied ? 0 : -1;
  if (Copied) {
    const auto* Pixels = static_cast<const DWORD*>(Bits);
    // An empty slot is one flat colour; any icon has an edge.
    const auto Occupied = [&](int Index) {
      const int Right = Width - Slot.cx * Index;
      const DWORD First = Pixels[Right - 1] & 0xFFFFFF;
      for (int Y = 0; Y < Height; ++Y)
        for (int X = std::max<int>(0, Right - Slot.cx); X < Right; ++X)
          if ((Pixels[Y * Width + X] & 0xFFFFFF) != First) return true;
      return false;
    };
    while (Count < Width / Slot.cx && Occupied(Count)) ++Count;
  }
  if (Memory) DeleteDC(Memory);
  if (Picture) DeleteObject(Picture);
  ReleaseDC(nullptr, Screen);
  return Count;
}

COLORREF TrayIconColour(int Slot) {
  HWND Taskbar = TaskbarWindow();
  RECT Client{};
  if (!Taskbar || !GetClientRect(Taskbar, &Client)) return CLR_INVALID;
  const SIZE Size = TraySlotSize();
  // The icons are drawn centred in the bar's height.
  POINT Centre{Client.right - Size.cx * Slot - Size.cx / 2, Client.bottom / 2};
  ClientToScreen(Taskbar, &Centre);
  HDC Screen = GetDC(nullptr);
  const COLORREF Colour = Screen ? GetPixel(Screen, Centre.x, Centre.y) : CLR_INVALID;
  if (Screen) ReleaseDC(nullptr, Screen);
  return Colour;
}

bool PostToTrayIcon(int Slot, std::initializer_list<UINT> Messages) {
  HWND Taskbar = TaskbarWindow();
  RECT Client{};
  if (!Taskbar || !GetClientRect(Taskbar, &Client)) return false;
  const SIZE Size = TraySlotSize();
  // Wine looks for the icon in the top icon height of the bar, however tall
  // the bar is.
  const LPARAM Where = MAKELPARAM(Client.right - Size.cx * Slot - Size.cx / 2, Size.cy / 2);
  for (UINT Message : Messages) {
    WPARAM Keys = 0;
    if (Message == WM_LBUTTONDOWN || Message == WM_LBUTTONDBLCLK)
      Keys = MK_LBUTTON;
    else if (Message == WM_RBUTTONDOWN || Message == WM_RBUTTONDBLCLK)
      Keys = MK_RBUTTON;
    if (!PostMessageA(Taskbar, Message, Keys, Where)) return false;
  }
  return true;
}

HWND FindMenuOf(DWORD ProcessId) {
  for (HWND Wnd : TopWindowsOf(ProcessId))
    if (ClassOf(Wnd) == "#32768" && IsWindowVisible(Wnd)) return Wnd;
  return nullptr;
}

void DismissMenu(HWND Menu) { PostMessageA(Menu, WM_KEYDOWN, VK_ESCAPE, 0); }

void ChooseMenuItem(HWND Menu, int Index) {
  for (int I = 0; I <= Index; ++I) PostMessageA(Menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(Menu, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace e2e
