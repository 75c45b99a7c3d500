// In-memory services for native tests: scriptable answers and a record of
// every call.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/NotifyArea.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/Threads.h"

namespace fakes {

class TFakeDrives : public platform::TDriveService {
 public:
  std::uint32_t Mask = 0;
  std::map<std::string, unsigned> Types;         // by the name asked for, e.g. "D:"
  std::map<std::string, std::uint64_t> Volumes;  // readable volumes by root, "D:\"
  std::string Dir = "C:\\Program Files\\Morvel\\";
  unsigned ErrorMode = 0;
  std::vector<std::string> Calls;  // "GetDriveType D:", "GetVolumeSize D:\" ...
  std::vector<unsigned> ErrorModesDuringVolumeQuery;
  bool ThrowOnVolumeQuery = false;

  // Makes the named letters CD-ROM drives and every letter present.
  void AddCdRom(char letter, bool withDisc = false);
  void AddDrive(char letter, unsigned type);

  std::uint32_t GetLogicalDrives() override;
  unsigned GetDriveType(const std::string& name) override;
  bool GetVolumeSize(const std::string& root, std::uint64_t& totalBytes) override;
  unsigned SetErrorMode(unsigned mode) override;
  std::map<std::string, std::string> Files;  // by full path, exactly as asked for
  bool FileExists(const std::string& path) override { return Files.count(path) != 0; }
  // Files and these (folders, say) are found by a directory search.
  std::set<std::string> Entries;
  bool EntryExists(const std::string& path) override {
    return Files.count(path) != 0 || Entries.count(path) != 0;
  }
  // A file larger than the cap is too large, as it would be on a disk.
  platform::TFileRead ReadFile(const std::string& path, std::string& contents) override;
  std::string CurrentDirectory = "C:\\";
  unsigned DirectoryError = 0;  // the answer to every change of directory
  unsigned SetCurrentDirectory(const std::string& path) override {
    Calls.push_back("SetCurrentDirectory " + path);
    if (DirectoryError == 0) CurrentDirectory = path;
    return DirectoryError;
  }
  std::string GetCurrentDirectory() override { return CurrentDirectory; }
  std::string ProgramDir() override { return Dir; }
};

struct TMciCall {
  std::uint32_t Device;
  std::uint32_t Message;
  std::uint32_t Flags;
  bool HasParms;
  std::string DeviceType;
  std::string ElementName;
};

class TFakeMedia : public platform::TMediaControl {
 public:
  std::vector<TMciCall> Calls;
  std::uint32_t OpenResult = 0;
  std::uint32_t DeviceToGive = 7;
  bool ThrowOnDoor = false;
  std::uint32_t DoorResult = 0;
  std::uint32_t SendCommand(std::uint32_t device, std::uint32_t message, std::uint32_t flags,
                            platform::TMciOpenParms* parms) override;
};

struct TPosted {
  platform::THandle Window;
  std::uint32_t Message;
  platform::TWParam WParam;
  platform::TLParam LParam;
};

class TFakeInstance : public platform::TInstanceChannel {
 public:
  std::uint32_t MessageId = 0xC123;
  bool ReplaceFails = false;
  bool MutexExists = false;  // another copy holds the named mutex
  bool Iconic = false;
  std::uintptr_t PreviousProc = 0x5000;
  platform::TWndProcHook Hook = nullptr;
  std::vector<std::string> Calls;
  std::vector<TPosted> Broadcasts;
  std::vector<TPosted> Posts;
  std::vector<TPosted> PassedOn;  // messages handed to the previous procedure
  std::vector<platform::THandle> Foreground;
  std::vector<platform::THandle> OpenHandles;

  std::uint32_t RegisterMessage(const std::string& name) override;
  std::uintptr_t ReplaceWindowProc(platform::THandle window, platform::TWndProcHook hook) override;
  void RestoreWindowProc(platform::THandle window, std::uintptr_t previous) override;
  platform::TLResult CallWindowProc(std::uintptr_t previous, platform::THandle window,
                                    std::uint32_t message, platform::TWParam wParam,
                                    platform::TLParam lParam) override;
  platform::THandle OpenMutex(std::uint32_t access, bool inherit, const std::string& name) override;
  platform::THandle CreateMutex(const std::string& name) override;
  void CloseHandle(platform::THandle handle) override;
  void Broadcast(std::uint32_t flags, std::uint32_t recipients, std::uint32_t message,
                 platform::TWParam wParam, platform::TLParam lParam) override;
  void PostMessage(platform::THandle window, std::uint32_t message, platform::TWParam wParam,
                   platform::TLParam lParam) override;
  bool IsIconic(platform::THandle window) override { return Iconic; }
  void SetForegroundWindow(platform::THandle window) override { Foreground.push_back(window); }
  platform::THandle Owner(platform::THandle) override { return 0; }
  bool SendCopyData(platform::THandle, platform::THandle, std::uint32_t, const std::string&,
                    platform::TLResult&) override {
    return false;
  }
  bool ReadCopyData(platform::TLParam, std::size_t, std::uint32_t&, std::string&) override {
    return false;
  }
  bool WriteParentConsole(const std::string&) override { return false; }

 private:
  platform::THandle FNextHandle = 0x100;
};

struct TAsked {
  std::string Text;
  std::string Caption;
  unsigned Flags;                    // a message dialog's icon
  std::vector<std::string> Buttons;  // a message dialog's own buttons
  platform::THandle Owner = 0;
};

class TFakeDialogs : public platform::TDialogService {
 public:
  std::vector<TAsked> Asked;
  // Answered in order; when none is left a message box answers OK and a
  // message dialog its last button (Cancel), as Esc would.
  std::deque<int> Answers;
  std::function<void()> WhileOpen;  // runs inside the dialog, as a nested loop would
  int MessageBox(platform::THandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
  int MessageDlg(platform::THandle owner, const std::string& text, const std::string& title,
                 unsigned icon, const std::vector<platform::TDialogButton>& buttons) override;
};

class TFakeAppHost : public platform::TAppHost {
 public:
  static constexpr platform::THandle kAppWindow = 0xA0;
  bool AppWindowShown = false;
  bool ShowFails = false;  // showing the taskbar button throws
  int Restores = 0;
  int Minimizes = 0;
  int QuitRequests = 0;
  int LoopsRun = 0;
  std::string Title;
  platform::THandle CreateAppWindow(const std::string& title) override {
    Title = title;
    return kAppWindow;
  }
  void SetTitle(platform::THandle, const std::string& title) override { Title = title; }
  void ShowAppWindow(platform::THandle, bool show) override {
    if (show && ShowFails) throw platform::Exception("cannot show");
    AppWindowShown = show;
  }
  void RestoreAppWindow(platform::THandle) override { ++Restores; }
  void MinimizeAppWindow(platform::THandle) override { ++Minimizes; }
  // Run once: in the next loop, as input to a modal form; at a polling loop's turn.
  std::function<void()> WhileLooping, WhilePolling;
  // There is nothing to wait for without windows: the loop returns at once.
  void RunLoop(const std::function<bool()>&) override {
    ++LoopsRun;
    if (WhileLooping) std::exchange(WhileLooping, nullptr)();
  }
  // What a polling loop waits for runs on another thread: it waits in earnest.
  void RunLoopPolling(const std::function<bool()>& done, unsigned) override {
    for (; !done(); std::this_thread::yield())
      if (WhilePolling) std::exchange(WhilePolling, nullptr)();
  }
  void PostQuit() override { ++QuitRequests; }
  void DestroyAppWindow(platform::THandle) override {}
};

struct TFakeValue {
  std::uint32_t Type = platform::kRegNone;
  platform::TRegData Data;
};

// A registry in memory: keys and value names are matched without regard to
// case, values keep their type and bytes, and roots can refuse changes the
// way HKEY_LOCAL_MACHINE does for a user without administrator rights.
class TFakeRegistry : public platform::TRegistryService {
 public:
  // Opening for change or creating under these roots is refused.
  std::vector<platform::TRegRoot> ReadOnlyRoots;
  // Every write into an opened key is refused.
  bool RefuseSetValue = false;
  // "Open HKLM\Software\X ReadOnly", "Create ...", "ForChange ...",
  // "Query name", "Set name", "Delete name", "Close".
  std::vector<std::string> Calls;
  // The access rights of every open, view flags included, in order.
  std::vector<std::uint32_t> Access;

  void Put(platform::TRegRoot root, const std::string& path, const std::string& name,
           std::uint32_t type, platform::TRegData data);
  void PutString(platform::TRegRoot root, const std::string& path, const std::string& name,
                 const std::string& text);
  void PutDword(platform::TRegRoot root, const std::string& path, const std::string& name,
                std::uint32_t value);
  void CreateKey(platform::TRegRoot root, const std::string& path);
  const TFakeValue* Find(platform::TRegRoot root, const std::string& path,
                         const std::string& name) const;
  std::string String(platform::TRegRoot root, const std::string& path,
                     const std::string& name) const;  // the REG_SZ text, or "<absent>"
  bool KeyExists(platform::TRegRoot root, const std::string& path) const;
  std::size_t OpenKeyCount() const { return FOpen.size(); }
  // No key and no value left.
  void Clear() { FKeys.clear(); }

  long OpenKey(platform::TRegRoot root, const std::string& path, platform::TRegOpenMode mode,
               std::uint32_t view, platform::THandle& key) override;
  long QueryValue(platform::THandle key, const std::string& name, std::size_t capacity,
                  std::uint32_t& type, std::size_t& size, platform::TRegData& data) override;
  long SetValue(platform::THandle key, const std::string& name, std::uint32_t type,
                const platform::TRegData& data) override;
  long DeleteValue(platform::THandle key, const std::string& name) override;
  void CloseKey(platform::THandle key) override;

 private:
  struct TKey {
    std::map<std::string, TFakeValue> Values;  // by upper-case name
  };
  struct TOpenKey {
    std::string Id;  // root and upper-case path
    bool Writable;
  };
  static bool Normalize(platform::TRegRoot root, const std::string& path, std::string& id);
  std::map<std::string, TKey> FKeys;  // every existing key, by id
  std::map<platform::THandle, TOpenKey> FOpen;
  platform::THandle FNext = 0x1000;
};

struct TShellCall {
  platform::THandle Owner;
  std::string Verb, File, Parameters, Directory;
  int Show;
};

class TFakeShell : public platform::TShellService {
 public:
  std::vector<TShellCall> Calls;
  std::intptr_t Result = 42;
  std::function<void()> OnExecute;  // sees what the started program finds
  std::intptr_t Execute(platform::THandle owner, const std::string& verb, const std::string& file,
                        const std::string& parameters, const std::string& directory,
                        int show) override {
    if (OnExecute) OnExecute();
    Calls.push_back({owner, verb, file, parameters, directory, show});
    return Result;
  }
};

// The notification area: a record of every request, safe to use from the
// animation threads too.
struct TNotifyCall {
  unsigned Message;
  platform::TNotifyIconData Data;
};

class TFakeNotifyArea : public platform::TNotifyArea {
 public:
  static constexpr std::uint32_t kTaskbarCreated = 0xC0DE;
  bool RefuseAdd = false;
  int CursorX = 100, CursorY = 200;

  bool NotifyIcon(unsigned message, const platform::TNotifyIconData& data) override;
  // One listening window for every listener, as on the system.
  static constexpr platform::THandle kListeningWindow = 0x700;
  unsigned StartListening(platform::TWindowMessageHandler handler) override;
  void StopListening(unsigned listener) override;
  platform::THandle ListeningWindow() override;
  std::uint32_t TaskbarCreatedMessage() override { return kTaskbarCreated; }
  bool GetCursorPos(int& x, int& y) override;
  void SetForegroundWindow(platform::THandle window) override;
  void ProcessMessages() override;
  void CancelMouseCapture() override;

  // Runs `run` once, inside the next request and before the shell takes it
  // in, on the thread that makes it: as the system hands a thread the
  // messages sent to it while the shell answers.
  void RunDuringNextRequest(std::function<void()> run);
  // The same inside every request from now on; nullptr ends it.
  void RunDuringEveryRequest(std::function<void()> run);

  // Sends a message to the listening window as the system would.
  platform::TLResult Send(platform::THandle window, std::uint32_t message, platform::TWParam wParam,
                          platform::TLParam lParam);
  // Sends "TaskbarCreated" to the listening window.
  void BroadcastTaskbarCreated();

  std::vector<TNotifyCall> Calls() const;
  std::size_t CallCount() const;
  void ClearCalls();
  // "Add", "Modify", "Delete" for each request about an icon (by its Id).
  std::vector<std::string> Requests(unsigned icon) const;
  // What the shell shows now: the image and tip of each registered icon.
  bool Registered(unsigned icon) const;
  platform::TNotifyIconData Shown(unsigned icon) const;
  std::size_t ListenerCount() const;
  std::vector<std::string> Steps() const;  // "Foreground 1", "ProcessMessages", ...

 private:
  mutable platform::TCriticalSection FLock;
  std::function<void()> FDuringNextRequest;
  std::function<void()> FDuringEveryRequest;
  std::vector<TNotifyCall> FCalls;
  std::map<unsigned, platform::TNotifyIconData> FRegistered;
  std::map<unsigned, platform::TWindowMessageHandler> FListeners;
  std::vector<std::string> FSteps;
  unsigned FLastListener = 0;
};

// Icon handles from a counter; a test checks that every one is given back.
class TFakeIcons : public platform::TIconService {
 public:
  std::set<std::string> Readable;  // paths that load
  // Program files and the number of icons each holds.
  std::map<std::string, int> Programs;
  std::vector<std::string> Extracted;  // "path,index" of every extraction asked for
  platform::THandle LoadIconFile(const std::string& path) override;
  platform::THandle CopyIcon(platform::THandle icon) override;
  // An icon of a program file; its FileOf is "path,index".
  platform::THandle ExtractIcon(const std::string& path, int index) override;
  void DestroyIcon(platform::THandle icon) override;
  // The file an icon was loaded from (copies keep it); "" when unknown.
  std::string FileOf(platform::THandle icon) const;
  std::size_t LiveCount() const;
  bool Live(platform::THandle icon) const;
  int DestroyedUnknown() const;
  // An icon file of one 16 x 16 image in 32 bits and its mask; `change` put at `at`.
  static std::string SoundIconFile(std::size_t at = 0, const std::string& change = {}) {
    std::string h("\0\0\1\0\1\0\20\20\0\0\1\0 \0h\4\0\0\26\0\0\0(\0\0\0\20\0\0\0 \0\0\0\1\0 ", 37);
    return (h + std::string(1113, '\0')).replace(at, change.size(), change);
  }

 private:
  mutable platform::TCriticalSection FLock;
  std::map<platform::THandle, std::string> FLive;
  platform::THandle FNext = 0x3000;
  int FUnknown = 0;
};

// Time that moves only when the test moves it. Waiters wake when their
// time has come or their condition holds.
class TFakeClock : public platform::TWaitClock {
 public:
  void WaitFor(platform::TLock& lock, platform::TCondition& wake, unsigned ms,
               const std::function<bool()>& done) override;
  void Advance(unsigned ms);
  unsigned long long Now() const { return FNow.load(); }
  // The number of threads waiting for their time now.
  int Waiting() const;

 private:
  struct TWaiter {
    platform::TCriticalSection* Lock;
    platform::TCondition* Wake;
  };
  std::atomic<unsigned long long> FNow{0};
  mutable platform::TCriticalSection FWaitersLock;
  std::vector<TWaiter> FWaiters;
};

// The running system as a test wants it; by default one whose version
// cannot be read. Restart requests are only counted.
class TFakeSystemService : public platform::TSystemService {
 public:
  bool VersionKnown = false;
  platform::TOsVersionInfo Version;
  bool ExitAccepted = true;
  bool Wow64 = false;
  std::string Program = "C:\\Program Files\\Morvel\\morvel.exe";
  // "GetVersionInfo", "EnableShutdownPrivilege", "RequestExitWindows 2".
  std::vector<std::string> Calls;

  // The numbers a system reports: platform, major, minor, service-pack text.
  void Set(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
           std::string csd = {});

  bool GetVersionInfo(platform::TOsVersionInfo& info) override;
  void EnableShutdownPrivilege() override { Calls.push_back("EnableShutdownPrivilege"); }
  bool RequestExitWindows(unsigned flags) override;
  bool IsWow64() override { return Wow64; }
  std::string ProgramFile() override { return Program; }
  // As in code page 932: a byte from 0x80 on leads a character that stays.
  std::string LowerCase(std::string text) override {
    for (std::size_t i = 0; i < text.size(); i += (text[i] & 0x80) ? 2 : 1)
      if (text[i] >= 'A' && text[i] <= 'Z') text[i] = static_cast<char>(text[i] + 32);
    return text;
  }
};

// Every fake, installed for the lifetime of the object, with an
// application object on top. Its registry holds what an installed Windows
// has and the main window's start-up reads, so a start shows no message.
struct TFakeSystem {
  TFakeSystem();
  TFakeDrives Drives;
  TFakeMedia Media;
  TFakeInstance Instance;
  TFakeDialogs Dialogs;
  TFakeAppHost AppHost;
  TFakeRegistry Registry;
  TFakeShell Shell;
  TFakeNotifyArea NotifyArea;
  TFakeIcons Icons;
  TFakeClock Clock;
  TFakeSystemService Os;
  platform::TScopedServices Scope{platform::TServices{.Drives = &Drives,
                                                      .Media = &Media,
                                                      .Instance = &Instance,
                                                      .Dialogs = &Dialogs,
                                                      .AppHost = &AppHost,
                                                      .Registry = &Registry,
                                                      .Shell = &Shell,
                                                      .NotifyArea = &NotifyArea,
                                                      .Icons = &Icons,
                                                      .Clock = &Clock,
                                                      .System = &Os}};
};

}  // namespace fakes
