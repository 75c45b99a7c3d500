// Scenario "installer": the 64-bit installer in a prefix of its own
// (installer.sh), from a silent installation through the installed program's
// first start, a second installation through its pages and a silent one over the running
// program to the silent uninstall, then the portable archive's registry file. The cases build
// on each other and run in this order.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>

#include "MorvelProcess.h"

namespace e2e {
namespace {

constexpr const char* KSettingsKey = "Software\\Tandrel\\Morvel";
constexpr const char* KRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* KUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvel";
constexpr auto KInstallTime = 120s;

// A value under HKLM as text: the string, "dword:N", or "<absent>".
std::string Value(const char* Key, const char* Name) {
  HKEY Handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &Handle) !=
      ERROR_SUCCESS)
    return "<absent>";
  char Buffer[1024] = "";
  DWORD Size = sizeof Buffer - 1, Type = 0;
  const LONG Result =
      RegQueryValueExA(Handle, Name, nullptr, &Type, reinterpret_cast<BYTE*>(Buffer), &Size);
  RegCloseKey(Handle);
  if (Result != ERROR_SUCCESS) return "<absent>";
  if (Type == REG_DWORD) return "dword:" + std::to_string(*reinterpret_cast<DWORD*>(Buffer));
  return Buffer;
}

bool KeyExists(const char* Key) {
  HKEY Handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_READ | KEY_WOW64_64KEY, &Handle) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(Handle);
  return true;
}

bool SetValue(const char* Key, const char* Name, const std::string& Data) {
  HKEY Handle = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                      nullptr, &Handle, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG Result =
      RegSetValueExA(Handle, Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(Data.c_str()),
                     static_cast<DWORD>(Data.size() + 1));
  RegCloseKey(Handle);
  return Result == ERROR_SUCCESS;
}

bool DeleteValue(const char* Key, const char* Name) {
  HKEY Handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &Handle) !=
      ERROR_SUCCESS)
    return false;
  const LONG Result = RegDeleteValueA(Handle, Name);
  RegCloseKey(Handle);
  return Result == ERROR_SUCCESS;
}

bool Exists(const std::string& Path) {
  return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string InstallDir() {
  const std::string Exe = MorvelExePath();
  return Exe.substr(0, Exe.find_last_of('\\'));
}

std::string StartMenuShortcut() {
  char Programs[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, Programs);
  return std::string(Programs) + "\\Morvel.lnk";
}

// A started installer or uninstaller; ended by the destructor whatever its
// state.
class TProgram {
 public:
  explicit TProgram(std::string CommandLine) {
    STARTUPINFOA Startup{};
    Startup.cb = sizeof Startup;
    if (!CreateProcessA(nullptr, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &Startup, &FInfo))
      FInfo = PROCESS_INFORMATION{};
  }
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;
  ~TProgram() {
    if (!FInfo.hProcess) return;
    if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(FInfo.hProcess, 1);
      WaitForSingleObject(FInfo.hProcess, 5000);
    }
    CloseHandle(FInfo.hThread);
    CloseHandle(FInfo.hProcess);
  }
  bool Started() const { return FInfo.hProcess != nullptr; }
  DWORD Id() const { return FInfo.dwProcessId; }
  // The exit code, or STILL_ACTIVE when it did not end in time.
  DWORD Wait(std::chrono::milliseconds Timeout) const {
    DWORD Code = STILL_ACTIVE;
    if (WaitForSingleObject(FInfo.hProcess, static_cast<DWORD>(Timeout.count())) == WAIT_OBJECT_0)
      GetExitCodeProcess(FInfo.hProcess, &Code);
    return Code;
  }

 private:
  PROCESS_INFORMATION FInfo{};
};

std::string SetupCommand(const char* Switches) {
  std::string Command = "\"";
  return Command.append(Env("MORVEL_SETUP")).append("\"").append(Switches);
}

// The page an installer shows: the inner dialog of its window.
HWND PageOf(HWND Installer) { return FindWindowExA(Installer, nullptr, "#32770", nullptr); }

// Works an installer through its pages with the Next button, the way a
// user accepts every proposal, and photographs each page. Answers how many
// pages it saw.
int ClickThroughPages(const TProgram& Setup) {
  int Pages = 0;
  HWND Seen = nullptr;
  const auto Deadline = std::chrono::steady_clock::now() + KInstallTime;
  while (Setup.Wait(0ms) == STILL_ACTIVE && std::chrono::steady_clock::now() < Deadline) {
    HWND Window = FindDialogOf(Setup.Id());
    HWND Page = Window ? PageOf(Window) : nullptr;
    HWND Next = Window ? GetDlgItem(Window, IDOK) : nullptr;
    if (Page && Page != Seen && Next && IsWindowEnabled(Next) && IsWindowVisible(Window)) {
      Seen = Page;
      Sleep(1000);  // painted before the photograph
      Screenshot("installer-page-" + std::to_string(++Pages));
      PressDialogButton(Window, IDOK);
    }
    Sleep(100);
  }
  return Pages;
}

TEST(Installer, SilentInstallPutsFilesEntryAndDefaultSettings) {
  ASSERT_FALSE(Env("MORVEL_SETUP").empty()) << "MORVEL_SETUP is not set";
  ASSERT_FALSE(KeyExists(KSettingsKey)) << "the prefix is not fresh";
  TProgram Setup(SetupCommand(" /S"));
  ASSERT_TRUE(Setup.Started()) << GetLastError();
  ASSERT_EQ(Setup.Wait(KInstallTime), 0u);

  const std::string Dir = InstallDir();
  for (const char* File : {"morvel.exe", "english.lng", "deutsch.lng", "user.lng", "morvel.ico",
                           "a.ico", "exit.ico", "MorvelHelp.chm", "Uninstall.exe"})
    EXPECT_TRUE(Exists(Dir + "\\" + File)) << File;
  EXPECT_TRUE(Exists(StartMenuShortcut())) << StartMenuShortcut();

  EXPECT_EQ(Value(KUninstallKey, "DisplayName"), "Morvel");
  EXPECT_EQ(Value(KUninstallKey, "DisplayVersion"), "2.3.0");
  EXPECT_EQ(Value(KUninstallKey, "Publisher"), "Tandrel");
  EXPECT_EQ(Value(KUninstallKey, "DisplayIcon"), MorvelExePath() + ",0");
  EXPECT_EQ(Value(KUninstallKey, "UninstallString"), "\"" + Dir + "\\Uninstall.exe\"");
  // In KiB: the program alone is a few hundred.
  const std::string Size = Value(KUninstallKey, "EstimatedSize");
  ASSERT_EQ(Size.rfind("dword:", 0), 0u) << Size;
  EXPECT_GT(std::stoul(Size.substr(6)), 300u) << Size;

  EXPECT_EQ(Value(KSettingsKey, "Sprog"), "English");
  EXPECT_EQ(Value(KSettingsKey, "Tray"), "Ja");
  EXPECT_EQ(Value(KSettingsKey, "Ikon"), "Nej");
  EXPECT_EQ(Value(KRunKey, "Morvel"), '"' + MorvelExePath() + '"');

  // For the import check of the uninstaller, which exists only here.
  const std::string Work = Env("MORVEL_E2E_WORK");
  if (!Work.empty()) {
    EXPECT_TRUE(
        CopyFileA((Dir + "\\Uninstall.exe").c_str(), (Work + "\\Uninstall.exe").c_str(), FALSE));
  }
}

TEST(Installer, InstalledProgramStartsInTheTrayWithoutAMessage) {
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  HWND Main = Morvel.WaitForMainWindowMade();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  // One icon for the prefix's one CD-ROM drive, and no window or message.
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 1; })) << "icons: " << TrayIconCount();
  EXPECT_FALSE(WaitUntil([&] { return FindDialogOf(Morvel.Id()) != nullptr; }, 3s))
      << Morvel.Describe();
  EXPECT_FALSE(IsWindowVisible(Main));
  EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
}

TEST(Installer, SecondInstallThroughItsPagesKeepsWhatTheUserChanged) {
  // The user picked another language and window mode, lost a value, and
  // turned start at log-on off in the program.
  ASSERT_TRUE(SetValue(KSettingsKey, "Sprog", "Deutsch"));
  ASSERT_TRUE(SetValue(KSettingsKey, "Tray", "Nej"));
  ASSERT_TRUE(DeleteValue(KSettingsKey, "Ikon"));
  ASSERT_TRUE(DeleteValue(KRunKey, "Morvel"));

  TProgram Setup(SetupCommand(""));
  ASSERT_TRUE(Setup.Started()) << GetLastError();
  // Welcome, components, folder, finish; the progress page moves on by
  // itself.
  EXPECT_GE(ClickThroughPages(Setup), 4);
  ASSERT_EQ(Setup.Wait(5s), 0u);

  EXPECT_TRUE(Exists(MorvelExePath()));
  EXPECT_EQ(Value(KSettingsKey, "Sprog"), "Deutsch");
  EXPECT_EQ(Value(KSettingsKey, "Tray"), "Nej");
  EXPECT_EQ(Value(KSettingsKey, "Ikon"), "Nej");
  EXPECT_EQ(Value(KRunKey, "Morvel"), "<absent>");
}

TEST(Installer, SilentInstallClosesARunningCopyFirstAndStartsTheNewOneAgain) {
  const auto Size = [] { return std::ifstream(MorvelExePath(), std::ios::ate).tellg(); };
  const std::streamoff Installed = Size();
  std::ofstream(MorvelExePath(), std::ios::app) << "old";  // still runs
  TMorvelProcess Morvel;
  ASSERT_TRUE(Morvel.Start() && Morvel.WaitForMainWindowMade()) << Morvel.Describe();
  ASSERT_EQ(TProgram(SetupCommand(" /S")).Wait(KInstallTime), 0u);
  EXPECT_EQ(Morvel.ExitCode(), 0u) << Morvel.Describe();  // ended by itself, not terminated
  EXPECT_EQ(std::streamoff(Size()), Installed);
  EXPECT_TRUE(WaitUntil([] { return TopWindowsTitled(KMainTitle).size() == 1; }));
}

TEST(Installer, SilentUninstallRemovesEverythingItInstalled) {
  // Start at log-on turned on again in the program.
  ASSERT_TRUE(SetValue(KRunKey, "Morvel", MorvelExePath()));
  const std::string Uninstall = Value(KUninstallKey, "UninstallString");
  ASSERT_NE(Uninstall, "<absent>");
  TProgram Uninstaller(Uninstall + " /S");
  ASSERT_TRUE(Uninstaller.Started()) << GetLastError();
  // It goes on from a copy of itself in the temporary folder, so its own
  // end says little: wait for what it leaves.
  WaitUntil(
      [] { return !Exists(InstallDir()) && !KeyExists(KUninstallKey) && !KeyExists(KSettingsKey); },
      KInstallTime);
  EXPECT_FALSE(Exists(InstallDir())) << InstallDir();
  EXPECT_FALSE(KeyExists(KUninstallKey));
  EXPECT_FALSE(Exists(StartMenuShortcut()));
  EXPECT_EQ(Value(KRunKey, "Morvel"), "<absent>");
  EXPECT_FALSE(KeyExists(KSettingsKey));
}

// The portable archive's registry file, unpacked by installer.sh, on the
// system the uninstaller left clean.
TEST(Installer, PortableRegistryFileSetsTheDefaults) {
  const std::string RegFile = Env("MORVEL_DEFAULTS_REG");
  ASSERT_TRUE(Exists(RegFile)) << "MORVEL_DEFAULTS_REG: " << RegFile;
  ASSERT_FALSE(KeyExists(KSettingsKey));
  TProgram Regedit("regedit.exe /s \"" + RegFile + "\"");
  ASSERT_TRUE(Regedit.Started()) << GetLastError();
  ASSERT_NE(Regedit.Wait(KPatience), STILL_ACTIVE);
  EXPECT_EQ(Value(KSettingsKey, "Sprog"), "English");
  EXPECT_EQ(Value(KSettingsKey, "Tray"), "Ja");
  EXPECT_EQ(Value(KSettingsKey, "Ikon"), "Nej");
}

}  // namespace
}  // namespace e2e
