// The application window, the message loop, timers and message boxes
// against the real system under Wine.
#include <windows.h>
#undef MessageBox

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Services.h"
#include "platform/win32/Win32AppHost.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32PeerFactory.h"

using namespace platform;
using namespace platform::win32;

namespace {

// Ends a loop that would otherwise hang the whole test run.
bool GWatchdogFired = false;
void CALLBACK WatchdogFired(HWND, UINT, UINT_PTR, DWORD) {
  GWatchdogFired = true;
  PostQuitMessage(0);
}

class TWatchdog {
 public:
  explicit TWatchdog(UINT ms) {
    GWatchdogFired = false;
    FId = SetTimer(nullptr, 0, ms, WatchdogFired);
  }
  ~TWatchdog() { KillTimer(nullptr, FId); }
  TWatchdog(const TWatchdog&) = delete;
  TWatchdog& operator=(const TWatchdog&) = delete;

 private:
  UINT_PTR FId;
};

// Leaves no message (and no quit request) behind for the next test.
void DrainQueue() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

bool QuitPending() {
  MSG msg;
  return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

class Win32AppHost : public ::testing::Test {
 protected:
  void TearDown() override { DrainQueue(); }
  TWin32AppHost Host;
};

TEST_F(Win32AppHost, TheApplicationWindowIsAHiddenZeroSizedPopupWithACaption) {
  HWND app = reinterpret_cast<HWND>(Host.CreateAppWindow("Morvel"));
  ASSERT_NE(app, nullptr);
  LONG_PTR style = GetWindowLongPtrA(app, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(IsWindowVisible(app));
  RECT r;
  GetWindowRect(app, &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);

  char text[32] = {};
  Host.SetTitle(reinterpret_cast<THandle>(app), "Other");
  GetWindowTextA(app, text, sizeof text);
  EXPECT_STREQ(text, "Other");

  // The window procedure must stay replaceable by a plain ANSI procedure.
  EXPECT_FALSE(IsWindowUnicode(app));

  Host.ShowAppWindow(reinterpret_cast<THandle>(app), true);
  EXPECT_TRUE(IsWindowVisible(app));
  Host.MinimizeAppWindow(reinterpret_cast<THandle>(app));
  EXPECT_TRUE(IsIconic(app));
  Host.RestoreAppWindow(reinterpret_cast<THandle>(app));
  EXPECT_FALSE(IsIconic(app));
  Host.ShowAppWindow(reinterpret_cast<THandle>(app), false);
  EXPECT_FALSE(IsWindowVisible(app));

  Host.DestroyAppWindow(reinterpret_cast<THandle>(app));
  EXPECT_FALSE(IsWindow(app));
}

TEST_F(Win32AppHost, RunLoopDispatchesUntilDoneAnswersTrue) {
  TWatchdog watchdog(5000);
  for (int i = 0; i < 5; ++i) PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  int asked = 0;
  Host.RunLoop([&] { return ++asked > 3; });
  EXPECT_FALSE(GWatchdogFired);
  EXPECT_EQ(asked, 4);  // once before the first message, then once after each
  EXPECT_EQ(Host.LoopDepth(), 0);

  // Already done: no waiting for a message that never comes.
  Host.RunLoop([] { return true; });
  EXPECT_FALSE(GWatchdogFired);
}

TEST_F(Win32AppHost, PostQuitEndsANestedLoopAndThenTheOuterOne) {
  TWatchdog watchdog(5000);
  bool nestedStarted = false, nestedReturned = false, quitPosted = false;
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  Host.RunLoop([&] {
    if (!nestedStarted && !GWatchdogFired) {
      nestedStarted = true;
      PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
      Host.RunLoop([&] {
        if (!quitPosted) {
          quitPosted = true;
          Host.PostQuit();
        }
        return false;
      });
      nestedReturned = true;
    }
    return false;
  });
  EXPECT_FALSE(GWatchdogFired);
  EXPECT_TRUE(nestedReturned);
  // The outermost loop consumes the request and does not pass it on.
  EXPECT_FALSE(QuitPending());
}

TEST_F(Win32AppHost, AQuitRequestEndsAnOpenMessageBox) {
  TWatchdog watchdog(5000);
  TWin32Dialogs dialogs;
  Host.PostQuit();
  dialogs.MessageBox(0, "Should close by itself", "Morvel", kMbOk);
  EXPECT_FALSE(GWatchdogFired);
}

TEST_F(Win32AppHost, TimersTickInTheLoopOnlyWhileRunning) {
  TWin32PeerFactory factory;
  TServices services;
  services.Peers = &factory;
  services.AppHost = &Host;
  TScopedServices guard(services);
  TWatchdog watchdog(5000);

  TTimer timer(nullptr);
  timer.SetInterval(10);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  Host.RunLoop([&] { return ticks >= 3 || GWatchdogFired; });
  EXPECT_FALSE(GWatchdogFired);
  EXPECT_GE(ticks, 3);

  timer.SetEnabled(false);
  const int stoppedAt = ticks;
  const DWORD until = GetTickCount() + 150;
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  }
  EXPECT_EQ(ticks, stoppedAt);

  // An exception from the handler stays inside the timer's window procedure.
  timer.SetOnTimer([&](TObject*) {
    ++ticks;
    throw Exception("tick failed");
  });
  timer.SetEnabled(true);
  Host.RunLoop([&] { return ticks > stoppedAt || GWatchdogFired; });
  EXPECT_GT(ticks, stoppedAt);
}

}  // namespace
