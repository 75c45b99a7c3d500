// WM_HOTKEY goes to the window a key was registered on. The main window is
// hidden in tray mode and its handle changes when it is made anew, so the
// keys live on a top-level window of their own that is never shown, as the
// volume watch does.
#include "platform/win32/Win32HotKeys.h"

#include <windows.h>

#include <set>

#include "platform/Types.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

namespace {

class THotKeyListener final : public THotKeyWindow, public TWindowTarget {
 public:
  explicit THotKeyListener(THotKeyHandler handler) : FHandler(std::move(handler)) {
    FWindow.reset(CreateListenerWindow());
    if (!FWindow) throw Exception("Error creating window");
    BindWindow(FWindow.get(), *this);
  }
  ~THotKeyListener() override {
    for (int id : FIds) ::UnregisterHotKey(FWindow.get(), id);
    UnbindWindow(FWindow.get());
  }

  bool Register(int id, unsigned modifiers, unsigned virtualKey) override {
    Unregister(id);
    if (!::RegisterHotKey(FWindow.get(), id, modifiers, virtualKey)) return false;
    FIds.insert(id);
    return true;
  }

  void Unregister(int id) override {
    if (FIds.erase(id) > 0) ::UnregisterHotKey(FWindow.get(), id);
  }

  LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_HOTKEY) return ::DefWindowProcA(window, message, wParam, lParam);
    // Only the ids registered here are ours; the system's own ones are
    // negative.
    const int id = static_cast<int>(wParam);
    if (FIds.count(id) > 0 && FHandler) FHandler(id);
    return 0;
  }

 private:
  THotKeyHandler FHandler;
  TWindowHandle FWindow;
  std::set<int> FIds;
};

}  // namespace

std::unique_ptr<THotKeyWindow> TWin32HotKeyService::Listen(THotKeyHandler handler) {
  return std::make_unique<THotKeyListener>(std::move(handler));
}

}  // namespace platform::win32
