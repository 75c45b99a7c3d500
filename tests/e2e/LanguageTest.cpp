// Scenario "language": the interface language is read from the program's
// settings at start, falls back to English when the named file is missing,
// and follows the language box at once. The expected words come from the
// language files installed beside the program, read with the system's own
// profile reader, so the test does not repeat the translations.
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

std::string ProgramFolder() {
  const std::string Exe = MorvelExePath();
  return Exe.substr(0, Exe.find_last_of("\\/") + 1);
}

// A value of an installed language file, as Windows reads it.
std::string FromFile(const std::string& Language, const char* Section, const char* Key) {
  char Buffer[2048] = "";
  GetPrivateProfileStringA(Section, Key, "", Buffer, sizeof Buffer,
                           (ProgramFolder() + Language + ".lng").c_str());
  return Buffer;
}

bool StoreLanguage(const std::string& Name) { return WriteSetting("Sprog", Name); }
std::string StoredLanguage() { return ReadSetting("Sprog"); }

class Language : public ::testing::Test {
 protected:
  void StartWith(const std::string& Stored) {
    ASSERT_TRUE(StoreLanguage(Stored));
    ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
    Main = Morvel.WaitForMainWindow();
    ASSERT_NE(Main, nullptr) << Morvel.Describe();
    LanguageBox = FindChildAt(Main, "ComboBox", {382, 149});
    ASSERT_NE(LanguageBox, nullptr);
  }
  void TearDown() override {
    Morvel.Stop();
    StoreLanguage("English");  // as the scenario found it
  }
  // The about button sits alone at the top of the right column.
  std::string AboutCaption() const { return TextOf(FindChildAt(Main, "Button", {382, 23})); }

  TMorvelProcess Morvel;
  HWND Main = nullptr;
  HWND LanguageBox = nullptr;
};

TEST_F(Language, TheStoredLanguageIsAppliedAtStart) {
  StartWith("Deutsch");
  const std::string About = FromFile("deutsch", "Translations", "Form1.BitBtn1.Caption");
  ASSERT_FALSE(About.empty()) << "deutsch.lng is not installed beside the program";
  EXPECT_EQ(AboutCaption(), About);
  EXPECT_NE(FindChild(Main, "Button", FromFile("deutsch", "Translations", "Form1.BitBtn2.Caption")),
            nullptr);
  EXPECT_EQ(TextOf(LanguageBox), "Deutsch");
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
}

TEST_F(Language, ANameWithoutAFileFallsBackToEnglishAndTheBoxKeepsTheName) {
  StartWith("Klingon");
  EXPECT_EQ(AboutCaption(), FromFile("english", "Translations", "Form1.BitBtn1.Caption"));
  EXPECT_NE(AboutCaption(), "BitBtn1");
  EXPECT_EQ(TextOf(LanguageBox), "Klingon");
  EXPECT_EQ(StoredLanguage(), "Klingon");
}

TEST_F(Language, PickingALanguageStoresItRetranslatesAndTheNextQuestionFollows) {
  StartWith("English");
  // A pick from the list arrives as a selection change from the box.
  SendMessageA(LanguageBox, CB_SETCURSEL, 0, 0);  // "Dansk"
  SendMessageA(Main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(LanguageBox), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(LanguageBox));
  ASSERT_TRUE(WaitUntil([&] { return StoredLanguage() == "Dansk"; }, 5s)) << StoredLanguage();
  EXPECT_EQ(AboutCaption(), FromFile("dansk", "Translations", "Form1.BitBtn1.Caption"));

  PostMessageA(Main, WM_CLOSE, 0, 0);
  HWND Question = Morvel.WaitForDialog("Exit?");
  ASSERT_NE(Question, nullptr) << Morvel.Describe();
  const std::string Danish = FromFile("dansk", "Messages", "Close program?");
  ASSERT_FALSE(Danish.empty());
  EXPECT_EQ(DialogText(Question), Danish);
  PressDialogButton(Question, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Question); }));
  EXPECT_TRUE(Morvel.Running());
}

TEST_F(Language, TypingIntoTheBoxStoresEveryLetter) {
  StartWith("English");
  HWND Edit = FindWindowExA(LanguageBox, nullptr, "Edit", nullptr);
  ASSERT_NE(Edit, nullptr);
  // Typed over the whole text, as after a click and select-all.
  SendMessageA(Edit, EM_SETSEL, 0, -1);
  for (char Letter : std::string("Fra"))
    SendMessageA(Edit, WM_CHAR, static_cast<WPARAM>(Letter), 1);
  ASSERT_TRUE(WaitUntil([&] { return StoredLanguage() == "Fra"; }, 5s)) << StoredLanguage();
  // No file is called fra.lng: the English words stay.
  EXPECT_EQ(AboutCaption(), FromFile("english", "Translations", "Form1.BitBtn1.Caption"));
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
}

}  // namespace
}  // namespace e2e
