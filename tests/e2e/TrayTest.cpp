// Scenario "tray": the program in the notification area of Wine's taskbar.
// D: holds a disc whose Autorun.inf starts e2e_probe.exe with two
// parameters; E: is a CD-ROM drive without a disc. Each case starts its own
// copy of the program in window mode (or in the notification area where it
// says so) and works it through the icons and their shared menu the way a
// user would: mouse messages at an icon's place, keys in the menu.
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <gtest/gtest.h>
#include <winioctl.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "MorvelProcess.h"

namespace e2e {
namespace {

constexpr int KDrives = 2;
// The icons are added last drive first, and each new one goes left of those
// already there: E:'s icon is the rightmost, D:'s stands left of it.
constexpr int KSlotOfE = 0;
constexpr int KSlotOfD = 1;

// The menu's items without its separators, top down.
enum TMenuItem { KRestore, KOpen, KClose, KRun, KExplore, KExit };

constexpr const char* KProbeFile = "D:\\probe-ran.txt";
// A menu or message answers a click within a second even on a busy machine;
// a wrong turn (another drive's program, an Explorer window) shows nothing,
// and waiting the harness' full patience for it only slows the failure.
constexpr auto KReaction = 10s;

// A caption of the English language file installed beside the program.
std::string EnglishCaption(const char* Key) {
  const std::string Exe = MorvelExePath();
  char Buffer[512] = "";
  GetPrivateProfileStringA("Translations", Key, "", Buffer, sizeof Buffer,
                           (Exe.substr(0, Exe.find_last_of("\\/") + 1) + "english.lng").c_str());
  return Buffer;
}

std::vector<std::string> LinesOf(const char* Path) {
  std::ifstream In(Path, std::ios::binary);
  std::vector<std::string> Lines;
  for (std::string Line; std::getline(In, Line);) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    Lines.push_back(Line);
  }
  return Lines;
}

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program reads its mode at start; minimising stores the other one.
    ASSERT_TRUE(WriteSetting("Tray", "Nej"));
    // Every icon counted below must be the started program's. The taskbar
    // takes the last case's icons down on its own time.
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, KReaction))
        << "the notification area is not empty before the start: " << TrayIconCount();
  }

  void TearDown() override {
    EXPECT_TRUE(Morvel.Stop()) << "the program had to be terminated";
    WriteSetting("Tray", "Nej");
  }

  void StartInWindow() {
    ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
    Main = Morvel.WaitForMainWindow();
    ASSERT_NE(Main, nullptr) << Morvel.Describe();
    FindDriveBox();
  }

  void StartInTray() {
    ASSERT_TRUE(WriteSetting("Tray", "Ja"));
    ASSERT_TRUE(Morvel.Start()) << Morvel.LastError();
    Main = Morvel.WaitForMainWindowMade();
    ASSERT_NE(Main, nullptr) << Morvel.Describe();
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == KDrives; }))
        << "icons: " << TrayIconCount() << "\n"
        << Morvel.Describe();
  }

  void FindDriveBox() {
    Drives = FindChildShownAt(Main, "ComboBox", {24, 48});
    ASSERT_NE(Drives, nullptr) << "no drive box at (24,48)";
  }

  // The system menu's minimise command, as the title bar button sends it.
  void Minimise() {
    DWORD_PTR Ignored = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(Main, WM_SYSCOMMAND, SC_MINIMIZE, 0, SMTO_NORMAL, 10000, &Ignored))
        << Morvel.Describe();
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == KDrives; }))
        << "icons: " << TrayIconCount() << "\n"
        << Morvel.Describe();
  }

  HWND OpenMenuOn(int Slot) {
    EXPECT_TRUE(PostToTrayIcon(Slot, KRightClick));
    HWND Menu = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (Menu = FindMenuOf(Morvel.Id())) != nullptr; }, KReaction))
        << "no menu after a right click on slot " << Slot << "\n"
        << Morvel.Describe();
    return Menu;
  }

  void CloseMenu(HWND Menu) {
    DismissMenu(Menu);
    EXPECT_TRUE(WaitUntil([&] { return FindMenuOf(Morvel.Id()) == nullptr; }, KReaction))
        << "Escape did not close the menu";
  }

  // Answers the "Exit?" question and waits for it to go.
  void AnswerExitQuestion(int Button) {
    HWND Question = Morvel.WaitForDialog("Exit?", KReaction);
    ASSERT_NE(Question, nullptr) << Morvel.Describe();
    EXPECT_EQ(DialogText(Question), "Close program?");
    ASSERT_TRUE(HasButton(Question, IDOK));
    ASSERT_TRUE(HasButton(Question, IDCANCEL));
    PressDialogButton(Question, Button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(Question) || !IsWindowVisible(Question); }));
  }

  // A chosen item whose handler only reports: the message it shows, closed
  // with OK.
  std::string MessageAfterChoosing(int Slot, TMenuItem Item) {
    HWND Menu = OpenMenuOn(Slot);
    if (!Menu) return "<no menu>";
    ChooseMenuItem(Menu, Item);
    HWND Message = Morvel.WaitForDialog("Morvel", KReaction);
    if (!Message) return "<no message>";
    const std::string Text = DialogText(Message);
    PressDialogButton(Message, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(Message) || !IsWindowVisible(Message); }));
    return Text;
  }

  TMorvelProcess Morvel;
  HWND Main = nullptr;
  HWND Drives = nullptr;
};

TEST_F(Tray, MinimisingHidesTheWindowShowsOneIconPerDriveAndStoresTrayMode) {
  StartInWindow();
  EXPECT_EQ(TrayIconCount(), 0) << "window mode shows no icons";
  HWND TrayBox = FindChild(Main, "Button", EnglishCaption("Form1.CheckBox3.Caption"));
  ASSERT_NE(TrayBox, nullptr) << "no notification-area check box";
  EXPECT_EQ(SendMessageA(TrayBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  Minimise();
  EXPECT_FALSE(IsWindowVisible(Main));
  EXPECT_TRUE(Morvel.Running());
  EXPECT_EQ(SendMessageA(TrayBox, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(ReadSetting("Tray"), "Ja");
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  // No icon comes twice, and none comes late.
  EXPECT_FALSE(WaitUntil([] { return TrayIconCount() != KDrives; }, 500ms))
      << "icons: " << TrayIconCount();
}

TEST_F(Tray, StoredTrayModeStartsHiddenWithTheIcons) {
  StartInTray();
  EXPECT_FALSE(IsWindowVisible(Main));
  // A window not shown yet has made no windows for its controls.
  EXPECT_TRUE(DescendantsOf(Main).empty());
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();

  // Restored, it shows the first drive and the tray option on.
  HWND Menu = OpenMenuOn(KSlotOfD);
  ASSERT_NE(Menu, nullptr);
  ChooseMenuItem(Menu, KRestore);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != FALSE; }, KReaction))
      << Morvel.Describe();
  FindDriveBox();
  EXPECT_EQ(TextOf(Drives), "D:");
  HWND TrayBox = FindChild(Main, "Button", EnglishCaption("Form1.CheckBox3.Caption"));
  ASSERT_NE(TrayBox, nullptr);
  EXPECT_EQ(SendMessageA(TrayBox, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Tray, PressingAnIconMakesItsDriveCurrentAndOnlyTheRightButtonOpensTheMenu) {
  StartInWindow();
  ASSERT_EQ(TextOf(Drives), "D:");
  Minimise();

  // The right button's release opens the menu; its press has already made
  // E: current, so the menu's commands act on the drive clicked.
  HWND Menu = OpenMenuOn(KSlotOfE);
  ASSERT_NE(Menu, nullptr);
  EXPECT_EQ(TextOf(Drives), "E:");
  EXPECT_EQ(ProcessOf(Menu), Morvel.Id());
  CloseMenu(Menu);
  EXPECT_TRUE(Morvel.Running());
  EXPECT_FALSE(IsWindowVisible(Main));

  // A left click picks the drive and opens nothing.
  ASSERT_TRUE(PostToTrayIcon(KSlotOfD, KLeftClick));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Drives) == "D:"; }, KReaction)) << TextOf(Drives);
  EXPECT_FALSE(
      WaitUntil([&] { return FindMenuOf(Morvel.Id()) || FindDialogOf(Morvel.Id()); }, 500ms))
      << Morvel.Describe();

  // A menu that was dismissed opens again: it did not leave the program
  // stuck in its menu loop.
  Menu = OpenMenuOn(KSlotOfE);
  ASSERT_NE(Menu, nullptr);
  EXPECT_EQ(TextOf(Drives), "E:");
  CloseMenu(Menu);
}

TEST_F(Tray, DoubleClickingAnIconRunsTheDiscsAutorunProgramFromTheDiscsRoot) {
  DeleteFileA(KProbeFile);
  StartInWindow();
  Minimise();
  // The second drive is made current first, so the run has to follow the
  // icon and not the drive that happened to be current.
  HWND Menu = OpenMenuOn(KSlotOfE);
  ASSERT_NE(Menu, nullptr);
  CloseMenu(Menu);

  ASSERT_TRUE(PostToTrayIcon(KSlotOfD, KDoubleClick));
  ASSERT_TRUE(WaitUntil([] { return GetFileAttributesA(KProbeFile) != INVALID_FILE_ATTRIBUTES; },
                        KReaction))
      << "the disc's program did not run\n"
      << Morvel.Describe();
  EXPECT_EQ(TextOf(Drives), "D:");
  EXPECT_EQ(LinesOf(KProbeFile), (std::vector<std::string>{"D:\\", "first second"}));
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  EXPECT_TRUE(Morvel.Running());
  EXPECT_FALSE(IsWindowVisible(Main));
}

TEST_F(Tray, RunAndExploreOnTheIconOfADriveWithoutADiscSayNoCdPresent) {
  StartInWindow();
  Minimise();
  EXPECT_EQ(MessageAfterChoosing(KSlotOfE, KRun), "No CD Present");
  EXPECT_EQ(TextOf(Drives), "E:");
  EXPECT_EQ(MessageAfterChoosing(KSlotOfE, KExplore), "No CD Present");
  EXPECT_TRUE(Morvel.Running());
  EXPECT_FALSE(IsWindowVisible(Main));
  EXPECT_EQ(TrayIconCount(), KDrives);
}

TEST_F(Tray, RestoreShowsTheWindowWithTheIconsDriveCurrent) {
  StartInWindow();
  Minimise();
  HWND Menu = OpenMenuOn(KSlotOfE);
  ASSERT_NE(Menu, nullptr);
  ChooseMenuItem(Menu, KRestore);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != FALSE; }, KReaction))
      << Morvel.Describe();
  EXPECT_EQ(TextOf(Drives), "E:");

  // The window's own Run button acts on the drive the icon made current.
  HWND Run = FindChild(Main, "Button", EnglishCaption("Form1.BitBtn4.Caption"));
  ASSERT_NE(Run, nullptr);
  const TClickResult Click = ClickAndWatch(Run, Morvel.Id());
  EXPECT_TRUE(Click.DialogShown);
  EXPECT_EQ(Click.DialogCaption, "Morvel");
  EXPECT_EQ(Click.DialogText, "No CD Present");
  EXPECT_TRUE(Click.Returned);
}

TEST_F(Tray, ClosingAsksCancelKeepsTheIconsAndOkRemovesThemAll) {
  StartInWindow();
  Minimise();

  PostMessageA(Main, WM_CLOSE, 0, 0);
  AnswerExitQuestion(IDCANCEL);
  EXPECT_FALSE(Morvel.WaitForExit(300ms)) << "Cancel ended the program";
  EXPECT_EQ(TrayIconCount(), KDrives);

  PostMessageA(Main, WM_CLOSE, 0, 0);
  AnswerExitQuestion(IDOK);
  ASSERT_TRUE(Morvel.WaitForExit(20s)) << Morvel.Describe();
  EXPECT_EQ(Morvel.ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, 10s))
      << "icons left behind: " << TrayIconCount();
}

TEST_F(Tray, ExitFromTheMenuWhileHiddenAsksTheSameQuestion) {
  StartInTray();
  HWND Menu = OpenMenuOn(KSlotOfD);
  ASSERT_NE(Menu, nullptr);
  ChooseMenuItem(Menu, KExit);
  AnswerExitQuestion(IDCANCEL);
  EXPECT_FALSE(Morvel.WaitForExit(300ms)) << "Cancel ended the program";
  EXPECT_FALSE(IsWindowVisible(Main));
  EXPECT_EQ(TrayIconCount(), KDrives);

  Menu = OpenMenuOn(KSlotOfE);
  ASSERT_NE(Menu, nullptr);
  ChooseMenuItem(Menu, KExit);
  AnswerExitQuestion(IDOK);
  ASSERT_TRUE(Morvel.WaitForExit(20s)) << Morvel.Describe();
  EXPECT_EQ(Morvel.ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }, 10s))
      << "icons left behind: " << TrayIconCount();
}

// The "Show Morvel" key, stored before the start as the hot-key control
// gives it, works from another program while the window is hidden.
TEST_F(Tray, AStoredShowKeyBringsTheWindowUpFromTheTray) {
  HKEY Key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Tandrel\\Morvel", 0, nullptr, 0,
                            KEY_SET_VALUE, nullptr, &Key, nullptr),
            ERROR_SUCCESS);
  const DWORD CtrlAltM = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'M';
  RegSetValueExA(Key, "ShowKey", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&CtrlAltM),
                 sizeof CtrlAltM);
  StartInTray();
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  INPUT Keys[6]{};
  const WORD Order[] = {VK_CONTROL, VK_MENU, 'M'};
  for (int I = 0; I < 3; ++I) {
    Keys[I].type = Keys[5 - I].type = INPUT_KEYBOARD;
    Keys[I].ki.wVk = Keys[5 - I].ki.wVk = Order[I];
    Keys[5 - I].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  EXPECT_EQ(SendInput(6, Keys, sizeof(INPUT)), 6u);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(Main) != FALSE; }, KReaction))
      << Morvel.Describe();
  RegDeleteValueA(Key, "ShowKey");
  RegCloseKey(Key);
}

// Wine's mount manager defines a drive the way its configuration tool does
// (its own extension, struct mountmgr_unix_drive); Wine tells no program of
// it, so the test broadcasts the volume message as Windows would.
struct TUnixDrive {
  ULONG Size, Type, FsType;
  DWORD Serial;
  ULONGLONG UnixDev;
  WCHAR Letter;
  USHORT MountPointOffset, DeviceOffset, LabelOffset;
};

bool DefineDrive(char Letter, UINT Type, const std::string& UnixPath) {
  HANDLE Manager =
      CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (Manager == INVALID_HANDLE_VALUE) return false;
  TUnixDrive Drive{};
  std::vector<char> Buffer(sizeof Drive + UnixPath.size() + 1);
  Drive.Size = static_cast<ULONG>(Buffer.size());
  Drive.Type = Type;
  Drive.Letter = static_cast<WCHAR>(Letter);
  Drive.MountPointOffset = UnixPath.empty() ? 0 : sizeof Drive;
  std::memcpy(Buffer.data(), &Drive, sizeof Drive);
  std::memcpy(Buffer.data() + sizeof Drive, UnixPath.c_str(), UnixPath.size() + 1);
  DWORD Got = 0;
  const BOOL Done = DeviceIoControl(
      Manager, CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS),
      Buffer.data(), static_cast<DWORD>(Buffer.size()), nullptr, 0, &Got, nullptr);
  CloseHandle(Manager);
  return Done != FALSE;
}

void BroadcastVolume(WPARAM Event, char Letter, WORD Flags) {
  DEV_BROADCAST_VOLUME Volume{sizeof Volume, DBT_DEVTYP_VOLUME, 0, 1u << (Letter - 'A'), Flags};
  DWORD_PTR Ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, Event, reinterpret_cast<LPARAM>(&Volume),
                      SMTO_ABORTIFHUNG, 5000, &Ignored);
}

TEST_F(Tray, ADriveThatComesGetsAnIconThatFollowsItsDiscAndGoesWithIt) {
  // A folder whose Autorun.inf names a solid red icon, not yet a drive.
  const char* Folder = std::getenv("MORVEL_E2E_NEW_DRIVE");
  ASSERT_NE(Folder, nullptr);
  std::string Windows = std::string("Z:") + Folder;
  for (char& C : Windows) C = C == '/' ? '\\' : C;
  const std::string Away = Windows + "-out";
  constexpr COLORREF KRed = RGB(255, 0, 0);
  ASSERT_TRUE(WriteSetting("Ikon", "Ja"));
  StartInTray();

  ASSERT_TRUE(DefineDrive('F', DRIVE_CDROM, Folder)) << GetLastError();
  BroadcastVolume(DBT_DEVICEARRIVAL, 'F', 0);
  // Shown again last drive first: F:'s icon is the rightmost.
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == KDrives + 1 && TrayIconColour(0) == KRed; },
                        KReaction))
      << "icons: " << TrayIconCount() << std::hex << ", F: " << TrayIconColour(0);
  // The disc leaves (its folder goes), and comes back.
  ASSERT_TRUE(MoveFileA(Windows.c_str(), Away.c_str()));
  BroadcastVolume(DBT_DEVICEREMOVECOMPLETE, 'F', DBTF_MEDIA);
  EXPECT_TRUE(WaitUntil([] { return TrayIconColour(0) != KRed; }, KReaction));
  ASSERT_TRUE(MoveFileA(Away.c_str(), Windows.c_str()));
  BroadcastVolume(DBT_DEVICEARRIVAL, 'F', DBTF_MEDIA);
  EXPECT_TRUE(WaitUntil([] { return TrayIconColour(0) == KRed; }, KReaction));

  ASSERT_TRUE(DefineDrive('F', DRIVE_NO_ROOT_DIR, "")) << GetLastError();
  BroadcastVolume(DBT_DEVICEREMOVECOMPLETE, 'F', 0);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == KDrives; }, KReaction))
      << "icons: " << TrayIconCount() << "\n"
      << Morvel.Describe();
  EXPECT_EQ(FindDialogOf(Morvel.Id()), nullptr) << Morvel.Describe();
  WriteSetting("Ikon", "Nej");
}

}  // namespace
}  // namespace e2e
