// The system service and the message dialog against the real system under
// Wine. Nothing here asks for a restart.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>

#include "platform/Threads.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32System.h"

using namespace platform;
using namespace platform::win32;

namespace {

TEST(Win32System, ReportsTheRunningSystemAndProgram) {
  TWin32System system;
  TOsVersionInfo info;
  ASSERT_TRUE(system.GetVersionInfo(info));
  const DWORD version = GetVersion();
  EXPECT_EQ(info.MajorVersion, LOBYTE(LOWORD(version)));
  EXPECT_EQ(info.MinorVersion, HIBYTE(LOWORD(version)));
  EXPECT_TRUE(info.PlatformId == kVerPlatformWin32Nt ||
              info.PlatformId == kVerPlatformWin32Windows);
  // A 64-bit program is never redirected.
  EXPECT_FALSE(system.IsWow64());
  const std::string program = system.ProgramFile();
  EXPECT_EQ(program.substr(program.size() - 15), "win32_tests.exe");
  system.EnableShutdownPrivilege();  // harmless on its own
}

// Answers the process's message dialog from another thread, the way a user
// would, after noting its buttons and where it stands.
struct TDialogAnswer {
  std::string Yes, Cancel;
  bool Centred = false;
  std::unique_ptr<platform::TThread> Thread;

  TDialogAnswer(UINT message, WPARAM wParam) {
    Thread = std::make_unique<platform::TThread>([this, message, wParam] {
      HWND box = nullptr;
      for (int i = 0; i < 200 && !box; ++i, Sleep(25)) box = FindWindowA("#32770", "Information");
      if (!box) return;
      char text[32] = {};
      GetDlgItemTextA(box, IDOK, text, sizeof text);
      Yes = text;
      GetDlgItemTextA(box, IDCANCEL, text, sizeof text);
      Cancel = text;
      RECT r{}, area{};
      GetWindowRect(box, &r);
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
      Centred = std::abs((r.left + r.right) - (area.left + area.right)) <= 2 &&
                std::abs((r.top + r.bottom) - (area.top + area.bottom)) <= 2;
      HWND target = message == BM_CLICK ? GetDlgItem(box, IDOK) : box;
      PostMessageA(target, message, wParam, 0);
    });
  }
  ~TDialogAnswer() {
    if (Thread) Thread->Join();
  }
};

TEST(Win32Dialogs, AMessageDialogShowsItsOwnButtonsInTheMiddleOfTheScreen) {
  TWin32Dialogs dialogs;
  const std::vector<TDialogButton> buttons{{"&Yes", kIdYes}, {"Cancel", kIdCancel}};
  {
    TDialogAnswer answer(BM_CLICK, 0);
    EXPECT_EQ(dialogs.MessageDlg(0, "Restart?", "Information", kMbIconInformation, buttons),
              kIdYes);
    answer.Thread->Join();
    EXPECT_EQ(answer.Yes, "&Yes");
    EXPECT_EQ(answer.Cancel, "Cancel");
    EXPECT_TRUE(answer.Centred);
  }
  {
    TDialogAnswer answer(WM_CLOSE, 0);  // the close box
    EXPECT_EQ(dialogs.MessageDlg(0, "Restart?", "Information", kMbIconInformation, buttons),
              kIdCancel);
  }
}

}  // namespace
