// The services through which the program sees the operating system. WinMain
// wires the Win32 ones; a test wires fakes with TScopedServices, which puts
// the previous set back when it goes out of scope.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace platform {

class TAccessibility;
class TAppHost;
class TDialogService;
class TDownloadService;
class THotKeyService;
class TIconService;
class TNotifyArea;
class TWaitClock;
class TPeerFactory;
class TProgramInfo;
class TRegistryService;
class TScsiService;
class TSystemService;
class TVolumeWatchService;

inline constexpr unsigned kDriveCdRom = 5;             // DRIVE_CDROM
inline constexpr unsigned kSemFailCriticalErrors = 1;  // SEM_FAILCRITICALERRORS

// No file the program reads can sensibly be larger; a bigger one (from a
// disc, say) is not read at all rather than filling the memory.
inline constexpr std::uint32_t kReadFileMax = 16 * 1024 * 1024;

enum class TFileRead {
  Done,
  Unreadable,  // absent, no ordinary disk file (a folder, a device), or failed
  TooLarge,    // over kReadFileMax
};

class TDriveService {
 public:
  virtual ~TDriveService() = default;
  virtual std::uint32_t GetLogicalDrives() = 0;
  // GetDriveTypeA with the name as given ("E:" or "E:\").
  virtual unsigned GetDriveType(const std::string& name) = 0;
  // GetDiskFreeSpaceExA on the root ("E:\"); false when the size cannot be read.
  virtual bool GetVolumeSize(const std::string& root, std::uint64_t& totalBytes) = 0;
  // SetErrorMode; returns the previous mode.
  virtual unsigned SetErrorMode(unsigned mode) = 0;
  // True for an ordinary file on a disk only: never a folder or a device.
  virtual bool FileExists(const std::string& path) = 0;
  // FindFirstFileA for the path: true when it finds an entry of any kind,
  // folders included.
  virtual bool EntryExists(const std::string& path) = 0;
  // The whole content of an ordinary disk file. Nothing that could block,
  // such as a device or a pipe, is read.
  virtual TFileRead ReadFile(const std::string& path, std::string& contents) = 0;
  // SetCurrentDirectoryA: 0 when done, the system's error code otherwise.
  virtual unsigned SetCurrentDirectory(const std::string& path) = 0;
  // GetCurrentDirectoryA; empty when the system cannot tell.
  virtual std::string GetCurrentDirectory() = 0;
  // The program's directory, with its trailing backslash.
  virtual std::string ProgramDir() = 0;
};

// MCI_OPEN_PARMSA as the program fills it; the platform layer copies it into
// the native record and the device identifier back.
struct TMciOpenParms {
  THandle Callback = 0;
  std::uint32_t DeviceId = 0;
  std::string DeviceType;
  std::string ElementName;
  std::string Alias;
};

inline constexpr std::uint32_t kMciOpen = 0x803;
inline constexpr std::uint32_t kMciClose = 0x804;
inline constexpr std::uint32_t kMciSet = 0x80D;
inline constexpr std::uint32_t kMciOpenType = 0x2000;
inline constexpr std::uint32_t kMciOpenElement = 0x200;
inline constexpr std::uint32_t kMciSetDoorOpen = 0x100;
inline constexpr std::uint32_t kMciSetDoorClosed = 0x200;

class TMediaControl {
 public:
  virtual ~TMediaControl() = default;
  // mciSendCommandA; `parms` is the open record or nullptr for none.
  // Returns 0 on success, an MCI error code otherwise.
  virtual std::uint32_t SendCommand(std::uint32_t device, std::uint32_t message,
                                    std::uint32_t flags, TMciOpenParms* parms) = 0;
};

using TWndProcHook = TLResult (*)(THandle window, std::uint32_t message, TWParam wParam,
                                  TLParam lParam);

inline constexpr std::uint32_t kMutexAllAccess = 0x1F0001;
inline constexpr std::uint32_t kBsfIgnoreCurrentTask = 0x2;
inline constexpr std::uint32_t kBsfPostMessage = 0x10;
inline constexpr std::uint32_t kBsmApplications = 8;
inline constexpr std::uint32_t kWmCopyData = 0x4A;  // WM_COPYDATA

// What the single-instance guard needs between processes.
class TInstanceChannel {
 public:
  virtual ~TInstanceChannel() = default;
  virtual std::uint32_t RegisterMessage(const std::string& name) = 0;
  // Installs `hook` as the window's procedure; returns the previous one, 0
  // when the replacement failed. One hook per process.
  virtual std::uintptr_t ReplaceWindowProc(THandle window, TWndProcHook hook) = 0;
  virtual void RestoreWindowProc(THandle window, std::uintptr_t previous) = 0;
  virtual TLResult CallWindowProc(std::uintptr_t previous, THandle window, std::uint32_t message,
                                  TWParam wParam, TLParam lParam) = 0;
  // OpenMutexA; 0 when there is no such mutex.
  virtual THandle OpenMutex(std::uint32_t access, bool inherit, const std::string& name) = 0;
  // CreateMutexA without security attributes, not owned; 0 on failure.
  virtual THandle CreateMutex(const std::string& name) = 0;
  virtual void CloseHandle(THandle handle) = 0;
  virtual void Broadcast(std::uint32_t flags, std::uint32_t recipients, std::uint32_t message,
                         TWParam wParam, TLParam lParam) = 0;
  virtual void PostMessage(THandle window, std::uint32_t message, TWParam wParam,
                           TLParam lParam) = 0;
  virtual bool IsIconic(THandle window) = 0;
  virtual void SetForegroundWindow(THandle window) = 0;
  // The window's owner (GW_OWNER); 0 for none.
  virtual THandle Owner(THandle window) = 0;
  // WM_COPYDATA to `window` from `from`; waits for the receiver's answer,
  // unless it stops taking messages. False when the data was not delivered.
  virtual bool SendCopyData(THandle window, THandle from, std::uint32_t tag,
                            const std::string& data, TLResult& answer) = 0;
  // What the WM_COPYDATA whose lParam this is carries; false when it
  // carries nothing or more than `limit` bytes.
  virtual bool ReadCopyData(TLParam lParam, std::size_t limit, std::uint32_t& tag,
                            std::string& data) = 0;
  // Writes the text to the console the program was started from; false
  // when there is none, or the system cannot attach to it.
  virtual bool WriteParentConsole(const std::string& text) = 0;
};

inline constexpr int kSwShowNormal = 1;  // SW_SHOWNORMAL
inline constexpr int kSwShow = 5;        // SW_SHOW

class TShellService {
 public:
  virtual ~TShellService() = default;
  // ShellExecuteA; empty texts are passed as null pointers. Returns the
  // platform's instance value: above 32 on success.
  virtual std::intptr_t Execute(THandle owner, const std::string& verb, const std::string& file,
                                const std::string& parameters, const std::string& directory,
                                int show) = 0;
};

// OSVERSIONINFOA as the program reads it.
struct TOsVersionInfo {
  std::uint32_t MajorVersion = 0;
  std::uint32_t MinorVersion = 0;
  std::uint32_t BuildNumber = 0;
  std::uint32_t PlatformId = 0;
  std::string CSDVersion;  // at most 127 characters
};

inline constexpr std::uint32_t kVerPlatformWin32Windows = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr std::uint32_t kVerPlatformWin32Nt = 2;       // VER_PLATFORM_WIN32_NT
inline constexpr unsigned kEwxReboot = 2;                     // EWX_REBOOT

// The running system: which one it is, and the restart request.
class TSystemService {
 public:
  virtual ~TSystemService() = default;
  // GetVersionExA with the record's size set to 148; false when it fails.
  virtual bool GetVersionInfo(TOsVersionInfo& info) = 0;
  // OpenProcessToken, LookupPrivilegeValueA("SeShutdownPrivilege") and
  // AdjustTokenPrivileges; a step that fails skips the rest, silently.
  virtual void EnableShutdownPrivilege() = 0;
  // ExitWindowsEx(flags, 0); true when the system took the request.
  virtual bool RequestExitWindows(unsigned flags) = 0;
  // IsWow64Process on the program itself, looked up at run time because the
  // oldest systems lack it; false where it does not exist.
  virtual bool IsWow64() = 0;
  // GetModuleFileNameA of the program: its full path, however long.
  virtual std::string ProgramFile() = 0;
  // CharLowerBuffA: the text in lower case as the system's own ANSI
  // functions make it for its code page, where a double-byte character is
  // one character, not two bytes to change.
  virtual std::string LowerCase(std::string text) = 0;
};

struct TServices {
  TDriveService* Drives = nullptr;
  TMediaControl* Media = nullptr;
  TInstanceChannel* Instance = nullptr;
  TDialogService* Dialogs = nullptr;
  TAppHost* AppHost = nullptr;
  TPeerFactory* Peers = nullptr;  // nullptr: models without windows
  TRegistryService* Registry = nullptr;
  TShellService* Shell = nullptr;
  TNotifyArea* NotifyArea = nullptr;
  TIconService* Icons = nullptr;
  TWaitClock* Clock = nullptr;  // nullptr: the steady clock
  TScsiService* Scsi = nullptr;
  TSystemService* System = nullptr;
  TDownloadService* Download = nullptr;
  TProgramInfo* ProgramInfo = nullptr;
  TVolumeWatchService* Volumes = nullptr;   // nullptr: drives are read once, at start
  THotKeyService* HotKeys = nullptr;        // nullptr: no global hot keys
  TAccessibility* Accessibility = nullptr;  // nullptr: no annotation of drawn items
};

TServices& Services();

class TScopedServices {
 public:
  explicit TScopedServices(const TServices& services) : FSaved(Services()) {
    Services() = services;
  }
  ~TScopedServices() { Services() = FSaved; }
  TScopedServices(const TScopedServices&) = delete;
  TScopedServices& operator=(const TScopedServices&) = delete;

 private:
  TServices FSaved;
};

}  // namespace platform
