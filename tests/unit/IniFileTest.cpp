// The INI reader's rules, natively; tests/win32 holds the comparison with the
// system's own reader.
#include <gtest/gtest.h>

#include "fakes/Fakes.h"
#include "platform/IniFile.h"

using platform::TIniFile;

namespace {

TEST(IniFile, NamesBlanksAndQuotesFollowTheProfileRules) {
  const auto ini = TIniFile::FromText(
      "; a comment=not a key\r\n"
      "[ Autorun ]\r\n"
      "  OPEN  =  setup.exe  /s \r\n"
      "icon=\"  disc.ico,1  \"\n"
      "label='Mixed\"\n"
      "lone=\"\n"
      "inner=a \"b\" c\n"
      "empty=\n"
      "bare\n"
      "[\xC6"
      "ble]\r"  // CR-only line ends too
      "k\xE6y=\xE6\r");
  EXPECT_EQ(ini.ReadString("autorun", "open", "-"), "setup.exe  /s");
  EXPECT_EQ(ini.ReadString(" AUTORUN ", " Icon ", "-"), "  disc.ico,1  ");
  EXPECT_EQ(ini.ReadString("autorun", "label", "-"), "'Mixed\"");
  EXPECT_EQ(ini.ReadString("autorun", "lone", "-"), "\"");
  EXPECT_EQ(ini.ReadString("autorun", "inner", "-"), "a \"b\" c");
  EXPECT_EQ(ini.ReadString("autorun", "empty", "-"), "");
  EXPECT_EQ(ini.ReadString("autorun", "bare", "-"), "-");  // no '=': no value
  EXPECT_EQ(ini.ReadString("autorun", "; a comment", "-"), "-");
  EXPECT_EQ(ini.ReadString("\xE6"
                           "BLE",
                           "K\xC6Y", "-"),
            "\xE6");  // Windows-1252 letters
  EXPECT_EQ(ini.ReadString("missing", "open", "as given "), "as given ");
}

TEST(IniFile, LongValuesAreCutAfterTheQuotesGo) {
  const std::string long3000(3000, 'x');
  const std::string quoted2047 = "\"" + std::string(2047, 'q') + "\"";
  const auto ini = TIniFile::FromText("[L]\nplain=" + long3000 + "\nquoted=" + quoted2047 + "\n");
  EXPECT_EQ(ini.ReadString("L", "plain", ""), std::string(2047, 'x'));
  EXPECT_EQ(ini.ReadString("L", "quoted", ""), std::string(2047, 'q'));
}

TEST(IniFile, OnlyTheFirstSectionOfANameAndTheFirstKeyCount) {
  const auto ini = TIniFile::FromText(
      "early=before any section\n[S]\na=1\na=2\n[s]\na=3\nb=only in the second copy\n");
  EXPECT_EQ(ini.ReadString("S", "a", "-"), "1");
  EXPECT_EQ(ini.ReadString("S", "b", "-"), "-");
  EXPECT_EQ(ini.ReadString("", "early", "-"), "-");
}

TEST(IniFile, AFileThatCannotBeReadIsEmpty) {
  fakes::TFakeSystem system;
  system.Drives.Files["C:\\a.inf"] = "[autorun]\nopen=a.exe";  // no final line end
  EXPECT_EQ(TIniFile("C:\\a.inf").ReadString("autorun", "open", "-"), "a.exe");
  EXPECT_EQ(TIniFile("C:\\b.inf").ReadString("autorun", "open", "-"), "-");
  EXPECT_EQ(TIniFile("").ReadString("autorun", "open", "-"), "-");
}

}  // namespace
