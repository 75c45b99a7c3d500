#include <gtest/gtest.h>

#include <algorithm>

#include "app/Main.h"
#include "app/SingleInstance.h"
#include "fakes/FakeScsi.h"
#include "fakes/MainFormFixture.h"
#include "platform/Messages.h"

using app::TForm1;

namespace {

class MainFormTest : public fakes::TMainFormFixture {
 protected:
  TForm1* Start(std::initializer_list<char> cdDrives) {
    System.Drives.AddDrive('C', 3);
    for (char c : cdDrives) System.Drives.AddCdRom(c);
    return StartMainForm();
  }
};

TEST_F(MainFormTest, StartListsTheDrivesWithTheFirstCurrent) {
  fakes::TFakeScsi scsi;  // the device probe looks at the drives too
  platform::TServices services = platform::Services();
  services.Scsi = &scsi;
  const platform::TScopedServices scope(services);
  TForm1* form = Start({'E', 'D'});
  // One look at each letter serves the list and the probe.
  const std::vector<std::string>& calls = System.Drives.Calls;
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& c) { return c.rfind("GetDriveType", 0) == 0; }),
            3);
  EXPECT_EQ(form->ComboBox2->Items().Items(), (std::vector<std::string>{"D:", "E:"}));
  EXPECT_EQ(form->ComboBox2->Text(), "D:");
  EXPECT_EQ(form->CurrentDriveIndex(), 1);
  EXPECT_EQ(form->Drev->Items().Items(), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(form->Drev->Text(), "");
  EXPECT_EQ(form->StatusBar1->SimpleText(), "");
  EXPECT_EQ(form->Image1->PictureFile(), System.Drives.Dir + "d.ico");
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(App->MainForm(), form);
  EXPECT_TRUE(System.AppHost.AppWindowShown);  // the taskbar button shows with the window
  EXPECT_TRUE(System.Dialogs.Asked.empty());
  EXPECT_FALSE(App->Terminated());

  // Drives that come later take their places by letter.
  App->Run();
  System.Drives.AddCdRom('B');
  System.Drives.AddCdRom('F');
  form->DriveChangeTimerTimer(form);
  EXPECT_EQ(form->ComboBox2->Items().Items(), (std::vector<std::string>{"B:", "D:", "E:", "F:"}));
}

TEST_F(MainFormTest, NoDriveLeavesTheListAndPictureEmpty) {
  TForm1* form = Start({});
  EXPECT_EQ(form->ComboBox2->Items().Count(), 0);
  EXPECT_EQ(form->ComboBox2->Text(), "");
  EXPECT_EQ(form->CurrentDriveIndex(), 0);
  EXPECT_EQ(form->Image1->PictureFile(), "");
  // The commands have no drive to act on.
  form->BitBtn2Click(form);
  form->BitBtn3Click(form);
  EXPECT_TRUE(System.Media.Calls.empty());
}

TEST_F(MainFormTest, EightDrivesSayOnlySevenAndEndTheProgram) {
  TForm1* form = Start({'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K'});
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(System.Dialogs.Asked[0].Text, "Only seven");
  EXPECT_EQ(System.Dialogs.Asked[0].Caption, "Morvel");
  EXPECT_EQ(System.Dialogs.Asked[0].Flags, platform::kMbOk);
  EXPECT_TRUE(App->Terminated());
  // Start-up went no further: no current drive, no picture, no window.
  EXPECT_EQ(form->ComboBox2->Text(), "drev");
  EXPECT_EQ(form->Image1->PictureFile(), "");
  EXPECT_FALSE(form->Visible());
  App->Run();
  EXPECT_EQ(System.AppHost.LoopsRun, 0);
}

TEST_F(MainFormTest, SevenDrivesStartNormally) {
  TForm1* form = Start({'D', 'E', 'F', 'G', 'H', 'I', 'J'});
  EXPECT_TRUE(System.Dialogs.Asked.empty());
  EXPECT_EQ(form->ComboBox2->Items().Count(), 7);
  EXPECT_FALSE(App->Terminated());
}

TEST_F(MainFormTest, DeviceEntriesPairByTheirDriveLetter) {
  TForm1* form = Start({'D', 'E', 'F'});
  form->cbDrives->Items().Assign({"1:0:0,E: VENDOR  PRODUCT-E        1.00",
                                  "0:1:0,D: VENDOR  PRODUCT-D        2.00",
                                  "0:2:0,?: LOOSE   NO LETTER        0.01",
                                  "0:3:0,E: VENDOR  PRODUCT-E2       3.00", "0:4:0"});
  form->PairDeviceEntries();
  const auto& drev = form->Drev->Items();
  EXPECT_EQ(drev[0], "0:1:0,D: VENDOR  PRODUCT-D        2.00");
  EXPECT_EQ(drev[1], "0:3:0,E: VENDOR  PRODUCT-E2       3.00");  // the later entry wins
  EXPECT_EQ(drev[2], "");                                        // F has no device of its own
}

TEST_F(MainFormTest, SelectingADriveFollowsTheWholeTextWhileThePictureFollowsTheLetter) {
  TForm1* form = Start({'D', 'E'});
  form->Drev->Items().Assign({"0:0:0,D: DEV-D", "0:1:0,E: DEV-E"});

  form->ComboBox2->UserSelected(1);
  EXPECT_EQ(form->Image1->PictureFile(), System.Drives.Dir + "e.ico");
  EXPECT_EQ(form->StatusBar1->SimpleText(), "E: DEV-E");
  EXPECT_EQ(form->CurrentDriveIndex(), 2);

  form->ComboBox2->UserEdited("D:");
  EXPECT_EQ(form->StatusBar1->SimpleText(), "D: DEV-D");

  // A lower-case text is no item: the picture changes, the entry does not,
  // and no drive position matches.
  form->ComboBox2->UserEdited("e:");
  EXPECT_EQ(form->Image1->PictureFile(), System.Drives.Dir + "e.ico");
  EXPECT_EQ(form->StatusBar1->SimpleText(), "D: DEV-D");
  EXPECT_EQ(form->CurrentDriveIndex(), 0);

  // A bare letter is no item either, but it still names a drive position.
  form->ComboBox2->UserEdited("E");
  EXPECT_EQ(form->StatusBar1->SimpleText(), "D: DEV-D");
  EXPECT_EQ(form->CurrentDriveIndex(), 2);

  // Clearing the box changes nothing.
  form->ComboBox2->UserEdited("");
  EXPECT_EQ(form->Image1->PictureFile(), System.Drives.Dir + "e.ico");
}

TEST_F(MainFormTest, CurrentDriveIndexTakesTheLastItemOfTheLetter) {
  TForm1* form = Start({'D', 'E'});
  form->ComboBox2->Items().Assign({"D:", "E:", "E-copy"});
  form->ComboBox2->SetText("E:");
  EXPECT_EQ(form->CurrentDriveIndex(), 3);
}

TEST_F(MainFormTest, OpenAndCloseActOnTheCurrentLetterAsTyped) {
  TForm1* form = Start({'D', 'E'});
  form->ComboBox2->UserEdited("e:");
  form->BitBtn2->UserClicked();
  form->Close1->UserClicked();
  ASSERT_EQ(System.Media.Calls.size(), 6u);
  EXPECT_EQ(System.Media.Calls[0].ElementName, "e:");
  EXPECT_EQ(System.Media.Calls[1].Flags, platform::kMciSetDoorOpen);
  EXPECT_EQ(System.Media.Calls[4].Flags, platform::kMciSetDoorClosed);
}

TEST_F(MainFormTest, ClosingAsksAndOnlyCancelKeepsTheProgram) {
  TForm1* form = Start({'D'});
  System.Dialogs.Answers = {platform::kIdCancel, platform::kIdOk};
  form->UserClose();
  EXPECT_FALSE(App->Terminated());
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(System.Dialogs.Asked[0].Text, "Close program?");
  EXPECT_EQ(System.Dialogs.Asked[0].Caption, "Exit?");
  EXPECT_EQ(System.Dialogs.Asked[0].Flags, platform::kMbOkCancel | platform::kMbIconQuestion);
  form->UserClose();
  EXPECT_TRUE(App->Terminated());
}

TEST_F(MainFormTest, TheEndOfTheSessionClosesWithoutAQuestionFromThenOn) {
  TForm1* form = Start({'D'});
  EXPECT_TRUE(form->WMQueryEndSession());
  EXPECT_TRUE(form->FEndingSession);
  form->UserClose();
  EXPECT_TRUE(System.Dialogs.Asked.empty());
  EXPECT_TRUE(App->Terminated());
}

TEST_F(MainFormTest, EveryDesignedControlIsOwnedByTheFormUnderItsName) {
  TForm1* form = Start({});
  for (const char* name : {"Panel2",
                           "ComboBox2",
                           "BitBtn2",
                           "BitBtn3",
                           "BitBtn4",
                           "PageControl1",
                           "TabSheet1",
                           "TabSheet2",
                           "TabSheet3",
                           "Panel1",
                           "CheckBox1",
                           "CheckBox2",
                           "CheckBox3",
                           "CheckBox4",
                           "CheckBox5",
                           "CheckBox6",
                           "CheckBox7",
                           "CheckBox8",
                           "BitBtn1",
                           "BitBtn5",
                           "BitBtn6",
                           "Label1",
                           "Label2",
                           "Label3",
                           "Label4",
                           "DefPlay",
                           "CheckListBox1",
                           "CheckListBox2",
                           "CheckListBox3",
                           "CheckListBox4",
                           "Image1",
                           "Shape1",
                           "ComboBox1",
                           "StatusBar1",
                           "cbDrives",
                           "Drev",
                           "Sprog",
                           "PopupMenu1",
                           "Restore1",
                           "Open1",
                           "Close1",
                           "Run1",
                           "Explore1",
                           "Exit1",
                           "N1",
                           "N2",
                           "N3",
                           "Timer1",
                           "MCDBurner1",
                           "Bevel1",
                           "Bevel2",
                           "Bevel3",
                           "Bevel4",
                           "Bevel5",
                           "HotKey3"})
    EXPECT_NE(form->FindComponent(name), nullptr) << name;
  // Controls inside pages and panels still belong to the form.
  EXPECT_EQ(form->XpPage->CheckBox6->Owner(), form);
  EXPECT_EQ(form->XpPage->CheckBox6->Parent(), form->XpPage->TabSheet3);
  // Of two painted controls the later lies on top: the picture over its frame.
  const auto& controls = form->Controls();
  EXPECT_LT(std::find(controls.begin(), controls.end(), form->Shape1),
            std::find(controls.begin(), controls.end(), form->Image1));
  std::string pages, items;
  for (const auto* page : form->PageControl1->Pages()) pages += page->Name() + " ";
  for (const auto* item : form->PopupMenu1->Items()) items += item->Name() + " ";
  EXPECT_EQ(pages, "TabSheet1 TabSheet2 TabSheet3 TabSheet4 ");
  EXPECT_EQ(form->DrivesPage->CheckListBox3->Items()[0], "Uknown");
  EXPECT_EQ(form->DrivesPage->CheckListBox1->Items().Count(), 26);
  EXPECT_EQ(items, "Restore1 N1 Open1 Close1 N3 Run1 Explore1 N2 Exit1 ");  // N: separators
  EXPECT_EQ(form->Open1->Caption,
            "\xC5"
            "ben");
}

// The program can always be reached: in the notification area without a
// drive it shows its own icon, and a copy that shows nothing comes forward
// when started again.
class ReachTest : public MainFormTest {
 protected:
  ReachTest() { System.Icons.Readable.insert(System.Drives.Dir + "morvel.ico"); }
  std::size_t Adds() {
    std::size_t n = 0;
    for (const auto& call : System.NotifyArea.Calls()) n += call.Message == platform::kNimAdd;
    return n;
  }
  // A second copy's query reaches this one's application window.
  void QueryFromSecondCopy() {
    System.Instance.Hook(fakes::TFakeAppHost::kAppWindow, System.Instance.MessageId, app::kQuery,
                         0xBEEF);
  }
};

TEST_F(ReachTest, WithoutADriveTheTrayShowsTheProgramsOwnIconWhileTheWindowIsHidden) {
  System.Drives.AddDrive('C', 3);
  TForm1* form = StartMainForm("English", app::kYes);
  platform::TTrayIcon* own = form->ProgramTrayIcon;
  ASSERT_NE(own, nullptr);
  EXPECT_FALSE(form->Visible());
  ASSERT_TRUE(System.NotifyArea.Registered(own->Id()));
  EXPECT_EQ(System.Icons.FileOf(System.NotifyArea.Shown(own->Id()).Icon),
            System.Drives.Dir + "morvel.ico");
  EXPECT_EQ(System.NotifyArea.Shown(own->Id()).Tip, "Morvel");
  EXPECT_EQ(own->PopupMenu, form->PopupMenu1);

  // Its menu: the drive commands find no drive; Restore brings the window
  // back and the icon goes.
  form->Open1->UserClicked();
  form->Close1->UserClicked();
  EXPECT_TRUE(System.Media.Calls.empty());
  form->Restore1->UserClicked();
  EXPECT_TRUE(form->Visible());
  EXPECT_FALSE(System.NotifyArea.Registered(own->Id()));
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());

  // Minimising brings it back, and leaving the tray mode takes it away.
  form->WMSysCommand(platform::kScMinimize);
  EXPECT_TRUE(System.NotifyArea.Registered(own->Id()));
  form->HideDriveIcons();
  EXPECT_FALSE(System.NotifyArea.Registered(own->Id()));
  EXPECT_TRUE(System.Dialogs.Asked.empty());
}

TEST_F(ReachTest, ASecondStartShowsTheWindowOnlyOfACopyThatShowsNothing) {
  const struct {
    const char* Tray;
    bool Drive;
    bool Shows;  // a tray icon after the start
  } cases[] = {
      {"ja", false, false}, {app::kYes, false, true}, {"", true, false}, {app::kYes, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Tray) + (c.Drive ? " with a drive" : ""));
    App.emplace().ShowMainForm = false;
    System.NotifyArea.ClearCalls();
    if (c.Drive) System.Drives.AddCdRom('D');
    TForm1* form = StartMainForm("English", c.Tray);
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(Adds(), c.Shows ? 1u : 0u);
    EXPECT_EQ(form->ShowsAnything(), c.Shows);

    app::TSingleInstance guard;
    App->Run();
    QueryFromSecondCopy();
    // A copy in the notification area stays there; one that shows nothing
    // shows its window, and no icon.
    EXPECT_EQ(form->Visible(), !c.Shows);
    EXPECT_EQ(Adds(), c.Shows ? 1u : 0u);
    ASSERT_FALSE(System.Instance.Posts.empty());
    EXPECT_EQ(System.Instance.Posts.back().WParam, app::kAnswer);
  }
}

TEST_F(ReachTest, EveryQueryIsAnsweredButOnlyAStartedCopyComesForward) {
  System.Drives.AddCdRom('D');
  app::TSingleInstance guard;
  System.Dialogs.WhileOpen = [this] { QueryFromSecondCopy(); };
  EXPECT_FALSE(CreateMainForm()->Visible());  // without settings: three reports
  App->Run();
  System.AppHost.ShowFails = true;
  EXPECT_ANY_THROW(QueryFromSecondCopy());
  EXPECT_EQ(System.Instance.Posts.size(), System.Dialogs.Asked.size() + 1);
}

}  // namespace
