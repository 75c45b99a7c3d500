// The timer's peer: a message-only window whose WM_TIMER ticks the model.
#include "platform/win32/Win32PeerSupport.h"
#include "platform/win32/Win32Peers.h"

namespace platform::win32 {

using namespace detail;

namespace {

constexpr const char* kTimerProperty = "Morvel.Timer";
constexpr UINT_PTR kTimerId = 1;

}  // namespace

TWin32TimerPeer::TWin32TimerPeer(TTimer& timer) : FTimer(timer) {
  static const bool registered = [] {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = kTimerClass;
    ::RegisterClassExA(&wc);
    return true;
  }();
  (void)registered;
  FWindow.reset(::CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  Instance(), nullptr));
  if (!FWindow) throw Exception("Error creating window");
  ::SetPropA(FWindow.get(), kTimerProperty, this);
}

TWin32TimerPeer::~TWin32TimerPeer() {
  Stop();
  if (FWindow) ::RemovePropA(FWindow.get(), kTimerProperty);
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

LRESULT CALLBACK TWin32TimerPeer::TimerWindowProc(HWND window, UINT message, WPARAM wParam,
                                                  LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    auto* peer = static_cast<TWin32TimerPeer*>(::GetPropA(window, kTimerProperty));
    // A tick already queued when the timer stopped is dropped.
    if (peer && peer->FRunning) {
      try {
        peer->FTimer.Tick();
      } catch (const std::exception& e) {
        ReportException(e);
      } catch (...) {
        ReportUnknownException();
      }
    }
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace platform::win32
