// The peer of a pop-up menu: a native menu built from the model's items each
// time the menu opens.
#include "platform/win32/Win32MenuPeer.h"

#include "platform/win32/Win32Dpi.h"
#include "platform/win32/Win32Paths.h"

namespace platform::win32 {

namespace {

// Command ids are the item's index plus one: TrackPopupMenu answers 0 when
// nothing was chosen.
UINT CommandOf(std::size_t index) { return static_cast<UINT>(index + 1); }

}  // namespace

TWin32MenuPeer::TWin32MenuPeer(TPopupMenu& menu) {
  FMenu.reset(::CreatePopupMenu());
  if (!FMenu) throw Exception("Error creating menu");
  const auto& items = menu.Items();
  FCount = static_cast<int>(items.size());
  FPictures.reserve(items.size());
  // The item a double click on a tray icon would choose is the one shown
  // in bold.
  const TMenuItem* defaultItem = menu.DefaultItem();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TMenuItem& item = *items[i];
    if (item.IsSeparator()) {
      ::AppendMenuA(FMenu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT id = CommandOf(i);
    ::AppendMenuA(FMenu.get(), MF_STRING | (item.Enabled ? MF_ENABLED : MF_GRAYED), id,
                  item.Caption.c_str());
    if (&item == defaultItem) ::SetMenuDefaultItem(FMenu.get(), id, FALSE);
    if (!item.Picture.empty()) AddPicture(id, item.Picture);
  }
}

void TWin32MenuPeer::AddPicture(UINT id, const std::string& file) {
  // Item bitmaps of their own came only with Windows 98 and 2000; check-mark
  // bitmaps show beside the caption on every Windows, at the check mark's
  // size. The tray's menu opens where the taskbar is, at the system's DPI;
  // the icon file holds an image near that size.
  const int dpi = SystemDpi();
  const int width = MetricForDpi(SM_CXMENUCHECK, dpi);
  const int height = MetricForDpi(SM_CYMENUCHECK, dpi);
  TIconHandle icon(static_cast<HICON>(::LoadImageA(nullptr, BesideProgram(file).c_str(), IMAGE_ICON,
                                                   width, height, LR_LOADFROMFILE)));
  if (!icon) return;

  TWindowDc screen;
  if (!screen.Dc()) return;
  TMemoryDc dc(::CreateCompatibleDC(screen.Dc()));
  TGdiObject bitmap(::CreateCompatibleBitmap(screen.Dc(), width, height));
  if (!dc || !bitmap) return;
  {
    // The menu puts the bitmap on as it is, so the icon's transparent parts
    // get the menu's colour here.
    TSelectScope select(dc.get(), bitmap.get());
    RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, ::GetSysColorBrush(COLOR_MENU));
    ::DrawIconEx(dc.get(), 0, 0, icon.get(), width, height, 0, nullptr, DI_NORMAL);
  }
  auto* picture = static_cast<HBITMAP>(bitmap.get());
  if (::SetMenuItemBitmaps(FMenu.get(), id, MF_BYCOMMAND, picture, picture))
    FPictures.push_back(std::move(bitmap));
}

int TWin32MenuPeer::Track(int x, int y, THandle owner) {
  HWND ownerWindow = ToHwnd(owner);
  const int command = static_cast<int>(::TrackPopupMenu(
      FMenu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, ownerWindow, nullptr));
  // A menu opened for a window in the background (a tray icon's) only closes
  // properly next time if that window gets a message once this one is over.
  if (ownerWindow) ::PostMessageA(ownerWindow, WM_NULL, 0, 0);
  return command >= 1 && command <= FCount ? command - 1 : -1;
}

}  // namespace platform::win32
