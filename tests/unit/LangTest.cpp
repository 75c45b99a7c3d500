// The language component over the component model: the ownership walk, the
// property kinds, the separator and the events, with language files held by
// the fake file system.
#include <gtest/gtest.h>

#include "fakes/Fakes.h"
#include "fakes/LangForm.h"
#include "i18n/Lang.h"
#include "platform/Forms.h"

using i18n::TLanguage;
using platform::TComponent;

namespace {

constexpr const char* kFile = "C:\\Lang\\test.lng";

class LangTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  platform::TApplication App;
  fakes::TLangForm* Form = App.CreateForm<fakes::TLangForm>("Form1");
  TLanguage& Lang = *Form->Lang;

  void File(const std::string& text) {
    System.Drives.Files[kFile] = text;
    Lang.SetLanguageFile(kFile);
  }
};

TEST_F(LangTest, TheWalkFollowsOwnershipWithoutRegardToCase) {
  File("[translations]\r\nform1.BUTTON1.caption = Oversat \r\nForm1.Button1.Hint=\"  Tip  \"\r\n");
  Lang.Properties().Assign({"Form1.Button1.Caption", "FORM1.button1.HINT"});
  Lang.Translate();
  // The button sits in a panel, but the form owns it.
  EXPECT_EQ(Form->Button->Caption(), "Oversat");
  EXPECT_EQ(Form->Button->Hint(), "  Tip  ");

  Lang.SetPropertyByPath("  Form1 . Button1 . Caption  ", "Direct");
  EXPECT_EQ(Form->Button->Caption(), "Direct");
}

TEST_F(LangTest, PathsThatLeadNowhereWriteNothing) {
  int calls = 0;
  Lang.OnTranslate = [&](TLanguage*, TComponent*, const std::string&, const std::string&,
                         std::string&) { ++calls; };
  const std::string appName = App.Name();
  Lang.SetPropertyByPath("Name", "Renamed");                    // the application publishes nothing
  Lang.SetPropertyByPath("Form2.Button1.Caption", "x");         // no such form
  Lang.SetPropertyByPath("Form1.Panel1.Button1.Caption", "x");  // the panel owns nothing
  Lang.SetPropertyByPath("Form1.Button1.Font.Color", "x");      // no sub-objects
  Lang.SetPropertyByPath("Form1.Button1.Nonsense", "x");
  Lang.SetPropertyByPath("   ", "x");
  Lang.SetPropertyByPath("Form1.Button1.Caption", "");  // empty values never clear a text
  EXPECT_EQ(App.Name(), appName);
  EXPECT_EQ(Form->Button->Caption(), "Design");
  // The event comes before the property lookup: the two paths that end on
  // a component (the application, the button) reach it.
  EXPECT_EQ(calls, 2);
}

TEST_F(LangTest, AbsentOrEmptyEntriesKeepTheTextAndBlankEntriesAreSkipped) {
  File("[Translations]\nForm1.Button1.Caption=\nForm1.List1.Hint=Hint\n");
  std::vector<std::string> asked;
  Lang.OnTranslate = [&](TLanguage*, TComponent*, const std::string& name, const std::string&,
                         std::string&) { asked.push_back(name); };
  Lang.Properties().Assign(
      {"Form1.Button1.Caption", "   ", "Form1.Button1.Hint", "Form1.List1.Hint"});
  Lang.Translate();
  EXPECT_EQ(Form->Button->Caption(), "Design");
  EXPECT_EQ(Form->List->Hint(), "Hint");
  EXPECT_EQ(asked, std::vector<std::string>{"Hint"});
}

TEST_F(LangTest, NoFileChangesNothingAndMessagesStayEnglish) {
  Lang.Properties().Assign({"Form1.Button1.Caption"});
  Lang.Translate();  // no file set at all
  Lang.SetLanguageFile("C:\\missing.lng");
  Lang.Translate();
  EXPECT_EQ(Form->Button->Caption(), "Design");
  EXPECT_EQ(Lang.TranslateText("Close program?"), "Close program?");
}

TEST_F(LangTest, AFileOverTheCapIsReportedByNameAndThenCountsAsUnreadable) {
  File("[Translations]\r\nForm1.Button1.Caption=Big\r\n[Messages]\r\nClose program?=Big\r\n" +
       std::string(16 * 1024 * 1024, ';'));
  bool after = false;
  Lang.OnAfterTranslation = [&](platform::TObject*) { after = true; };
  Lang.Properties().Assign({"Form1.Button1.Caption"});
  Lang.Translate();
  EXPECT_EQ(Form->Button->Caption(), "Design");
  EXPECT_TRUE(after);
  ASSERT_EQ(System.Dialogs.Asked.size(), 1u);
  EXPECT_NE(System.Dialogs.Asked[0].Text.find(kFile), std::string::npos)
      << System.Dialogs.Asked[0].Text;
  EXPECT_EQ(System.Dialogs.Asked[0].Flags, platform::kMbOk | platform::kMbIconStop);
  // Messages fall back to English without a report of their own.
  EXPECT_EQ(Lang.TranslateText("Close program?"), "Close program?");
  EXPECT_EQ(System.Dialogs.Asked.size(), 1u);
}

TEST_F(LangTest, AUserFileSavedWithAByteOrderMarkKeepsItsFirstSection) {
  // As a common editor saves it: UTF-8 mark, CR LF, the first line a header.
  File(
      "\xEF\xBB\xBF[Translations]\r\nForm1.Button1.Caption=Mine\r\n\r\n"
      "[Messages]\r\nClose program?=Also mine\r\n");
  Lang.Properties().Assign({"Form1.Button1.Caption"});
  Lang.Translate();
  EXPECT_EQ(Form->Button->Caption(), "Mine");
  EXPECT_EQ(Lang.TranslateText("Close program?"), "Also mine");
}

TEST_F(LangTest, MessagesAreLookedUpByTheirEnglishTextOnEveryCall) {
  File("[Messages]\r\nclose PROGRAM?=Luk programmet?\r\nRestore default?=\r\n");
  EXPECT_EQ(Lang.TranslateText("Close program?"), "Luk programmet?");
  EXPECT_EQ(Lang.TranslateText("Restore default?"), "");  // present but empty
  EXPECT_EQ(Lang.TranslateText("Only seven"), "Only seven");
  // Nothing is cached: an edit of the file counts from the next call.
  System.Drives.Files[kFile] = "[Messages]\nClose program?=Programm beenden?\n";
  EXPECT_EQ(Lang.TranslateText("Close program?"), "Programm beenden?");
}

TEST_F(LangTest, StringListsSplitAtTheSeparator) {
  const auto items = [&](const std::string& value) {
    Lang.SetPropertyByPath("Form1.List1.Items", value);
    return Form->List->Items().Items();
  };
  using V = std::vector<std::string>;
  // Never assigned, the separator is empty: the trimmed value is one item.
  EXPECT_EQ(Lang.Separator(), "");
  EXPECT_EQ(items(" a|b "), V{"a|b"});

  Lang.SetSeparator("|");
  EXPECT_EQ(items("a|b||c"), (V{"a", "b", "", "c"}));
  EXPECT_EQ(items("a|b|"), (V{"a", "b"}));
  EXPECT_EQ(items(" x | y "), (V{"x", "y"}));
  EXPECT_EQ(items("||"), (V{"", ""}));

  Lang.SetSeparator("   ");
  EXPECT_EQ(Lang.Separator(), ",");
  Lang.SetSeparator(" ; ");
  EXPECT_EQ(Lang.Separator(), " ; ");  // kept with its blanks
  EXPECT_EQ(items("p ; q;r"), (V{"p", "q;r"}));
}

TEST_F(LangTest, IntegersConvertAndABadOneEndsThePass) {
  File(
      "[Translations]\n"
      "Form1.Button1.Left=$10\nForm1.Button1.Tag=-7\nForm1.Button1.Top=twelve\n"
      "Form1.Button1.Caption=After\nForm1.Button1.Visible=False\n");
  bool after = false;
  Lang.OnAfterTranslation = [&](platform::TObject*) { after = true; };
  Lang.Properties().Assign({"Form1.Button1.Left", "Form1.Button1.Tag", "Form1.Button1.Visible",
                            "Form1.Button1.Top", "Form1.Button1.Caption"});
  try {
    Lang.Translate();
    FAIL() << "an invalid integer must end the pass";
  } catch (const platform::EConvertError& e) {
    EXPECT_STREQ(e.what(), "'twelve' is not a valid integer value");
  }
  EXPECT_EQ(Form->Button->Bounds().Left, 16);
  EXPECT_EQ(Form->Button->Tag(), -7);
  EXPECT_TRUE(Form->Button->Visible());          // a Boolean is nothing the file can set
  EXPECT_EQ(Form->Button->Caption(), "Design");  // after the error: untouched
  EXPECT_FALSE(after);
}

TEST_F(LangTest, TheEventsFrameThePassAndOnTranslateMayChangeTheValue) {
  File("[Translations]\nForm1.Button1.Caption=New\nForm1.Button1.Hint=Tip\n");
  std::vector<std::string> log;
  Lang.OnBeforeTranslation = [&](platform::TObject* s) {
    log.push_back(s == &Lang ? "before" : "before?");
  };
  Lang.OnAfterTranslation = [&](platform::TObject*) { log.push_back("after"); };
  Lang.OnTranslate = [&](TLanguage* sender, TComponent* c, const std::string& name,
                         const std::string& old, std::string& value) {
    log.push_back(name + ":" + old + "->" + value);
    EXPECT_EQ(sender, &Lang);
    EXPECT_EQ(c, Form->Button);
    value = name == "Caption" ? "[" + value + "]" : "";
  };
  Lang.Properties().Assign({"Form1.Button1.Caption", "Form1.Button1.Hint"});
  Lang.Translate();
  EXPECT_EQ(log,
            (std::vector<std::string>{"before", "Caption:Design->New", "Hint:->Tip", "after"}));
  EXPECT_EQ(Form->Button->Caption(), "[New]");
  EXPECT_EQ(Form->Button->Hint(), "");  // what the handler leaves is written, even empty
}

TEST_F(LangTest, PropertiesAndSeparatorArePublishedThemselves) {
  Lang.SetPropertyByPath("Form1.Lang.Separator", "   ");
  EXPECT_EQ(Lang.Separator(), ",");
  Lang.SetPropertyByPath("Form1.Lang.Properties", "a,b");
  EXPECT_EQ(Lang.Properties().Items(), (std::vector<std::string>{"a", "b"}));
  platform::TStrings other;
  other.Assign({"x"});
  Lang.SetProperties(other);
  other.Add("y");  // a copy: the component's list is its own
  EXPECT_EQ(Lang.Properties().Count(), 1);
}

}  // namespace
