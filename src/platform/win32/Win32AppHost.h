// The application window and the message loop.
#pragma once

#include <windows.h>

#include "platform/Application.h"
#include "platform/win32/Handles.h"

namespace platform::win32 {

// The application window is a hidden, zero-sized top-level window: it
// carries the taskbar button and receives broadcasts, while the forms it
// owns have no button of their own. Its procedure is a plain DefWindowProcA
// so that it can be replaced and chained with CallWindowProcA.
class TWin32AppHost : public TAppHost {
 public:
  TWin32AppHost() = default;
  ~TWin32AppHost() override = default;
  TWin32AppHost(const TWin32AppHost&) = delete;
  TWin32AppHost& operator=(const TWin32AppHost&) = delete;

  THandle CreateAppWindow(const std::string& title) override;
  void SetTitle(THandle appWindow, const std::string& title) override;
  void ShowAppWindow(THandle appWindow, bool show) override;
  void RestoreAppWindow(THandle appWindow) override;
  void MinimizeAppWindow(THandle appWindow) override;
  void RunLoop(const std::function<bool()>& done) override;
  void RunLoopPolling(const std::function<bool()>& done, unsigned pollMs) override;
  void PostQuit() override;
  void DestroyAppWindow(THandle appWindow) override;

  // How many RunLoop calls are active now.
  int LoopDepth() const { return FLoopDepth; }

 private:
  TWindowHandle FWindow;
  int FLoopDepth = 0;
};

}  // namespace platform::win32
