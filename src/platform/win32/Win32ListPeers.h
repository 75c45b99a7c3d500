// The check list's peer.
#pragma once

#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

// An owner-drawn list box with a check box before each item.
class TWin32CheckListPeer final : public TWin32Peer {
 public:
  explicit TWin32CheckListPeer(TCheckListBox& list);
  // Width of the check box column at the left of each item.
  int CheckWidth() const;

  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void ScaleChanged() override;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FillItems();
  int ItemHeight() const;
  void DrawItem(const DRAWITEMSTRUCT& item) const;

  TCheckListBox& FList;
};

}  // namespace platform::win32
