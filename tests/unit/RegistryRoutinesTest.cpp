#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "fakes/Fakes.h"
#include "policies/RegistryRoutines.h"

using namespace policies;
using platform::kHkeyClassesRoot;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::TRegData;

namespace {

const std::string kPath = "Software\\Tandrel\\Morvel";
const std::string kKey = "\\" + kPath;  // as the program passes it
const std::string kBrowserKey = "htmlfile\\shell\\open\\command";

const std::string kNoError = "<no exception>";

// The text of the ERegistryException `call` raises.
std::string RegError(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::ERegistryException& e) {
    return e.what();
  }
  return kNoError;
}

class RegistryRoutinesTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  platform::TApplication App;
  fakes::TFakeRegistry& Reg = System.Registry;

  void SetUp() override { App.SetTitle("Morvel"); }
  // Every routine closes what it opened, also when it raised.
  void TearDown() override { EXPECT_EQ(Reg.OpenKeyCount(), 0u); }

  std::vector<std::string> Opens() const {
    std::vector<std::string> opens;
    for (const std::string& call : Reg.Calls)
      if (call.rfind("Open ", 0) == 0) opens.push_back(call);
    return opens;
  }
  // The texts of the boxes shown, each checked for a plain ShowMessage box.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const fakes::TAsked& box : System.Dialogs.Asked) {
      EXPECT_EQ(box.Caption, "Morvel");
      EXPECT_EQ(box.Flags, platform::kMbOk);
      texts.push_back(box.Text);
    }
    return texts;
  }
  void Reset() {
    Reg.Calls.clear();
    System.Dialogs.Asked.clear();
  }
};

using TStrings = std::vector<std::string>;

TEST_F(RegistryRoutinesTest, RootsAreTheWindowsNumbers) {
  EXPECT_EQ(kHkeyClassesRoot, 0x80000000u);
  EXPECT_EQ(kHkeyCurrentUser, 0x80000001u);
  EXPECT_EQ(kHkeyLocalMachine, 0x80000002u);
}

// Routine, open mode, and the path as passed: one leading backslash goes, a
// trailing one stays.
TEST_F(RegistryRoutinesTest, EachRoutineOpensOnceInItsModeAndCloses) {
  Reg.PutString(kHkeyCurrentUser, kPath, "S", "x");
  Reg.PutDword(kHkeyCurrentUser, kPath, "I", 1);
  Reg.Put(kHkeyCurrentUser, kPath, "B", platform::kRegBinary, {1});
  const std::string key = kKey + "\\";
  std::string s;
  const struct {
    const char* Routine;
    std::function<void()> Call;
    const char* Mode;
  } rows[] = {
      {"RegReadStr", [&] { RegReadStr(kHkeyCurrentUser, key, "S", s); }, "ReadOnly"},
      {"RegValueExists", [&] { RegValueExists(kHkeyCurrentUser, key, "S"); }, "ReadOnly"},
      {"RegReadInt", [&] { RegReadInt(kHkeyCurrentUser, key, "I"); }, "ReadOnly"},
      {"RegReadByte", [&] { RegReadByte(kHkeyCurrentUser, key, "B"); }, "ReadOnly"},
      {"RegDelValue", [&] { RegDelValue(kHkeyCurrentUser, key, "S"); }, "ForChange"},
      {"RegWriteStr", [&] { RegWriteStr(kHkeyCurrentUser, key, "S", "y"); }, "Create"},
      {"RegWriteInt", [&] { RegWriteInt(kHkeyCurrentUser, key, "I", 2); }, "Create"},
      {"RegWriteByte", [&] { RegWriteByte(kHkeyCurrentUser, key, "B", 3); }, "Create"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Routine);
    Reset();
    row.Call();
    EXPECT_EQ(Opens(), TStrings{"Open HKCU\\" + kPath + "\\ " + row.Mode});
    EXPECT_EQ(Reg.Calls.back(), "Close");
    EXPECT_EQ(Reg.OpenKeyCount(), 0u);
    EXPECT_TRUE(Messages().empty());
  }
}

struct TFailureRow {
  const char* Routine;
  bool Writes;  // creates a missing key, so only a refused root stops it
  std::function<std::string()> Call;
  std::string Result;
  TStrings Messages;
};

// The key cannot be opened: missing under HKCU, refused or missing under an
// HKLM that allows reading only. Nothing is created; messages name the key as
// passed, with its backslash.
TEST_F(RegistryRoutinesTest, KeyThatCannotBeOpenedGivesTheDefaultsAndMessages) {
  Reg.ReadOnlyRoots = {kHkeyLocalMachine};
  const std::string key = "\\Software\\Missing";
  const std::string rights =
      "Error writing : " + key + "     \r\nYou do not have the rights to change this setting";
  for (platform::TRegRoot root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    std::string s = "keep";
    const std::string none;  // what the routines without a result give
    const TFailureRow rows[] = {
        {"RegReadStr",
         false,
         [&] { return RegReadStr(root, key, "N", s), s; },
         "keep",
         {"Error opening/creating key : " + key}},
        {"RegWriteStr", true, [&] { return RegWriteStr(root, key, "N", "v"), none; }, "", {rights}},
        {"RegDelValue",
         false,
         [&] { return RegDelValue(root, key, "N"), none; },
         "",
         {"Fejl ved sletning af registreringen : N"}},
        {"RegValueExists",
         false,
         [&] { return std::to_string(RegValueExists(root, key, "N")); },
         "0",
         {"Cannot verify: " + key}},
        {"RegReadInt", false, [&] { return std::to_string(RegReadInt(root, key, "N")); }, "-1", {}},
        {"RegWriteInt", true, [&] { return RegWriteInt(root, key, "N", 5), none; }, "", {}},
        {"RegReadByte",
         false,
         [&] { return std::to_string(RegReadByte(root, key, "N")); },
         "1",
         {}},
        {"RegWriteByte", true, [&] { return RegWriteByte(root, key, "N", 5), none; }, "", {}},
    };
    for (const TFailureRow& row : rows) {
      if (row.Writes && root == kHkeyCurrentUser) continue;
      SCOPED_TRACE(std::string(row.Routine) + (root == kHkeyCurrentUser ? " HKCU" : " HKLM"));
      Reset();
      EXPECT_EQ(row.Call(), row.Result);
      EXPECT_EQ(Messages(), row.Messages);
      EXPECT_FALSE(Reg.KeyExists(root, "Software\\Missing"));
      EXPECT_EQ(Reg.OpenKeyCount(), 0u);
    }
  }
}

TEST_F(RegistryRoutinesTest, AbsentValueGivesTheDefaultsAndOnlyReadStrComplains) {
  Reg.CreateKey(kHkeyCurrentUser, kPath);
  std::string s = "keep";
  RegReadStr(kHkeyCurrentUser, kKey, "Sprog", s);
  EXPECT_EQ(s, "keep");
  RegReadStr(kHkeyCurrentUser, kKey, "", s);  // the default value
  EXPECT_EQ(s, "keep");
  RegDelValue(kHkeyCurrentUser, kKey, "Sprog");
  EXPECT_FALSE(RegValueExists(kHkeyCurrentUser, kKey, "Sprog"));
  EXPECT_EQ(RegReadInt(kHkeyCurrentUser, kKey, "Sprog"), -1);
  EXPECT_EQ(RegReadByte(kHkeyCurrentUser, kKey, "Sprog"), 1);
  EXPECT_EQ(Messages(),
            (TStrings{"Sprog does not exists under " + kKey, " does not exists under " + kKey}));
  EXPECT_EQ(Reg.Find(kHkeyCurrentUser, kPath, "Sprog"), nullptr);
}

TEST_F(RegistryRoutinesTest, ReadStrReadsTheDefaultValueOnARootThatRefusesChanges) {
  Reg.ReadOnlyRoots = {kHkeyLocalMachine};
  Reg.PutString(kHkeyLocalMachine, kPath, "", "English");  // the default value
  std::string s;
  RegReadStr(kHkeyLocalMachine, kKey, "", s);
  EXPECT_EQ(s, "English");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryRoutinesTest, WritesStoreTheirTypesAndCreateEveryMissingKey) {
  RegWriteStr(kHkeyCurrentUser, "\\Software\\New\\Deep", "S", "Dansk");
  EXPECT_TRUE(Reg.KeyExists(kHkeyCurrentUser, "Software\\New"));
  EXPECT_TRUE(Reg.KeyExists(kHkeyCurrentUser, "Software\\New\\Deep"));
  RegWriteStr(kHkeyCurrentUser, kKey, "Empty", "");
  RegWriteInt(kHkeyCurrentUser, kKey, "I", -2);
  RegWriteInt(kHkeyCurrentUser, kKey, "J", 0x01020304);
  RegWriteByte(kHkeyCurrentUser, kKey, "B", 0x1FF);
  RegWriteByte(kHkeyCurrentUser, kKey, "C", 0x42);
  const struct {
    std::string Path, Name;
    std::uint32_t Type;
    TRegData Data;
  } rows[] = {
      {"Software\\New\\Deep", "S", platform::kRegSz, {'D', 'a', 'n', 's', 'k', 0}},
      {kPath, "Empty", platform::kRegSz, {0}},
      {kPath, "I", platform::kRegDword, {0xFE, 0xFF, 0xFF, 0xFF}},
      {kPath, "J", platform::kRegDword, {0x04, 0x03, 0x02, 0x01}},
      {kPath, "B", platform::kRegBinary, {0xFF}},
      {kPath, "C", platform::kRegBinary, {0x42}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const fakes::TFakeValue* v = Reg.Find(kHkeyCurrentUser, row.Path, row.Name);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Type, row.Type);
    EXPECT_EQ(v->Data, row.Data);
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryRoutinesTest, ValueExistsAndDelValueWorkForAnyType) {
  Reg.PutString(kHkeyCurrentUser, kPath, "S", "x");
  Reg.PutDword(kHkeyCurrentUser, kPath, "D", 1);
  Reg.Put(kHkeyCurrentUser, kPath, "B", platform::kRegBinary, {1, 2, 3});
  Reg.Put(kHkeyCurrentUser, kPath, "N", platform::kRegNone, {});
  for (const char* name : {"S", "D", "B", "N"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(RegValueExists(kHkeyCurrentUser, kKey, name));
    RegDelValue(kHkeyCurrentUser, kKey, name);
    EXPECT_EQ(Reg.Find(kHkeyCurrentUser, kPath, name), nullptr);
    EXPECT_FALSE(RegValueExists(kHkeyCurrentUser, kKey, name));
  }
  EXPECT_TRUE(Messages().empty());
}

// What each read gives for a stored value: the value, or the registry error.
TEST_F(RegistryRoutinesTest, ReadsAcceptTheirTypesAndRaiseOnOthers) {
  using TRead = std::string (*)();
  const TRead str = [] {
    std::string s = "keep";
    RegReadStr(kHkeyCurrentUser, kKey, "V", s);
    return s;
  };
  const TRead num = [] { return std::to_string(RegReadInt(kHkeyCurrentUser, kKey, "V")); };
  const TRead byte = [] { return std::to_string(RegReadByte(kHkeyCurrentUser, kKey, "V")); };
  const std::string invalid = "Invalid data type for 'V'";
  const std::string failed = "Failed to get data for 'V'";
  using namespace platform;
  const struct {
    TRead Read;
    std::uint32_t Type;
    TRegData Data;
    std::string Expected;
  } rows[] = {
      {str, kRegSz, {'E', 'n', 0}, "En"},
      {str, kRegSz, {'a', 'b', 0, 'c', 0}, "ab"},
      {str, kRegSz, {'a', 'b', 'c'}, "abc"},
      {str, kRegSz, {}, ""},
      {str, kRegExpandSz, {'%', 'T', 'M', 'P', '%', 0}, "%TMP%"},
      {str, kRegDword, {1, 0, 0, 0}, invalid},
      {str, kRegBinary, {'a', 0}, invalid},
      {num, kRegDword, {7, 0, 0, 0}, "7"},
      {num, kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, "-1"},
      {num, kRegDword, {0, 0, 0, 0x80}, "-2147483648"},
      {num, kRegBinary, {1, 0, 0, 0}, invalid},
      {num, kRegSz, {'1', 0}, invalid},
      {num, kRegBinary, {1, 0, 0, 0, 0, 0, 0, 0}, failed},
      {num, kRegSz, {'1', '2', '3', '4', '5', 0}, failed},
      {num, kRegDword, {1, 0, 0, 0, 0}, failed},
      {byte, kRegBinary, {0x2A}, "42"},
      {byte, kRegBinary, {1}, "1"},
      {byte, kRegNone, {7}, "7"},
      {byte, kRegMultiSz, {9}, "9"},
      {byte, kRegBinary, {1, 0, 0, 0}, invalid},
      {byte, kRegNone, {1, 0}, invalid},
      {byte, kRegSz, {0}, invalid},
      {byte, kRegExpandSz, {0}, invalid},
      {byte, kRegDword, {1, 0, 0, 0}, invalid},
      {byte, kRegDword, {1}, invalid},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(::testing::Message() << "row " << i);
    Reg.Put(kHkeyCurrentUser, kPath, "V", rows[i].Type, rows[i].Data);
    std::string got;
    const std::string error = RegError([&] { got = rows[i].Read(); });
    EXPECT_EQ(error == kNoError ? got : error, rows[i].Expected);
    EXPECT_EQ(Reg.OpenKeyCount(), 0u);
  }
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryRoutinesTest, RefusedWriteRaisesFailedToSetAndStoresNothing) {
  Reg.CreateKey(kHkeyCurrentUser, kPath);
  Reg.RefuseSetValue = true;
  const std::string failed = "Failed to set data for 'V'";
  EXPECT_EQ(RegError([] { RegWriteStr(kHkeyCurrentUser, kKey, "V", "x"); }), failed);
  EXPECT_EQ(RegError([] { RegWriteInt(kHkeyCurrentUser, kKey, "V", 1); }), failed);
  EXPECT_EQ(RegError([] { RegWriteByte(kHkeyCurrentUser, kKey, "V", 1); }), failed);
  EXPECT_EQ(Reg.Find(kHkeyCurrentUser, kPath, "V"), nullptr);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryRoutinesTest, OpenInBrowserRunsTheQuotedProgramWithTheUrl) {
  const struct {
    std::string Command, File;  // File "" means nothing is started
    bool StandardUser = false;  // who may not change HKEY_CLASSES_ROOT
  } rows[] = {
      {"\"C:\\Prog\\browser.exe\" -nohome \"%1\"", "C:\\Prog\\browser.exe"},
      {"\"C:\\Prog\\browser.exe\" -nohome \"%1\"", "C:\\Prog\\browser.exe", true},
      {"\"C:\\Program Files\\IE\\iexplore.exe\" %1", "C:\\Program Files\\IE\\iexplore.exe"},
      {"run \"C:\\a.exe\" \"%1\"", "C:\\a.exe"},
      {"C:\\Prog\\browser.exe %1", ""},
      {"\"\" %1", ""},
      {"", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Command);
    Reg.PutString(kHkeyClassesRoot, kBrowserKey, "", row.Command);
    Reg.ReadOnlyRoots =
        row.StandardUser ? std::vector{kHkeyClassesRoot} : std::vector<platform::TRegRoot>{};
    Reset();
    System.Shell.Calls.clear();
    OpenInBrowser("http://example.com/a b");
    EXPECT_EQ(Opens(), TStrings{"Open HKCR\\" + kBrowserKey + " ReadOnly"});
    EXPECT_EQ(Reg.Calls.back(), "Close");
    EXPECT_TRUE(Messages().empty());
    if (row.File.empty()) {
      EXPECT_TRUE(System.Shell.Calls.empty());
      continue;
    }
    ASSERT_EQ(System.Shell.Calls.size(), 1u);
    const fakes::TShellCall& run = System.Shell.Calls[0];
    EXPECT_EQ(std::tie(run.Owner, run.Verb, run.File, run.Parameters, run.Directory, run.Show),
              std::make_tuple(platform::THandle{0}, "open", row.File, "http://example.com/a b", "",
                              platform::kSwShow));
  }
}

TEST_F(RegistryRoutinesTest, OpenInBrowserWithoutAReadableCommandStartsNothing) {
  OpenInBrowser("http://x/");  // no key: not created
  EXPECT_FALSE(Reg.KeyExists(kHkeyClassesRoot, kBrowserKey));
  Reg.PutDword(kHkeyClassesRoot, kBrowserKey, "", 1);  // not a string
  OpenInBrowser("http://x/");
  EXPECT_TRUE(System.Shell.Calls.empty());
  EXPECT_TRUE(Messages().empty());
}

// The accessor itself: its default root, and one key at a time.
TEST(RegistryTest, AccessorStartsAtCurrentUserAndClosesOnDestruction) {
  fakes::TFakeSystem system;
  {
    platform::TRegistry r;
    ASSERT_TRUE(r.OpenKey("Software\\X", true));
    EXPECT_EQ(system.Registry.OpenKeyCount(), 1u);
    EXPECT_TRUE(r.OpenKeyReadOnly("Software\\X"));  // the first key is closed
    EXPECT_EQ(system.Registry.OpenKeyCount(), 1u);
  }
  EXPECT_EQ(system.Registry.OpenKeyCount(), 0u);
  EXPECT_EQ(system.Registry.Calls, (TStrings{"Open HKCU\\Software\\X Create", "Close",
                                             "Open HKCU\\Software\\X ReadOnly", "Close"}));
}

// A 32-bit program on 64-bit Windows opens every key in the 64-bit view.
TEST_F(RegistryRoutinesTest, UnderWow64EveryOpenAsksForThe64BitView) {
  for (bool wow64 : {false, true}) {
    System.Os.Wow64 = wow64;
    Reg.Access.clear();
    RegWriteInt(kHkeyLocalMachine, kKey, "I", 1);
    RegReadInt(kHkeyLocalMachine, kKey, "I");
    RegDelValue(kHkeyCurrentUser, kKey, "I");
    const std::uint32_t view = wow64 ? platform::kKeyWow64_64Key : 0;
    EXPECT_EQ(Reg.Access,
              (std::vector<std::uint32_t>{0xF003F | view, 0x20019 | view, 0xF003F | view}));
  }
}

}  // namespace
