// The pop-up menu's peer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/win32/Handles.h"

namespace platform::win32 {

// A pop-up menu exists natively only while it is shown: the peer builds it
// from the model's items and owns it together with the item pictures.
class TWin32MenuPeer final : public TMenuPeer {
 public:
  explicit TWin32MenuPeer(TPopupMenu& menu);
  void Changed(TChange) override {}
  THandle Handle() const override { return ToHandle(FMenu.get()); }
  int Track(int x, int y, THandle owner) override;

 private:
  void AddPicture(UINT id, const std::string& file);

  int FCount = 0;
  std::vector<TGdiObject> FPictures;  // declared first, so they outlive the menu showing them
  TMenuHandle FMenu;
};

}  // namespace platform::win32
