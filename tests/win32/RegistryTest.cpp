// The registry routines and the advapi32 registry service against the real
// registry under Wine. Each test works below a scratch key of its own under
// HKEY_CURRENT_USER and removes it again; values are planted and checked with
// the raw API so that types and bytes are seen exactly as stored.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/Fakes.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Undef.h"
#include "policies/RegistryRoutines.h"

using namespace platform;
using namespace policies;

namespace {

using TBytes = std::vector<std::uint8_t>;

const std::string kParent = "Software\\MorvelTest";

// RegDeleteTreeA is not there for the Windows version the program targets.
bool DeleteTree(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char name[256];
    DWORD length = sizeof name;
    while (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS &&
           DeleteTree(key, name))
      length = sizeof name;
    RegCloseKey(key);
  }
  return RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

struct TStored {
  LONG Result = ERROR_FILE_NOT_FOUND;
  DWORD Type = REG_NONE;
  TBytes Bytes;
};

TStored ReadRaw(const std::string& path, const std::string& name) {
  TStored stored;
  HKEY key = nullptr;
  stored.Result = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
  if (stored.Result != ERROR_SUCCESS) return stored;
  stored.Bytes.resize(64);
  DWORD size = static_cast<DWORD>(stored.Bytes.size());
  stored.Result =
      RegQueryValueExA(key, name.c_str(), nullptr, &stored.Type, stored.Bytes.data(), &size);
  stored.Bytes.resize(stored.Result == ERROR_SUCCESS ? size : 0);
  RegCloseKey(key);
  return stored;
}

template <class F>
std::string Raised(F call) {
  try {
    call();
  } catch (const ERegistryException& e) {
    return e.what();
  }
  return "(nothing raised)";
}

using TGetProcessHandleCount = BOOL(WINAPI*)(HANDLE, PDWORD);

// Declared only for newer Windows versions than the program targets.
DWORD ProcessHandleCount() {
  const FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount");
  if (!proc) return 0;
  const auto get = reinterpret_cast<TGetProcessHandleCount>(reinterpret_cast<void (*)()>(proc));
  DWORD count = 0;
  return get(GetCurrentProcess(), &count) ? count : 0;
}

// The value the next key handle gets. Freed handle slots are used again, so
// keys left open push it up even where no handle count is reported.
std::uintptr_t NextKeyHandle() {
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);
  RegCloseKey(key);
  return reinterpret_cast<std::uintptr_t>(key);
}

class RegistryRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    Key = kParent + "\\" + std::to_string(GetCurrentProcessId()) + "." +
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    DeleteTree(HKEY_CURRENT_USER, Key);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &FScratch, nullptr),
              ERROR_SUCCESS);
    Wired.Registry = &Registry;
    Wired.Dialogs = &Dialogs;
    FScope = std::make_unique<TScopedServices>(Wired);
  }

  void TearDown() override {
    FScope.reset();
    if (FScratch) RegCloseKey(FScratch);
    EXPECT_TRUE(DeleteTree(HKEY_CURRENT_USER, Key));
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent.c_str());  // only when no other run uses it
  }

  void Plant(const std::string& name, DWORD type, const TBytes& bytes) {
    ASSERT_EQ(RegSetValueExA(FScratch, name.c_str(), 0, type, bytes.data(),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }
  void PlantText(const std::string& name, DWORD type, const std::string& text) {
    Plant(name, type, TBytes(text.begin(), text.end()));
  }

  std::string ReadStr(const std::string& name, const std::string& held = "held") {
    std::string value = held;
    RegReadStr(kHkeyCurrentUser, Key, name, value);
    return value;
  }

  std::string Key;
  win32::TWin32Registry Registry;
  fakes::TFakeDialogs Dialogs;
  TServices Wired;

 private:
  HKEY FScratch = nullptr;
  std::unique_ptr<TScopedServices> FScope;
};

TEST_F(RegistryRoutines, WritesStoreTheRegistryTypeAndTheExactBytes) {
  RegWriteStr(kHkeyCurrentUser, Key, "Text", "abc");
  RegWriteStr(kHkeyCurrentUser, Key, "Empty", "");
  RegWriteInt(kHkeyCurrentUser, Key, "Int", -2);
  RegWriteByte(kHkeyCurrentUser, Key, "Byte", 0x1FF);

  TStored text = ReadRaw(Key, "Text");
  EXPECT_EQ(text.Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(text.Bytes, (TBytes{'a', 'b', 'c', 0}));
  TStored empty = ReadRaw(Key, "Empty");
  EXPECT_EQ(empty.Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(empty.Bytes, (TBytes{0}));
  TStored integer = ReadRaw(Key, "Int");
  EXPECT_EQ(integer.Type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(integer.Bytes, (TBytes{0xFE, 0xFF, 0xFF, 0xFF}));
  TStored byte = ReadRaw(Key, "Byte");
  EXPECT_EQ(byte.Type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(byte.Bytes, (TBytes{0xFF}));

  // And each reads back through its own routine.
  EXPECT_EQ(ReadStr("Text"), "abc");
  EXPECT_EQ(ReadStr("Empty"), "");
  EXPECT_EQ(RegReadInt(kHkeyCurrentUser, Key, "Int"), -2);
  EXPECT_EQ(RegReadByte(kHkeyCurrentUser, Key, "Byte"), 0xFF);
  EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(RegistryRoutines, WritesCreateEveryMissingKeyAlongThePath) {
  RegWriteStr(kHkeyCurrentUser, Key + "\\One\\Two\\Three", "S", "deep");
  EXPECT_EQ(ReadRaw(Key + "\\One\\Two\\Three", "S").Bytes, (TBytes{'d', 'e', 'e', 'p', 0}));
  RegWriteInt(kHkeyCurrentUser, Key + "\\A\\B\\C", "I", 7);
  EXPECT_EQ(ReadRaw(Key + "\\A\\B\\C", "I").Bytes, (TBytes{7, 0, 0, 0}));
  RegWriteByte(kHkeyCurrentUser, Key + "\\X\\Y\\Z", "B", 3);
  EXPECT_EQ(ReadRaw(Key + "\\X\\Y\\Z", "B").Bytes, (TBytes{3}));

  // A trailing backslash names the same key; a leading one is dropped.
  RegWriteStr(kHkeyCurrentUser, Key + "\\Trail\\", "S", "t");
  EXPECT_EQ(ReadRaw(Key + "\\Trail", "S").Result, ERROR_SUCCESS);
  RegWriteStr(kHkeyCurrentUser, "\\" + Key + "\\Lead", "S", "l");
  EXPECT_EQ(ReadRaw(Key + "\\Lead", "S").Result, ERROR_SUCCESS);
  EXPECT_EQ(ReadRaw(Key, "S").Result, ERROR_FILE_NOT_FOUND);  // not in the scratch key itself
  std::string lead;
  RegReadStr(kHkeyCurrentUser, "\\" + Key + "\\Lead\\", "S", lead);
  EXPECT_EQ(lead, "l");
}

TEST_F(RegistryRoutines, ReadStrTakesTextTypesAsStoredAndRejectsOthers) {
  PlantText("Sz", REG_SZ, std::string("plain\0", 6));
  PlantText("Expand", REG_EXPAND_SZ, std::string("%PATH%x\0", 8));
  PlantText("Inner", REG_SZ, std::string("ab\0cd\0", 6));
  PlantText("Unended", REG_SZ, "abc");
  Plant("Zero", REG_SZ, {});
  Plant("Dword", REG_DWORD, {1, 0, 0, 0});

  EXPECT_EQ(ReadStr("Sz"), "plain");
  EXPECT_EQ(ReadStr("Expand"), "%PATH%x");  // never expanded
  EXPECT_EQ(ReadStr("Inner"), "ab");
  EXPECT_EQ(ReadStr("Unended"), "abc");
  EXPECT_EQ(ReadStr("Zero"), "");
  EXPECT_EQ(Raised([&] { ReadStr("Dword"); }), "Invalid data type for 'Dword'");
  EXPECT_TRUE(Dialogs.Asked.empty());

  // An absent value is reported and leaves the caller's text alone.
  EXPECT_EQ(ReadStr("Absent"), "held");
  ASSERT_EQ(Dialogs.Asked.size(), 1u);
  EXPECT_EQ(Dialogs.Asked[0].Text, "Absent does not exists under " + Key);
}

TEST_F(RegistryRoutines, ReadIntTakesOnlyFourByteDwords) {
  Plant("Dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12});
  Plant("Bin4", REG_BINARY, {1, 0, 0, 0});
  Plant("Qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  Plant("Bin8", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});

  EXPECT_EQ(RegReadInt(kHkeyCurrentUser, Key, "Dword"), 0x12345678);
  EXPECT_EQ(Raised([&] { RegReadInt(kHkeyCurrentUser, Key, "Bin4"); }),
            "Invalid data type for 'Bin4'");
  // Eight bytes do not fit the integer's buffer; that fails before the type
  // is looked at.
  EXPECT_EQ(Raised([&] { RegReadInt(kHkeyCurrentUser, Key, "Qword"); }),
            "Failed to get data for 'Qword'");
  EXPECT_EQ(Raised([&] { RegReadInt(kHkeyCurrentUser, Key, "Bin8"); }),
            "Failed to get data for 'Bin8'");
  EXPECT_EQ(RegReadInt(kHkeyCurrentUser, Key, "Absent"), -1);
  EXPECT_EQ(RegReadInt(kHkeyCurrentUser, Key + "\\Missing", "Dword"), -1);
  EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(RegistryRoutines, ReadByteTakesOneByteOfAnyBinaryKind) {
  Plant("Bin1", REG_BINARY, {0x9C});
  Plant("None1", REG_NONE, {0x42});
  Plant("Bin4", REG_BINARY, {1, 2, 3, 4});
  PlantText("Sz", REG_SZ, std::string("1\0", 2));

  EXPECT_EQ(RegReadByte(kHkeyCurrentUser, Key, "Bin1"), 0x9C);
  EXPECT_EQ(RegReadByte(kHkeyCurrentUser, Key, "None1"), 0x42);
  EXPECT_EQ(Raised([&] { RegReadByte(kHkeyCurrentUser, Key, "Bin4"); }),
            "Invalid data type for 'Bin4'");
  EXPECT_EQ(Raised([&] { RegReadByte(kHkeyCurrentUser, Key, "Sz"); }),
            "Invalid data type for 'Sz'");
  EXPECT_EQ(RegReadByte(kHkeyCurrentUser, Key, "Absent"), 1);
  EXPECT_EQ(RegReadByte(kHkeyCurrentUser, Key + "\\Missing", "Bin1"), 1);
  EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(RegistryRoutines, ValueExistsForEveryTypeAndDeleteRemovesIt) {
  PlantText("Sz", REG_SZ, std::string("x\0", 2));
  Plant("Dword", REG_DWORD, {0, 0, 0, 0});
  Plant("Binary", REG_BINARY, {});
  Plant("None", REG_NONE, {});
  Plant("Qword", REG_QWORD, {0, 0, 0, 0, 0, 0, 0, 0});
  PlantText("Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  for (const char* name : {"Sz", "Dword", "Binary", "None", "Qword", "Multi"})
    EXPECT_TRUE(RegValueExists(kHkeyCurrentUser, Key, name)) << name;
  EXPECT_FALSE(RegValueExists(kHkeyCurrentUser, Key, "Absent"));

  RegDelValue(kHkeyCurrentUser, Key, "Qword");
  EXPECT_EQ(ReadRaw(Key, "Qword").Result, ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(RegValueExists(kHkeyCurrentUser, Key, "Sz"));
  RegDelValue(kHkeyCurrentUser, Key, "Qword");  // already gone: nothing to say
  EXPECT_TRUE(Dialogs.Asked.empty());
}

TEST_F(RegistryRoutines, AMissingKeyIsReportedAndNeverCreated) {
  const std::string missing = Key + "\\Missing";
  std::string value = "held";
  RegReadStr(kHkeyCurrentUser, missing, "Name", value);
  EXPECT_EQ(value, "held");
  EXPECT_FALSE(RegValueExists(kHkeyCurrentUser, missing, "Name"));
  RegDelValue(kHkeyCurrentUser, missing, "Name");

  ASSERT_EQ(Dialogs.Asked.size(), 3u);
  EXPECT_EQ(Dialogs.Asked[0].Text, "Error opening/creating key : " + missing);
  EXPECT_EQ(Dialogs.Asked[1].Text, "Cannot verify: " + missing);
  EXPECT_EQ(Dialogs.Asked[2].Text, "Fejl ved sletning af registreringen : Name");
  for (const auto& asked : Dialogs.Asked) EXPECT_EQ(asked.Flags, static_cast<unsigned>(MB_OK));
  EXPECT_FALSE(KeyExists(missing));
}

TEST_F(RegistryRoutines, RepeatedCallsLeaveNoKeyOpen) {
  std::string value;
  RegWriteStr(kHkeyCurrentUser, Key, "S", "v");
  RegReadStr(kHkeyCurrentUser, Key, "S", value);
  const DWORD count = ProcessHandleCount();
  const std::uintptr_t next = NextKeyHandle();
  for (int i = 0; i < 500; ++i) {
    RegWriteStr(kHkeyCurrentUser, Key, "S", std::to_string(i));
    RegReadStr(kHkeyCurrentUser, Key, "S", value);
  }
  EXPECT_EQ(value, "499");
  EXPECT_LE(NextKeyHandle(), next + 5 * 4);  // handle values step by four
  RecordProperty("handle_count", static_cast<int>(count));
  // Wine reports no count; Windows does.
  if (count != 0) {
    EXPECT_LE(ProcessHandleCount(), count + 5);
  }
}

// The service itself, where TRegistry depends on details of the calls.
TEST(Win32Registry, PredefinedRootsOpenFromA64BitProgram) {
  win32::TWin32Registry service;
  THandle key = 0;
  // HKEY_LOCAL_MACHINE is the sign-extended 0x80000002 in a 64-bit program
  // (Wine also accepts the zero-extended value). The 64-bit view, which a
  // 32-bit program asks for on 64-bit Windows, is accepted by the call.
  ASSERT_EQ(
      service.OpenKey(kHkeyLocalMachine, "Software", TRegOpenMode::ReadOnly, kKeyWow64_64Key, key),
      kErrorSuccess);
  EXPECT_NE(key, 0u);
  service.CloseKey(key);
  ASSERT_EQ(service.OpenKey(kHkeyCurrentUser, "Software", TRegOpenMode::ReadOnly, 0, key),
            kErrorSuccess);
  service.CloseKey(key);

  key = 0;
  EXPECT_EQ(service.OpenKey(kHkeyCurrentUser, "Software\\MorvelTest\\NoSuchKey",
                            TRegOpenMode::ForChange, 0, key),
            kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
}

TEST(Win32Registry, AQueryTooSmallForTheDataStillReportsTypeAndSize) {
  const std::string path = kParent + "\\" + std::to_string(GetCurrentProcessId()) + ".Query";
  win32::TWin32Registry service;
  THandle key = 0;
  ASSERT_EQ(service.OpenKey(kHkeyCurrentUser, path, TRegOpenMode::OpenOrCreate, 0, key),
            kErrorSuccess);
  ASSERT_EQ(service.SetValue(key, "V", kRegSz, {'h', 'e', 'l', 'l', 'o', 0}), kErrorSuccess);

  std::uint32_t type = 0;
  std::size_t size = 0;
  TRegData data;
  EXPECT_EQ(service.QueryValue(key, "V", 0, type, size, data), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 6u);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(service.QueryValue(key, "V", 4, type, size, data), kErrorMoreData);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(service.QueryValue(key, "V", 16, type, size, data), kErrorSuccess);
  EXPECT_EQ(data, (TRegData{'h', 'e', 'l', 'l', 'o', 0}));
  EXPECT_EQ(service.DeleteValue(key, "V"), kErrorSuccess);
  EXPECT_EQ(service.DeleteValue(key, "V"), kErrorFileNotFound);
  service.CloseKey(key);
  EXPECT_TRUE(DeleteTree(HKEY_CURRENT_USER, path));
  RegDeleteKeyA(HKEY_CURRENT_USER, kParent.c_str());
}

}  // namespace
