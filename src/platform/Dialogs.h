// Message boxes. Under test a script answers them and records what was asked.
#pragma once

#include <string>
#include <vector>

#include "platform/Types.h"

namespace platform {

// The values of the platform's message box flags and answers.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// A button of a message dialog: its caption and the answer it gives.
struct TDialogButton {
  std::string Caption;
  int Result;
};

class TDialogService {
 public:
  virtual ~TDialogService() = default;
  // MessageBoxA: modal, owned by `owner`; returns the button pressed.
  virtual int MessageBox(THandle owner, const std::string& text, const std::string& caption,
                         unsigned flags) = 0;
  // The framework's message dialog: modal, centred on the screen, the text
  // beside an icon (one of the kMbIcon values), one to three buttons of its
  // own in the order given. The first is the default button; the last one
  // answers Esc and the close box. Returns the Result of the button chosen.
  // Without buttons of its own a service shows a message box with OK and
  // Cancel for the first and the last button.
  virtual int MessageDlg(THandle owner, const std::string& text, const std::string& title,
                         unsigned icon, const std::vector<TDialogButton>& buttons);
};

// A plain message dialog: the text, an OK button, the application title as
// caption.
void ShowMessage(const std::string& text);

}  // namespace platform
