// The timer's peer: a message-only window whose WM_TIMER ticks the model.
#include "platform/win32/Win32TimerPeer.h"

namespace platform::win32 {

namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

TWin32TimerPeer::TWin32TimerPeer(TTimer& timer) : FTimer(timer) {
  FWindow.reset(::CreateWindowExA(0, ClassName(TWindowClass::Timer), "", 0, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, Instance(), nullptr));
  if (!FWindow) throw Exception("Error creating window");
  BindWindow(FWindow.get(), *this);
}

TWin32TimerPeer::~TWin32TimerPeer() {
  Stop();
  UnbindWindow(FWindow.get());
}

void TWin32TimerPeer::Stop() noexcept {
  if (FRunning && FWindow) ::KillTimer(FWindow.get(), kTimerId);
  FRunning = false;
}

void TWin32TimerPeer::Changed(TChange what) {
  if (what != TChange::Timer || !FWindow) return;
  if (FTimer.Running()) {
    // Setting the same id again restarts the period, as a changed interval should.
    FRunning = ::SetTimer(FWindow.get(), kTimerId, FTimer.Interval(), nullptr) != 0;
  } else {
    Stop();
  }
}

LRESULT TWin32TimerPeer::WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    // A tick already queued when the timer stopped is dropped.
    if (FRunning) FTimer.Tick();
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace platform::win32
