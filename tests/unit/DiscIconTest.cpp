#include <gtest/gtest.h>

#include "app/Main.h"
#include "drives/DiscIcon.h"
#include "fakes/MainFormFixture.h"
#include "platform/Types.h"

using app::TForm1;
using drives::TIconKind;
using namespace std::string_literals;

namespace {

constexpr const char* kAutorunD = "D:\\Autorun.inf";
const std::string kKana = "\x83\x41\x83\x43";  // code page 932, trail bytes "A" and "C"

class DiscIconTest : public fakes::TMainFormFixture {
 protected:
  DiscIconTest() {
    for (const char* f : {"d.ico", "e.ico", "f.ico", "morvel.ico"})
      System.Icons.Readable.insert(System.Drives.Dir + f);
    for (const auto& f : {"disc.ico"s, "pics\\disc.ico"s, kKana + ".ico", "aux.ico"s, "big.ico"s}) {
      System.Icons.Readable.insert("D:\\" + f);
      System.Drives.Files["D:\\" + f] = System.Icons.SoundIconFile();
    }
    System.Drives.Files["D:\\big.ico"] = System.Icons.SoundIconFile(26, "\0\0\0\x80\0\0\0\x80"s);
    System.Icons.Programs["D:\\setup.exe"] = 2;
    System.Icons.Programs["D:\\con.exe"] = 2;
  }

  // D: and F: hold discs, E: is empty; the icons show in the tray.
  TForm1* Start(const std::string& icons = app::kNo) {
    System.Drives.AddCdRom('D', true);
    System.Drives.AddCdRom('E');
    System.Drives.AddCdRom('F', true);
    return StartMainForm("English", app::kYes, icons);
  }
  void Disc(const char* path, const std::string& icon) {
    System.Drives.Files[path] = "[autorun]\r\nopen=setup.exe\r\nicon=" + icon + "\r\n";
  }
  // What drive k's tray icon shows: the file it came from, "path,index"
  // for an icon taken from a program.
  std::string Shown(TForm1* form, int k) {
    return System.Icons.FileOf(System.NotifyArea.Shown(form->DriveTrayIcons[k]->Id()).Icon);
  }
  std::string Letter(char c) { return System.Drives.Dir + c + ".ico"; }
  // The error reports shown, in order.
  std::vector<std::string> Reports() {
    std::vector<std::string> texts;
    for (const auto& a : System.Dialogs.Asked) texts.push_back(a.Text);
    return texts;
  }
  void ClickIconBox(TForm1* form) {
    form->AutoRunPage->CheckBox5->UserMouseDown();
    form->AutoRunPage->CheckBox5->UserToggled();
  }
};

TEST_F(DiscIconTest, EachIconEntryGivesItsImageOrNone) {
  const struct {
    std::string Entry;
    std::string FileName;
    int Index;
    TIconKind Kind;
    std::string Shown;  // "" for the letter image; "!" + the error reported
  } cases[] = {
      {"setup.exe,1", "setup.exe", 1, TIconKind::Program, "D:\\setup.exe,1"},
      {"SETUP.EXE", "setup.exe", 0, TIconKind::Program, "D:\\setup.exe,0"},
      {"pics\\disc.ico", "pics\\disc.ico", 0, TIconKind::IconFile, "D:\\pics\\disc.ico"},
      {"disc.ico,3", "disc.ico", 3, TIconKind::IconFile, "D:\\disc.ico"},
      {kKana + ".ICO", kKana + ".ico", 0, TIconKind::IconFile, "D:\\" + kKana + ".ico"},
      {",3", "", 3, TIconKind::None, ""},
      {"disc.bmp", "disc.bmp", 0, TIconKind::None, ""},
      {"pics.d\\readme", "pics.d\\readme", 0, TIconKind::None, ""},
      // No icon at that index; -1 would ask for the count, not an icon.
      {"setup.exe,5", "setup.exe", 5, TIconKind::Program, ""},
      {"setup.exe,-1", "setup.exe", -1, TIconKind::Program, ""},
      {"setup.exe,x", "", 0, TIconKind::None, "!'x' is not a valid integer value"},
      {"missing.ico", "missing.ico", 0, TIconKind::IconFile, "!Cannot open file D:\\missing.ico"},
      {"aux.ico", "aux.ico", 0, TIconKind::IconFile, "!Cannot open file D:\\aux.ico"},
      {"big.ico", "big.ico", 0, TIconKind::IconFile, "!Cannot open file D:\\big.ico"},
      {"con.exe", "con.exe", 0, TIconKind::Program, ""},
  };
  TForm1* form = Start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Entry);
    if (c.Shown.rfind("!'", 0) == 0) {
      EXPECT_THROW(drives::ParseIconEntry(c.Entry), platform::EConvertError);
    } else {
      const drives::TIconEntry entry = drives::ParseIconEntry(c.Entry);
      EXPECT_EQ(entry.FileName, c.FileName);
      EXPECT_EQ(entry.Index, c.Index);
      EXPECT_EQ(entry.Kind, c.Kind);
    }
    Disc(kAutorunD, c.Entry);
    System.Dialogs.Asked.clear();
    form->BitBtn3->UserClicked();  // Close: with the option off, nothing is read
    EXPECT_EQ(Shown(form, 1), Letter('d'));
    form->AutoRunPage->CheckBox5->SetChecked(true);
    form->BitBtn3->UserClicked();
    form->AutoRunPage->CheckBox5->SetChecked(false);
    if (c.Shown.empty() || c.Shown[0] == '!') {
      EXPECT_EQ(Shown(form, 1), Letter('d'));
      EXPECT_TRUE(form->DriveTrayIcons[1]->Animated());
      EXPECT_EQ(Reports(), c.Shown.empty() ? std::vector<std::string>{}
                                           : std::vector<std::string>{c.Shown.substr(1)});
    } else {
      EXPECT_EQ(Shown(form, 1), c.Shown);
      EXPECT_FALSE(form->DriveTrayIcons[1]->Animated());
      EXPECT_TRUE(Reports().empty());
    }
    form->BitBtn2->UserClicked();  // Open: back to the letter
  }
  for (const std::string& asked : System.Icons.Extracted) EXPECT_NE(asked, "D:\\setup.exe,-1");
}

TEST_F(DiscIconTest, TheOptionGivesDiscsTheirIconsAndTakesThemAllBack) {
  Disc(kAutorunD, "disc.ico");
  Disc("F:\\Autorun.inf", "SETUP.EXE,1");
  System.Icons.Programs["F:\\setup.exe"] = 2;
  System.Drives.Files["E:\\Autorun.inf"] = "[autorun]\r\nicon=disc.ico\r\n";  // no disc: not read
  TForm1* form = Start();
  const std::size_t live = System.Icons.LiveCount();

  ClickIconBox(form);
  EXPECT_EQ(Stored(app::kSettingIcons), "Ja");
  EXPECT_EQ(Shown(form, 1), "D:\\disc.ico");
  EXPECT_EQ(Shown(form, 2), Letter('e'));
  EXPECT_TRUE(form->DriveTrayIcons[2]->Animated());
  EXPECT_EQ(Shown(form, 3), "F:\\setup.exe,1");
  EXPECT_FALSE(form->DriveIconImages[3]->Empty());

  ClickIconBox(form);
  EXPECT_EQ(Stored(app::kSettingIcons), "Nej");
  for (int k = 1; k <= 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(Shown(form, k), Letter("def"[k - 1]));
    EXPECT_TRUE(form->DriveTrayIcons[k]->Animated());
    EXPECT_TRUE(form->DriveIconImages[k]->Empty());
  }
  EXPECT_EQ(System.Icons.LiveCount(), live);
  EXPECT_TRUE(System.Dialogs.Asked.empty());
}

TEST(IconFileTest, OnlyImagesInsideTheFileWithSaneSizesAreSound) {
  const std::tuple<std::size_t, std::string, bool> cases[] = {
      {4, "\xFF\xFF"s, false},                           // a directory longer than the file
      {18, "\xF0\xFF\xFF\xFF"s, false},                  // an image past the end
      {26, "\xFF\xFF\xFF\x7F\xFE\xFF\xFF\x7F"s, false},  // 2^31 - 1 wide: crashes the loader
      {14, "\x28\0"s, false},                            // colour rows outside the image
      {30, "\x22"s, false},                              // a mask past the end
      {54, "\x01\x01"s, false},                          // 257 colours
      {22, "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x30\0\0\0\x30"s, true},
      {22, "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\1\1\0\0\1\1"s, false},  // 257 x 257
  };
  for (const auto& [at, bytes, sound] : cases)
    EXPECT_EQ(drives::IsSoundIconFile(fakes::TFakeIcons::SoundIconFile(at, bytes)), sound) << at;
}

TEST_F(DiscIconTest, AnErrorEndsTheStartUpAndSkipsTheDrivesNotYetHandled) {
  Disc(kAutorunD, "disc.ico");
  Disc("F:\\Autorun.inf", "setup.exe,x");
  System.Drives.AddDrive('C', 3);
  System.Drives.AddCdRom('D', true);
  System.Drives.AddCdRom('E');
  System.Drives.AddCdRom('F', true);
  TForm1* form = StartMainForm("English", app::kNo, app::kYes);
  EXPECT_EQ(Reports(), std::vector<std::string>{"'x' is not a valid integer value"});
  EXPECT_TRUE(form->AutoRunPage->CheckBox5->Checked());
  // The last drive first: F: failed, so E: and D: were never looked at.
  std::vector<std::string> volumes;
  for (const std::string& call : System.Drives.Calls)
    if (call.rfind("GetVolumeSize", 0) == 0) volumes.push_back(call);
  EXPECT_EQ(volumes, std::vector<std::string>{"GetVolumeSize F:\\"});
  // The window came all the same, and the program runs on.
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(App->MainForm(), form);
  EXPECT_FALSE(App->Terminated());
}

TEST_F(DiscIconTest, TheTimerLooksAtTheCurrentDriveOnTheNineXFamilyOnly) {
  for (bool nt : {false, true}) {
    SCOPED_TRACE(nt ? "XP" : "98");
    App.emplace();
    App->SetTitle("Morvel");
    System.Os.VersionKnown = true;
    nt ? System.Os.Set(platform::kVerPlatformWin32Nt, 5, 1)
       : System.Os.Set(platform::kVerPlatformWin32Windows, 4, 10);
    Disc(kAutorunD, "setup.exe,1");
    TForm1* form = nt ? CreateMainForm() : Start(app::kYes);
    ASSERT_EQ(form->Policies.OSCode, nt ? 6 : 1);
    EXPECT_EQ(Shown(form, 1), "D:\\setup.exe,1");

    // The icon is taken anew every second; the handles do not pile up.
    const std::size_t live = System.Icons.LiveCount();
    for (int i = 0; i < 50; ++i) form->Timer1->Tick();
    EXPECT_EQ(System.Icons.LiveCount(), live);
    Disc(kAutorunD, "disc.ico");
    form->Timer1->Tick();
    EXPECT_EQ(Shown(form, 1), nt ? "D:\\setup.exe,1" : "D:\\disc.ico");
    for (int i = 0; i < 50; ++i) form->Timer1->Tick();
    EXPECT_EQ(System.Icons.LiveCount(), live);

    Disc(kAutorunD, "setup.exe,x");
    System.Dialogs.WhileOpen = [form, ticks = 0]() mutable {
      if (ticks++ == 0) form->Timer1->Tick();
      if (ticks == 2) throw platform::EInOutError("no box");
    };
    for (char step : std::string("...-...-..")) {  // "-": no disc for a tick
      if (step == '-') System.Drives.Volumes.erase("D:\\");
      form->Timer1->Tick();
      System.Drives.Volumes["D:\\"] = 1;
    }
    System.Dialogs.WhileOpen = nullptr;
    EXPECT_EQ(Reports().size(), nt ? 0u : 4u);  // discs 1, 2 (its box throws) and 3
    System.Dialogs.Asked.clear();

    // Only the current drive, and only with the option on.
    form->AutoRunPage->CheckBox5->SetChecked(false);
    Disc(kAutorunD, "disc.ico");
    form->BitBtn2->UserClicked();
    form->Timer1->Tick();
    EXPECT_EQ(Shown(form, 1), Letter('d'));
    App.reset();
    EXPECT_EQ(System.Icons.LiveCount(), 0u);
  }
}

TEST_F(DiscIconTest, CloseOnALetterThatIsNoDriveSendsTheTrayCommandThenReports) {
  TForm1* form = Start(app::kYes);
  form->ComboBox2->UserEdited("1:");
  form->BitBtn3->UserClicked();
  ASSERT_FALSE(System.Media.Calls.empty());
  EXPECT_EQ(System.Media.Calls[0].ElementName, "1:");
  EXPECT_EQ(Reports(), std::vector<std::string>{"Not a valid drive ID"});
}

}  // namespace
