// The about box with the main window beside it, and its link label.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "about/AboutBox.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "fakes/FakeUpdate.h"
#include "platform/KeyboardNavigation.h"

using about::TAboutBox;
using about::TLinkLabel;
using namespace platform;

namespace {

// Counts the colour updates, which must come only from real changes.
class TCountingLinkLabel : public TLinkLabel {
 public:
  using TLinkLabel::TLinkLabel;
  int Updates = 0;

 protected:
  void UpdateLinkColor() override {
    ++Updates;
    TLinkLabel::UpdateLinkColor();
  }
};

TEST(LinkLabel, ColourFollowsVisitedAndTheColourRule) {
  TCountingLinkLabel label(nullptr, nullptr);
  EXPECT_EQ(label.Font().Color, clBlue);
  EXPECT_TRUE(label.Font().Underline);
  EXPECT_EQ(label.Cursor, TCursor::HandPoint);
  EXPECT_EQ(label.HREF, "http://");
  constexpr TColor kGreen = 0x00FF00, kRed = clRed;
  const struct {
    const char* Step;
    std::function<void()> Do;
    TColor Color;
    int Updates;
  } steps[] = {
      {"visited colour, auto", [&] { label.SetColorVisited(kRed); }, clBlue, 0},
      {"visited", [&] { label.SetVisited(true); }, clPurple, 1},
      {"visited again", [&] { label.SetVisited(true); }, clPurple, 1},
      {"own colours", [&] { label.SetAutoColors(false); }, kRed, 2},
      {"unvisited", [&] { label.SetVisited(false); }, clBlue, 3},
      {"unvisited colour", [&] { label.SetColorUnvisited(kGreen); }, kGreen, 4},
      {"same colour", [&] { label.SetColorUnvisited(kGreen); }, kGreen, 4},
      {"auto again", [&] { label.SetAutoColors(true); }, clBlue, 5},
  };
  for (const auto& s : steps) {
    s.Do();
    EXPECT_EQ(label.Font().Color, s.Color) << s.Step;
    EXPECT_EQ(label.Updates, s.Updates) << s.Step;
  }
}

TEST(LinkLabel, EveryPressOpensTheLinkAfterTheLabelsOwnHandling) {
  fakes::TFakeSystem system;
  TLinkLabel label(nullptr, nullptr);
  label.HREF = "http://www.tandrel.invalid/";
  std::vector<std::size_t> openedBeforeHandler;
  label.OnMouseDown = [&](TObject*) { openedBeforeHandler.push_back(system.Shell.Calls.size()); };
  label.UserMouseDown();
  label.UserMouseDown();
  EXPECT_EQ(openedBeforeHandler, (std::vector<std::size_t>{0, 1}));
  ASSERT_EQ(system.Shell.Calls.size(), 2u);
  const auto& call = system.Shell.Calls[1];
  EXPECT_EQ(call.Owner, 0u);
  EXPECT_EQ(call.Verb, "open");
  EXPECT_EQ(call.File, label.HREF);
  EXPECT_EQ(call.Parameters + call.Directory, "");
  EXPECT_EQ(call.Show, kSwShow);
  EXPECT_FALSE(label.Visited());
  EXPECT_EQ(label.Font().Color, clBlue);
}

std::string Shipped(const std::string& name) {
  std::ifstream in(std::string(MORVEL_LANG_DIR) + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class AboutBoxTest : public ::testing::Test {
 protected:
  fakes::TFakeAboutSystem System;
  TApplication App;
  app::TForm1* Main = nullptr;
  TAboutBox* Box = nullptr;
  static constexpr const char* kKey = "Software\\Tandrel\\Morvel";

  void Start(const std::string& language = "English") {
    for (const char* file : {"english.lng", "deutsch.lng", "francais.lng"})
      System.Drives.Files[System.Drives.Dir + file] = Shipped(file);
    System.Registry.PutString(kHkeyLocalMachine, kKey, "Sprog", language);
    System.Registry.PutString(kHkeyLocalMachine, kKey, "Tray", "Nej");
    System.Registry.PutString(kHkeyLocalMachine, kKey, "Ikon", "Nej");
    System.Drives.AddCdRom('D');
    System.ProgramInfo.Resources = {{"PRODUCT_JPG", "product"}, {"DONATE_JPG", "donate"}};
    App.SetTitle("Morvel");
    App.ShowMainForm = false;
    Main = App.CreateForm<app::TForm1>("Form1");
    Box = App.CreateForm<TAboutBox>("AboutBox", Main->Sprog, app::ReadUpdateURLSetting());
  }
};

TEST_F(AboutBoxTest, TheCheckerAsksTheMakersSiteInTheUsersTemporaryFolder) {
  Start();
  EXPECT_EQ(Box->mGetNewVer1->URLCurrVerFile, about::kVersionFileURL);
  EXPECT_EQ(Box->mGetNewVer1->SiteName, "Tandrel Software");
  // The root of C: is closed to standard users.
  EXPECT_EQ(Box->mGetNewVer1->TempFile, System.Download.Temp + "curr_ver.tmp");
  EXPECT_EQ(Box->ProgramIcon->Jpeg(), "product");
  EXPECT_EQ(Box->Image1->Jpeg(), "donate");
}

TEST_F(AboutBoxTest, AMirrorInTheSettingsTakesThePlaceOfTheSite) {
  const std::string mirror = "http://127.0.0.1:8000/curr_ver.txt";
  System.Registry.PutString(kHkeyLocalMachine, kKey, "UpdateURL", mirror);
  Start();
  System.Download.Result = 1;
  Box->Button3->UserClicked();
  EXPECT_EQ(System.Download.Calls,
            (std::vector<std::string>{mirror + " -> " + Box->mGetNewVer1->TempFile}));
}

TEST_F(AboutBoxTest, CaptionsFollowTheLanguageAtStartAndWhenItChanges) {
  Start("Deutsch");
  const auto captions = [this] {
    return std::vector<std::string>{Box->LinkLabel1->Caption(),  Box->Button1->Caption(),
                                    Box->Button2->Caption(),     Box->Button3->Caption(),
                                    Box->ProductName->Caption(), Box->OKButton->Caption()};
  };
  EXPECT_EQ(captions(), (std::vector<std::string>{"Morvel-Website", "Hilfe",
                                                  "Zur\xFC"
                                                  "cksetzen",
                                                  "Updates?", "Morvel v 2.3", "OK"}));
  Main->ComboBox1->UserSelected(Main->ComboBox1->Items().IndexOf("Francais"));
  EXPECT_EQ(captions()[1], "Aide");
  EXPECT_EQ(captions()[4], "Morvel v 2.3");
}

TEST_F(AboutBoxTest, ResetIsAskedAndDoneOnlyOnOk) {
  Start("Deutsch");
  for (int answer : {kIdCancel, kIdOk}) {
    System.Dialogs.Asked.clear();
    System.Dialogs.Answers = {answer};
    int resets = 0;
    Box->OnResetDefaults = [&] { ++resets; };
    Box->Button2->UserClicked();
    ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
    EXPECT_EQ(System.Dialogs.Asked[0].Text, "Standardeinstellungen wiederherstellen?");
    EXPECT_EQ(System.Dialogs.Asked[0].Caption, "Default values");
    EXPECT_EQ(System.Dialogs.Asked[0].Flags, 0x21u);
    EXPECT_EQ(resets, answer == kIdOk ? 1 : 0);
  }
  // The language and the program's settings stay as they were.
  EXPECT_EQ(System.Registry.String(kHkeyLocalMachine, kKey, "Sprog"), "Deutsch");
}

// Without windows the box's handle is 0, the application window's is not.
TEST_F(AboutBoxTest, EveryDialogOfTheBoxIsOwnedByIt) {
  Start();
  Box->OnResetDefaults = [this] { Main->ResetPolicyDefaults(); };
  System.Registry.ReadOnlyRoots = {kHkeyLocalMachine};  // the reset's registry messages
  System.Download.Body = "[CurrentVersions]\r\nMorvel=2.4.0.0\r\n[DownloadURL]\r\nMorvel=file:///x";
  System.AppHost.WhileLooping = [this] {
    System.Dialogs.Answers = {kIdOk};  // reset; the restart question is cancelled
    Box->Button2->UserClicked();
    System.Dialogs.Answers = {kIdYes};  // download: "Not a web address"
    Box->Button3->UserClicked();
  };
  Box->ShowModal();
  ASSERT_GT(System.Dialogs.Asked.size(), 4u);
  for (const auto& asked : System.Dialogs.Asked)
    EXPECT_EQ(asked.Owner, Box->Handle()) << asked.Text;
}

TEST_F(AboutBoxTest, ClosingTheBoxStopsTheCheckThatASecondPressLeavesAlone) {
  Start();
  Box->Show();
  System.Download.Hold = true;
  System.AppHost.WhilePolling = [this] {
    Box->Button3->UserClicked();
    Box->OKButton->UserClicked();
  };
  Box->Button3->UserClicked();
  EXPECT_EQ(System.Download.Calls.size(), 1u);
  EXPECT_EQ(System.Download.Stops, 1);
  EXPECT_TRUE(System.Dialogs.Asked.empty());
}

TEST_F(AboutBoxTest, HelpOpensTheFileBesideTheProgramAndCloses) {
  Start();
  Box->Show();
  System.Drives.DirectoryError = 3;
  EXPECT_THROW(Box->Button1Click(Box), EInOutError);
  EXPECT_TRUE(System.Shell.Calls.empty());
  EXPECT_TRUE(Box->Visible());

  System.Drives.DirectoryError = 0;
  Box->Button1->UserClicked();
  EXPECT_EQ(System.Drives.CurrentDirectory, System.Drives.Dir);
  ASSERT_EQ(System.Shell.Calls.size(), 1u);
  const auto& call = System.Shell.Calls[0];
  EXPECT_EQ(call.Verb, "Open");
  EXPECT_EQ(call.File, System.Drives.Dir + "MorvelHelp.chm");
  EXPECT_EQ(call.Show, kSwShowNormal);
  EXPECT_FALSE(Box->Visible());
  EXPECT_FALSE(App.Terminated());
}

TEST_F(AboutBoxTest, TheDonationPictureOpensThePageInTheBrowser) {
  Start();
  System.Registry.PutString(kHkeyClassesRoot, "htmlfile\\shell\\open\\command", "",
                            "\"C:\\Web\\browse.exe\" -nohome");
  Box->Image1->UserClicked();
  ASSERT_EQ(System.Shell.Calls.size(), 1u);
  const auto& call = System.Shell.Calls[0];
  EXPECT_EQ(call.File, "C:\\Web\\browse.exe");
  EXPECT_EQ(call.Parameters, about::kDonationURL);
  for (const char* key :
       {"business=", "&item_name=Morvel", "&no_note=1", "&tax=0", "&currency_code=USD"})
    EXPECT_NE(call.Parameters.find(key), std::string::npos) << key;
}

// Tab visits the controls that take the focus in the order they are seen.
TEST_F(AboutBoxTest, TabVisitsTheControlsInTheOrderTheyAreSeen) {
  Start();
  Main->SetVisible(true);
  Box->SetVisible(true);
  const auto stops = [](const TWinControl& form) {
    std::string names;
    for (TWinControl* c : TabSequence(form))
      if (!dynamic_cast<TPanel*>(c) && !dynamic_cast<TTabSheet*>(c) &&
          !dynamic_cast<TStatusBar*>(c))
        names += c->Name() + " ";
    return names;
  };
  EXPECT_EQ(stops(*Main),
            "ComboBox2 BitBtn2 BitBtn3 BitBtn4 PageControl1 CheckBox1 CheckBox2 BitBtn5 BitBtn6 "
            "CheckBox3 CheckBox5 BitBtn1 ComboBox1 ");
  EXPECT_EQ(stops(*Box), "OKButton Button1 Button2 Button3 ");
}

}  // namespace
