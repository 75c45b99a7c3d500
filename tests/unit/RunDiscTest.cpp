#include <gtest/gtest.h>

#include "app/Main.h"
#include "drives/RunDisc.h"
#include "fakes/MainFormFixture.h"

using drives::SplitStartLine;

namespace {

TEST(SplitStartLine, TheFirstBlankSeparatesProgramFromParameters) {
  const struct {
    const char* Line;
    const char* Program;
    const char* Parameters;
  } cases[] = {
      {"setup.exe /s", "setup.exe", "/s"},
      {"setup.exe", "setup.exe", ""},
      {"setup\\install.exe -a -b", "setup\\install.exe", "-a -b"},
      {"my setup.exe", "my", "setup.exe"},  // no quoting: the path is cut
      {"\"my setup.exe\" /q", "\"my", "setup.exe\" /q"},
      {"setup.exe ", "setup.exe", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    const auto split = SplitStartLine(c.Line);
    EXPECT_EQ(split.Program, c.Program);
    EXPECT_EQ(split.Parameters, c.Parameters);
  }
}

class RunTest : public fakes::TMainFormFixture {
 protected:
  app::TForm1* Form = nullptr;

  void SetUp() override {
    System.Drives.AddCdRom('D', true);
    System.Drives.AddCdRom('E', false);
    Form = StartMainForm();
  }

  void Autorun(const std::string& open) {
    System.Drives.Files["D:\\Autorun.inf"] = "[autorun]\r\nopen=" + open + "\r\n";
  }
  const fakes::TShellCall& OnlyCall() {
    EXPECT_EQ(System.Shell.Calls.size(), 1u);
    static fakes::TShellCall none{};
    return System.Shell.Calls.empty() ? none : System.Shell.Calls.back();
  }
  void ExpectOnlyCall(const fakes::TShellCall& expected) {
    const auto& call = OnlyCall();
    EXPECT_EQ(call.Owner, expected.Owner);
    EXPECT_EQ(call.Verb, expected.Verb);
    EXPECT_EQ(call.File, expected.File);
    EXPECT_EQ(call.Parameters, expected.Parameters);
    EXPECT_EQ(call.Directory, expected.Directory);
    EXPECT_EQ(call.Show, expected.Show);
  }
};

TEST_F(RunTest, AnAudioTrackIsPlayedBeforeAnyAutorunFile) {
  System.Drives.Entries.insert("D:\\Track01.cda");
  Autorun("setup.exe");
  Form->BitBtn4->UserClicked();
  ExpectOnlyCall({0, "play", "D:\\Track01.cda", "", "", platform::kSwShowNormal});
  EXPECT_EQ(System.Drives.CurrentDirectory, "C:\\");
}

TEST_F(RunTest, TheAutorunProgramStartsFromTheDiscsRoot) {
  Autorun("setup\\install.exe -a -b");
  System.Shell.OnExecute = [&] { EXPECT_EQ(System.Drives.CurrentDirectory, "D:\\"); };
  Form->Run1->UserClicked();
  ExpectOnlyCall({fakes::TFakeAppHost::kAppWindow, "open", "setup\\install.exe", "-a -b", "",
                  platform::kSwShowNormal});
  EXPECT_EQ(System.Drives.CurrentDirectory, "C:\\");
}

TEST_F(RunTest, ADataDiscWithoutAProgramOpensTheExplorer) {
  for (const char* content : {"", "[autorun]\r\nicon=disc.ico\r\n", "[autorun]\r\nopen=\r\n"}) {
    SCOPED_TRACE(content);
    System.Shell.Calls.clear();
    if (*content) System.Drives.Files["D:\\Autorun.inf"] = content;
    Form->BitBtn4->UserClicked();
    const auto& call = OnlyCall();
    EXPECT_EQ(call.Verb, "open");
    EXPECT_EQ(call.File, "Explorer.exe");
    EXPECT_EQ(call.Parameters, "D:");
  }
  System.Shell.Calls.clear();
  Form->Explore1->UserClicked();
  EXPECT_EQ(OnlyCall().File, "Explorer.exe");
  EXPECT_EQ(OnlyCall().Parameters, "D:");
}

TEST_F(RunTest, TextsOfUpTo800CharactersReachTheShellWholeLongerOrRemoteOnesAreRefused) {
  const std::string program = std::string(796, 'p') + ".exe";
  const std::string parameters = std::string(700, 'a') + " " + std::string(99, 'b');
  Autorun(program + " " + parameters);
  Form->BitBtn4->UserClicked();
  EXPECT_EQ(OnlyCall().File, program);
  EXPECT_EQ(OnlyCall().Parameters, parameters);
  EXPECT_TRUE(System.Dialogs.Asked.empty());

  // The message goes through the language file, keyed by its English text.
  System.Drives.Files[Form->Sprog->LanguageFile()] =
      "[Messages]\r\nThe program named on the disc is too long to start.=Too long here\r\n"
      "The program named on the disc is on another computer and is not started.=Remote\r\n";
  for (const std::string& line :
       {"q" + program + " /s", program + " " + parameters + "c",
        program + " " + std::string(1500, 'a'), std::string("\\\\h\\s\\x.exe /s"),
        std::string("//h/s/x.exe"), std::string("\\\\?\\UNC\\h\\s\\x.exe"),
        std::string("\\\\.\\UNC\\h\\s\\x.exe"), std::string("\\??\\UNC\\h\\s\\x.exe"),
        std::string("file://h/s/x.exe")}) {
    System.Shell.Calls.clear();
    System.Dialogs.Asked.clear();
    System.Drives.CurrentDirectory = "C:\\";
    Autorun(line);
    Form->BitBtn4->UserClicked();
    EXPECT_TRUE(System.Shell.Calls.empty());
    EXPECT_EQ(System.Drives.CurrentDirectory, "C:\\");
    ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
    EXPECT_EQ(System.Dialogs.Asked[0].Text, line.size() > 800 ? "Too long here" : "Remote");
    EXPECT_EQ(System.Dialogs.Asked[0].Caption, "Morvel");
  }
}

TEST_F(RunTest, ARootThatCannotBeEnteredStartsNothingAndIsReported) {
  Autorun("setup.exe");
  System.Drives.DirectoryError = 21;  // the device is not ready
  Form->BitBtn4->UserClicked();
  EXPECT_TRUE(System.Shell.Calls.empty());
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(System.Dialogs.Asked[0].Text, "I/O error 21");
}

TEST_F(RunTest, AnEmptyDriveSaysNoCdPresentForRunAndExplore) {
  Form->ComboBox2->UserSelected(1);  // E: holds no disc
  Form->BitBtn4->UserClicked();
  Form->Explore1->UserClicked();
  EXPECT_TRUE(System.Shell.Calls.empty());
  ASSERT_EQ(System.Dialogs.Asked.size(), 2u);
  for (const auto& asked : System.Dialogs.Asked) {
    EXPECT_EQ(asked.Text, "No CD Present");
    EXPECT_EQ(asked.Caption, "Morvel");
  }
  EXPECT_EQ(System.Drives.CurrentDirectory, "C:\\");
}

TEST_F(RunTest, ACurrentDriveThatIsNoLetterIsAnError) {
  Form->ComboBox2->UserEdited("?:");
  Form->BitBtn4->UserClicked();
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_EQ(System.Dialogs.Asked[0].Text, "Not a valid drive ID");
  EXPECT_TRUE(System.Shell.Calls.empty());
}

}  // namespace
