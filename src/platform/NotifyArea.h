// The notification area and icon images, as the tray icons need them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Types.h"

namespace platform {

// Shell_NotifyIconA requests and record flags.
inline constexpr unsigned kNimAdd = 0;
inline constexpr unsigned kNimModify = 1;
inline constexpr unsigned kNimDelete = 2;
inline constexpr unsigned kNifMessage = 1;
inline constexpr unsigned kNifIcon = 2;
inline constexpr unsigned kNifTip = 4;
// The version-1 record holds 63 characters of tip and its terminating zero.
inline constexpr std::size_t kNotifyTipChars = 63;

// The version-1 ANSI notification record, as the program fills it.
struct TNotifyIconData {
  THandle Window = 0;
  unsigned Id = 0;
  unsigned Flags = 0;
  unsigned CallbackMessage = 0;
  THandle Icon = 0;
  std::string Tip;
};

// One message to the listening window: true when handled (with `result`
// set); false leaves it to the other listeners and the default window
// procedure.
using TWindowMessageHandler =
    std::function<bool(std::uint32_t message, TWParam wParam, TLParam lParam, TLResult& result)>;

class TNotifyArea {
 public:
  virtual ~TNotifyArea() = default;
  // Shell_NotifyIconA with the version-1 ANSI record; the tip is cut to
  // kNotifyTipChars here as well. True when the shell accepted the request.
  // May be called from any thread.
  virtual bool NotifyIcon(unsigned message, const TNotifyIconData& data) = 0;
  // Lets `handler` hear the messages of the program's listening window: a
  // hidden top-level window (so that broadcasts such as "TaskbarCreated"
  // reach it) that every icon shares, as one window costs less start-up
  // time than one per icon. Every listener hears every message. The answer
  // is a number, never 0, that tells this listener's icon apart from the
  // others on the window (its record's Id); 0 when the window cannot be
  // made.
  virtual unsigned StartListening(TWindowMessageHandler handler) = 0;
  virtual void StopListening(unsigned listener) = 0;
  // The listening window; 0 while nobody listens.
  virtual THandle ListeningWindow() = 0;
  // RegisterWindowMessageA("TaskbarCreated"): the shell broadcasts it when
  // the taskbar has been (re)created.
  virtual std::uint32_t TaskbarCreatedMessage() = 0;
  virtual bool GetCursorPos(int& x, int& y) = 0;
  virtual void SetForegroundWindow(THandle window) = 0;
  // Handles the messages waiting in this thread's queue, then returns.
  virtual void ProcessMessages() = 0;
  // Ends a mouse capture held by the program's active window.
  virtual void CancelMouseCapture() = 0;
};

// Icon images. Handles are owned by whoever receives them; TIcon does that.
class TIconService {
 public:
  virtual ~TIconService() = default;
  // An icon file at the notification area's size (the small icon size);
  // 0 when the file is missing or no icon.
  virtual THandle LoadIconFile(const std::string& path) = 0;
  // CopyIcon; 0 for 0.
  virtual THandle CopyIcon(THandle icon) = 0;
  // ExtractIconA with the program's own instance: the icon at `index` in a
  // program or library file; 0 when there is none.
  virtual THandle ExtractIcon(const std::string& path, int index) = 0;
  virtual void DestroyIcon(THandle icon) = 0;
};

}  // namespace platform
