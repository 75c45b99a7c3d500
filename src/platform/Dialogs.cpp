#include "platform/Dialogs.h"

namespace platform {

int TDialogService::MessageDlg(THandle owner, const std::string& text, const std::string& title,
                               unsigned icon, const std::vector<TDialogButton>& buttons) {
  if (buttons.empty()) return kIdCancel;
  const bool one = buttons.size() == 1;
  const int answer = MessageBox(owner, text, title, (one ? kMbOk : kMbOkCancel) | icon);
  return answer == kIdOk ? buttons.front().Result : buttons.back().Result;
}

}  // namespace platform
