// Peers of the controls that hold others: plain containers, panels, the page
// control and its sheets.
#pragma once

#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

// Panels and tab sheets: windows of our own that hold other controls.
class TWin32ContainerPeer : public TWin32Peer {
 public:
  explicit TWin32ContainerPeer(TWinControl& model);
  TWin32ContainerPeer(TWinControl& model, const TCreateParams& params);

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void Paint(HDC dc, const RECT& client) {}
};

class TWin32PanelPeer final : public TWin32ContainerPeer {
 public:
  explicit TWin32PanelPeer(TPanel& panel);
  void Changed(TChange what) override;

 protected:
  void Paint(HDC dc, const RECT& client) override;

 private:
  TPanel& FPanel;
};

class TWin32PageControlPeer;

class TWin32TabSheetPeer final : public TWin32ContainerPeer {
 public:
  TWin32TabSheetPeer(TTabSheet& sheet, TWin32PageControlPeer& pages);

 protected:
  void ApplyBounds() override;
  void ApplyVisible() override;

 private:
  static TCreateParams SheetParams(TTabSheet& sheet, TWin32PageControlPeer& pages);
  TWin32PageControlPeer* PagesPeer() const;
};

// The tab control: it places its sheets and shows the active one.
class TWin32PageControlPeer final : public TWin32Peer {
 public:
  explicit TWin32PageControlPeer(TPageControl& pages);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The display area of the tabs, in the tab control's client coordinates.
  RECT PageRect() const;
  void ShowActivePage();

 protected:
  void ApplyBounds() override;

 private:
  // The most of a sheet's caption its tab shows.
  static constexpr std::size_t kTabTextMax = 255;
  // Inserts (TCM_INSERTITEMA) or sets (TCM_SETITEMA) the tab of a sheet.
  void SendTabText(UINT message, std::size_t index, const TTabSheet& sheet);

  TPageControl& FPages;
};

}  // namespace platform::win32
