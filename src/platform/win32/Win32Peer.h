// The native side of the control models: one peer per model, each owning
// the window that shows it. A peer copies model state into its window and
// turns window messages into the model's input methods; the rules stay in
// the models.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

class TWin32FormPeer;

// Loads and initialises the common controls, once: before the first
// control window is made.
void EnsureCommonControls();
std::string WindowText(HWND window);

// Base of every control's peer. Its window is bound to it (WindowBinding.h):
// our own classes dispatch to it, and the system's controls are subclassed
// to do the same.
class TWin32Peer : public TPeer, public TWindowTarget {
 public:
  explicit TWin32Peer(TControl& model);
  ~TWin32Peer() override;
  TWin32Peer(const TWin32Peer&) = delete;
  TWin32Peer& operator=(const TWin32Peer&) = delete;

  THandle Handle() const override { return ToHandle(FWindow.get()); }
  // Makes the model's hint a tool of the form's tooltip, once there is one.
  void ApplyHint();
  HWND Window() const { return FWindow.get(); }
  TControl& Model() const { return FModel; }
  void Changed(TChange what) override;

  // The peer that owns `window`, or nullptr when the window is not ours.
  static TWin32Peer* FromWindow(HWND window);

  // A notification the parent window received from this control (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR*); true when handled.
  virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  bool Alive() const { return FAlive; }

  // The DPI of the form the control is on; its window shows the model's
  // designed pixels scaled by it.
  int Dpi() const;
  // The form's DPI changed and its new font is in place: the window takes
  // its place and size at the new scale.
  virtual void ScaleChanged() { ApplyBounds(); }

 protected:
  struct TCreateParams {
    const char* ClassName = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::string Text;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
    bool OwnClass = false;  // one of ours: no subclassing needed
    bool Scaled = false;    // the bounds are the window's already, not designed
  };
  // The defaults for a child window at the model's (designed) bounds in its
  // parent.
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
  // Windows that show this control's tooltip: the control, and for a combo
  // box also its edit field.
  virtual std::vector<HWND> ToolWindows() const { return {Window()}; }

  // The model's bounds at the form's DPI.
  TRect ScaledBounds() const;
  TWin32FormPeer* FormPeer() const;
  HFONT FormFont() const;
  HFONT Font() const { return FFont; }

  TControl& FModel;
  bool FCaptionIsText = true;  // Caption changes go to the window text
  bool FUpdating = false;      // model state is being copied in: no events

 private:
  LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) final;
  void WindowGone(HWND window) noexcept final;
  void RemoveTools() noexcept;
  void Restack() const;

  TWindowHandle FWindow;
  WNDPROC FOldProc = nullptr;
  HFONT FFont = nullptr;  // set through WM_SETFONT on our own classes; not owned
  HWND FToolTip = nullptr;
  std::vector<HWND> FTools;
  bool FAlive = true;
};

}  // namespace platform::win32
