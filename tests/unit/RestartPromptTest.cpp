#include <gtest/gtest.h>

#include "fakes/Fakes.h"
#include "policies/RestartPrompt.h"

using namespace policies;
using platform::kIdCancel;
using platform::kIdYes;

namespace {

class RestartPromptTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  platform::TApplication App;
  i18n::TLanguage Language{nullptr};

  void SetUp() override { App.SetTitle("Morvel"); }
  // What the dialogs showed and the system was asked, one line.
  std::string Record() const {
    std::string text;
    for (const fakes::TAsked& a : System.Dialogs.Asked) text += "[" + a.Text + "] ";
    for (const std::string& call : System.Os.Calls) text += call + "; ";
    return text;
  }
};

TEST_F(RestartPromptTest, TheQuestionIsAnInformationDialogWithYesAndCancel) {
  System.Dialogs.Answers = {kIdYes, kIdCancel};
  EXPECT_TRUE(AskQuestion(Language, "Q?"));
  EXPECT_FALSE(AskQuestion(Language, "Q?"));
  EXPECT_FALSE(AskQuestion(Language, "Q?"));  // unanswered: Esc
  const fakes::TAsked& asked = System.Dialogs.Asked.at(2);
  EXPECT_EQ(asked.Caption, "Information");
  EXPECT_EQ(asked.Flags, platform::kMbIconInformation);
  EXPECT_EQ(asked.Buttons, (std::vector<std::string>{"&Yes", "Cancel"}));
}

TEST_F(RestartPromptTest, YesRestartsCancelDoesNotAndARefusalIsReported) {
  const std::string question = std::string("[") + kRebootQuestion + "] ";
  const std::string restart = "GetVersionInfo; EnableShutdownPrivilege; RequestExitWindows 2; ";
  const struct {
    std::uint32_t Platform;
    int Answer;
    bool Accepted;
    std::string Record;
  } cases[] = {
      {platform::kVerPlatformWin32Nt, kIdYes, true, question + restart},
      {platform::kVerPlatformWin32Nt, kIdCancel, true, question},
      {platform::kVerPlatformWin32Nt, kIdYes, false,
       question + "[An application refused to terminate] " + restart},
      // No token on the 9x platform.
      {platform::kVerPlatformWin32Windows, kIdYes, true,
       question + "GetVersionInfo; RequestExitWindows 2; "},
  };
  for (const auto& c : cases) {
    System.Os.Set(c.Platform, 4, 10);  // no NT 4.10 exists: the platform alone decides
    System.Os.ExitAccepted = c.Accepted;
    System.Os.Calls.clear();
    System.Dialogs.Asked.clear();
    System.Dialogs.Answers = {c.Answer};
    PromptReboot(Language);
    EXPECT_EQ(Record(), c.Record);
  }
  // The refusal is a plain message box.
  EXPECT_EQ(System.Dialogs.Asked.size(), 1u);
  System.Os.ExitAccepted = false;
  System.Dialogs.Answers = {kIdYes};
  PromptReboot(Language);
  EXPECT_EQ(System.Dialogs.Asked.back().Caption, "Morvel");
  EXPECT_EQ(System.Dialogs.Asked.back().Flags, platform::kMbOk);
}

TEST_F(RestartPromptTest, BothTextsAreTranslatedAndWithoutAServiceARestartIsRefused) {
  System.Drives.Files["C:\\de.lng"] =
      "[Messages]\nChange will take effect after reboot. Do you wish to reboot now?=Neu "
      "starten?\nAn application refused to terminate=Abgelehnt\n";
  Language.SetLanguageFile("C:\\de.lng");
  platform::TServices services = platform::Services();
  services.System = nullptr;
  platform::TScopedServices noSystem{services};
  System.Dialogs.Answers = {kIdYes};
  PromptReboot(Language);
  EXPECT_EQ(Record(), "[Neu starten?] [Abgelehnt] ");
}

}  // namespace
