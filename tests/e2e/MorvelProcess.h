// Drives the real morvel.exe from outside, the way a user would: it starts
// the program, finds its windows and talks to them with window messages.
// Nothing here links against the program; it only knows what is on screen.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "fakes/Poll.h"

namespace e2e {

using namespace std::chrono_literals;

inline constexpr const char* KMainTitle = "Morvel v 2.3";
inline constexpr auto KPollStep = 50ms;
inline constexpr auto KPatience = 30s;

// Calls Done every 50 ms until it is true or the time is up; answers Done's
// last result.
inline bool WaitUntil(const std::function<bool()>& Done,
                      std::chrono::milliseconds Timeout = KPatience) {
  return fakes::WaitUntil(Done, Timeout, KPollStep);
}

// The program under test, from MORVEL_EXE (a Windows path).
std::string MorvelExePath();

std::string ClassOf(HWND Wnd);
// WM_GETTEXT, sent with a time-out so that a hung program fails the test
// instead of hanging it.
std::string TextOf(HWND Wnd);
DWORD ProcessOf(HWND Wnd);

// Top-level windows of one process, hidden ones too.
std::vector<HWND> TopWindowsOf(DWORD ProcessId);
// Top-level windows of every process whose title is Title.
std::vector<HWND> TopWindowsTitled(const std::string& Title);
// Every descendant of Parent, in the order the system lists them.
std::vector<HWND> DescendantsOf(HWND Parent);
// A child's top-left corner in its main window's client coordinates.
POINT ClientPosition(HWND Child, HWND Main);

// Like FindChildAt, but for a window that is hidden as a whole (in the
// notification area): the child and its parents below Main must be marked
// visible themselves.
HWND FindChildShownAt(HWND Main, const std::string& ClassName, POINT Position);

// The first descendant of Main of class ClassName whose text is Text; an
// accelerator '&' in the text does not count. Null when there is none.
HWND FindChild(HWND Main, const std::string& ClassName, const std::string& Text);
// The visible descendant of Main of class ClassName at a client position.
HWND FindChildAt(HWND Main, const std::string& ClassName, POINT Position);

// One line per top-level window of the process (class, title, visibility,
// and the text of a dialog), for failure messages.
std::string DescribeWindowsOf(DWORD ProcessId);

// An environment variable of the test program; "" when it is unset.
std::string Env(const char* Name);
// The whole screen as a BMP file in MORVEL_E2E_SHOTS, when that is set.
void Screenshot(const std::string& Name);
// The header of a DIB of Width x Height pixels, top row first, to copy the
// screen into.
BITMAPINFO TopDownBitmapInfo(int Width, int Height, WORD BitCount);

// The items of a combo box (CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT).
std::vector<std::string> ComboItems(HWND Combo);

// A message box or dialog of the process ("#32770"), or null.
HWND FindDialogOf(DWORD ProcessId, const std::string& Caption = {});
// The texts of a dialog's "Static" children that have any, joined by '\n'.
std::string DialogText(HWND Dialog);
// Whether a dialog shows the button with this id. A message box keeps the
// buttons it does not use as hidden children, so existence is not enough.
bool HasButton(HWND Dialog, int Id);
// Presses a dialog button by posting BM_CLICK to it, or posts WM_COMMAND with
// the id when the dialog has no such child.
void PressDialogButton(HWND Dialog, int Id);

// The program's settings under HKLM\Software\Tandrel\Morvel. Reading
// answers "<absent>" for a missing value, so a failure message says so.
std::string ReadSetting(const std::string& Name);
bool WriteSetting(const std::string& Name, const std::string& Value);

// The notification area of Wine's taskbar. Wine 8 has no window per icon: it
// paints the icons straight onto the taskbar window ("Shell_TrayWnd"), right
// to left in the order they were added, one square slot each (the small icon
// size plus a 2 pixel border), and finds the icon under a mouse message from
// its position alone. So an icon is found by its slot (0 is the rightmost),
// "clicked" by posting mouse messages at the slot's centre to the taskbar, and
// counted by looking at the screen. A fresh prefix has no other program's
// icons, so every icon counted is the program's.
HWND TaskbarWindow();
// Occupied slots from the right up to the first empty one, read from the
// screen; -1 without a taskbar. An icon that is registered but drawn blank
// does not count: a user could not see it either.
int TrayIconCount();
// The colour in the middle of a slot, as the screen shows it; CLR_INVALID
// without a taskbar.
COLORREF TrayIconColour(int Slot);
// Posts the mouse messages, in order, to the taskbar at the centre of a slot.
bool PostToTrayIcon(int Slot, std::initializer_list<UINT> Messages);
inline constexpr std::initializer_list<UINT> KRightClick = {WM_RBUTTONDOWN, WM_RBUTTONUP};
inline constexpr std::initializer_list<UINT> KLeftClick = {WM_LBUTTONDOWN, WM_LBUTTONUP};
inline constexpr std::initializer_list<UINT> KDoubleClick = {WM_LBUTTONDOWN, WM_LBUTTONUP,
                                                             WM_LBUTTONDBLCLK, WM_LBUTTONUP};

// An open pop-up menu ("#32768") of the process, or null. Wine does not let
// another process read a menu's items, so a menu is worked with keys alone.
HWND FindMenuOf(DWORD ProcessId);
// Closes the menu without a choice (Escape).
void DismissMenu(HWND Menu);
// Chooses the Index-th item, separators not counted: Down from no selection
// goes to the first item, and Down skips separators.
void ChooseMenuItem(HWND Menu, int Index);

// The outcome of pressing a button of the program: whether the program's
// handler came back, and the text of any dialog that it showed meanwhile.
struct TClickResult {
  bool Returned = false;
  bool DialogShown = false;
  std::string DialogCaption;
  std::string DialogText;
};
// Sends BM_CLICK from a helper thread and watches the process for a dialog
// while the handler runs. A dialog is recorded, then closed with Cancel (or
// OK), so the program is left as it was.
TClickResult ClickAndWatch(HWND Button, DWORD ProcessId, std::chrono::milliseconds Timeout = 15s);

// One started copy of the program. The destructor ends it whatever state it
// is in, so no test leaves a process behind for the next scenario.
class TMorvelProcess {
 public:
  TMorvelProcess() = default;
  TMorvelProcess(const TMorvelProcess&) = delete;
  TMorvelProcess& operator=(const TMorvelProcess&) = delete;
  TMorvelProcess(TMorvelProcess&& Other) noexcept;
  TMorvelProcess& operator=(TMorvelProcess&& Other) noexcept;
  ~TMorvelProcess();

  // Starts MorvelExePath() in its own folder, with the arguments given.
  // Answers false (with the error
  // in LastError()) when CreateProcessA fails.
  bool Start(const std::string& Arguments = {});
  DWORD Id() const { return FInfo.dwProcessId; }
  bool Running() const;
  bool WaitForExit(std::chrono::milliseconds Timeout);
  // Exit code once ended, STILL_ACTIVE while running.
  DWORD ExitCode() const;
  const std::string& LastError() const { return FError; }

  // The top-level window titled "Morvel v 2.3" of this process, or null.
  HWND MainWindow() const;
  // Waits until that window is visible; null when it never became so.
  HWND WaitForMainWindow(std::chrono::milliseconds Timeout = KPatience) const;

  // Running or ended (with the exit code), and its windows: for failure
  // messages.
  std::string Describe() const;

  // Waits until the program has made its main window, shown or not.
  HWND WaitForMainWindowMade(std::chrono::milliseconds Timeout = KPatience) const;
  // Waits for a dialog of this process with this caption; null when none
  // came or the program ended first.
  HWND WaitForDialog(const std::string& Caption,
                     std::chrono::milliseconds Timeout = KPatience) const;

  // Ends the program as a user would (WM_CLOSE to the main window and OK to
  // the "Exit?" question; an open menu is closed first); terminates it when
  // that does not work. Answers true when it ended without being terminated.
  bool Stop();

 private:
  void Release();

  PROCESS_INFORMATION FInfo{};
  std::string FError;
};

}  // namespace e2e
