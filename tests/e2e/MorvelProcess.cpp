#include "MorvelProcess.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <utility>

#include "platform/Threads.h"

namespace e2e {

namespace {

// Long enough for a busy Wine, short enough to fail rather than hang.
constexpr UINT KSendTimeoutMs = 5000;

bool SendWithTimeout(HWND Wnd, UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) {
  DWORD_PTR Answer = 0;
  if (!SendMessageTimeoutW(Wnd, Msg, W, L, SMTO_ABORTIFHUNG, KSendTimeoutMs, &Answer)) return false;
  Result = static_cast<LRESULT>(Answer);
  return true;
}

// Texts are fetched from other processes with the wide messages. Wine hands
// the ANSI CB_GETLBTEXT of another process back as UTF-16 without turning
// it into ANSI, so the ANSI forms cannot be trusted there.
std::string Narrow(const std::wstring& Wide) {
  if (Wide.empty()) return {};
  const int Len = WideCharToMultiByte(CP_ACP, 0, Wide.data(), static_cast<int>(Wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string Text(static_cast<size_t>(Len > 0 ? Len : 0), '\0');
  if (Len > 0)
    WideCharToMultiByte(CP_ACP, 0, Wide.data(), static_cast<int>(Wide.size()), Text.data(), Len,
                        nullptr, nullptr);
  return Text;
}

// Sends a message that copies a text of at most Len characters into lParam.
bool FetchText(HWND Wnd, UINT Msg, WPARAM W, LRESULT Len, std::string& Text) {
  std::wstring Buffer(static_cast<size_t>(Len) + 1, L'\0');
  // WM_GETTEXT takes the buffer size in wParam; CB_GETLBTEXT the item index.
  if (Msg == WM_GETTEXT) W = Buffer.size();
  LRESULT Copied = 0;
  if (!SendWithTimeout(Wnd, Msg, W, reinterpret_cast<LPARAM>(Buffer.data()), Copied) || Copied < 0)
    return false;
  Buffer.resize(std::min(static_cast<size_t>(Copied), static_cast<size_t>(Len)));
  Text = Narrow(Buffer);
  return true;
}

struct TEnumState {
  DWORD ProcessId = 0;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectTopWindowsOf(HWND Wnd, LPARAM Param) {
  auto* State = reinterpret_cast<TEnumState*>(Param);
  if (ProcessOf(Wnd) == State->ProcessId) State->Found.push_back(Wnd);
  return TRUE;
}

BOOL CALLBACK CollectAll(HWND Wnd, LPARAM Param) {
  reinterpret_cast<std::vector<HWND>*>(Param)->push_back(Wnd);
  return TRUE;
}

std::string WithoutAmpersands(std::string Text) {
  std::erase(Text, '&');
  return Text;
}

}  // namespace

std::string MorvelExePath() {
  const char* Path = std::getenv("MORVEL_EXE");
  return Path ? std::string(Path) : std::string();
}

std::string ClassOf(HWND Wnd) {
  char Name[256] = {};
  const int Len = GetClassNameA(Wnd, Name, sizeof Name);
  return std::string(Name, Len > 0 ? static_cast<size_t>(Len) : 0);
}

std::string TextOf(HWND Wnd) {
  LRESULT Len = 0;
  std::string Text;
  if (!SendWithTimeout(Wnd, WM_GETTEXTLENGTH, 0, 0, Len) || Len <= 0 ||
      !FetchText(Wnd, WM_GETTEXT, 0, Len, Text))
    return {};
  return Text;
}

DWORD ProcessOf(HWND Wnd) {
  DWORD Pid = 0;
  GetWindowThreadProcessId(Wnd, &Pid);
  return Pid;
}

std::vector<HWND> TopWindowsOf(DWORD ProcessId) {
  TEnumState State;
  State.ProcessId = ProcessId;
  EnumWindows(CollectTopWindowsOf, reinterpret_cast<LPARAM>(&State));
  return State.Found;
}

std::vector<HWND> TopWindowsTitled(const std::string& Title) {
  std::vector<HWND> All;
  EnumWindows(CollectAll, reinterpret_cast<LPARAM>(&All));
  std::vector<HWND> Found;
  for (HWND Wnd : All) {
    char Text[256] = {};
    // GetWindowTextA reads the title without a message for other
    // processes' windows, so a busy program cannot stall the search.
    GetWindowTextA(Wnd, Text, sizeof Text);
    if (Title == Text) Found.push_back(Wnd);
  }
  return Found;
}

std::vector<HWND> DescendantsOf(HWND Parent) {
  std::vector<HWND> All;
  EnumChildWindows(Parent, CollectAll, reinterpret_cast<LPARAM>(&All));
  return All;
}

POINT ClientPosition(HWND Child, HWND Main) {
  RECT R{};
  GetWindowRect(Child, &R);
  POINT P{R.left, R.top};
  MapWindowPoints(HWND_DESKTOP, Main, &P, 1);
  return P;
}

HWND FindChild(HWND Main, const std::string& ClassName, const std::string& Text) {
  for (HWND Child : DescendantsOf(Main))
    if (ClassOf(Child) == ClassName && WithoutAmpersands(TextOf(Child)) == Text) return Child;
  return nullptr;
}

HWND FindChildAt(HWND Main, const std::string& ClassName, POINT Position) {
  for (HWND Child : DescendantsOf(Main)) {
    if (ClassOf(Child) != ClassName || !IsWindowVisible(Child)) continue;
    const POINT P = ClientPosition(Child, Main);
    if (P.x == Position.x && P.y == Position.y) return Child;
  }
  return nullptr;
}

HWND FindChildShownAt(HWND Main, const std::string& ClassName, POINT Position) {
  const auto MarkedVisible = [Main](HWND Wnd) {
    for (; Wnd && Wnd != Main; Wnd = GetParent(Wnd))
      if (!(GetWindowLongA(Wnd, GWL_STYLE) & WS_VISIBLE)) return false;
    return Wnd == Main;
  };
  for (HWND Child : DescendantsOf(Main)) {
    if (ClassOf(Child) != ClassName || !MarkedVisible(Child)) continue;
    const POINT P = ClientPosition(Child, Main);
    if (P.x == Position.x && P.y == Position.y) return Child;
  }
  return nullptr;
}

std::string DescribeWindowsOf(DWORD ProcessId) {
  std::string Lines;
  for (HWND Wnd : TopWindowsOf(ProcessId)) {
    char Title[256] = {};
    GetWindowTextA(Wnd, Title, sizeof Title);
    // Hidden helper windows without a title (combo lists, IME) say nothing.
    if (!IsWindowVisible(Wnd) && !Title[0]) continue;
    Lines += "  [" + ClassOf(Wnd) + "] \"" + Title + "\"" +
             (IsWindowVisible(Wnd) ? " visible" : " hidden");
    if (ClassOf(Wnd) == "#32770") Lines += " text: \"" + DialogText(Wnd) + "\"";
    Lines += "\n";
  }
  return Lines.empty() ? "  (no top-level window)\n" : Lines;
}

std::vector<std::string> ComboItems(HWND Combo) {
  std::vector<std::string> Items;
  LRESULT Count = 0;
  if (!SendWithTimeout(Combo, CB_GETCOUNT, 0, 0, Count) || Count == CB_ERR) return Items;
  for (LRESULT I = 0; I < Count; ++I) {
    LRESULT Len = 0;
    std::string Text;
    if (!SendWithTimeout(Combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(I), 0, Len) || Len == CB_ERR ||
        !FetchText(Combo, CB_GETLBTEXT, static_cast<WPARAM>(I), Len, Text))
      Text = "<error>";
    Items.push_back(Text);
  }
  return Items;
}

HWND FindDialogOf(DWORD ProcessId, const std::string& Caption) {
  for (HWND Wnd : TopWindowsOf(ProcessId)) {
    if (ClassOf(Wnd) != "#32770" || !IsWindowVisible(Wnd)) continue;
    char Text[256] = {};
    GetWindowTextA(Wnd, Text, sizeof Text);
    if (Caption.empty() || Caption == Text) return Wnd;
  }
  return nullptr;
}

std::string DialogText(HWND Dialog) {
  std::string Joined;
  for (HWND Child : DescendantsOf(Dialog)) {
    if (ClassOf(Child) != "Static") continue;
    const std::string Text = TextOf(Child);
    if (Text.empty()) continue;
    if (!Joined.empty()) Joined += '\n';
    Joined += Text;
  }
  return Joined;
}

bool HasButton(HWND Dialog, int Id) {
  HWND Button = GetDlgItem(Dialog, Id);
  return Button && IsWindowVisible(Button);
}

void PressDialogButton(HWND Dialog, int Id) {
  if (HWND Button = GetDlgItem(Dialog, Id))
    PostMessageA(Button, BM_CLICK, 0, 0);
  else
    PostMessageA(Dialog, WM_COMMAND, MAKEWPARAM(Id, BN_CLICKED), 0);
}

namespace {

constexpr const char* KSettingsKey = "Software\\Tandrel\\Morvel";

}  // namespace

std::string ReadSetting(const std::string& Name) {
  HKEY Key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, KSettingsKey, 0, KEY_QUERY_VALUE, &Key) != ERROR_SUCCESS)
    return "<no key>";
  char Buffer[256] = "";
  DWORD Size = sizeof Buffer - 1;
  DWORD Type = 0;
  const LONG Result =
      RegQueryValueExA(Key, Name.c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(Buffer), &Size);
  RegCloseKey(Key);
  return Result == ERROR_SUCCESS && Type == REG_SZ ? std::string(Buffer) : "<absent>";
}

bool WriteSetting(const std::string& Name, const std::string& Value) {
  HKEY Key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, KSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &Key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG Result =
      RegSetValueExA(Key, Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                     static_cast<DWORD>(Value.size() + 1));
  RegCloseKey(Key);
  return Result == ERROR_SUCCESS;
}

TClickResult ClickAndWatch(HWND Button, DWORD ProcessId, std::chrono::milliseconds Timeout) {
  TClickResult Result;
  std::atomic<bool> Done{false};
  std::atomic<bool> Answered{false};
  platform::TThread Sender([&] {
    DWORD_PTR Ignored = 0;
    // The handler runs inside this send: it returns once the click is
    // handled, or stays while a modal dialog of the handler is up.
    Answered = SendMessageTimeoutA(Button, BM_CLICK, 0, 0, SMTO_NORMAL,
                                   static_cast<UINT>(Timeout.count()), &Ignored) != 0;
    Done = true;
  });
  HWND Dialog = nullptr;
  WaitUntil([&] { return Done.load() || (Dialog = FindDialogOf(ProcessId)) != nullptr; },
            Timeout + 1s);
  if (!Dialog) Dialog = FindDialogOf(ProcessId);
  if (Dialog) {
    Result.DialogShown = true;
    char Caption[256] = {};
    GetWindowTextA(Dialog, Caption, sizeof Caption);
    Result.DialogCaption = Caption;
    Result.DialogText = DialogText(Dialog);
    PressDialogButton(Dialog, HasButton(Dialog, IDCANCEL) ? IDCANCEL : IDOK);
  }
  Sender.Join();
  Result.Returned = Answered.load();
  return Result;
}

TMorvelProcess::TMorvelProcess(TMorvelProcess&& Other) noexcept
    : FInfo(std::exchange(Other.FInfo, PROCESS_INFORMATION{})), FError(std::move(Other.FError)) {}

TMorvelProcess& TMorvelProcess::operator=(TMorvelProcess&& Other) noexcept {
  if (this != &Other) {
    Stop();
    Release();
    FInfo = std::exchange(Other.FInfo, PROCESS_INFORMATION{});
    FError = std::move(Other.FError);
  }
  return *this;
}

TMorvelProcess::~TMorvelProcess() {
  Stop();
  Release();
}

void TMorvelProcess::Release() {
  if (FInfo.hThread) CloseHandle(FInfo.hThread);
  if (FInfo.hProcess) CloseHandle(FInfo.hProcess);
  FInfo = PROCESS_INFORMATION{};
}

bool TMorvelProcess::Start(const std::string& Arguments) {
  Stop();
  Release();
  const std::string Exe = MorvelExePath();
  if (Exe.empty()) {
    FError = "MORVEL_EXE is not set";
    return false;
  }
  // The program looks for its language and icon files beside itself.
  std::string Folder = Exe.substr(0, Exe.find_last_of("\\/"));
  std::string CommandLine = "\"" + Exe + "\"" + (Arguments.empty() ? "" : " " + Arguments);
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  if (!CreateProcessA(Exe.c_str(), CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      Folder.c_str(), &Startup, &FInfo)) {
    FError = "CreateProcessA(" + Exe + ") failed with " + std::to_string(GetLastError());
    FInfo = PROCESS_INFORMATION{};
    return false;
  }
  return true;
}

bool TMorvelProcess::Running() const {
  return FInfo.hProcess && WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT;
}

bool TMorvelProcess::WaitForExit(std::chrono::milliseconds Timeout) {
  if (!FInfo.hProcess) return true;
  return WaitForSingleObject(FInfo.hProcess, static_cast<DWORD>(Timeout.count())) == WAIT_OBJECT_0;
}

DWORD TMorvelProcess::ExitCode() const {
  DWORD Code = STILL_ACTIVE;
  if (FInfo.hProcess) GetExitCodeProcess(FInfo.hProcess, &Code);
  return Code;
}

HWND TMorvelProcess::MainWindow() const {
  if (!FInfo.hProcess) return nullptr;
  for (HWND Wnd : TopWindowsTitled(KMainTitle))
    if (ProcessOf(Wnd) == FInfo.dwProcessId) return Wnd;
  return nullptr;
}

HWND TMorvelProcess::WaitForMainWindow(std::chrono::milliseconds Timeout) const {
  HWND Found = nullptr;
  WaitUntil(
      [&] {
        Found = MainWindow();
        return (Found && IsWindowVisible(Found)) || !Running();
      },
      Timeout);
  return Found && IsWindowVisible(Found) ? Found : nullptr;
}

HWND TMorvelProcess::WaitForMainWindowMade(std::chrono::milliseconds Timeout) const {
  HWND Found = nullptr;
  WaitUntil([&] { return (Found = MainWindow()) != nullptr || !Running(); }, Timeout);
  return Found;
}

HWND TMorvelProcess::WaitForDialog(const std::string& Caption,
                                   std::chrono::milliseconds Timeout) const {
  HWND Dialog = nullptr;
  WaitUntil(
      [&] {
        Dialog = FindDialogOf(FInfo.dwProcessId, Caption);
        return Dialog || !Running();
      },
      Timeout);
  return Dialog;
}

std::string TMorvelProcess::Describe() const {
  std::string State = Running() ? "running" : "ended with exit code " + std::to_string(ExitCode());
  return "morvel.exe (process " + std::to_string(Id()) + ") " + State + "; its windows:\n" +
         DescribeWindowsOf(Id());
}

bool TMorvelProcess::Stop() {
  if (!Running()) return true;
  // WM_CLOSE as the close button sends it; the program then asks "Exit?"
  // and OK lets it end. A dialog that is up for another reason is answered
  // too, and the close is asked again once no dialog is left.
  auto LastClose = std::chrono::steady_clock::now() - 1h;
  const bool Ended = WaitUntil(
      [&] {
        if (!Running()) return true;
        // A close request that arrives while a menu is open would be
        // handled inside the menu's own loop.
        if (HWND Menu = FindMenuOf(FInfo.dwProcessId)) {
          DismissMenu(Menu);
          return false;
        }
        if (HWND Dialog = FindDialogOf(FInfo.dwProcessId)) {
          PressDialogButton(Dialog, IDOK);
          LastClose = std::chrono::steady_clock::now();
          return false;
        }
        if (std::chrono::steady_clock::now() - LastClose > 2s) {
          if (HWND Main = MainWindow()) PostMessageA(Main, WM_CLOSE, 0, 0);
          LastClose = std::chrono::steady_clock::now();
        }
        return false;
      },
      10s);
  if (Ended) return true;
  TerminateProcess(FInfo.hProcess, 1);
  WaitForSingleObject(FInfo.hProcess, 10000);
  return false;
}

std::string Env(const char* Name) {
  char Value[MAX_PATH + 1] = "";
  const DWORD N = GetEnvironmentVariableA(Name, Value, sizeof Value);
  return N > 0 && N < sizeof Value ? Value : "";
}

BITMAPINFO TopDownBitmapInfo(int Width, int Height, WORD BitCount) {
  BITMAPINFO Info{};
  Info.bmiHeader.biSize = sizeof Info.bmiHeader;
  Info.bmiHeader.biWidth = Width;
  Info.bmiHeader.biHeight = -Height;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = BitCount;
  Info.bmiHeader.biCompression = BI_RGB;
  return Info;
}

// The whole screen as a BMP file in MORVEL_E2E_SHOTS, when that is set.
void Screenshot(const std::string& Name) {
  const std::string Dir = Env("MORVEL_E2E_SHOTS");
  if (Dir.empty()) return;
  const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO Info = TopDownBitmapInfo(W, H, 24);
  void* Bits = nullptr;
  HDC Screen = GetDC(nullptr);
  HDC Memory = CreateCompatibleDC(Screen);
  HBITMAP Shot = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HGDIOBJ Old = SelectObject(Memory, Shot);
  BitBlt(Memory, 0, 0, W, H, Screen, 0, 0, SRCCOPY);
  SelectObject(Memory, Old);
  const DWORD Size = static_cast<DWORD>(((W * 3 + 3) & ~3) * H);
  BITMAPFILEHEADER File{0x4D42, static_cast<DWORD>(sizeof File + sizeof Info.bmiHeader + Size), 0,
                        0, static_cast<DWORD>(sizeof File + sizeof Info.bmiHeader)};
  std::ofstream Out(Dir + "\\" + Name + ".bmp", std::ios::binary);
  Out.write(reinterpret_cast<const char*>(&File), sizeof File);
  Out.write(reinterpret_cast<const char*>(&Info.bmiHeader), sizeof Info.bmiHeader);
  Out.write(static_cast<const char*>(Bits), Size);
  DeleteObject(Shot);
  DeleteDC(Memory);
  ReleaseDC(nullptr, Screen);
}

}  // namespace e2e
