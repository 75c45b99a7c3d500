// The notification area and icon images on Win32.
#pragma once

#include "platform/win32/Win32Undef.h"
// shellapi.h builds on the types of windows.h.
#include <shellapi.h>

#include "platform/NotifyArea.h"

namespace platform::win32 {

// Holds no state of its own: the tray icons' animation threads call
// NotifyIcon while the user-interface thread uses the rest.
class TWin32NotifyArea final : public TNotifyArea {
 public:
  bool NotifyIcon(unsigned message, const TNotifyIconData& data) override;
  unsigned StartListening(TWindowMessageHandler handler) override;
  void StopListening(unsigned listener) override;
  THandle ListeningWindow() override;
  std::uint32_t TaskbarCreatedMessage() override;
  bool GetCursorPos(int& x, int& y) override;
  void SetForegroundWindow(THandle window) override;
  void ProcessMessages() override;
  void CancelMouseCapture() override;

  // The version-1 record that NotifyIcon hands to the shell.
  static NOTIFYICONDATAA Record(const TNotifyIconData& data);
};

class TWin32IconService final : public TIconService {
 public:
  THandle LoadIconFile(const std::string& path) override;
  THandle CopyIcon(THandle icon) override;
  THandle ExtractIcon(const std::string& path, int index) override;
  void DestroyIcon(THandle icon) override;
};

}  // namespace platform::win32
