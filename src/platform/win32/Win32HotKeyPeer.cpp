#include "platform/win32/Win32HotKeyPeer.h"

#include <commctrl.h>

namespace platform::win32 {

TWin32HotKeyPeer::TWin32HotKeyPeer(THotKey& hotKey) : TWin32Peer(hotKey), FHotKey(hotKey) {
  FCaptionIsText = false;
  // The class is registered with the other common controls (ICC_WIN95_CLASSES).
  TCreateParams p = ChildParams(hotKey, HOTKEY_CLASSA, WS_TABSTOP, WS_EX_CLIENTEDGE);
  p.Text.clear();
  CreateChild(p);
  ShowValue();
}

void TWin32HotKeyPeer::ShowValue() {
  TFlagScope updating(FUpdating);
  ::SendMessageA(Window(), HKM_SETHOTKEY, FHotKey.Value(), 0);
}

void TWin32HotKeyPeer::Changed(TChange what) {
  if (what == TChange::Text && Window()) {
    ShowValue();
    return;
  }
  TWin32Peer::Changed(what);
}

bool TWin32HotKeyPeer::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE) return false;
  if (!FUpdating)
    FHotKey.UserChanged(static_cast<std::uint16_t>(::SendMessageA(Window(), HKM_GETHOTKEY, 0, 0)));
  result = 0;
  return true;
}

}  // namespace platform::win32
