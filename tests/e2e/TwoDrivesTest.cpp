// Scenario "two drives": D: and E: are folders that Wine reports as CD-ROM
// drives, and the program's settings ask for window mode. The program starts
// with its main window, lists both drives, and the tray commands of the main
// window do nothing visible on a drive that has no door.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "MorvelProcess.h"

namespace e2e {
namespace {

class TwoDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
    Main = Morvel.WaitForMainWindow();
    ASSERT_NE(Main, nullptr) << "no visible window titled \"" << KMainTitle
                             << "\" of the started process; its windows:\n"
                             << Morvel.Describe();
  }

  std::vector<HWND> Combos() const {
    std::vector<HWND> Found;
    for (HWND Child : DescendantsOf(Main))
      if (ClassOf(Child) == "ComboBox") Found.push_back(Child);
    return Found;
  }

  TMorvelProcess Morvel;
  HWND Main = nullptr;
};

TEST_F(TwoDrives, MainWindowIsTheOnlyOneAndBelongsToTheStartedProcess) {
  const auto Titled = TopWindowsTitled(KMainTitle);
  ASSERT_EQ(Titled.size(), 1u);
  EXPECT_EQ(Titled.front(), Main);
  EXPECT_EQ(ProcessOf(Main), Morvel.Id());
  EXPECT_EQ(GetParent(Main), nullptr);
  // No message came up on the way (a missing setting, an error report).
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
}

TEST_F(TwoDrives, DriveListHoldsTheCdDrivesInLetterOrderAndStartsAtTheFirst) {
  HWND Drives = FindChildAt(Main, "ComboBox", {24, 48});
  ASSERT_NE(Drives, nullptr) << "no visible combo box at (24,48)";
  EXPECT_EQ(ComboItems(Drives), (std::vector<std::string>{"D:", "E:"}));
  EXPECT_EQ(TextOf(Drives), "D:");
}

TEST_F(TwoDrives, LanguageListAndHiddenCombosAreInPlace) {
  HWND Language = FindChildAt(Main, "ComboBox", {382, 149});
  ASSERT_NE(Language, nullptr) << "no visible combo box at (382,149)";
  EXPECT_EQ(ComboItems(Language),
            (std::vector<std::string>{"Dansk", "Deutsch", "English", "Francais", "User"}));

  // The drive list and the language list are shown; the device list and the
  // list that follows the current drive are kept hidden, in the program's
  // model alone: a combo box gets its window when first shown.
  const auto All = Combos();
  EXPECT_EQ(All.size(), 2u);
  EXPECT_EQ(std::count_if(All.begin(), All.end(), [](HWND C) { return IsWindowVisible(C); }), 2);
}

TEST_F(TwoDrives, OpenAndCloseOnAFolderDriveShowNothingAndKeepRunning) {
  HWND Drives = FindChildAt(Main, "ComboBox", {24, 48});
  ASSERT_NE(Drives, nullptr);
  for (const char* Caption : {"Open", "Close"}) {
    SCOPED_TRACE(Caption);
    HWND Button = FindChild(Main, "Button", Caption);
    ASSERT_NE(Button, nullptr) << "no button \"" << Caption << "\"";
    const TClickResult Click = ClickAndWatch(Button, Morvel.Id());
    EXPECT_TRUE(Click.Returned) << "the click handler did not come back";
    EXPECT_FALSE(Click.DialogShown)
        << "dialog \"" << Click.DialogCaption << "\": " << Click.DialogText;
    // A dialog that comes up just after the handler returned counts too.
    EXPECT_FALSE(WaitUntil([&] { return FindDialogOf(Morvel.Id()) != nullptr; }, 500ms))
        << Morvel.Describe();
    EXPECT_TRUE(Morvel.Running());
    EXPECT_TRUE(IsWindowVisible(Main));
    EXPECT_EQ(TextOf(Drives), "D:");
  }
}

TEST_F(TwoDrives, ClosingAsksFirstAndOnlyOkEndsTheProgram) {
  PostMessageA(Main, WM_CLOSE, 0, 0);
  HWND Question = Morvel.WaitForDialog("Exit?");
  ASSERT_NE(Question, nullptr) << Morvel.Describe();
  EXPECT_EQ(DialogText(Question), "Close program?");
  ASSERT_TRUE(HasButton(Question, IDOK));
  ASSERT_TRUE(HasButton(Question, IDCANCEL));
  PressDialogButton(Question, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Question); }));
  EXPECT_FALSE(Morvel.WaitForExit(300ms)) << "Cancel ended the program";
  EXPECT_TRUE(IsWindowVisible(Main));

  PostMessageA(Main, WM_CLOSE, 0, 0);
  Question = Morvel.WaitForDialog("Exit?");
  ASSERT_NE(Question, nullptr) << Morvel.Describe();
  PressDialogButton(Question, IDOK);
  ASSERT_TRUE(Morvel.WaitForExit(20s)) << Morvel.Describe();
  EXPECT_EQ(Morvel.ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
