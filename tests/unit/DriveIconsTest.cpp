#include <gtest/gtest.h>

#include "about/AboutBox.h"
#include "app/Main.h"
#include "drives/DriveIcons.h"
#include "fakes/MainFormFixture.h"
#include "fakes/Poll.h"
#include "platform/Messages.h"

using app::TForm1;
using platform::TTrayIcon;

namespace {

using fakes::Eventually;

class DriveIconsTest : public fakes::TMainFormFixture {
 protected:
  DriveIconsTest() {
    const std::string dir = System.Drives.Dir;
    for (const char* f : {"d.ico", "e.ico", "f.ico", "dvd.ico", "acd.ico", "RW.ico", "morvel.ico"})
      System.Icons.Readable.insert(dir + f);
  }

  TForm1* Start(std::initializer_list<char> drives, const char* tray = app::kNo) {
    for (char c : drives) System.Drives.AddCdRom(c, true);
    return StartMainForm("English", tray);
  }

  std::string FileShown(const TTrayIcon* icon) {
    const std::string path = System.Icons.FileOf(System.NotifyArea.Shown(icon->Id()).Icon);
    return path.substr(path.find_last_of('\\') + 1);
  }
  std::size_t Registered(const TForm1* form) {
    std::size_t n = 0;
    for (int k = 1; k <= form->DriveIconCount(); ++k)
      n += System.NotifyArea.Registered(form->DriveTrayIcons[k]->Id());
    return n;
  }
  std::string Tray() { return Stored(app::kSettingTray); }
  void Mouse(const TTrayIcon* icon, std::uint32_t message) {
    System.NotifyArea.Send(icon->Handle(), TTrayIcon::kCallbackMessage, icon->Id(), message);
  }
};

TEST_F(DriveIconsTest, TheImagesFollowTheDeviceEntryKindByKind) {
  const struct {
    const char* Entry;
    std::vector<std::string> Files;
  } cases[] = {
      {"1:0:0,E: VENDOR  DVD-RW DRIVE    1.00", {"e.ico", "dvd.ico", "RW.ico"}},
      {"1:0:0,E: VENDOR  cd-rw drive     1.00", {"e.ico", "acd.ico", "RW.ico"}},
      {"1:0:0,E: VENDOR  DVD+CD COMBO    1.00", {"e.ico", "dvd.ico", "acd.ico"}},
      {"", {"e.ico"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Entry);
    // Each icon goes with its case, and its animation thread with it.
    platform::TComponent caseOwner(nullptr);
    auto* icon = platform::TComponent::Create<TTrayIcon>(&caseOwner, "");
    drives::LoadDriveImages(*icon, 'E', c.Entry);
    icon->SetAnimated(true);
    icon->SetInterval(7500);
    icon->SetActive(true);
    // One full round of the animation, step by step.
    std::vector<std::string> shown{FileShown(icon)};
    for (std::size_t i = 1; i < c.Files.size(); ++i) {
      ASSERT_TRUE(Eventually([&] { return System.Clock.Waiting() == 1; }));
      System.Clock.Advance(7500);
      ASSERT_TRUE(Eventually([&] { return FileShown(icon) != shown.back(); }));
      shown.push_back(FileShown(icon));
    }
    EXPECT_EQ(shown, c.Files);
    // The base image is the last file loaded.
    EXPECT_EQ(System.Icons.FileOf(icon->Icon().Handle()), System.Drives.Dir + c.Files.back());
  }
}

TEST_F(DriveIconsTest, MissingIconFilesStillLeaveTheDriveAnIcon) {
  platform::TComponent owner(nullptr);
  System.Icons.Readable.erase(System.Drives.Dir + "e.ico");
  auto* withKind = platform::TComponent::Create<TTrayIcon>(&owner, "");
  drives::LoadDriveImages(*withKind, 'E', "1:0:0,E: DVD");
  EXPECT_EQ(withKind->IconCount(), 1);  // the DVD image alone

  System.Icons.Readable.erase(System.Drives.Dir + "dvd.ico");
  auto* bare = platform::TComponent::Create<TTrayIcon>(&owner, "");
  drives::LoadDriveImages(*bare, 'E', "1:0:0,E: DVD");
  bare->SetAnimated(true);
  bare->SetActive(true);
  EXPECT_EQ(bare->IconCount(), 0);
  EXPECT_TRUE(bare->Shown());
  EXPECT_EQ(FileShown(bare), "morvel.ico");
  // And so it stays after the tray has been opened.
  drives::RestoreDriveImages(*bare, 'E');
  EXPECT_TRUE(bare->Shown());
  EXPECT_EQ(FileShown(bare), "morvel.ico");
}

TEST_F(DriveIconsTest, OnlyAWholeNumberOfMillisecondsStoredSetsTheAnimationStep) {
  EXPECT_EQ(app::ReadAnimationSetting(), app::kAnimationMs);  // absent
  for (const char* text : {"0", "-5", "65536", "10ms", ""}) {
    Store(app::kSettingAnimationMs, text);
    EXPECT_EQ(app::ReadAnimationSetting(), app::kAnimationMs) << text;
  }
  Store(app::kSettingAnimationMs, "25");
  TForm1* form = Start({'D', 'E'});
  EXPECT_EQ(form->DriveTrayIcons[1]->Interval(), 25);
  EXPECT_EQ(form->DriveTrayIcons[2]->Interval(), 25);
  EXPECT_TRUE(System.Dialogs.Asked.empty());
}

TEST_F(DriveIconsTest, IconsAreMadeHiddenLastDriveFirstAndShowLastDriveFirst) {
  TForm1* form = Start({'D', 'E', 'F'});
  ASSERT_EQ(form->DriveIconCount(), 3);
  std::vector<const platform::TComponent*> made;
  for (const auto& owned : form->Components())
    if (dynamic_cast<const TTrayIcon*>(owned.get())) made.push_back(owned.get());
  EXPECT_EQ(made, (std::vector<const platform::TComponent*>{
                      form->DriveTrayIcons[3], form->DriveTrayIcons[2], form->DriveTrayIcons[1]}));
  // Hidden icons have no windows yet, nor images: a start in window mode
  // reads none.
  EXPECT_EQ(System.NotifyArea.ListenerCount(), 0u);
  EXPECT_EQ(System.Icons.LiveCount(), 0u);
  for (int k = 1; k <= 3; ++k) {
    SCOPED_TRACE(k);
    const TTrayIcon* icon = form->DriveTrayIcons[k];
    EXPECT_EQ(icon->Tag(), k);
    EXPECT_FALSE(icon->Active());
    EXPECT_TRUE(icon->Animated());
    EXPECT_EQ(icon->Interval(), 7500);
    EXPECT_EQ(icon->PopupMenu, form->PopupMenu1);
    EXPECT_EQ(icon->Hint(), "");  // no device entries
    ASSERT_NE(form->DriveIconImages[k], nullptr);
    EXPECT_TRUE(form->DriveIconImages[k]->Empty());
  }
  EXPECT_EQ(Registered(form), 0u);

  System.NotifyArea.ClearCalls();
  form->ShowDriveIcons();
  const auto calls = System.NotifyArea.Calls();
  std::vector<unsigned> added;
  for (const auto& call : calls)
    if (call.Message == platform::kNimAdd) added.push_back(call.Data.Id);
  EXPECT_EQ(added,
            (std::vector<unsigned>{form->DriveTrayIcons[3]->Id(), form->DriveTrayIcons[2]->Id(),
                                   form->DriveTrayIcons[1]->Id()}));
  EXPECT_EQ(FileShown(form->DriveTrayIcons[2]), "e.ico");
  form->HideDriveIcons();
  EXPECT_EQ(Registered(form), 0u);
}

TEST_F(DriveIconsTest, MinimisingGoesToTheTrayAndIsRemembered) {
  TForm1* form = Start({'D', 'E'});
  ASSERT_TRUE(form->Visible());
  EXPECT_FALSE(form->WMSysCommand(platform::kScMinimize | 2));  // not exactly the minimise command
  EXPECT_TRUE(form->Visible());

  EXPECT_TRUE(form->WMSysCommand(platform::kScMinimize));
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(System.AppHost.AppWindowShown);  // no taskbar button left
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());
  EXPECT_EQ(Tray(), "Ja");
  EXPECT_EQ(Registered(form), 2u);

  // Restore brings the window back and leaves the icons and the setting.
  form->Restore1->UserClicked();
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(Registered(form), 2u);
  EXPECT_EQ(Tray(), "Ja");
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());
}

TEST_F(DriveIconsTest, ARefusedSettingIsReportedAndTheTrayModeStillComes) {
  TForm1* form = Start({'D', 'E'});
  System.Registry.ReadOnlyRoots = {platform::kHkeyLocalMachine};
  form->WMSysCommand(platform::kScMinimize);
  EXPECT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(Tray(), "Nej");
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(Registered(form), 2u);
}

TEST_F(DriveIconsTest, TheTaskbarBoxSwitchesTheIconsOnlyWhenClicked) {
  TForm1* form = Start({'D', 'E'});
  // The keyboard toggles the mark but nothing else.
  form->AutoRunPage->CheckBox3->UserToggled();
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());
  EXPECT_EQ(Tray(), "Nej");
  EXPECT_EQ(Registered(form), 0u);

  form->AutoRunPage->CheckBox3->UserMouseDown();
  form->AutoRunPage->CheckBox3->UserToggled();  // unchecked by the mouse
  EXPECT_EQ(Tray(), "Nej");
  EXPECT_EQ(Registered(form), 0u);
  form->AutoRunPage->CheckBox3->UserMouseDown();
  form->AutoRunPage->CheckBox3->UserToggled();
  EXPECT_EQ(Tray(), "Ja");
  EXPECT_EQ(Registered(form), 2u);
  EXPECT_TRUE(form->Visible());

  form->AutoRunPage->CheckBox3->UserMouseDown();
  form->AutoRunPage->CheckBox3->UserToggled();
  EXPECT_EQ(Tray(), "Nej");
  EXPECT_EQ(Registered(form), 0u);
  EXPECT_TRUE(form->Visible());
  // Minimising afterwards brings them back and checks the box again.
  form->WMSysCommand(platform::kScMinimize);
  EXPECT_EQ(Registered(form), 2u);
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());
}

// The soak's rounds (tools/soak.sh) against the fakes, which count what
// Wine does not: icon handles, the icons' windows, open registry keys.
TEST_F(DriveIconsTest, RoundsOfLanguagesMenusTogglesAndAnimationLeaveNothingBehind) {
  System.Drives.Files[System.Drives.Dir + "deutsch.lng"] =
      "[Translations]\r\nForm1.BitBtn2.Caption=Auswerfen\r\n";
  System.Drives.Files[System.Drives.Dir + "english.lng"] =
      "[Translations]\r\nForm1.BitBtn2.Caption=Open\r\n";
  TForm1* form = Start({'D', 'E'}, "Ja");
  // Device entries give each icon three images to step through.
  drives::LoadDriveImages(*form->DriveTrayIcons[1], 'D', "0:0:0,D: VENDOR  DVD-RW DRIVE    1.00");
  drives::LoadDriveImages(*form->DriveTrayIcons[2], 'E', "0:1:0,E: VENDOR  CD-RW DRIVE     1.00");
  const auto round = [&](int r) {
    form->ComboBox1->SetText(r % 2 ? "Deutsch" : "English");
    form->ComboBox1Change(form);
    Mouse(form->DriveTrayIcons[1 + r % 2], platform::kWmRButtonDown);
    Mouse(form->DriveTrayIcons[1 + r % 2], platform::kWmRButtonUp);
    for (int i = 0; i < 2; ++i) {
      form->AutoRunPage->CheckBox3->UserMouseDown();
      form->AutoRunPage->CheckBox3->UserToggled();
    }
    form->ComboBox2->SetText(r % 2 ? "D:" : "E:");
    form->ComboBox2Change(form);
    ASSERT_TRUE(Eventually([&] { return System.Clock.Waiting() == 2; }));
    System.Clock.Advance(7500);
  };
  for (int r = 0; r < 4 && !HasFatalFailure(); ++r) round(r);
  const std::size_t icons = System.Icons.LiveCount();
  const std::size_t windows = System.NotifyArea.ListenerCount();
  const std::size_t keys = System.Registry.OpenKeyCount();
  for (int r = 0; r < 200 && !HasFatalFailure(); ++r) round(r);
  EXPECT_EQ(form->BitBtn2->Caption(), "Auswerfen");  // the last round picks Deutsch
  EXPECT_EQ(Registered(form), 2u);
  EXPECT_EQ(System.Icons.LiveCount(), icons);
  EXPECT_EQ(System.NotifyArea.ListenerCount(), windows);
  EXPECT_EQ(System.Registry.OpenKeyCount(), keys);
  EXPECT_EQ(System.Icons.DestroyedUnknown(), 0);
  EXPECT_TRUE(System.Dialogs.Asked.empty());
}

TEST_F(DriveIconsTest, AStoredTrayModeStartsHiddenWithTheIcons) {
  // The first icon goes to the shell before the next one's images are read.
  std::size_t readAtFirstRequest = 0;
  System.NotifyArea.RunDuringNextRequest([&] { readAtFirstRequest = System.Icons.LiveCount(); });
  TForm1* form = Start({'D', 'E'}, "Ja");
  EXPECT_GT(readAtFirstRequest, 0u);
  EXPECT_LT(readAtFirstRequest, System.Icons.LiveCount());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(Registered(form), 2u);
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());
}

TEST_F(DriveIconsTest, ARightClickMakesTheIconsDriveCurrentBeforeTheMenuOpens) {
  TForm1* form = Start({'D', 'E'}, "Ja");
  std::string currentWhenOpened;
  form->PopupMenu1->OnPopup = [&](platform::TObject*) {
    currentWhenOpened = form->ComboBox2->Text();
  };
  TTrayIcon* second = form->DriveTrayIcons[2];
  Mouse(second, platform::kWmRButtonDown);
  Mouse(second, platform::kWmRButtonUp);
  EXPECT_EQ(currentWhenOpened, "E:");
  EXPECT_EQ(form->Image1->PictureFile(), System.Drives.Dir + "e.ico");
  EXPECT_EQ(form->PopupMenu1->PopupComponent, second);

  // The menu's Open then acts on E.
  form->Open1->UserClicked();
  ASSERT_FALSE(System.Media.Calls.empty());
  EXPECT_EQ(System.Media.Calls[0].ElementName, "E:");
}

TEST_F(DriveIconsTest, ADoubleClickRunsTheIconsDrive) {
  TForm1* form = Start({'D', 'E'}, "Ja");
  System.Drives.Files["E:\\Autorun.inf"] = "[autorun]\r\nopen=setup.exe /s\r\n";
  TTrayIcon* second = form->DriveTrayIcons[2];
  for (std::uint32_t m : {platform::kWmLButtonDown, platform::kWmLButtonUp,
                          platform::kWmLButtonDblClk, platform::kWmLButtonUp})
    Mouse(second, m);
  ASSERT_EQ(System.Shell.Calls.size(), 1u);
  EXPECT_EQ(System.Shell.Calls[0].File, "setup.exe");
  EXPECT_EQ(System.Shell.Calls[0].Parameters, "/s");
  EXPECT_EQ(form->ComboBox2->Text(), "E:");
}

TEST_F(DriveIconsTest, OpeningTheTrayBringsBackTheLetterAnimation) {
  TForm1* form = Start({'D', 'E'}, "Ja");
  TTrayIcon* first = form->DriveTrayIcons[1];
  // A disc's own icon, shown steadily.
  platform::TIcon disc;
  System.Icons.Readable.insert("disc.ico");
  disc.LoadFromFile("disc.ico");
  first->SetIcon(disc);
  first->SetAnimated(false);
  EXPECT_EQ(FileShown(first), "disc.ico");

  form->BitBtn2->UserClicked();
  EXPECT_TRUE(first->Animated());
  EXPECT_EQ(first->AnimationPosition(), 0);
  EXPECT_EQ(FileShown(first), "d.ico");
}

TEST_F(DriveIconsTest, ExitAsksAndEndingTheProgramRemovesEveryIcon) {
  TForm1* form = Start({'D', 'E'}, "Ja");
  System.Dialogs.Answers = {platform::kIdCancel, platform::kIdOk};
  form->Exit1->UserClicked();
  EXPECT_FALSE(App->Terminated());
  EXPECT_EQ(Registered(form), 2u);
  form->Exit1->UserClicked();
  ASSERT_EQ(System.Dialogs.Asked.size(), 2u);
  EXPECT_EQ(System.Dialogs.Asked[1].Text, "Close program?");
  EXPECT_TRUE(App->Terminated());
  App.reset();
  EXPECT_EQ(System.NotifyArea.ListenerCount(), 0u);
  EXPECT_EQ(System.Icons.LiveCount(), 0u);
}

TEST_F(DriveIconsTest, TheAboutButtonShowsTheAboutBoxModally) {
  TForm1* form = Start({'D'});
  form->BitBtn1->UserClicked();  // no about box yet: nothing happens
  EXPECT_EQ(System.AppHost.LoopsRun, 0);
  auto* box = App->CreateForm<about::TAboutBox>("AboutBox");
  EXPECT_FALSE(box->Visible());
  EXPECT_EQ(App->MainForm(), form);
  form->BitBtn1->UserClicked();
  EXPECT_EQ(System.AppHost.LoopsRun, 1);  // its own modal loop
  EXPECT_FALSE(box->Visible());           // and closed again afterwards
  EXPECT_FALSE(box->Modal());
}

TEST_F(DriveIconsTest, TheWindowNeverChangesSize) {
  TForm1* form = Start({'D'});
  int width = 800, height = 600;
  EXPECT_FALSE(form->CanResize(width, height));
}

}  // namespace
