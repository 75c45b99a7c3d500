// WM_HOTKEY goes to the window a key was registered on. The main window is
// hidden in tray mode and its handle changes when it is made anew, so the
// keys live on the program's listening window, as the volume watch does.
#include "platform/win32/Win32HotKeys.h"

#include <windows.h>

#include <set>

#include "platform/Types.h"
#include "platform/win32/ListeningWindow.h"

namespace platform::win32 {

namespace {

// The program makes one of these: the ids are the window's, and a second
// listener's would clash with the first's.
class THotKeyListener final : public THotKeyWindow {
 public:
  explicit THotKeyListener(THotKeyHandler handler) : FHandler(std::move(handler)) {
    FListener =
        StartListening([this](std::uint32_t message, TWParam wParam, TLParam, TLResult& result) {
          if (message != WM_HOTKEY) return false;
          // Only the ids registered here are ours; the system's own ones
          // are negative.
          const int id = static_cast<int>(wParam);
          if (FIds.count(id) == 0) return false;
          if (FHandler) FHandler(id);
          result = 0;
          return true;
        });
    if (!FListener) throw Exception("Error creating window");
    FWindow = ListeningWindow();
  }
  ~THotKeyListener() override {
    for (int id : FIds) ::UnregisterHotKey(FWindow, id);
    StopListening(FListener);
  }

  bool Register(int id, unsigned modifiers, unsigned virtualKey) override {
    Unregister(id);
    if (!::RegisterHotKey(FWindow, id, modifiers, virtualKey)) return false;
    FIds.insert(id);
    return true;
  }

  void Unregister(int id) override {
    if (FIds.erase(id) > 0) ::UnregisterHotKey(FWindow, id);
  }

 private:
  THotKeyHandler FHandler;
  unsigned FListener = 0;
  HWND FWindow = nullptr;  // the listening window, which lives as long as we listen
  std::set<int> FIds;
};

}  // namespace

std::unique_ptr<THotKeyWindow> TWin32HotKeyService::Listen(THotKeyHandler handler) {
  return std::make_unique<THotKeyListener>(std::move(handler));
}

}  // namespace platform::win32
