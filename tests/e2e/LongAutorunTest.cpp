// Scenario "long-autorun": D: holds a disc whose Autorun.inf names a program
// of a thousand characters, more than the shell can take. Run on the main
// window, Run in the tray menu and a double click on the tray icon each say
// so in a message and start nothing; the program and its icon stay.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

constexpr const char* KTooLong = "The program named on the disc is too long to start.";
constexpr int KRunItem = 3;  // Restore, Open, Close, Run: separators do not count
constexpr auto KReaction = 10s;

// The message the program shows, closed with OK; "<no message>" when none came.
std::string TakeMessage(const TMorvelProcess& Morvel) {
  HWND Message = nullptr;
  WaitUntil([&] { return (Message = FindDialogOf(Morvel.Id(), "Morvel")) || !Morvel.Running(); },
            KReaction);
  if (!Message) return "<no message>\n" + Morvel.Describe();
  const std::string Text = DialogText(Message);
  PressDialogButton(Message, IDOK);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Message) || !IsWindowVisible(Message); }));
  return Text;
}

TEST(LongAutorun, EveryWayToRunTheDiscSaysTheProgramIsTooLong) {
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  HWND Main = Morvel.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();

  // The window's Run button, placed under Open and Close.
  const TClickResult Click = ClickAndWatch(FindChildAt(Main, "Button", {8, 143}), Morvel.Id());
  EXPECT_TRUE(Click.Returned) << Morvel.Describe();
  EXPECT_EQ(Click.DialogText, KTooLong);

  DWORD_PTR Ignored = 0;
  ASSERT_TRUE(
      SendMessageTimeoutA(Main, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_NORMAL, 10000, &Ignored))
      << Morvel.Describe();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; })) << Morvel.Describe();

  ASSERT_TRUE(PostToTrayIcon(0, KRightClick));
  HWND Menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (Menu = FindMenuOf(Morvel.Id())) != nullptr; }, KReaction))
      << Morvel.Describe();
  ChooseMenuItem(Menu, KRunItem);
  EXPECT_EQ(TakeMessage(Morvel), KTooLong);

  ASSERT_TRUE(PostToTrayIcon(0, KDoubleClick));
  EXPECT_EQ(TakeMessage(Morvel), KTooLong);

  EXPECT_TRUE(Morvel.Running());
  EXPECT_EQ(TrayIconCount(), 1);
  EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
}

}  // namespace
}  // namespace e2e
