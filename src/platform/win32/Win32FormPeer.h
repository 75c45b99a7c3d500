// The peer of a form: a top-level window owned by the application window,
// so that only the application window carries a taskbar button.
#pragma once

#include <functional>
#include <vector>

#include "platform/Forms.h"
#include "platform/win32/Win32Peer.h"

namespace platform::win32 {

// Owns the form font and the tooltip window its controls share.
class TWin32FormPeer final : public TWin32Peer {
 public:
  explicit TWin32FormPeer(TForm& form);
  ~TWin32FormPeer() override;

  HFONT FormFontHandle() const { return static_cast<HFONT>(FFont.get()); }
  // The hints' tooltip window, made when first asked for, with a tool for
  // each hint given so far.
  HWND ToolTip();
  HWND ExistingToolTip() const { return FToolTip.get(); }
  // The DPI of the monitor the window is on, as the system last told it.
  int FormDpi() const { return FDpi; }
  void Changed(TChange what) override;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyBounds() override;
  void ApplyVisible() override;

 private:
  // Each control's peer, parents before their children.
  void ForEachChildPeer(const std::function<void(TWin32Peer&)>& act) const;
  void CreateFormFont();
  void ReplaceFont();
  // Sets the window's icons at the form's DPI, the first time when the
  // window first shows: a form that stays hidden loads none.
  void LoadIcons();
  // The frame around the client area at a DPI.
  SIZE FrameSize(int dpi) const;
  // The designed client size: the form's own, or its outer size without the
  // frame it would have at 96 DPI.
  SIZE DesignedClient() const;
  // The window's outer size at the form's DPI.
  SIZE OuterSize() const;
  // The window's outer size in designed pixels, from its real one.
  SIZE DesignedOuter(int width, int height) const;
  void ChangeDpi(int dpi, const RECT& suggested);
  void KeepOnWorkArea();
  void DockStatusBars();
  void DisableOtherWindows();
  void EnableOtherWindows();
  void SyncBounds();
  bool IsMainForm() const;

  TForm& FForm;
  DWORD FStyle = 0, FExStyle = 0;
  int FDpi;
  TGdiObject FFont;
  bool FIconsLoaded = false;
  TWindowHandle FToolTip;
  std::vector<HWND> FDisabled;  // windows a modal showing disabled
  bool FSyncing = false;
};

}  // namespace platform::win32
