// Choosing the interface language: the stored choice at start, the language
// box, and the shipped language files themselves.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "about/AboutBox.h"
#include "app/Main.h"
#include "fakes/MainFormFixture.h"
#include "i18n/LangSelect.h"
#include "platform/IniFile.h"

using app::TForm1;
using platform::kHkeyLocalMachine;

namespace {

constexpr const char* kKey = "Software\\Tandrel\\Morvel\\";

std::string Shipped(const std::string& name) {
  std::ifstream in(std::string(MORVEL_LANG_DIR) + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LanguageSelectionTest : public fakes::TMainFormFixture {
 protected:
  LanguageSelectionTest() { System.Drives.AddCdRom('D'); }
  void Install(const std::string& name, const std::string& text) {
    System.Drives.Files[System.Drives.Dir + name] = text;
  }
  TForm1* Start(const std::string& language) { return StartMainForm(language); }
  std::vector<std::string> Questions() const {
    std::vector<std::string> texts;
    for (const auto& a : System.Dialogs.Asked) texts.push_back(a.Text);
    return texts;
  }
};

const char* const kEnglish =
    "[Translations]\nForm1.BitBtn1.Caption=About\nForm1.Restore1.Caption=Restore\n"
    "Form1.CheckBox2.Caption=Autoplay audio CDs\n";
const char* const kGerman =
    "[Translations]\nForm1.BitBtn1.Caption=\xDC"
    "ber\nForm1.Restore1.Caption=Wiederherstellen\nForm1.Run1.Caption=-\n"
    "[Messages]\nClose program?=Programm beenden?\n";
const char* const kFrenchPartial = "[Translations]\nForm1.BitBtn1.Caption=\xC0 propos\n";

TEST_F(LanguageSelectionTest, TheStoredLanguageIsAppliedAtStartWithoutAWrite) {
  Install("deutsch.lng", kGerman);
  TForm1* form = Start("Deutsch");
  EXPECT_EQ(form->Sprog->LanguageFile(), System.Drives.Dir + "deutsch.lng");
  EXPECT_EQ(form->BitBtn1->Caption(),
            "\xDC"
            "ber");
  EXPECT_EQ(form->Restore1->Caption, "Wiederherstellen");
  EXPECT_EQ(form->ComboBox1->Text(), "Deutsch");
  EXPECT_EQ(form->Sprog->Separator(), "|");
  // A command translated as "-" stays one: N1, N2 and N3 are the separators.
  for (const platform::TMenuItem* item : form->PopupMenu1->Items())
    EXPECT_EQ(item->IsSeparator(), item->Name()[0] == 'N') << item->Name();
  EXPECT_TRUE(System.Dialogs.Asked.empty());
  for (const std::string& call : System.Registry.Calls)
    EXPECT_EQ(call.find("Set "), std::string::npos) << call;
}

TEST_F(LanguageSelectionTest, ANameWithoutAFileFallsBackToEnglishAndKeepsTheName) {
  Install("english.lng", kEnglish);
  Install("deu.lng", std::string(platform::kReadFileMax + 1, ';'));  // reported once
  TForm1* form = Start("Deu");
  App->CreateForm<about::TAboutBox>("AboutBox", form->Sprog);  // which applies it once more
  EXPECT_EQ(form->Sprog->LanguageFile(), System.Drives.Dir + "english.lng");
  EXPECT_EQ(form->BitBtn1->Caption(), "About");
  EXPECT_EQ(form->ComboBox1->Text(), "Deu");
  EXPECT_EQ(Stored("Sprog"), "Deu");
  EXPECT_EQ(System.Dialogs.Asked.size(), 1u);
}

TEST_F(LanguageSelectionTest, FileNamesAreTheLowerCaseNameBesideTheProgram) {
  TForm1* form = Start("English");
  EXPECT_EQ(form->GetLangFileName("DANSK"), System.Drives.Dir + "dansk.lng");
  EXPECT_EQ(form->GetLangFileName(" User "), System.Drives.Dir + " user .lng");  // as it stands
  EXPECT_EQ(form->GetLangFileName(""), System.Drives.Dir + ".lng");
}

TEST_F(LanguageSelectionTest, EachTypedLetterIsStoredAndTried) {
  Install("english.lng", kEnglish);
  TForm1* form = Start("English");
  std::vector<std::string> stored;
  for (const char* text : {"D", "De", "Deu"}) {
    form->ComboBox1->UserEdited(text);
    stored.push_back(Stored("Sprog"));
  }
  EXPECT_EQ(stored, (std::vector<std::string>{"D", "De", "Deu"}));
  // No fallback on a change: deu.lng is missing, the texts stay English.
  EXPECT_EQ(form->Sprog->LanguageFile(), System.Drives.Dir + "deu.lng");
  EXPECT_EQ(form->BitBtn1->Caption(), "About");
}

TEST_F(LanguageSelectionTest, PickingALanguageRetranslatesAndTheNextQuestionFollows) {
  Install("english.lng", kEnglish);
  Install("deutsch.lng", kGerman);
  Install("francais.lng", kFrenchPartial);
  TForm1* form = Start("English");
  form->ComboBox1->UserSelected(form->ComboBox1->Items().IndexOf("Deutsch"));
  EXPECT_EQ(Stored("Sprog"), "Deutsch");
  EXPECT_EQ(form->BitBtn1->Caption(),
            "\xDC"
            "ber");
  System.Dialogs.Answers = {platform::kIdCancel};
  form->UserClose();
  EXPECT_EQ(Questions(), std::vector<std::string>{"Programm beenden?"});
  EXPECT_EQ(System.Dialogs.Asked[0].Caption, "Exit?");  // captions stay as they are

  // A file without some keys leaves those texts in the previous language.
  form->ComboBox1->UserSelected(form->ComboBox1->Items().IndexOf("Francais"));
  EXPECT_EQ(form->BitBtn1->Caption(), "\xC0 propos");
  EXPECT_EQ(form->Restore1->Caption, "Wiederherstellen");
}

TEST_F(LanguageSelectionTest, ARefusedWriteIsReportedAndTheLanguageStillChanges) {
  Install("deutsch.lng", kGerman);
  TForm1* form = Start("English");
  System.Registry.ReadOnlyRoots = {kHkeyLocalMachine};
  form->ComboBox1->UserEdited("deutsch");
  EXPECT_EQ(Questions(),
            std::vector<std::string>{"Error writing : Software\\Tandrel\\Morvel\\     \r\n"
                                     "You do not have the rights to change this setting"});
  EXPECT_EQ(Stored("Sprog"), "English");
  EXPECT_EQ(form->BitBtn1->Caption(),
            "\xDC"
            "ber");
}

TEST_F(LanguageSelectionTest, OnlySevenIsEnglishWhateverTheStoredLanguage) {
  Install("deutsch.lng", "[Messages]\nOnly seven=Nur sieben\n");
  for (char c = 'E'; c <= 'K'; ++c) System.Drives.AddCdRom(c);
  Start("Deutsch");
  EXPECT_EQ(Questions(), std::vector<std::string>{"Only seven"});
}

TEST_F(LanguageSelectionTest, AnEmptyKeyAsksOnceForEachSettingAndShowsNothing) {
  System.Registry.CreateKey(kHkeyLocalMachine, kKey);
  Install("english.lng", kEnglish);
  TForm1* form = CreateMainForm();
  EXPECT_EQ(Questions(),
            (std::vector<std::string>{"Sprog does not exists under Software\\Tandrel\\Morvel\\",
                                      "Tray does not exists under Software\\Tandrel\\Morvel\\",
                                      "Ikon does not exists under Software\\Tandrel\\Morvel\\"}));
  EXPECT_EQ(form->BitBtn1->Caption(), "About");
  EXPECT_EQ(form->ComboBox1->Text(), "");
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->AutoRunPage->CheckBox3->Checked());
  EXPECT_FALSE(form->AutoRunPage->CheckBox5->Checked());
}

TEST_F(LanguageSelectionTest, AMissingKeyIsReportedForEachReadAndCreatedByNone) {
  TForm1* form = CreateMainForm();
  ASSERT_EQ(System.Dialogs.Asked.size(), 3u);
  for (const auto& asked : System.Dialogs.Asked) {
    EXPECT_EQ(asked.Text, "Error opening/creating key : Software\\Tandrel\\Morvel\\");
    EXPECT_EQ(asked.Caption, "Morvel");
  }
  EXPECT_FALSE(System.Registry.KeyExists(kHkeyLocalMachine, kKey));
  EXPECT_FALSE(form->Visible());
}

TEST_F(LanguageSelectionTest, WindowModeAndDiscIconsFollowTheExactSettings) {
  System.Drives.AddCdRom('D', true);
  System.Drives.Files["D:\\Autorun.inf"] = "[autorun]\r\nicon=Disc.ico\r\n";
  System.Icons.Readable.insert("D:\\disc.ico");
  System.Drives.Files["D:\\disc.ico"] = System.Icons.SoundIconFile();
  TForm1* form = StartMainForm("English", "Ja", "Ja");
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(form->AutoRunPage->CheckBox3->Checked());
  platform::TTrayIcon* icon = form->DriveTrayIcons[1];
  EXPECT_TRUE(System.NotifyArea.Registered(icon->Id()));
  EXPECT_TRUE(form->AutoRunPage->CheckBox5->Checked());
  EXPECT_EQ(System.Icons.FileOf(System.NotifyArea.Shown(icon->Id()).Icon), "D:\\disc.ico");
  // Checking from code runs no handler: the start-up writes nothing.
  for (const std::string& call : System.Registry.Calls)
    EXPECT_NE(call.rfind("Set ", 0), 0u) << call;
}

TEST_F(LanguageSelectionTest, ALowerCaseSettingCountsAsNeither) {
  TForm1* form = StartMainForm("English", "nej", "ja");
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->AutoRunPage->CheckBox5->Checked());
}

TEST_F(LanguageSelectionTest, EveryListedPathLeadsToATextOnTheBuiltForms) {
  TForm1* form = Start("English");
  App->CreateForm<about::TAboutBox>("AboutBox");
  platform::TComponent* target = nullptr;  // where the component's own walk ended
  form->Sprog->OnTranslate = [&](auto*, platform::TComponent* c, auto&&...) { target = c; };
  for (const std::string& path : i18n::LanguagePaths()) {
    if (path == " ") continue;
    form->Sprog->SetPropertyByPath(path, "<" + path + ">");
    const auto* prop = target ? target->FindProperty(path.substr(path.rfind('.') + 1)) : nullptr;
    EXPECT_TRUE(prop && prop->Get(*target) == "<" + path + ">") << path;
  }
}

// The files that ship with the program: complete, and no design placeholder
// shows in any language.
TEST(ShippedLanguageFiles, EveryFileIsCompleteAndReplacesEveryPlaceholder) {
  fakes::TFakeSystem system;
  const char* const messages[] = {
      "Only seven",
      "No CD Present",
      "Do you want to change default player?",
      "Change will take effect after reboot. Do you wish to reboot now?",
      "An application refused to terminate",
      "Do you want to change Current User Drive Type Setting?",
      "Do you want to change System Drive Type Setting?",
      "Do you want to change Drive Autostart Setting?",
      "Do you want to change Drive System Autostart Setting?",
      "Close program?",
      "Restore default?",
      "The program named on the disc is too long to start.",
      "The program named on the disc is on another computer and is not started.",
      "The hot key %s is already in use."};
  for (const char* name : {"dansk", "deutsch", "english", "francais", "user"}) {
    SCOPED_TRACE(name);
    const std::string text = Shipped(std::string(name) + ".lng");
    ASSERT_FALSE(text.empty());
    const auto ini = platform::TIniFile::FromText(text);
    for (const std::string& path : i18n::LanguagePaths()) {
      if (path == " ") continue;
      const std::string value = ini.ReadString("Translations", path, "");
      EXPECT_FALSE(value.empty()) << path;
      for (const char* placeholder : {"BitBtn1", "BitBtn5", "BitBtn6", "Lyd auto", "Ikon"})
        EXPECT_NE(value, placeholder) << path;
    }
    for (const char* message : messages) {
      const std::string value = ini.ReadString("Messages", message, "<absent>");
      EXPECT_NE(value, "<absent>") << message;
      EXPECT_FALSE(value.empty()) << message;
      if (std::string(name) == "english") {
        EXPECT_EQ(value, message);
      }
    }
    // Single-byte text: no UTF-8 sequences slipped in.
    EXPECT_EQ(text.find("\xC3"), std::string::npos);
  }
}

}  // namespace
