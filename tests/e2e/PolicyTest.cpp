// Scenario "policies": the program is told in turn that it runs on each
// Windows version Wine can pretend to be. Each start shows whether the "XP"
// page is usable, whether the installer policy was written at start, and in
// which form a confirmed change of the user's drive types is stored. Every
// restart question is answered with Cancel.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MorvelProcess.h"

namespace e2e {
namespace {

constexpr const char* KExplorer =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* KInstaller = "SOFTWARE\\Policies\\Microsoft\\Windows\\Installer";
constexpr const char* KTypeQuestion = "Do you want to change Current User Drive Type Setting?";
constexpr const char* KReboot = "Change will take effect after reboot. Do you wish to reboot now?";

bool SetWindowsVersion(const std::string& Version) {
  HKEY Key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\morvel.exe", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &Key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG Result =
      RegSetValueExA(Key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(Version.c_str()),
                     static_cast<DWORD>(Version.size() + 1));
  RegCloseKey(Key);
  return Result == ERROR_SUCCESS;
}

void DeleteUserValue(const char* Path, const char* Name) {
  HKEY Key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, Path, 0, KEY_SET_VALUE, &Key) != ERROR_SUCCESS) return;
  RegDeleteValueA(Key, Name);
  RegCloseKey(Key);
}

// "type:bytes" of a value of the user's, e.g. "4:fe000000"; "-" when absent.
std::string UserValue(const char* Path, const char* Name) {
  HKEY Key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, Path, 0, KEY_QUERY_VALUE, &Key) != ERROR_SUCCESS) return "-";
  BYTE Data[64] = {};
  DWORD Size = sizeof Data, Type = 0;
  const LONG Result = RegQueryValueExA(Key, Name, nullptr, &Type, Data, &Size);
  RegCloseKey(Key);
  if (Result != ERROR_SUCCESS) return "-";
  std::string Text = std::to_string(Type) + ":";
  char Hex[3];
  for (DWORD I = 0; I < Size; ++I) snprintf(Hex, sizeof Hex, "%02x", Data[I]), Text += Hex;
  return Text;
}

// Waits for the program's dialog showing Text and presses the button whose
// caption (without '&') is Caption.
::testing::AssertionResult Answer(DWORD ProcessId, const std::string& Text,
                                  const std::string& Caption) {
  HWND Dialog = nullptr;
  WaitUntil([&] {
    Dialog = FindDialogOf(ProcessId);
    return Dialog && DialogText(Dialog) == Text;
  });
  if (!Dialog || DialogText(Dialog) != Text)
    return ::testing::AssertionFailure() << "no dialog \"" << Text << "\"; windows:\n"
                                         << DescribeWindowsOf(ProcessId);
  HWND Button = FindChild(Dialog, "Button", Caption);
  if (!Button) return ::testing::AssertionFailure() << "no button \"" << Caption << "\"";
  PostMessageA(Button, BM_CLICK, 0, 0);
  WaitUntil([&] { return !IsWindow(Dialog); }, 10s);
  return ::testing::AssertionSuccess();
}

// The check list of Main that comes first by Before (client positions):
// the user's lists are the upper ones, the drive types right of the letters.
template <class TBefore>
HWND FirstList(HWND Main, TBefore Before) {
  HWND Found = nullptr;
  POINT Best{};
  for (HWND Child : DescendantsOf(Main)) {
    if (ClassOf(Child) != "ListBox") continue;
    const POINT P = ClientPosition(Child, Main);
    if (!Found || Before(P, Best)) Found = Child, Best = P;
  }
  return Found;
}

// Picks an option page as a click on its tab would, and waits for its
// windows: a page gets them when first shown.
void OpenPage(HWND Main, int Page) {
  HWND Tabs = FindWindowExA(Main, nullptr, "SysTabControl32", nullptr);
  if (!Tabs) return;
  SendMessageA(Tabs, TCM_SETCURFOCUS, Page, 0);
  WaitUntil([&] { return SendMessageA(Tabs, TCM_GETCURSEL, 0, 0) == Page; }, 2s);
}

// The lists are on the second page, which the user opens first.
HWND UserDriveTypeList(HWND Main) {
  OpenPage(Main, 1);
  return FirstList(Main, [](POINT A, POINT B) { return A.x > B.x || (A.x == B.x && A.y < B.y); });
}

HWND UserLetterList(HWND Main) {
  OpenPage(Main, 1);
  return FirstList(Main, [](POINT A, POINT B) { return A.x < B.x || (A.x == B.x && A.y < B.y); });
}

// Starts the program as Windows `Version` and waits for its main window.
HWND StartAs(TMorvelProcess& Morvel, const char* Version) {
  if (!SetWindowsVersion(Version) || !Morvel.Start()) return nullptr;
  return Morvel.WaitForMainWindow();
}

// A click on the check mark of a list's top item.
void ClickTopMark(HWND List) {
  const LPARAM Mark = MAKELPARAM(5, 6);
  PostMessageA(List, WM_LBUTTONDOWN, MK_LBUTTON, Mark);
  PostMessageA(List, WM_LBUTTONUP, 0, Mark);
}

// With MORVEL_E2E_SHOTS set: each option page in turn.
void ShootEachPage(HWND Main, const std::string& Version) {
  if (Env("MORVEL_E2E_SHOTS").empty()) return;
  HWND Tabs = FindWindowExA(Main, nullptr, "SysTabControl32", nullptr);
  if (!Tabs) return;
  const int Count = static_cast<int>(SendMessageA(Tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int Page = 0; Page < Count; ++Page) {
    // As the keyboard moves to a tab: the control tells its parent.
    SendMessageA(Tabs, TCM_SETCURFOCUS, Page, 0);
    WaitUntil([&] { return SendMessageA(Tabs, TCM_GETCURSEL, 0, 0) == Page; }, 2s);
    Sleep(300);  // the page paints
    Screenshot("policies-" + Version + "-page" + std::to_string(Page + 1));
  }
}

TEST(Policies, EachWindowsVersionGetsItsPageAndItsDriveTypeForm) {
  struct TRow {
    const char* Version;
    bool Nt, Xp;  // the NT family; XP and later
  };
  const TRow Rows[] = {{"win95", false, false}, {"win98", false, false}, {"winme", false, false},
                       {"nt40", true, false},   {"win2k", true, false},  {"winxp", true, true},
                       {"winxp64", true, true}, {"vista", true, true},   {"win7", true, true},
                       {"win8", true, true},    {"win10", true, true}};
  for (const TRow& Row : Rows) {
    SCOPED_TRACE(Row.Version);
    DeleteUserValue(KExplorer, "NoDriveTypeAutoRun");
    DeleteUserValue(KInstaller, "DisableMedia");
    DeleteUserValue(KInstaller, "DiasbleMedia");

    TMorvelProcess Morvel;
    HWND Main = StartAs(Morvel, Row.Version);
    ASSERT_NE(Main, nullptr) << Morvel.LastError() << Morvel.Describe();
    HWND Types = UserDriveTypeList(Main);
    ASSERT_NE(Types, nullptr);

    // A click on the mark of the first item, "Uknown". Nothing stored reads
    // as every type but that one on the 9x family, as none on the NT family.
    ClickTopMark(Types);
    ASSERT_TRUE(Answer(Morvel.Id(), KTypeQuestion, "Yes"));
    ASSERT_TRUE(Answer(Morvel.Id(), KReboot, "Cancel"));
    EXPECT_EQ(UserValue(KExplorer, "NoDriveTypeAutoRun"), Row.Nt ? "4:fe000000" : "3:80");

    OpenPage(Main, 2);
    HWND Access = FindChild(Main, "Button", "Access to CD-ROM drives");
    ASSERT_NE(Access, nullptr);
    EXPECT_EQ(IsWindowEnabled(Access) != FALSE, Row.Nt);
    // Checked at start on XP and later, which writes the installer policy.
    const std::string Zero = Row.Xp ? "4:00000000" : "-";
    EXPECT_EQ(UserValue(KInstaller, "DisableMedia"), Zero);
    EXPECT_EQ(UserValue(KInstaller, "DiasbleMedia"), Zero);
    EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
    if (Row.Version == std::string("win98") || Row.Version == std::string("winxp"))
      ShootEachPage(Main, Row.Version);
    EXPECT_TRUE(Morvel.Stop()) << Morvel.Describe();
  }
  SetWindowsVersion("winxp");  // as the scenario found it
}

// The keyboard and the mouse reach the lists as the user would use them,
// and "Reset default" in the about box puts the policies back.
TEST(Policies, SpaceAndClickAskAndTheAboutBoxResetsThePolicies) {
  TMorvelProcess Morvel;
  HWND Main = StartAs(Morvel, "winxp");
  ASSERT_NE(Main, nullptr) << Morvel.LastError() << Morvel.Describe();

  HWND Types = UserDriveTypeList(Main);
  ASSERT_NE(Types, nullptr);
  SendMessageA(Types, LB_SETCURSEL, 1, 0);
  PostMessageA(Types, WM_CHAR, ' ', 1);
  EXPECT_TRUE(Answer(Morvel.Id(), KTypeQuestion, "Cancel"));

  // D: is a drive of the prefix, so its letter takes a click.
  HWND Letters = UserLetterList(Main);
  ASSERT_NE(Letters, nullptr);
  SendMessageA(Letters, LB_SETTOPINDEX, 3, 0);
  ClickTopMark(Letters);
  EXPECT_TRUE(Answer(Morvel.Id(), "Do you want to change Drive Autostart Setting?", "Yes"));
  EXPECT_TRUE(Answer(Morvel.Id(), KReboot, "Cancel"));
  EXPECT_EQ(UserValue(KExplorer, "NoDriveAutoRun"), "4:f7ffff03");

  HWND AboutButton = FindChild(Main, "Button", "About");
  ASSERT_NE(AboutButton, nullptr);
  PostMessageA(AboutButton, BM_CLICK, 0, 0);
  HWND About = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    About = FindWindowA(nullptr, "About");
    return About && IsWindowVisible(About);
  })) << Morvel.Describe();
  HWND Reset = FindChild(About, "Button", "Reset defaults");
  ASSERT_NE(Reset, nullptr);
  PostMessageA(Reset, BM_CLICK, 0, 0);
  EXPECT_TRUE(Answer(Morvel.Id(), "Restore default?", "OK"));
  // A value that is already gone is reported as it is deleted; the restart
  // question comes last.
  std::vector<std::string> Reported;
  for (int I = 0; I < 12; ++I) {
    HWND Dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (Dialog = FindDialogOf(Morvel.Id())) != nullptr; }))
        << Morvel.Describe();
    const std::string Text = DialogText(Dialog);
    if (Text == KReboot) break;
    Reported.push_back(Text);
    ASSERT_TRUE(Answer(Morvel.Id(), Text, "OK"));
  }
  EXPECT_TRUE(Answer(Morvel.Id(), KReboot, "Cancel")) << ::testing::PrintToString(Reported);
  EXPECT_EQ(UserValue(KExplorer, "NoDriveAutoRun"), "-");
  EXPECT_EQ(UserValue(KExplorer, "NoDriveTypeAutoRun"), "-");
  EXPECT_EQ(UserValue(KExplorer, "NoCDBurning"), "4:00000000");
  EXPECT_EQ(UserValue(KInstaller, "DisableMedia"), "4:00000000");
  EXPECT_EQ(UserValue(KInstaller, "DiasbleMedia"), "4:00000000");

  HWND Ok = FindChild(About, "Button", "OK");
  ASSERT_NE(Ok, nullptr);
  PostMessageA(Ok, BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(About); }));
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  EXPECT_TRUE(Morvel.Stop()) << Morvel.Describe();
}

}  // namespace
}  // namespace e2e
