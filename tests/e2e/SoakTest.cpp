// Scenario "soak": the program is worked for a long time through its real
// windows, and what it holds must not grow. Per round: the language switched
// there and back, the tray menu opened and closed on each icon, the tray
// check box toggled off and on (hiding and showing every icon), the drive
// box switched there and back (each switch loads a picture), while the icons
// animate every 10 ms (the scenario stores the optional AnimationMs
// setting). MORVEL_SOAK_ROUNDS sets the rounds, 25 by default; tools/soak.sh
// runs 250: 500 language switches, 500 menu opens.
#include <windows.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "MorvelProcess.h"

namespace e2e {
namespace {

constexpr int KDrives = 2;
constexpr int KAnimationMs = 10;  // as the scenario stores it

// What the process holds; 0 where Wine cannot say (it answers 0 for the
// handle count and both object counts): those kinds are counted against
// the fakes in the unit tests instead (DriveIconsTest, "Rounds...").
struct TCounts {
  long Handles = -1;
  long Gdi = -1;
  long User = -1;
  long long PrivateKb = -1;
};

TCounts CountsOf(DWORD Pid) {
  TCounts C;
  HANDLE Process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, Pid);
  if (!Process) return C;
  DWORD Handles = 0;
  if (GetProcessHandleCount(Process, &Handles)) C.Handles = static_cast<long>(Handles);
  C.Gdi = static_cast<long>(GetGuiResources(Process, GR_GDIOBJECTS));
  C.User = static_cast<long>(GetGuiResources(Process, GR_USEROBJECTS));
  PROCESS_MEMORY_COUNTERS_EX Memory{};
  Memory.cb = sizeof Memory;
  // Wine leaves PrivateUsage 0 for another process; the commit charge it
  // does fill in is the same figure on Windows.
  if (GetProcessMemoryInfo(Process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&Memory),
                           sizeof Memory))
    C.PrivateKb = static_cast<long long>(
        (Memory.PrivateUsage ? Memory.PrivateUsage : Memory.PagefileUsage) / 1024);
  CloseHandle(Process);
  return C;
}

int Rounds() {
  const std::string Text = Env("MORVEL_SOAK_ROUNDS");
  const int N = Text.empty() ? 0 : std::atoi(Text.c_str());
  return N > 0 ? N : 25;
}

class Soak : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteSetting("Tray", "Nej"));
    ASSERT_TRUE(WriteSetting("Sprog", "English"));
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, 10s));
    ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
    Main = Morvel.WaitForMainWindow();
    ASSERT_NE(Main, nullptr) << Morvel.Describe();
    Languages = FindChildAt(Main, "ComboBox", {382, 149});
    Drives = FindChildShownAt(Main, "ComboBox", {24, 48});
    char Caption[256] = "";
    const std::string Exe = MorvelExePath();
    GetPrivateProfileStringA("Translations", "Form1.CheckBox3.Caption", "", Caption, sizeof Caption,
                             (Exe.substr(0, Exe.find_last_of("\\/") + 1) + "english.lng").c_str());
    TrayBox = FindChild(Main, "Button", Caption);
    ASSERT_TRUE(Languages && Drives && TrayBox) << Morvel.Describe();
  }

  void TearDown() override {
    EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
    WriteSetting("Tray", "Nej");
    WriteSetting("Sprog", "English");
  }

  // A pick from a box's list, as the box reports it to its parent.
  void Pick(HWND Box, const char* Item) {
    const std::vector<std::string> Items = ComboItems(Box);
    const auto Index = std::find(Items.begin(), Items.end(), Item) - Items.begin();
    ASSERT_LT(Index, static_cast<long>(Items.size())) << Item;
    SendMessageA(Box, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
    DWORD_PTR Ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(GetParent(Box), WM_COMMAND,
                                    MAKEWPARAM(GetDlgCtrlID(Box), CBN_SELCHANGE),
                                    reinterpret_cast<LPARAM>(Box), SMTO_NORMAL, 10000, &Ignored))
        << Item << "\n"
        << Morvel.Describe();
  }

  void ToggleTray() {
    DWORD_PTR Ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(TrayBox, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &Ignored))
        << "the tray box did not answer\n"
        << Morvel.Describe();
    ++Toggles;
  }

  void OpenAndCloseMenu(int Slot) {
    ASSERT_TRUE(PostToTrayIcon(Slot, KRightClick));
    HWND Menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (Menu = FindMenuOf(Morvel.Id())) != nullptr; }, 10s))
        << "no menu on slot " << Slot << "\n"
        << Morvel.Describe();
    DismissMenu(Menu);
    ASSERT_TRUE(WaitUntil([&] { return FindMenuOf(Morvel.Id()) == nullptr; }, 10s));
    ++MenuOpens;
  }

  void Round() {
    Pick(Languages, "Deutsch");
    Pick(Languages, "English");
    Switches += 2;
    for (int Slot = 0; Slot < KDrives; ++Slot) OpenAndCloseMenu(Slot);
    // The icons leave and come back; they are shown at the end.
    ToggleTray();
    ToggleTray();
    Pick(Drives, "E:");
    Pick(Drives, "D:");
    Loads += 2;
  }

  TMorvelProcess Morvel;
  HWND Main = nullptr, Languages = nullptr, Drives = nullptr, TrayBox = nullptr;
  int Toggles = 0, MenuOpens = 0, Switches = 0, Loads = 0;
};

TEST_F(Soak, ResourcesStayFlatOverManyIconChangesLanguagesAndMenus) {
  const int N = Rounds();
  // The icons are shown for the whole run, so they animate throughout.
  ToggleTray();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == KDrives; }, 10s)) << TrayIconCount();
  // Whatever is made once on first use (menus, the language files' pages,
  // the pictures) is made before the first count.
  for (int R = 0; R < 2 && !HasFatalFailure(); ++R) Round();
  ASSERT_FALSE(HasFatalFailure());
  Sleep(500);
  const TCounts Before = CountsOf(Morvel.Id());
  Toggles = MenuOpens = Switches = Loads = 0;
  const DWORD Start = GetTickCount();
  for (int R = 0; R < N && !HasFatalFailure(); ++R) Round();
  ASSERT_FALSE(HasFatalFailure());
  const DWORD Elapsed = GetTickCount() - Start;
  Sleep(500);
  const TCounts After = CountsOf(Morvel.Id());

  // Each toggle adds or removes every icon; the steps are those the
  // animation's interval allows in the time the icons were shown.
  const long Steps = static_cast<long>(Elapsed / KAnimationMs) * KDrives;
  const long IconChanges = Toggles * KDrives + Loads + MenuOpens + Steps;
  std::printf(
      "soak: %d rounds in %lu ms: %ld icon changes (%d toggles of %d icons, %d picture loads, "
      "%d by menu clicks, about %ld animation steps), %d language switches, %d menu opens\n",
      N, Elapsed, IconChanges, Toggles, KDrives, Loads, MenuOpens, Steps, Switches, MenuOpens);
  std::printf("soak: %-14s %10s %10s\n", "", "before", "after");
  std::printf("soak: %-14s %10ld %10ld\n", "handles", Before.Handles, After.Handles);
  std::printf("soak: %-14s %10ld %10ld\n", "GDI objects", Before.Gdi, After.Gdi);
  std::printf("soak: %-14s %10ld %10ld\n", "USER objects", Before.User, After.User);
  std::printf("soak: %-14s %10lld %10lld\n", "private KB", Before.PrivateKb, After.PrivateKb);
  if (Before.Handles == 0 && Before.Gdi == 0 && Before.User == 0)
    std::printf("soak: Wine counts no handles, GDI or USER objects (0): see the unit tests\n");

  // The noise allowed: a few handles the system makes on its own time
  // (threads' events, a cached key), and heap pages that the allocator
  // keeps.
  EXPECT_LE(After.Handles, Before.Handles + 8);
  EXPECT_LE(After.Gdi, Before.Gdi + 8);
  EXPECT_LE(After.User, Before.User + 8);
  EXPECT_LE(After.PrivateKb, Before.PrivateKb + 1024);
  EXPECT_GT(Before.PrivateKb, 0) << "no memory figure";
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
}

}  // namespace
}  // namespace e2e
