// Scenario "eight drives": D: to K: are CD-ROM drives, one more than the
// program has tray icons for. It says so and ends without showing its window.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

TEST(EightDrives, OnlySevenMessageThenTheProgramEndsWithoutItsWindow) {
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  bool MainShown = false;
  auto WatchMain = [&] {
    HWND Main = Morvel.MainWindow();
    MainShown = MainShown || (Main && IsWindowVisible(Main));
  };

  HWND Box = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    WatchMain();
    Box = FindDialogOf(Morvel.Id());
    return Box != nullptr || !Morvel.Running();
  }));
  ASSERT_NE(Box, nullptr) << "no message box: " << Morvel.Describe();
  char Caption[256] = {};
  GetWindowTextA(Box, Caption, sizeof Caption);
  EXPECT_STREQ(Caption, "Morvel");
  EXPECT_EQ(DialogText(Box), "Only seven");
  EXPECT_EQ(ProcessOf(Box), Morvel.Id());
  EXPECT_TRUE(HasButton(Box, IDOK));
  EXPECT_FALSE(HasButton(Box, IDCANCEL)) << "the message has an OK button only";

  PressDialogButton(Box, IDOK);
  EXPECT_TRUE(WaitUntil(
      [&] {
        WatchMain();
        return !Morvel.Running();
      },
      20s))
      << "after OK: " << Morvel.Describe();
  EXPECT_FALSE(MainShown) << "the main window was shown";
}

}  // namespace
}  // namespace e2e
