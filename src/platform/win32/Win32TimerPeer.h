// The timer's peer.
#pragma once

#include <windows.h>

#include "platform/Controls.h"

namespace platform::win32 {

// A timer of the thread's own (SetTimer without a window): it needs no
// window, which costs start-up time, and a message-only window, which
// Windows 95 to Me cannot make. The message loop hands its WM_TIMER to the
// timer's procedure.
class TWin32TimerPeer final : public TPeer {
 public:
  explicit TWin32TimerPeer(TTimer& timer);
  ~TWin32TimerPeer() override;
  void Changed(TChange what) override;
  THandle Handle() const override { return 0; }

 private:
  static void CALLBACK Ticked(HWND, UINT, UINT_PTR id, DWORD);
  void Stop() noexcept;

  TTimer& FTimer;
  UINT_PTR FId = 0;  // the system's number for the running timer; 0 when stopped
};

}  // namespace platform::win32
