// The peer of the hot-key field: the system's hot-key control.
#pragma once

#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

class TWin32HotKeyPeer final : public TWin32Peer {
 public:
  explicit TWin32HotKeyPeer(THotKey& hotKey);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void ShowValue();
  THotKey& FHotKey;
};

}  // namespace platform::win32
