// The native side of the control models: one peer per model, each owning
// the window that shows it. A peer copies model state into its window and
// turns window messages into the model's input methods; the rules stay in
// the models.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/win32/Handles.h"

namespace platform::win32 {

class TWin32FormPeer;

// Hands an exception that reached a window procedure to the application's
// error report; nothing may propagate into the system's code.
void ReportException(const std::exception& e) noexcept;
void ReportUnknownException() noexcept;

// Base of every control's peer. The peer pointer lives in a window property,
// so a message for any other window (a combo box's inner edit, a tooltip)
// never finds one.
class TWin32Peer : public TPeer {
 public:
  explicit TWin32Peer(TControl& model);
  ~TWin32Peer() override;
  TWin32Peer(const TWin32Peer&) = delete;
  TWin32Peer& operator=(const TWin32Peer&) = delete;

  THandle Handle() const override { return reinterpret_cast<THandle>(FWindow.get()); }
  HWND Window() const { return FWindow.get(); }
  void Changed(TChange what) override;

  // The peer that owns `window`, or nullptr when the window is not ours.
  static TWin32Peer* FromWindow(HWND window);

  // A notification the parent window received from this control (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*); true when handled.
  virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Entry from the window procedure; catches everything.
  LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  bool Alive() const { return FAlive; }

 protected:
  struct TCreateParams {
    const char* ClassName = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::string Text;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool OwnClass = false;  // one of ours: no subclassing needed
  };
  // The defaults for a child window at the model's bounds in its parent.
  static TCreateParams ChildParams(const TControl& model, const char* className, DWORD style,
                                   DWORD exStyle = 0);
  void CreateChild(const TCreateParams& params);
  // Takes ownership of a window created elsewhere (the form's).
  void Attach(HWND window, bool subclass);
  // Destroys the window now; the model is not called again. Derived peers
  // whose members the window uses (fonts, icons) call it first thing in
  // their destructor.
  void DestroyNow() noexcept;

  virtual LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  // Passes a child's notification on to the child's peer.
  bool ReflectToChild(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT& result) const;

  virtual void ApplyBounds();
  virtual void ApplyVisible();
  void ApplyHint();
  // Windows that show this control's tooltip: the control, and for a combo
  // box also its edit field.
  virtual std::vector<HWND> ToolWindows() const { return {Window()}; }

  TWin32FormPeer* FormPeer() const;
  HFONT FormFont() const;
  HFONT Font() const { return FFont; }

  TControl& FModel;
  bool FCaptionIsText = true;  // Caption changes go to the window text
  bool FUpdating = false;      // model state is being copied in: no events

 private:
  void Forget(HWND window) noexcept;
  void RemoveTools() noexcept;
  void Restack() const;

  TWindowHandle FWindow;
  WNDPROC FOldProc = nullptr;
  HFONT FFont = nullptr;  // set through WM_SETFONT on our own classes; not owned
  HWND FToolTip = nullptr;
  std::vector<HWND> FTools;
  bool FAlive = true;
};

class TWin32FormPeer final : public TWin32Peer {
 public:
  explicit TWin32FormPeer(TForm& form);
  ~TWin32FormPeer() override;
  void Changed(TChange what) override;

  HFONT FormFontHandle() const { return static_cast<HFONT>(FFont.get()); }
  HWND ToolTip() const { return FToolTip.get(); }

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void ApplyBounds() override;
  void ApplyVisible() override;

 private:
  void CreateFormFont();
  void LoadIcons();
  void DockStatusBars();
  void DisableOtherWindows();
  void EnableOtherWindows();
  void SyncBounds();
  bool IsMainForm() const;

  TForm& FForm;
  TGdiObject FFont;
  TIconHandle FBigIcon, FSmallIcon;
  TWindowHandle FToolTip;
  std::vector<HWND> FDisabled;  // windows a modal showing disabled
  bool FSyncing = false;
};

// Panels, tab sheets and any other plain container.
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
  void Changed(TChange what) override;

 protected:
  void ApplyBounds() override;
  void ApplyVisible() override;

 private:
  static TCreateParams SheetParams(TTabSheet& sheet, TWin32PageControlPeer& pages);
  TWin32PageControlPeer* PagesPeer() const;
};

class TWin32PageControlPeer final : public TWin32Peer {
 public:
  explicit TWin32PageControlPeer(TPageControl& pages);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The display area of the tabs, in the tab control's client coordinates.
  RECT PageRect() const;
  void ShowActivePage();
  void SheetCaptionChanged(const TTabSheet& sheet);

 protected:
  void ApplyBounds() override;

 private:
  TPageControl& FPages;
};

class TWin32ButtonPeer final : public TWin32Peer {
 public:
  explicit TWin32ButtonPeer(TButton& button);
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TButton& FButton;
};

class TWin32CheckBoxPeer final : public TWin32Peer {
 public:
  explicit TWin32CheckBoxPeer(TCheckBox& box);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TCheckBox& FBox;
};

class TWin32ComboBoxPeer final : public TWin32Peer {
 public:
  explicit TWin32ComboBoxPeer(TComboBox& combo);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  void ApplyBounds() override;
  std::vector<HWND> ToolWindows() const override;

 private:
  void FillItems();
  void ShowText();

  TComboBox& FCombo;
};

class TWin32EditPeer final : public TWin32Peer {
 public:
  explicit TWin32EditPeer(TEdit& edit);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  TEdit& FEdit;
};

class TWin32CheckListPeer final : public TWin32Peer {
 public:
  explicit TWin32CheckListPeer(TCheckListBox& list);
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // Width of the check box column at the left of each item.
  int CheckWidth() const;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FillItems();
  void DrawItem(const DRAWITEMSTRUCT& item) const;

  TCheckListBox& FList;
};

// Labels and bevels: plain static windows.
// A label: static text that measures itself for the model's AutoSize.
class TWin32LabelPeer final : public TWin32Peer {
 public:
  explicit TWin32LabelPeer(TLabel& label);
  ~TWin32LabelPeer() override;
  void Changed(TChange what) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Measures the caption and tells the model, then follows its bounds.
  void Measure();
  // The label's own font, made from the form's, when its font asks for one.
  void MakeFont(HFONT formFont);
  TLabel& FLabel;
  TGdiObject FOwnFont;
};

class TWin32StaticPeer final : public TWin32Peer {
 public:
  TWin32StaticPeer(TControl& control, DWORD style, bool caption);

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
};

class TWin32ShapePeer final : public TWin32Peer {
 public:
  explicit TWin32ShapePeer(TShape& shape);
  ~TWin32ShapePeer() override;
  void PaintTo(HDC dc) const;

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TShape& FShape;
  TGdiObject FHatch;
};

class TWin32ImagePeer final : public TWin32Peer {
 public:
  explicit TWin32ImagePeer(TImage& image);
  ~TWin32ImagePeer() override;
  void Changed(TChange what) override;
  HICON Picture() const { return FIcon.get(); }
  // The decoded JPEG picture, a DIB section; null without one.
  HBITMAP Bitmap() const { return static_cast<HBITMAP>(FBitmap.get()); }

 protected:
  LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void LoadPicture();
  void LoadJpeg();
  void Paint(HDC dc) const;
  void PaintBitmap(HDC dc, const RECT& client) const;

  TImage& FImage;
  TIconHandle FIcon;
  TGdiObject FBitmap;
  SIZE FBitmapSize{0, 0};
};

class TWin32StatusBarPeer final : public TWin32Peer {
 public:
  explicit TWin32StatusBarPeer(TStatusBar& bar);
  void Changed(TChange what) override;

 protected:
  void ApplyBounds() override;

 private:
  TStatusBar& FBar;
};

// A timer runs on a message-only window of its own.
class TWin32TimerPeer final : public TPeer {
 public:
  explicit TWin32TimerPeer(TTimer& timer);
  ~TWin32TimerPeer() override;
  void Changed(TChange what) override;
  THandle Handle() const override { return reinterpret_cast<THandle>(FWindow.get()); }

 private:
  static LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Stop() noexcept;

  TTimer& FTimer;
  TWindowHandle FWindow;
  bool FRunning = false;
};

// A pop-up menu exists natively only while it is shown: the peer builds it
// from the model's items and owns it together with the item pictures.
class TWin32MenuPeer final : public TMenuPeer {
 public:
  explicit TWin32MenuPeer(TPopupMenu& menu);
  void Changed(TChange) override {}
  THandle Handle() const override { return reinterpret_cast<THandle>(FMenu.get()); }
  int Track(int x, int y, THandle owner) override;

 private:
  void AddPicture(UINT id, const std::string& file);

  int FCount = 0;
  std::vector<TGdiObject> FPictures;  // declared first, so they outlive the menu showing them
  TMenuHandle FMenu;
};

class TWin32PeerFactory : public TPeerFactory {
 public:
  TWin32PeerFactory();
  std::unique_ptr<TPeer> CreatePeer(TComponent& component) override;
};

}  // namespace platform::win32
