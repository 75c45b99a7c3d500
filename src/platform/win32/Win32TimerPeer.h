// The timer's peer.
#pragma once

#include <windows.h>

#include "platform/Controls.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WindowBinding.h"

namespace platform::win32 {

// A timer runs on a message-only window of its own.
class TWin32TimerPeer final : public TPeer, public TWindowTarget {
 public:
  explicit TWin32TimerPeer(TTimer& timer);
  ~TWin32TimerPeer() override;
  void Changed(TChange what) override;
  THandle Handle() const override { return ToHandle(FWindow.get()); }

 private:
  LRESULT WindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void Stop() noexcept;

  TTimer& FTimer;
  TWindowHandle FWindow;
  bool FRunning = false;
};

}  // namespace platform::win32
