// The option pages against the fake registry: the read-out at start-up on
// the three kinds of system, the reset, and what each control writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "app/Main.h"
#include "fakes/Fakes.h"
#include "policies/AutoRunMasks.h"
#include "policies/PolicyMap.h"

using app::TForm1;
using platform::kHkeyClassesRoot;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kIdCancel;
using platform::kIdYes;

namespace {

enum TOs { kWin95, kWin98, kWin2000, kWinXp };

const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kPlayer = "AudioCD\\Shell\\Play\\Command";
const std::string kMachineShell = "SOFTWARE\\Classes\\AudioCD\\Shell";
const std::string kClassesShell = "AudioCD\\Shell";
const std::string kCdRomNt = "SYSTEM\\CurrentControlSet\\Services\\Cdrom";
const std::string kCdRom9x = "SYSTEM\\CurrentControlSet\\Services\\Class\\Cdrom";
const std::string kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const std::string kExplorer = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::string kInstaller = "SOFTWARE\\Policies\\Microsoft\\Windows\\Installer";
const std::string kReboot = "Change will take effect after reboot. Do you wish to reboot now?";
const std::string kTypeQuestion = "Do you want to change Current User Drive Type Setting?";
const std::string kAllLetters(26, '1');
const std::string kNoLetters(26, '0');
const std::string kRefused = "     \r\nYou do not have the rights to change this setting\n";

std::string Marks(const platform::TCheckListBox& list) {
  std::string marks;
  for (int i = 0; i < list.Items().Count(); ++i) marks += list.Checked(i) ? '1' : '0';
  return marks;
}

void MouseToggle(policies::TPolicyCheckBox* box) {
  box->UserMouseDown();
  box->UserToggled();
}

// Whether each control takes input, in the order the read-out sets them.
std::string Enabled(const TForm1& f) {
  std::string on;
  for (const platform::TControl* c : std::initializer_list<const platform::TControl*>{
           f.AutoRunPage->CheckBox1, f.DrivesPage->DefPlay, f.AutoRunPage->CheckBox2,
           f.AutoRunPage->BitBtn5, f.AutoRunPage->BitBtn6, f.XpPage->CheckBox7, f.XpPage->CheckBox8,
           f.XpPage->CheckBox6, f.DrivesPage->CheckBox4, f.DrivesPage->CheckListBox3,
           f.DrivesPage->CheckListBox4, f.DrivesPage->CheckListBox1, f.DrivesPage->CheckListBox2})
    on += c->EffectivelyEnabled() ? '1' : '0';
  return on;
}

class PolicySettingsTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  std::optional<platform::TApplication> App;
  fakes::TFakeRegistry& Reg = System.Registry;

  PolicySettingsTest() {
    System.Drives.AddDrive('C', 3);
    System.Drives.AddCdRom('D');
  }

  // A fresh start of the program, the earlier one gone; what it asked and
  // wrote on the way is kept in `Started`.
  TForm1* Start(TOs os) {
    const std::string key = "Software\\Tandrel\\Morvel";
    Reg.PutString(kHkeyLocalMachine, key, "Sprog", "English");
    Reg.PutString(kHkeyLocalMachine, key, "Tray", "Nej");
    Reg.PutString(kHkeyLocalMachine, key, "Ikon", "Ja");
    const std::uint32_t nt = platform::kVerPlatformWin32Nt,
                        nine = platform::kVerPlatformWin32Windows;
    if (os == kWin95) System.Os.Set(nine, 4, 0);
    if (os == kWin98) System.Os.Set(nine, 4, 10);
    if (os == kWin2000) System.Os.Set(nt, 5, 0);
    if (os == kWinXp) System.Os.Set(nt, 5, 1);
    System.Dialogs.Asked.clear();
    App.reset();
    App.emplace();
    App->SetTitle("Morvel");
    App->ShowMainForm = false;
    TForm1* form = App->CreateForm<TForm1>("Form1");
    Started = Shown();
    System.Dialogs.Asked.clear();
    Reg.Calls.clear();
    return form;
  }
  std::string Started;

  // "type:bytes" of a value, e.g. "4:91000000"; "-" when absent.
  std::string Value(platform::TRegRoot root, const std::string& key, const std::string& name) {
    const fakes::TFakeValue* v = Reg.Find(root, key, name);
    if (!v) return "-";
    std::string text = std::to_string(v->Type) + ":";
    char hex[3];
    for (std::uint8_t b : v->Data) std::snprintf(hex, sizeof hex, "%02X", b), text += hex;
    return text;
  }
  // The texts shown, one line each.
  std::string Shown() const {
    std::string texts;
    for (const fakes::TAsked& a : System.Dialogs.Asked) texts += a.Text + "\n";
    return texts;
  }
  // The changes made, in order: "Set name;Delete name;".
  std::string Changes() const {
    std::string changes;
    for (const std::string& call : Reg.Calls)
      if (call.rfind("Set ", 0) == 0 || call.rfind("Delete ", 0) == 0) changes += call + ";";
    return changes;
  }
  // Every control of the pages and the baselines, in one line.
  static std::string State(const TForm1& f) {
    const policies::TPolicyBaselines& b = f.Policies.Baselines;
    char masks[64];
    std::snprintf(masks, sizeof masks, "%X %X %X %X", static_cast<unsigned>(b.UserTypeMask),
                  static_cast<unsigned>(b.SystemTypeMask), static_cast<unsigned>(b.UserDriveMask),
                  static_cast<unsigned>(b.SystemDriveMask));
    auto on = [](bool v) { return v ? '1' : '0'; };
    return std::string{
               on(f.AutoRunPage->CheckBox1->Checked()), on(f.AutoRunPage->CheckBox2->Checked()),
               on(f.AutoRunPage->BitBtn5->Enabled()),   on(f.AutoRunPage->BitBtn6->Enabled()),
               on(f.XpPage->TabSheet3->Enabled()),      on(f.XpPage->CheckBox7->Checked()),
               on(f.XpPage->CheckBox8->Checked()),      on(f.XpPage->CheckBox6->Checked()),
               on(f.DrivesPage->CheckBox4->Checked())} +
           " '" + f.DrivesPage->DefPlay->Text() + "' '" + b.PlayerCommand + "' " +
           Marks(*f.DrivesPage->CheckListBox3) + " " + Marks(*f.DrivesPage->CheckListBox4) + " " +
           Marks(*f.DrivesPage->CheckListBox1) + " " + Marks(*f.DrivesPage->CheckListBox2) + " " +
           masks;
  }
};

// Check boxes 1 2, buttons 5 6, XP page, check boxes 7 8 6 4; player text and
// baseline; type lists 3 4, letter lists 1 2; the four mask baselines.
TEST_F(PolicySettingsTest, AnEmptyRegistryShowsTheDefaultsOfEachSystem) {
  const std::string noKey = "Error opening/creating key : ";
  const std::string asked = "Cannot verify: " + kRun + "\n" + noKey + kPlayer + "\n" + noKey +
                            kMachineShell + "\n" + noKey + kClassesShell + "\n";
  const std::string none = "0000000 0000000 " + kNoLetters + " " + kNoLetters;
  // Absent, the 9x AutoRun reads as on and its types as all but the first.
  const struct {
    TOs Os;
    std::string State, Asked, Installer;
  } rows[] = {
      {kWin98,
       "000100000 '' '' 0111111 0111111 " + kNoLetters + " " + kNoLetters +
           " 1 1 FFFFFFFF FFFFFFFF",
       asked, "-"},
      {kWin2000, "001010000 '' '' " + none + " FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF",
       asked + noKey + kWinlogon + "\n", "-"},
      // Checking CheckBox6 writes its value, under both names.
      {kWinXp, "001010110 '' '' " + none + " FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF",
       asked + noKey + kWinlogon + "\n", "4:00000000"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Os);
    Reg.Clear();
    TForm1* form = Start(row.Os);
    EXPECT_EQ(State(*form), row.State);
    EXPECT_EQ(Started, row.Asked);
    EXPECT_EQ(Value(kHkeyCurrentUser, kInstaller, "DiasbleMedia"), row.Installer);
    EXPECT_EQ(Value(kHkeyCurrentUser, kInstaller, "DisableMedia"), row.Installer);
    EXPECT_EQ(form->Policies.Baselines.PresentDrives, (1u << 2) | (1u << 3));
    // Letters of absent drives keep their marks but take no click.
    for (platform::TCheckListBox* list :
         {form->DrivesPage->CheckListBox1, form->DrivesPage->CheckListBox2}) {
      EXPECT_TRUE(list->ItemEnabled(2) && list->ItemEnabled(3));
      EXPECT_FALSE(list->ItemEnabled(0) || list->ItemEnabled(25));
      const bool before = list->Checked(0);
      list->UserToggled(0);
      EXPECT_EQ(list->Checked(0), before);
    }
    EXPECT_TRUE(form->AutoRunPage->CheckBox5->Checked());  // start-up went on to the disc icons
  }
}

TEST_F(PolicySettingsTest, AFilledRegistryIsShownAsStoredAndReadInTheReadForms) {
  const std::string lists = " 0111011 1111111 11011111111111111111111111 " + kAllLetters;
  const struct {
    TOs Os;
    std::string State;
    bool OldNameOnly = false;  // "DiasbleMedia" = 1 alone
  } rows[] = {
      // 9x: the AutoRun byte 1 is on. NT: a number of 2 is off.
      {kWin98, "110100001 'cdplay.exe' 'cdplay.exe'" + lists + " 91 80 4 0"},
      {kWin2000, "111011001 'cdplay.exe' 'cdplay.exe'" + lists + " 91 80 4 0"},
      // "AllocateCDRoms" of "x" is no "0"; "DisableMedia" = 1 wins.
      {kWinXp, "111010001 'cdplay.exe' 'cdplay.exe'" + lists + " 91 80 4 0"},
      {kWinXp, "111010001 'cdplay.exe' 'cdplay.exe'" + lists + " 91 80 4 0", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Os);
    Reg.Clear();
    Reg.PutString(kHkeyLocalMachine, kRun, "Morvel", "C:\\morvel.exe");
    Reg.PutString(kHkeyClassesRoot, kPlayer, "", "cdplay.exe");
    Reg.PutString(kHkeyLocalMachine, kMachineShell, "", "Play");  // not exactly "play"
    Reg.PutString(kHkeyClassesRoot, kClassesShell, "", "play");
    Reg.Put(kHkeyLocalMachine, kCdRom9x, "AutoRun", platform::kRegBinary, {1});
    Reg.PutDword(kHkeyLocalMachine, kCdRomNt, "AutoRun", 2);
    Reg.PutString(kHkeyLocalMachine, kWinlogon, "AllocateCDRoms", row.Os == kWinXp ? "x" : "0");
    Reg.PutDword(kHkeyCurrentUser, kExplorer, "NoCDBurning", 1);
    if (!row.OldNameOnly) Reg.PutDword(kHkeyCurrentUser, kInstaller, "DisableMedia", 1);
    Reg.PutDword(kHkeyCurrentUser, kInstaller, "DiasbleMedia", row.OldNameOnly);
    Reg.PutDword(kHkeyCurrentUser, kExplorer, "CDRAutoRun", 1);
    for (auto [root, mask] : {std::pair{kHkeyCurrentUser, 0x91}, {kHkeyLocalMachine, 0x80}}) {
      if (row.Os == kWin98)
        Reg.Put(root, kExplorer, "NoDriveTypeAutoRun", platform::kRegBinary,
                {static_cast<std::uint8_t>(mask)});
      else
        Reg.PutDword(root, kExplorer, "NoDriveTypeAutoRun", mask);
    }
    Reg.PutDword(kHkeyCurrentUser, kExplorer, "NoDriveAutoRun", 0x00000004);
    Reg.PutDword(kHkeyLocalMachine, kExplorer, "NoDriveAutoRun", 0);
    TForm1* form = Start(row.Os);
    EXPECT_EQ(State(*form), row.State);
    EXPECT_EQ(Started, "");
    // Read again to see where: the CD-ROM service under the system's spelling.
    policies::LoadPolicySettings(form->Policies);
    EXPECT_EQ(Changes(), "");
    const std::string open = std::string("Open HKLM\\System\\CurrentControlSet\\Services\\") +
                             (row.Os == kWin98 ? "Class\\CDROM" : "CDROM") + " ReadOnly";
    EXPECT_NE(std::find(Reg.Calls.begin(), Reg.Calls.end(), open), Reg.Calls.end());
  }
}

TEST_F(PolicySettingsTest, AValueOfTheWrongTypeEndsTheStartUpAtThatStep) {
  Reg.PutDword(kHkeyCurrentUser, kExplorer, "CDRAutoRun", 1);
  Reg.Put(kHkeyCurrentUser, kExplorer, "NoDriveTypeAutoRun", platform::kRegBinary, {0x91, 0, 0, 0});
  Reg.PutDword(kHkeyCurrentUser, kExplorer, "NoDriveAutoRun", 4);
  TForm1* form = Start(kWinXp);
  EXPECT_EQ(Started, "Invalid data type for 'NoDriveTypeAutoRun'\n");
  // CheckBox4 came before; the lists, the baselines and the disc icons not.
  EXPECT_EQ(State(*form).substr(0, 9), "011011111");
  EXPECT_EQ(State(*form).substr(State(*form).find(" 0000000")),
            " 0000000 0000000 " + kNoLetters + " " + kNoLetters + " 0 0 0 0");
  EXPECT_FALSE(form->AutoRunPage->CheckBox5->Checked());
  // What the stop left unread takes no input; each value below stops earlier.
  EXPECT_EQ(Enabled(*form), "1111011110000");
  for (auto [row, enabled] : {std::pair{policies::kCdBurning, "1111010000000"},
                              {policies::kCdRomAutoRunNt, "1110000000000"},
                              {policies::kAudioCdPlayer, "1000000000000"}}) {
    const policies::TPolicySetting& p = policies::Policy(row);
    Reg.Put(p.Root, p.ReadKey, p.Name, platform::kRegBinary, {1, 0, 0, 0});
    EXPECT_EQ(Enabled(*Start(kWinXp)), enabled);
  }
}

TEST_F(PolicySettingsTest, AWriteThatFailsIsSaidAndTheControlKeepsItsStoredState) {
  const struct {
    TOs Os;
    policies::TPolicy Row;  // its root refuses changes
    void (*Input)(TForm1&);
  } rows[] = {
      {kWinXp, policies::kCdrAutoRun, [](TForm1& f) { MouseToggle(f.DrivesPage->CheckBox4); }},
      {kWin98, policies::kUserDriveTypes,
       [](TForm1& f) { f.DrivesPage->CheckListBox3->UserToggled(2); }},
      {kWinXp, policies::kRemovableMediaInstall,
       [](TForm1& f) { f.XpPage->CheckBox6->UserToggled(); }},
      {kWin98, policies::kCdRomAutoRun9x, [](TForm1& f) { f.AutoRunPage->BitBtn6->UserClicked(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Row);
    TForm1* form = Start(row.Os);
    const std::string before = State(*form);
    const policies::TPolicySetting& p = policies::Policy(row.Row);
    Reg.ReadOnlyRoots = {p.Root};
    System.Dialogs.Answers = {kIdYes};
    row.Input(*form);
    Reg.ReadOnlyRoots.clear();
    const std::string asked = row.Row == policies::kUserDriveTypes ? kTypeQuestion + "\n" : "";
    EXPECT_EQ(Shown(), asked + "Error writing : " + p.WriteKey + kRefused);
    EXPECT_EQ(State(*form), before);
  }
}

TEST_F(PolicySettingsTest, ResetWritesTheDefaultsInOrderAlsoWhereTheMachineIsReadOnly) {
  const std::string noDelete = "Fejl ved sletning af registreringen : ";
  for (bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly);
    Reg.Clear();
    for (platform::TRegRoot root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      Reg.PutDword(root, kExplorer, "NoDriveAutoRun", 4);
      Reg.PutDword(root, kExplorer, "NoDriveTypeAutoRun", 0x91);
    }
    Reg.PutDword(kHkeyCurrentUser, kExplorer, "CDRAutoRun", 1);
    Reg.PutDword(kHkeyCurrentUser, kInstaller, "DisableMedia", 1);
    TForm1* form = Start(kWinXp);
    const std::string before = State(*form);
    if (readOnly) Reg.ReadOnlyRoots = {kHkeyLocalMachine};
    form->ResetPolicyDefaults();
    Reg.ReadOnlyRoots.clear();

    // CheckBox6 was clear: checking it writes its value once more.
    const std::string media = "Set DiasbleMedia;Set DisableMedia;";
    EXPECT_EQ(Changes(),
              readOnly ? "Set ;Delete CDRAutoRun;Delete NoDriveAutoRun;Delete NoDriveTypeAutoRun;"
                         "Set NoCDBurning;" +
                             media + media
                       : "Set ;Set ;Delete CDRAutoRun;Delete NoDriveAutoRun;Delete NoDriveAutoRun;"
                         "Delete NoDriveTypeAutoRun;Delete NoDriveTypeAutoRun;Set AutoRun;"
                         "Set AllocateCDRoms;Set NoCDBurning;" +
                             media + media);
    EXPECT_EQ(Shown(), readOnly ? "Error writing : " + kMachineShell + kRefused + noDelete +
                                      "NoDriveAutoRun\n" + noDelete + "NoDriveTypeAutoRun\n" +
                                      "Error writing : " + kWinlogon + kRefused + kReboot + "\n"
                                : kReboot + "\n");
    EXPECT_EQ(Value(kHkeyLocalMachine, kCdRomNt, "AutoRun"), readOnly ? "-" : "4:01000000");
    EXPECT_EQ(Value(kHkeyCurrentUser, kInstaller, "DisableMedia"), "4:00000000");
    // The controls are set whatever the writes did; the lists, CheckBox4 and
    // the baselines keep what they showed.
    EXPECT_EQ(State(*form).substr(0, 9), "010111111");
    EXPECT_EQ(State(*form).substr(9), before.substr(9));
  }
}

TEST_F(PolicySettingsTest, TheAutoRunButtonsSwitchTheCdRomServiceOfTheSystem) {
  const struct {
    TOs Os;
    bool On;
    std::string Nt, Nine;  // the AutoRun value under each key afterwards
  } buttons[] = {{kWin98, true, "-", "3:01"},
                 {kWin2000, true, "4:01000000", "-"},
                 {kWinXp, false, "4:00000000", "-"}};
  for (const auto& c : buttons) {
    SCOPED_TRACE(c.Os);
    TForm1* form = Start(c.Os);
    Reg.Clear();
    (c.On ? form->AutoRunPage->BitBtn5 : form->AutoRunPage->BitBtn6)->UserClicked();
    EXPECT_EQ(Value(kHkeyLocalMachine, kCdRomNt, "AutoRun"), c.Nt);
    EXPECT_EQ(Value(kHkeyLocalMachine, kCdRom9x, "AutoRun"), c.Nine);
    EXPECT_EQ(State(*form).substr(2, 2), c.On ? "01" : "10");
    EXPECT_EQ(Shown(), kReboot + "\n");
  }
}

TEST_F(PolicySettingsTest, EveryOptionBoxWritesItsValue) {
  TForm1* form = Start(kWinXp);  // CheckBox2, 7, 8 and 6 checked; 1 and 4 not
  // The keyboard changes the marks of the mouse-only boxes and writes nothing.
  for (auto* box : {form->AutoRunPage->CheckBox1, form->AutoRunPage->CheckBox2,
                    form->XpPage->CheckBox7, form->XpPage->CheckBox8})
    box->UserToggled(), box->UserToggled();
  EXPECT_EQ(Changes(), "");
  for (auto* box : {form->AutoRunPage->CheckBox1, form->AutoRunPage->CheckBox2,
                    form->XpPage->CheckBox7, form->XpPage->CheckBox8, form->DrivesPage->CheckBox4})
    MouseToggle(box);
  form->XpPage->CheckBox6->UserToggled();  // a plain box: the keyboard writes too
  EXPECT_EQ(Reg.String(kHkeyLocalMachine, kRun, "Morvel"), '"' + System.Os.Program + '"');
  EXPECT_EQ(Value(kHkeyLocalMachine, kMachineShell, ""), "1:00");  // emptied, not deleted
  EXPECT_EQ(Value(kHkeyClassesRoot, kClassesShell, ""), "1:00");
  EXPECT_EQ(Value(kHkeyLocalMachine, kWinlogon, "AllocateCDRoms"), "1:3100");  // "1"
  EXPECT_EQ(Value(kHkeyCurrentUser, kExplorer, "NoCDBurning"), "4:01000000");
  EXPECT_EQ(Value(kHkeyCurrentUser, kExplorer, "CDRAutoRun"), "4:01000000");
  EXPECT_EQ(Value(kHkeyCurrentUser, kInstaller, "DiasbleMedia"), "4:01000000");
  EXPECT_EQ(Value(kHkeyCurrentUser, kInstaller, "DisableMedia"), "4:01000000");
  for (auto* box : {form->AutoRunPage->CheckBox1, form->AutoRunPage->CheckBox2,
                    form->XpPage->CheckBox7, form->DrivesPage->CheckBox4})
    MouseToggle(box);
  EXPECT_EQ(Value(kHkeyLocalMachine, kRun, "Morvel"), "-");
  EXPECT_EQ(Reg.String(kHkeyClassesRoot, kClassesShell, ""), "play");
  EXPECT_EQ(Reg.String(kHkeyLocalMachine, kWinlogon, "AllocateCDRoms"), "0");
  EXPECT_EQ(Value(kHkeyCurrentUser, kExplorer, "CDRAutoRun"), "-");
  EXPECT_EQ(Shown(), "");
}

TEST_F(PolicySettingsTest, ThePlayerCommandIsAskedForOnlyWhenItDiffersFromTheStoredOne) {
  TForm1* form = Start(kWinXp);
  const std::string stored = "cdplayer.exe /play %1";
  form->DrivesPage->DefPlay->UserLeft();
  form->DrivesPage->DefPlay->UserEdited("other.exe");
  form->DrivesPage->DefPlay->UserEdited(stored);
  form->DrivesPage->DefPlay->UserLeft();
  EXPECT_EQ(Shown(), "");

  System.Dialogs.Answers = {kIdCancel, kIdYes};
  form->DrivesPage->DefPlay->UserEdited("new.exe");
  form->DrivesPage->DefPlay->UserLeft();
  EXPECT_EQ(Reg.String(kHkeyClassesRoot, kPlayer, ""), stored);
  form->DrivesPage->DefPlay->UserLeft();
  form->DrivesPage->DefPlay->UserLeft();
  EXPECT_EQ(Reg.String(kHkeyClassesRoot, kPlayer, ""), "new.exe");
  EXPECT_EQ(Shown(),
            "Do you want to change default player?\n"
            "Do you want to change default player?\n");
}

TEST_F(PolicySettingsTest, EveryCheckMarkReadsBackAsItWasStoredOnEachFamily) {
  for (int os : {1, 5, 6}) {  // Windows 98, 2000, XP
    for (int r = 0; r < policies::kPolicyCount; ++r) {
      const auto row = static_cast<policies::TPolicy>(r);
      const policies::TPolicySetting& p = policies::Policy(row);
      if (p.Shows == policies::TShows::Nothing || !policies::WrittenOn(row, os)) continue;
      for (bool checked : {true, false, true}) {
        SCOPED_TRACE(std::to_string(os) + " " + p.Name + " " + std::to_string(checked));
        policies::StoreValue(row, os, checked ? p.Checked : p.Unchecked);
        EXPECT_EQ(policies::ShowsChecked(row, os), checked);
      }
    }
  }
}

TEST(AutoRunMasks, EveryItemCountsInTheMask) {
  platform::TCheckListBox letters(nullptr, nullptr), types(nullptr, nullptr);
  letters.Items().Assign(std::vector<std::string>(26, "X"));
  types.Items().Assign(std::vector<std::string>(7, "T"));
  EXPECT_EQ(policies::LetterMask(letters), 0x03FFFFFF);
  EXPECT_EQ(policies::TypeMask(types), 0xFF);
  policies::ShowLetterMask(letters, 0);
  policies::ShowTypeMask(types, 0);
  EXPECT_EQ(policies::LetterMask(letters), 0);
  EXPECT_EQ(policies::TypeMask(types), 0x80);
}

TEST_F(PolicySettingsTest, AConfirmedListChangeIsStoredInTheSystemsFormAndAsksToRestart) {
  const struct {
    TOs Os;
    int List;  // 1 to 4
    std::string Question, Stored;
  } cases[] = {
      // Only "C" checked where nothing was stored.
      {kWinXp, 1, "Do you want to change Drive Autostart Setting?", "4:FBFFFF03"},
      {kWin95, 2, "Do you want to change Drive System Autostart Setting?", "4:FBFFFF03"},
      // Nothing stored reads as 1 on the 9x family: every type but the
      // first checked; item 2 is cleared.
      {kWin98, 3, "Do you want to change Current User Drive Type Setting?", "3:85"},
      {kWin2000, 4, "Do you want to change System Drive Type Setting?", "4:FB000000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.List);
    Reg.Clear();
    TForm1* form = Start(c.Os);
    platform::TCheckListBox* lists[] = {
        form->DrivesPage->CheckListBox1, form->DrivesPage->CheckListBox2,
        form->DrivesPage->CheckListBox3, form->DrivesPage->CheckListBox4};
    System.Dialogs.Answers = {kIdYes, kIdCancel};
    lists[c.List - 1]->UserToggled(2);
    EXPECT_EQ(Shown(), c.Question + "\n" + kReboot + "\n");
    EXPECT_EQ(Value(c.List % 2 ? kHkeyCurrentUser : kHkeyLocalMachine, kExplorer,
                    c.List < 3 ? "NoDriveAutoRun" : "NoDriveTypeAutoRun"),
              c.Stored);
  }
}

TEST_F(PolicySettingsTest, CancelKeepsTheMarkAndOnlyAChangeFromTheBaselineAsks) {
  Reg.PutDword(kHkeyLocalMachine, kExplorer, "NoDriveTypeAutoRun", 0x91);
  TForm1* form = Start(kWinXp);
  // Nothing stored for the letters: back from "C" is still no -1.
  form->DrivesPage->CheckListBox1->UserToggled(2);
  form->DrivesPage->CheckListBox1->UserToggled(2);
  // A value the list shows exactly: toggling back asks nothing.
  form->DrivesPage->CheckListBox4->UserToggled(0);
  form->DrivesPage->CheckListBox4->UserToggled(0);
  EXPECT_EQ(Shown(),
            "Do you want to change Drive Autostart Setting?\n"
            "Do you want to change Drive Autostart Setting?\n"
            "Do you want to change System Drive Type Setting?\n");
  EXPECT_EQ(Changes(), "");
  EXPECT_EQ(form->Policies.Baselines.UserDriveMask, -1);

  // A machine the user may not change: said, and nothing moves.
  Reg.ReadOnlyRoots = {kHkeyLocalMachine};
  System.Dialogs.Asked.clear();
  System.Dialogs.Answers = {kIdYes};
  form->DrivesPage->CheckListBox2->UserToggled(2);
  EXPECT_EQ(form->Policies.Baselines.SystemDriveMask, -1);
  EXPECT_EQ(Marks(*form->DrivesPage->CheckListBox2), kNoLetters);
  EXPECT_EQ(Value(kHkeyLocalMachine, kExplorer, "NoDriveAutoRun"), "-");
  EXPECT_EQ(Shown(), "Do you want to change Drive System Autostart Setting?\nError writing : " +
                         kExplorer + kRefused);
}

}  // namespace
