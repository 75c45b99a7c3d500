// The update check: the version comparison, what each answer of the version
// file leads to, and which download addresses may be opened.
#include <gtest/gtest.h>

#include "about/UpdateCheck.h"
#include "drives/RunDisc.h"
#include "fakes/FakeUpdate.h"

using about::IsNewerVersion;
using about::TUpdateCheck;
using namespace platform;

namespace {

TEST(IsNewerVersion, WeighsFourPartsWithTheirCarry) {
  const struct {
    const char *Latest, *Own;
    bool Newer;
  } cases[] = {
      {"2.3.0.0", "2.3.0.0", false},
      {"2.3.0.1", "2.3.0.0", true},
      {"2.2.9.9", "2.3.0.0", false},
      {"10.0.0.0", "9.99.99.99", true},
      // Without a dot nothing is newer, and nothing is newer than it.
      {"3", "2.3.0.0", false},
      {"2.4.0.0", "3", false},
      {"", "2.3.0.0", false},
      // A part of 100 or more carries into the one before.
      {"2.3.0.100", "2.3.1.0", false},
      {"2.3.1.0", "2.3.0.100", false},
      {"2.3.0.100", "2.3.0.99", true},
      // The weight is a 32-bit signed sum: 2148 millions wraps below zero.
      {"2148.0.0.0", "2.3.0.0", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsNewerVersion(c.Latest, c.Own), c.Newer) << c.Latest << " against " << c.Own;
}

TEST(IsNewerVersion, RefusesDottedTextsThatAreNotFourDecimalNumbers) {
  for (const char* bad : {"2.3.0", "2.3.0.0.0", "2.3.x.0", "2..0.0", "2.3.0.-1", "+2.3.0.0",
                          "2.3.0.0 ", "2.3.0.$A", "2.3.0.2147483648", "2.3.0.99999999999"}) {
    EXPECT_THROW(IsNewerVersion(bad, "2.3.0.0"), EConvertError) << bad;
    EXPECT_THROW(IsNewerVersion("2.3.0.0", bad), EConvertError) << bad;
  }
}

TEST(IsWebAddress, OnlyWebPagesWhateverTheCaseInOneArgumentTheShellHolds) {
  const std::string longest = "http://x/" + std::string(drives::kShellTextMax - 9, 'a');
  const std::string tooLong = longest + "a";
  for (const char* yes : {"http://www.tandrel.invalid/", "HTTPS://x", "Http://", longest.c_str()})
    EXPECT_TRUE(about::IsWebAddress(yes)) << yes;
  for (const char* no :
       {"file:///C:/windows/system32/calc.exe", "C:\\setup.exe", "ftp://x", " http://x", "http:/x",
        "httpx://x", "", tooLong.c_str(), "http://127.0.0.1/x\" --evil-flag \"y", "http://x/a b",
        "http://x/\t", "http://x/\r\n", "http://x/\x7F"})
    EXPECT_FALSE(about::IsWebAddress(no)) << no;
}

TEST(OwnVersionStrings, ComeFromTheFirstTranslationInTheirOrder) {
  fakes::TFakeAboutSystem system;
  system.ProgramInfo.Language = 0x0409;
  system.ProgramInfo.CodePage = 0x04B0;
  system.ProgramInfo.Strings = {{"StringFileInfo\\040904B0\\ProductVersion", "P"},
                                {"StringFileInfo\\040904B0\\FileVersion", "F"},
                                {"StringFileInfo\\040604E4\\ProductName", "other language"}};
  EXPECT_EQ(about::OwnVersionStrings(), (std::vector<std::string>{"F", "P"}));
  system.ProgramInfo.HasVersionInfo = false;
  EXPECT_TRUE(about::OwnVersionStrings().empty());
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  fakes::TFakeAboutSystem System;
  TApplication App;
  TUpdateCheck* Checker = TComponent::Create<TUpdateCheck>(&App, "mGetNewVer1");

  static constexpr const char* kUrl = "http://mirror.tandrel.invalid/sware/curr_ver.txt";
  static constexpr const char* kTemp = "C:\\T\\curr_ver.tmp";

  UpdateCheckTest() {
    App.SetTitle("Morvel");
    Checker->URLCurrVerFile = kUrl;
    Checker->SiteName = "Tandrel Software";
    Checker->TempFile = kTemp;
  }
  void Serve(const std::string& version, const std::string& address = "http://get/it") {
    System.Download.Body = "[CurrentVersions]\r\nMorvel=" + version +
                           "\r\n[DownloadURL]\r\nMorvel=" + address +
                           "\r\n[CurrentVersions]\r\nOther=9.9.9.9\r\n";
  }
  // As the Updates? button runs it: an error goes to the standard report.
  void Check() {
    DoEvent([this](TObject*) { Checker->CheckForNewVersion(); }, Checker);
  }
  std::vector<std::string> Asked() const {
    std::vector<std::string> asked;
    for (const auto& a : System.Dialogs.Asked)
      asked.push_back(a.Caption + " " + std::to_string(a.Flags) + ": " + a.Text);
    return asked;
  }
};

const std::string kQuestion =
    "Confirm 36: There's a new version 2.3.0.1 of this program\r\n"
    "avaliable at: Tandrel Software\r\nDo you wan't to download it now ?";
const std::string kNoNewVersion = "Morvel 0: No new version available";

TEST_F(UpdateCheckTest, EachOutcomeSaysWhatItShould) {
  const struct {
    const char* Name;
    long Download;
    std::string Body;
    bool FailureDlg, DownloadDlg;
    int Answer;
    std::vector<std::string> Asked;
    bool Opened;
  } cases[] = {
      {"failed download",
       static_cast<long>(0x800C0005),
       "",
       true,
       true,
       kIdOk,
       {"Warning 48: Couldn't download file version information from:\r\n" + std::string(kUrl) +
        " !"},
       false},
      {"failed download, quietly",
       static_cast<long>(0x800C0005),
       "",
       false,
       true,
       kIdOk,
       {},
       false},
      {"newer, yes", kSOk, "2.3.0.1", true, true, kIdYes, {kQuestion}, true},
      {"newer, no", kSOk, "2.3.0.1", true, true, kIdNo, {kQuestion}, false},
      {"newer, no question", kSOk, "2.3.0.1", true, false, kIdYes, {}, false},
      {"the same", kSOk, "2.3.0.0", true, true, kIdYes, {kNoNewVersion}, false},
      {"older", kSOk, "2.2.9.9", true, true, kIdYes, {kNoNewVersion}, false},
      {"no dot", kSOk, "3", true, true, kIdYes, {kNoNewVersion}, false},
      {"not a version file", kSOk, "", true, true, kIdYes, {kNoNewVersion}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    System.Dialogs.Asked.clear();
    System.Dialogs.Answers = {c.Answer};
    System.Shell.Calls.clear();
    System.Download.Result = c.Download;
    if (c.Body.empty())
      System.Download.Body = "<html><body>Not found</body></html>";
    else
      Serve(c.Body);
    Checker->FailureDlg = c.FailureDlg;
    Checker->DownloadDlg = c.DownloadDlg;
    Check();
    EXPECT_EQ(Asked(), c.Asked);
    EXPECT_EQ(System.Drives.Files.count(kTemp), 0u);  // once read, or failed
    ASSERT_EQ(System.Shell.Calls.size(), c.Opened ? 1u : 0u);
    if (c.Opened) {
      const auto& call = System.Shell.Calls[0];
      EXPECT_EQ(call.Owner, 0u);
      EXPECT_EQ(call.Verb, "open");
      EXPECT_EQ(call.File, "http://get/it");
      EXPECT_EQ(call.Parameters + call.Directory, "");
      EXPECT_EQ(call.Show, kSwShowNormal);
    }
  }
  EXPECT_EQ(System.Download.Calls.back(), std::string(kUrl) + " -> " + kTemp);
}

TEST_F(UpdateCheckTest, TheFileIsReportedBeforeAnyQuestion) {
  Serve("2.3.0.1", "http://get/it");
  std::vector<std::string> reported;
  Checker->OnGetURL = [&](TObject* sender, std::string version, std::string address) {
    EXPECT_EQ(sender, Checker);
    EXPECT_TRUE(System.Dialogs.Asked.empty());
    reported = {version, address};
  };
  System.Dialogs.Answers = {kIdNo};
  Check();
  EXPECT_EQ(reported, (std::vector<std::string>{"2.3.0.1", "http://get/it"}));
}

TEST_F(UpdateCheckTest, OnlyAWebAddressIsOpened) {
  for (const char* address : {"file:///C:/windows/system32/calc.exe", "", "HTTPS://get/it"}) {
    SCOPED_TRACE(address);
    System.Dialogs.Asked.clear();
    System.Shell.Calls.clear();
    System.Dialogs.Answers = {kIdYes};
    Serve("2.3.0.1", address);
    Check();
    if (about::IsWebAddress(address)) {
      EXPECT_EQ(Asked(), (std::vector<std::string>{kQuestion}));
      ASSERT_EQ(System.Shell.Calls.size(), 1u);
      EXPECT_EQ(System.Shell.Calls[0].File, address);
    } else {
      // The standard error report names the address; nothing else follows.
      EXPECT_EQ(Asked(), (std::vector<std::string>{kQuestion, "Morvel 16: Not a web address: '" +
                                                                  std::string(address) + "'"}));
      EXPECT_TRUE(System.Shell.Calls.empty());
    }
  }
}

TEST_F(UpdateCheckTest, AVersionThatIsNoVersionEndsInTheErrorReportAlone) {
  const struct {
    const char *Latest, *Own;
    std::string Report;
  } cases[] = {
      {"2.4.0", "2.3.0.0", "'2.4.0' is not a valid version number"},
      {"2.4.0.0", "2.3.0.0.beta", "'2.3.0.0.beta' is not a valid version number"},
      {"2.4.0.0", nullptr, "The program carries no version information."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Latest);
    System.Dialogs.Asked.clear();
    Serve(c.Latest);
    System.ProgramInfo.HasVersionInfo = c.Own != nullptr;
    if (c.Own) System.ProgramInfo.Strings["StringFileInfo\\040604E4\\FileVersion"] = c.Own;
    Check();
    EXPECT_EQ(Asked(), (std::vector<std::string>{"Morvel 16: " + c.Report}));
    EXPECT_TRUE(System.Shell.Calls.empty());
  }
}

}  // namespace
