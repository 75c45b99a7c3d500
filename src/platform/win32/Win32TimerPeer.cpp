#include "platform/win32/Win32TimerPeer.h"

#include <map>

#include "platform/Guarded.h"

namespace platform::win32 {

namespace {

// The running timers by the system's number. Only the program's thread
// starts, stops and hears them.
std::map<UINT_PTR, TWin32TimerPeer*>& Running() {
  static auto* const running = new std::map<UINT_PTR, TWin32TimerPeer*>;
  return *running;
}

}  // namespace

TWin32TimerPeer::TWin32TimerPeer(TTimer& timer) : FTimer(timer) {}

TWin32TimerPeer::~TWin32TimerPeer() { Stop(); }

void TWin32TimerPeer::Stop() noexcept {
  if (FId == 0) return;
  ::KillTimer(nullptr, FId);
  Running().erase(FId);
  FId = 0;
}

void TWin32TimerPeer::Changed(TChange what) {
  if (what != TChange::Timer) return;
  if (!FTimer.Running()) {
    Stop();
    return;
  }
  // The same number again restarts the period, as a changed interval should.
  const UINT_PTR id = ::SetTimer(nullptr, FId, FTimer.Interval(), &TWin32TimerPeer::Ticked);
  if (id == FId) return;
  Stop();
  if (id == 0) return;
  FId = id;
  Running()[id] = this;
}

void CALLBACK TWin32TimerPeer::Ticked(HWND, UINT, UINT_PTR id, DWORD) {
  // A tick already queued when the timer stopped is dropped. Nothing goes
  // back into the system's dispatch.
  const auto found = Running().find(id);
  if (found == Running().end()) return;
  TTimer& timer = found->second->FTimer;
  GuardedCallback([&] { timer.Tick(); });
}

}  // namespace platform::win32
