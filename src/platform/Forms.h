// Forms: top-level windows that own their controls.
#pragma once

#include <functional>
#include <string>

#include "platform/Controls.h"

namespace platform {

enum class TWindowState { Normal, Minimized };

using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TCanResizeEvent =
    std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);

  // The window's outer size is its Bounds; these tell how it may be used.
  bool Sizeable = false;
  bool MaximizeBox = true;
  bool MinimizeBox = true;
  std::string FontName = "MS Sans Serif";
  int FontSize = 8;  // points
  // A fixed dialog frame, and the dialog keys: Tab and the arrows move
  // between the controls (the later of two controls comes first), Enter
  // presses the default button.
  bool Dialog = false;
  // Placed in the middle of the screen each time it is shown.
  bool ScreenCenter = false;
  TColor Color = clBtnFace;
  // The size of the inside of the window; the peer adds the frame. 0: the
  // outer size is the Bounds.
  void SetClientSize(int width, int height) {
    FClientWidth = width;
    FClientHeight = height;
  }
  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }

  void Show();
  void Hide();
  // Asks OnCloseQuery; when closing is allowed, hides the form, and for the
  // main form ends the application.
  void Close();
  // Shows the form modally and returns when it has been closed.
  void ShowModal();
  void BringToFront();

  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState state);

  TNotifyEvent OnCreate;
  TCloseQueryEvent OnCloseQuery;
  TCanResizeEvent OnCanResize;

  // Input from the peer.
  void UserClose() { Close(); }
  void UserMinimized(bool minimized) {
    FWindowState = minimized ? TWindowState::Minimized : TWindowState::Normal;
  }
  // Window commands a form class may take over; true when handled, so that
  // the standard handling is skipped.
  virtual bool WMSysCommand(unsigned command) {
    (void)command;
    return false;
  }
  // The system asks whether the session may end; true allows it. The
  // standard answer is the form's own close question.
  virtual bool WMQueryEndSession() { return CloseQuery(); }
  // Asks OnCloseQuery; true when the form may close.
  bool CloseQuery();
  // Asks OnCanResize; false keeps the size.
  bool CanResize(int& width, int& height);

  bool Modal() const { return FModal; }

 protected:
  // Runs OnCreate once: at the end of the form's construction, after the
  // form is named and owned; a form may also run it earlier itself.
  void DoCreate();
  void AfterConstruction() override { DoCreate(); }
  std::unique_ptr<TPeer> CreatePeer(TPeerFactory& factory) override;

 private:
  TWindowState FWindowState = TWindowState::Normal;
  bool FModal = false;
  bool FModalDone = false;
  bool FCreated = false;
  int FClientWidth = 0, FClientHeight = 0;
};

}  // namespace platform
