// Scenarios "discs" and "no-drive". "discs": seven CD-ROM drives, D: to J:;
// D:'s Autorun.inf names a solid red icon file on the disc, E:'s the icon
// inside e2e_probe.exe (solid blue), the others hold empty discs. "no-drive":
// no CD-ROM drive at all, where the program still has to be reachable.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

constexpr auto KReaction = 10s;
constexpr COLORREF KRed = RGB(255, 0, 0);
constexpr COLORREF KBlue = RGB(0, 0, 255);

// The icons are added last drive first, each left of those before it.
constexpr int KDrives = 7;
constexpr int KSlotOfD = KDrives - 1;
constexpr int KSlotOfE = KDrives - 2;

void Minimise(HWND Main) {
  DWORD_PTR Ignored = 0;
  SendMessageTimeoutA(Main, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_NORMAL, 10000, &Ignored);
}

class Scenario : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, KReaction))
        << "the notification area is not empty before the start: " << TrayIconCount();
  }
  void TearDown() override {
    WriteSetting("Tray", "Nej");
    WriteSetting("Ikon", "Nej");
  }
};

using Discs = Scenario;
using NoDrive = Scenario;

TEST_F(Discs, SevenDrivesShowSevenIconsAndTheDiscsTheirOwnPictures) {
  ASSERT_TRUE(WriteSetting("Tray", "Ja"));
  ASSERT_TRUE(WriteSetting("Ikon", "Ja"));
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  HWND Main = Morvel.WaitForMainWindowMade();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == KDrives; }))
      << "icons: " << TrayIconCount() << "\n"
      << Morvel.Describe();
  EXPECT_TRUE(WaitUntil([] {
    return TrayIconCount() == KDrives && TrayIconColour(KSlotOfD) == KRed &&
           TrayIconColour(KSlotOfE) == KBlue;
  })) << std::hex
      << "D: " << TrayIconColour(KSlotOfD) << ", E: " << TrayIconColour(KSlotOfE);
  // The drives whose discs name no icon keep their letters.
  for (int Slot = 0; Slot < KSlotOfE; ++Slot) {
    EXPECT_NE(TrayIconColour(Slot), KRed) << Slot;
    EXPECT_NE(TrayIconColour(Slot), KBlue) << Slot;
  }
  EXPECT_FALSE(IsWindowVisible(Main));
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  Screenshot("tray-disc-icons");
  EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, KReaction));
}

TEST_F(NoDrive, MinimisingShowsTheProgramsOwnIconWhoseRestoreBringsTheWindowBack) {
  ASSERT_TRUE(WriteSetting("Tray", "Nej"));
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  HWND Main = Morvel.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  EXPECT_EQ(TrayIconCount(), 0);

  Minimise(Main);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }, KReaction))
      << "icons: " << TrayIconCount() << "\n"
      << Morvel.Describe();
  EXPECT_FALSE(IsWindowVisible(Main));
  EXPECT_EQ(ReadSetting("Tray"), "Ja");
  Screenshot("tray-own-icon");

  ASSERT_TRUE(PostToTrayIcon(0, KRightClick));
  HWND Menu = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (Menu = FindMenuOf(Morvel.Id())) != nullptr; }, KReaction))
      << Morvel.Describe();
  ChooseMenuItem(Menu, 0);  // Restore
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != FALSE; }, KReaction))
      << Morvel.Describe();
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, KReaction))
      << "icons: " << TrayIconCount();
  EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
}

TEST_F(NoDrive, ASecondStartMakesACopyThatShowsNothingShowItsWindow) {
  ASSERT_TRUE(WriteSetting("Tray", "ja"));  // neither mode
  TMorvelProcess First;
  ASSERT_TRUE(First.Start()) << First.LastError();
  HWND Main = First.WaitForMainWindowMade();
  ASSERT_NE(Main, nullptr) << First.Describe();
  EXPECT_FALSE(WaitUntil([&] { return IsWindowVisible(Main) || TrayIconCount() != 0; }, 500ms));

  TMorvelProcess Second;
  ASSERT_TRUE(Second.Start()) << Second.LastError();
  ASSERT_TRUE(Second.WaitForExit(20s)) << "the second copy still runs: " << Second.Describe();
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != FALSE; }, KReaction))
      << First.Describe();
  EXPECT_EQ(TrayIconCount(), 0);
  EXPECT_EQ(TopWindowsTitled(KMainTitle).size(), 1u);
  EXPECT_TRUE(First.Stop()) << "the program had to be terminated";
}

}  // namespace
}  // namespace e2e
