// The notification area and icon services against the real system under
// Wine: the listening window, the shell's icon records, and icon images.
#include <windows.h>
// shellapi.h builds on the types of windows.h.
#include <shellapi.h>
// The dialog service's method shares its name with the system's macro.
#undef MessageBox

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TestResources.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/win32/Win32NotifyArea.h"

using namespace platform;
using namespace platform::win32;

namespace {

using testres::TRecordingDialogs;

HWND H(THandle window) { return reinterpret_cast<HWND>(window); }

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

constexpr UINT kAnswer = WM_APP + 1;
constexpr UINT kThrow = WM_APP + 2;
constexpr UINT kSelfDestroy = WM_APP + 3;
constexpr UINT kTick = WM_APP + 4;

class Win32UtilityWindow : public ::testing::Test {
 protected:
  static TServices Wired(TRecordingDialogs& dialogs) {
    TServices s;
    s.Dialogs = &dialogs;
    return s;
  }
  void TearDown() override {
    for (unsigned listener : Listeners) Area.StopListening(listener);
    Drain();
  }
  // Listens with a handler that records every message and answers `kAnswer`.
  THandle Make() {
    Listeners.push_back(Area.StartListening(
        [this](std::uint32_t message, TWParam wParam, TLParam lParam, TLResult& result) {
          Seen.push_back(message);
          if (message != kAnswer) return false;
          result = static_cast<TLResult>(wParam + lParam);
          return true;
        }));
    return Area.ListeningWindow();
  }
  int Count(UINT message) const {
    int n = 0;
    for (std::uint32_t m : Seen) n += m == message;
    return n;
  }

  TRecordingDialogs Dialogs;
  TScopedServices Guard{Wired(Dialogs)};
  TApplication App;
  TWin32NotifyArea Area;
  std::vector<unsigned> Listeners;
  std::vector<std::uint32_t> Seen;
};

TEST_F(Win32UtilityWindow, IsHiddenTopLevelAndHearsTheTaskbarBroadcast) {
  HWND w = H(Make());
  ASSERT_TRUE(IsWindow(w));
  EXPECT_FALSE(IsWindowVisible(w));
  // A message-only window would have another parent and miss the broadcast.
  EXPECT_EQ(GetAncestor(w, GA_PARENT), GetDesktopWindow());

  const UINT created = Area.TaskbarCreatedMessage();
  EXPECT_EQ(created, RegisterWindowMessageA("TaskbarCreated"));
  EXPECT_GE(created, 0xC000u);
  PostMessageA(HWND_BROADCAST, created, 0, 0);
  Area.ProcessMessages();
  EXPECT_EQ(Count(created), 1);
}

TEST_F(Win32UtilityWindow, HandlerAnswersWhatItHandlesAndTheDefaultProcedureTheRest) {
  HWND w = H(Make());
  EXPECT_EQ(SendMessageA(w, kAnswer, 40, 2), 42);
  // Not handled: the default procedure stores the text and says so.
  EXPECT_EQ(SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("tray")), TRUE);
  char text[16] = {};
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "tray");
  EXPECT_EQ(Count(WM_SETTEXT), 1);
}

TEST_F(Win32UtilityWindow, ExceptionsAreReportedAndTheMessageGetsTheDefaultAnswer) {
  Listeners.push_back(
      Area.StartListening([](std::uint32_t message, TWParam, TLParam, TLResult& result) -> bool {
        result = 99;
        if (message == WM_SETTEXT) throw EInOutError("I/O error 21");
        if (message == kThrow) throw 7;
        return false;
      }));
  HWND w = H(Area.ListeningWindow());
  EXPECT_EQ(SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("after")), TRUE);
  char text[16] = {};
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "after");
  EXPECT_EQ(SendMessageA(w, kThrow, 0, 0), 0);  // not the 99 the handler left behind
  EXPECT_EQ(Dialogs.Texts, (std::vector<std::string>{"I/O error 21", "Unexpected error."}));
  EXPECT_TRUE(IsWindow(w));
}

TEST_F(Win32UtilityWindow, ListenersShareOneWindowThatGoesWithTheLast) {
  HWND w = H(Make());
  auto log = std::make_shared<int>(0);
  std::weak_ptr<int> watch = log;
  unsigned second = 0;
  second = Area.StartListening(
      [this, log, &second](std::uint32_t message, TWParam, TLParam, TLResult& result) {
        if (message != kSelfDestroy) return false;
        Area.StopListening(second);  // from inside its own handler, which runs to its end
        result = ++*log;
        return true;
      });
  log.reset();
  EXPECT_EQ(H(Area.ListeningWindow()), w);
  // Both hear every message; the first that handles it answers.
  EXPECT_EQ(SendMessageA(w, kAnswer, 40, 2), 42);
  EXPECT_EQ(SendMessageA(w, kSelfDestroy, 0, 0), 1);
  EXPECT_TRUE(watch.expired());
  SendMessageA(w, kSelfDestroy, 0, 0);
  EXPECT_EQ(Count(kSelfDestroy), 2);
  // Nobody closes it from outside; it goes with its last listener.
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w));
  Area.StopListening(Listeners[0]);
  Listeners.clear();
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Win32UtilityWindow, ProcessMessagesDeliversWhatWaitsAndLeavesTheQuitRequest) {
  HWND w = H(Make());
  PostMessageA(w, kTick, 0, 0);
  PostQuitMessage(7);
  PostMessageA(w, kTick, 0, 0);
  Area.ProcessMessages();
  EXPECT_EQ(Count(kTick), 2);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(Win32UtilityWindow, CancelMouseCaptureEndsOurCaptureOnly) {
  HWND w = H(Make());
  Area.CancelMouseCapture();  // nobody holds the mouse
  EXPECT_EQ(Count(WM_CANCELMODE), 0);

  SetCapture(w);
  ASSERT_EQ(GetCapture(), w);
  Area.CancelMouseCapture();
  EXPECT_EQ(Count(WM_CANCELMODE), 1);
  EXPECT_EQ(GetCapture(), nullptr);  // the default procedure let go of it
}

// ---- the shell's icon record ----

TEST(Win32NotifyRecord, IsTheVersionOneRecordWithTheTipCut) {
  TNotifyIconData data;
  data.Window = 0x1234;
  data.Id = 3;
  data.Flags = kNifMessage | kNifIcon | kNifTip;
  data.CallbackMessage = WM_APP + 9;
  data.Icon = 0x5678;
  data.Tip = std::string(200, 'x');
  NOTIFYICONDATAA record = TWin32NotifyArea::Record(data);
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(record.hWnd, H(0x1234));
  EXPECT_EQ(record.uID, 3u);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_APP + 9));
  EXPECT_EQ(record.hIcon, reinterpret_cast<HICON>(0x5678));
  EXPECT_EQ(std::strlen(record.szTip), 63u);
  // Nothing lands beyond the version-1 tip.
  for (std::size_t i = 63; i < sizeof record.szTip; ++i) EXPECT_EQ(record.szTip[i], 0) << i;

  data.Tip = std::string(63, 'y');
  EXPECT_EQ(std::string(TWin32NotifyArea::Record(data).szTip), data.Tip);
  data.Tip.clear();
  EXPECT_STREQ(TWin32NotifyArea::Record(data).szTip, "");
}

class Win32NotifyIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    testres::WriteIconFile(Path, 32);
    Icon = Icons.LoadIconFile(Path);
    ASSERT_NE(Icon, 0u);
    Listener =
        Area.StartListening([](std::uint32_t, TWParam, TLParam, TLResult&) { return false; });
    Window = Area.ListeningWindow();
    ASSERT_NE(Window, 0u);
  }
  void TearDown() override {
    TNotifyIconData gone;
    gone.Window = Window;
    gone.Id = 1;
    Area.NotifyIcon(kNimDelete, gone);
    Area.StopListening(Listener);
    Icons.DestroyIcon(Icon);
    DeleteFileA(Path.c_str());
    Drain();
  }
  TNotifyIconData Data(const std::string& tip) const {
    TNotifyIconData d;
    d.Window = Window;
    d.Id = 1;
    d.Flags = kNifMessage | kNifIcon | kNifTip;
    d.CallbackMessage = WM_APP + 20;
    d.Icon = Icon;
    d.Tip = tip;
    return d;
  }

  std::string Path = testres::TempPath("morvel-notify-test.ico");
  TWin32NotifyArea Area;
  TWin32IconService Icons;
  THandle Icon = 0;
  unsigned Listener = 0;
  THandle Window = 0;
};

TEST_F(Win32NotifyIcon, ShellTakesAddModifyAndDeleteOfARealIcon) {
  ASSERT_TRUE(Area.NotifyIcon(kNimAdd, Data("Drive E:")));
  EXPECT_TRUE(Area.NotifyIcon(kNimModify, Data(std::string(200, 'm'))));
  TNotifyIconData tipOnly = Data("Drive E: empty");
  tipOnly.Flags = kNifTip;
  EXPECT_TRUE(Area.NotifyIcon(kNimModify, tipOnly));
  EXPECT_TRUE(Area.NotifyIcon(kNimDelete, Data("")));
  // The shell knows it no longer.
  EXPECT_FALSE(Area.NotifyIcon(kNimModify, Data("late")));
  EXPECT_FALSE(Area.NotifyIcon(kNimDelete, Data("")));
}

// ---- icon images ----

class Win32Icons : public ::testing::Test {
 protected:
  void SetUp() override { testres::WriteIconFile(Path, 32); }
  void TearDown() override { DeleteFileA(Path.c_str()); }

  static int Width(THandle icon) {
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return 0;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
  }

  std::string Path = testres::TempPath("morvel-icons-test.ico");
  TWin32IconService Icons;
};

TEST_F(Win32Icons, LoadIconFileGivesTheNotificationAreaSize) {
  THandle icon = Icons.LoadIconFile(Path);
  ASSERT_NE(icon, 0u);
  // The file holds 32 pixels; the notification area wants the small size.
  EXPECT_EQ(Width(icon), GetSystemMetrics(SM_CXSMICON));
  Icons.DestroyIcon(icon);

  EXPECT_EQ(Icons.LoadIconFile(Path + ".missing"), 0u);
  EXPECT_EQ(Icons.LoadIconFile(""), 0u);
}

TEST_F(Win32Icons, ACopyOutlivesItsOriginalAndDestroyEndsIt) {
  THandle icon = Icons.LoadIconFile(Path);
  THandle copy = Icons.CopyIcon(icon);
  ASSERT_NE(copy, 0u);
  EXPECT_NE(copy, icon);
  Icons.DestroyIcon(icon);
  EXPECT_EQ(Width(copy), GetSystemMetrics(SM_CXSMICON));
  Icons.DestroyIcon(copy);
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(reinterpret_cast<HICON>(copy), &info));

  EXPECT_EQ(Icons.CopyIcon(0), 0u);
  Icons.DestroyIcon(0);
}

// Each round is four calls; Wine needs about a millisecond for a load or a copy.
TEST_F(Win32Icons, TenThousandCallsLeaveNothingBehind) {
  testres::TResourceMeter meter;
  ASSERT_GT(meter.Now(), 0u);
  auto round = [&] {
    THandle icon = Icons.LoadIconFile(Path);
    THandle copy = Icons.CopyIcon(icon);
    Icons.DestroyIcon(icon);
    Icons.DestroyIcon(copy);
    return copy != 0;
  };
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(round());  // the first rounds settle the heap
  const std::size_t before = meter.Now();
  for (int i = 0; i < 2500; ++i) ASSERT_TRUE(round()) << i;
  const std::size_t after = meter.Now();
  EXPECT_LE(after, before + meter.Slack()) << meter.Unit();
}

}  // namespace
