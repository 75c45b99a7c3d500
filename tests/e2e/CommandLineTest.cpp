// Scenario "command line": commands handed to a running copy in the
// notification area, a drive command with no copy running, and the exit
// codes of the failures.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

// Waits for the start to end, closing the usage box where it shows one
// (without a console to write to); its exit code, STILL_ACTIVE if it stays.
DWORD ExitCodeOf(const std::string& Arguments) {
  TMorvelProcess Start;
  if (!Start.Start(Arguments)) return STILL_ACTIVE;
  WaitUntil([&] { return !Start.Running() || FindDialogOf(Start.Id()); }, 20s);
  if (HWND Box = FindDialogOf(Start.Id())) PressDialogButton(Box, IDOK);
  Start.WaitForExit(20s);
  return Start.ExitCode();
}

TEST(CommandLine, ShowAndExitGoToTheCopyInTheNotificationArea) {
  ASSERT_TRUE(WriteSetting("Tray", "Ja"));
  TMorvelProcess First;
  ASSERT_TRUE(First.Start()) << First.LastError();
  const HWND Main = First.WaitForMainWindowMade();
  ASSERT_NE(Main, nullptr) << First.Describe();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; })) << First.Describe();
  EXPECT_FALSE(IsWindowVisible(Main));

  EXPECT_EQ(ExitCodeOf("/SHOW"), 0u);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != FALSE; })) << First.Describe();

  EXPECT_EQ(ExitCodeOf("-exit"), 0u);
  // Without the exit question.
  EXPECT_TRUE(First.WaitForExit(20s)) << First.Describe();
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  ASSERT_TRUE(WriteSetting("Tray", "Nej"));
}

TEST(CommandLine, CloseWithNoCopyRunningLeavesNothingBehind) {
  TMorvelProcess Alone;
  ASSERT_TRUE(Alone.Start("/close D:")) << Alone.LastError();
  ASSERT_TRUE(Alone.WaitForExit(20s)) << Alone.Describe();
  EXPECT_EQ(Alone.ExitCode(), 0u);
  EXPECT_TRUE(TopWindowsTitled(KMainTitle).empty());
  EXPECT_EQ(TrayIconCount(), 0);
}

TEST(CommandLine, FailuresEndWithTheirCodes) {
  const struct {
    const char* Arguments;
    DWORD Code;
  } KCases[] = {
      {"/open C:", 1},  // a fixed disk
      {"/eject", 2},
  };
  for (const auto& Case : KCases)
    EXPECT_EQ(ExitCodeOf(Case.Arguments), Case.Code) << Case.Arguments;
}

}  // namespace
}  // namespace e2e
