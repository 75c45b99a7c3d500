// Scenario "aspi": the test ASPI library (tests/aspi) lies beside a copy of
// the program, with a CD rewriter for drive D and a DVD drive for drive E.
// The folder CD-ROM drives D: and E: answer no pass-through request under
// Wine, so the program lists the library's devices: each drive is paired
// with its own, the status bar describes the current drive, and each tray
// icon's tooltip names its drive.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "MorvelProcess.h"

namespace e2e {
namespace {

const std::string KDescriptionOfD = "D: MORVEL  CD-RW TEST DRIVE1.00";
const std::string KDescriptionOfE = "E: MORVEL  DVD-ROM TEST    2.00";

// The simple text of another process's status bar. SB_GETTEXTW is not
// carried between processes, so the text is fetched into memory of the
// program's own. In simple mode Wine answers part 0 with the simple text
// (and nothing for SB_SIMPLEID).
std::string StatusText(HWND Bar, DWORD ProcessId) {
  HANDLE Process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, ProcessId);
  if (!Process) return "<no access>";
  constexpr SIZE_T KChars = 512;
  std::wstring Text(KChars, L'\0');
  void* Remote = VirtualAllocEx(Process, nullptr, KChars * sizeof(wchar_t),
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  DWORD_PTR Answer = 0;
  SIZE_T Read = 0;
  const bool Got =
      Remote &&
      SendMessageTimeoutW(Bar, SB_GETTEXTLENGTHW, 0, 0, SMTO_ABORTIFHUNG, 5000, &Answer) &&
      LOWORD(Answer) < KChars &&
      SendMessageTimeoutW(Bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(Remote), SMTO_ABORTIFHUNG,
                          5000, &Answer) &&
      ReadProcessMemory(Process, Remote, Text.data(), KChars * sizeof(wchar_t), &Read);
  if (Remote) VirtualFreeEx(Process, Remote, 0, MEM_RELEASE);
  CloseHandle(Process);
  if (!Got) return "<not read>";
  Text.resize(wcsnlen(Text.c_str(), KChars));
  return std::string(Text.begin(), Text.end());  // the texts here are ASCII
}

BOOL CALLBACK CollectTooltips(HWND Wnd, LPARAM Param) {
  if (IsWindowVisible(Wnd) && ClassOf(Wnd) == "tooltips_class32")
    reinterpret_cast<std::vector<HWND>*>(Param)->push_back(Wnd);
  return TRUE;
}

// Rests the mouse on a slot of Wine's taskbar (0 is the rightmost) and
// waits for the taskbar's tooltip to show Want; answers the tooltip texts
// last seen.
std::string TooltipOfSlot(int Slot, const std::string& Want) {
  HWND Taskbar = TaskbarWindow();
  RECT Client{};
  if (!Taskbar || !GetClientRect(Taskbar, &Client)) return "<no taskbar>";
  // Each slot is the small icon and a border of 2 pixels around it.
  const int Width = GetSystemMetrics(SM_CXSMICON) + 4, Height = GetSystemMetrics(SM_CYSMICON) + 4;
  POINT At{Client.right - Width * Slot - Width / 2, Height / 2};
  POINT Screen = At;
  ClientToScreen(Taskbar, &Screen);
  SetCursorPos(Screen.x, Screen.y);
  PostMessageA(Taskbar, WM_MOUSEMOVE, 0, MAKELPARAM(At.x, At.y));
  std::string Seen;
  WaitUntil(
      [&] {
        std::vector<HWND> Tips;
        EnumWindows(CollectTooltips, reinterpret_cast<LPARAM>(&Tips));
        Seen.clear();
        for (HWND Tip : Tips) {
          const std::string Text = TextOf(Tip);
          if (Text == Want) return (Seen = Text), true;
          Seen += (Seen.empty() ? "" : " | ") + Text;
        }
        return false;
      },
      10s);
  SetCursorPos(0, 0);
  return Seen;
}

class Aspi : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
    WriteSetting("Tray", "Nej");
  }

  TMorvelProcess Morvel;
  HWND Main = nullptr;
};

TEST_F(Aspi, DevicesArePairedWithTheirDrivesAndTheStatusBarDescribesTheCurrentOne) {
  ASSERT_TRUE(WriteSetting("Tray", "Nej"));
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  Main = Morvel.WaitForMainWindow();
  ASSERT_NE(Main, nullptr) << Morvel.Describe();
  // The two hidden lists (the devices as found, one entry per drive) live
  // in the program's model alone, with no window to read: the pairing shows
  // in the status bar here and in the tray icons' tooltips below.
  int Hidden = 0;
  HWND Status = nullptr;
  for (HWND Child : DescendantsOf(Main)) {
    if (ClassOf(Child) == "ComboBox" && !IsWindowVisible(Child)) ++Hidden;
    if (ClassOf(Child) == "msctls_statusbar32") Status = Child;
  }
  EXPECT_EQ(Hidden, 0);
  ASSERT_NE(Status, nullptr);
  EXPECT_EQ(StatusText(Status, Morvel.Id()), KDescriptionOfD);
  Screenshot("main-window-status");
}

TEST_F(Aspi, EachTrayIconNamesItsDriveInItsTooltip) {
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, 10s));
  ASSERT_TRUE(WriteSetting("Tray", "Ja"));
  ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
  ASSERT_NE(Morvel.WaitForMainWindowMade(), nullptr) << Morvel.Describe();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 2; })) << Morvel.Describe();
  // The icons are added last drive first, each left of those before it.
  EXPECT_EQ(TooltipOfSlot(0, KDescriptionOfE), KDescriptionOfE);
  EXPECT_EQ(TooltipOfSlot(1, KDescriptionOfD), KDescriptionOfD);
}

}  // namespace
}  // namespace e2e
