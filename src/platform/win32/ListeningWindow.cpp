#include "platform/win32/ListeningWindow.h"

#include <utility>
#include <vector>

#include "platform/Application.h"
#include "platform/Guarded.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

namespace {

class TListeningWindow final : public TWindowTarget {
 public:
  unsigned Add(TWindowMessageHandler handler) {
    if (!FWindow && Application && Application->Handle()) {
      // The application window serves when there is one: it is top-level,
      // it outlives every window of the program's, and it is there already.
      FWindow = reinterpret_cast<HWND>(Application->Handle());
    } else if (!FWindow) {
      // Bound to this object from its first message on.
      FOwnWindow.reset(::CreateWindowExA(WS_EX_TOOLWINDOW, ClassName(TWindowClass::Utility), "",
                                         WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(), this));
      FWindow = FOwnWindow.get();
      if (!FWindow) return 0;
    }
    // Numbers are not used again: they grow in the list's order.
    FListeners.push_back({++FLast, std::move(handler)});
    return FLast;
  }

  void Remove(unsigned listener) noexcept {
    std::erase_if(FListeners, [listener](const TListener& l) { return l.Id == listener; });
    if (!FListeners.empty()) return;
    FWindow = nullptr;
    FOwnWindow.reset();
  }

  HWND Window() const { return FWindow; }

  // True when a listener handled the message, with its answer.
  bool Hear(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
    // A listener may start or stop others, or stop itself, while it
    // answers: the next one is looked for afresh after each, and a handler
    // is called through a copy that outlives its stopping.
    bool handled = false;
    for (unsigned last = 0;;) {
      TWindowMessageHandler handler;
      for (const TListener& l : FListeners)
        if (l.Id > last) {
          last = l.Id;
          handler = l.Handler;
          break;
        }
      if (!handler) break;
      TLResult result = 0;
      bool mine = false;
      GuardedCallback([&] { mine = handler(message, wParam, lParam, result); });
      if (mine && !handled) {
        handled = true;
        answer = static_cast<LRESULT>(result);
      }
    }
    return handled;
  }

  LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    // Our own window goes with its last listener, never from outside.
    if (message == WM_CLOSE) return 0;
    LRESULT answer = 0;
    return Hear(message, wParam, lParam, answer)
               ? answer
               : ::DefWindowProcA(window, message, wParam, lParam);
  }

  void WindowGone(HWND window) noexcept override {
    if (window != FOwnWindow.get()) return;
    (void)FOwnWindow.release();  // gone already
    FWindow = nullptr;
  }

 private:
  struct TListener {
    unsigned Id;
    TWindowMessageHandler Handler;
  };

  HWND FWindow = nullptr;    // the application window, or our own
  TWindowHandle FOwnWindow;  // made here when there is no application window
  unsigned FLast = 0;
  std::vector<TListener> FListeners;
};

TListeningWindow& TheWindow() {
  // Never destroyed: the window may still hear from the system while the
  // program's static objects go.
  static auto* const window = new TListeningWindow;
  return *window;
}

}  // namespace

unsigned StartListening(TWindowMessageHandler handler) {
  return TheWindow().Add(std::move(handler));
}

void StopListening(unsigned listener) noexcept { TheWindow().Remove(listener); }

HWND ListeningWindow() { return TheWindow().Window(); }

bool HearListeners(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  return window && window == TheWindow().Window() &&
         TheWindow().Hear(message, wParam, lParam, answer);
}

}  // namespace platform::win32
