// The Win32 services against the real system under Wine: drives, the media
// control interface and the single-instance channel.

// The system's headers first, and their macros that rename the services'
// methods taken back before any platform header is read.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include "platform/win32/Win32Undef.h"
// clang-format on

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// Before the service declarations, which <windows.h> would otherwise rename.
#include "platform/win32/Win32Undef.h"
// The program's own headers.
#include "TestResources.h"
#include "drives/CdDrives.h"
#include "platform/Application.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Instance.h"
#include "platform/win32/Win32Media.h"

using namespace platform;
using namespace platform::win32;

namespace {

// The test harness names the letters it made CD-ROM drives, e.g. "DE".
std::string CdRomLetters() {
  const char* letters = std::getenv("MORVEL_TEST_CDROMS");
  return letters ? letters : "";
}

TEST(Win32Drives, AnswersForTheSystemDrive) {
  TWin32Drives drives;
  EXPECT_NE(drives.GetLogicalDrives() & (1u << ('C' - 'A')), 0u);
  EXPECT_EQ(drives.GetDriveType("C:\\"), static_cast<unsigned>(DRIVE_FIXED));
  std::uint64_t size = 0;
  EXPECT_TRUE(drives.GetVolumeSize("C:\\", size));
  EXPECT_GT(size, 0u);
  EXPECT_FALSE(drives.GetVolumeSize("Q:\\", size));
  const unsigned before = drives.SetErrorMode(SEM_FAILCRITICALERRORS);
  EXPECT_EQ(drives.SetErrorMode(before), static_cast<unsigned>(SEM_FAILCRITICALERRORS));
}

TEST(Win32Drives, ProgramDirIsTheFolderOfTheExecutable) {
  TWin32Drives drives;
  const std::string dir = drives.ProgramDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '\\');
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  EXPECT_EQ(std::string(path).rfind(dir, 0), 0u);
  EXPECT_TRUE(drives.FileExists(path));
  EXPECT_FALSE(drives.FileExists(dir));  // a folder is not a file
}

// A copy of this program in a folder named in letters that no one code page
// has runs this test from there, and finds the files beside it too.
TEST(Win32Drives, AProgramInAFolderOutsideTheCodePageFindsTheFilesBesideIt) {
  EXPECT_TRUE(TWin32Drives().FileExists(TWin32Drives().ProgramDir() + "win32_tests.exe"));
  wchar_t self[MAX_PATH], temp[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (std::wstring(self).find(L'\u0394') != std::wstring::npos) return;  // the copy
  GetTempPathW(MAX_PATH, temp);
  const std::wstring copy =
      std::wstring(temp) + L"\u0422\u0435\u0441\u0442 \u0394\\win32_tests.exe";
  CreateDirectoryW(copy.substr(0, copy.rfind(L'\\')).c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));
  EXPECT_EQ(_wsystem((L"\"\"" + copy + L"\" --gtest_filter=*OutsideTheCodePage*\"").c_str()), 0);
}

TEST(Win32Drives, ReadFileGivesTheBytesAsStored) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string path = std::string(folder) + "morvel-readfile.ini";
  const std::string bytes("[S]\r\nk=v\xE6\0tail\n", 17);
  {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  TWin32Drives drives;
  std::string read;
  EXPECT_EQ(drives.ReadFile(path, read), TFileRead::Done);
  EXPECT_EQ(read, bytes);
  DeleteFileA(path.c_str());
  EXPECT_EQ(drives.ReadFile(path, read), TFileRead::Unreadable);
  EXPECT_EQ(drives.ReadFile(folder, read), TFileRead::Unreadable);  // a folder is no file
}

TEST(Win32Drives, NothingButADiskFileIsReadAndOneOverTheCapIsToldApart) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  TWin32Drives drives;
  std::string read;
  // Devices, in any folder and with any extension: "aux" is the serial port,
  // whose first read waits for a byte.
  for (const char* name : {"aux.lng", "COM1", "con.txt", "nul", "lpt1.inf"}) {
    EXPECT_FALSE(drives.FileExists(std::string(folder) + name)) << name;
    EXPECT_EQ(drives.ReadFile(std::string(folder) + name, read), TFileRead::Unreadable) << name;
  }
  // A pipe nobody writes to would keep the read waiting as well.
  const char* pipeName = "\\\\.\\pipe\\morvel-readfile";
  HANDLE pipe = CreateNamedPipeA(pipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  EXPECT_EQ(drives.ReadFile(pipeName, read), TFileRead::Unreadable);
  CloseHandle(pipe);

  const std::string big = std::string(folder) + "morvel-big.lng";
  HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LONG high = 0;
  SetFilePointer(file, kReadFileMax + 1, &high, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
  EXPECT_EQ(drives.ReadFile(big, read), TFileRead::TooLarge);
  EXPECT_TRUE(drives.FileExists(big));
  DeleteFileA(big.c_str());
}

class Win32CdRom : public ::testing::Test {
 protected:
  void SetUp() override {
    if (CdRomLetters().empty()) GTEST_SKIP() << "no CD-ROM drive mapped by the harness";
  }
  TWin32Drives Drives;
  TWin32Media Media;
  TServices Real{&Drives, &Media, nullptr, nullptr, nullptr, nullptr};
};

TEST_F(Win32CdRom, FolderDrivesAreListedAsCdRoms) {
  TScopedServices scope(Real);
  TStrings list;
  drives::ListCdDrives(list);
  std::string letters;
  for (const auto& name : list.Items()) letters += name[0];
  EXPECT_EQ(letters, CdRomLetters());
  // A folder behind the letter is a readable volume.
  EXPECT_TRUE(drives::DiskInDrive(CdRomLetters()[0]));
  // The error mode is back to what it was.
  const unsigned mode = SetErrorMode(0);
  SetErrorMode(mode);
  EXPECT_EQ(mode & SEM_FAILCRITICALERRORS, 0u);
}

TEST_F(Win32CdRom, TrayCommandsLeaveNoDeviceOpen) {
  TScopedServices scope(Real);
  // The open on a folder drive works, the door command fails there; either
  // way the device must be closed again.
  TMciOpenParms parms;
  parms.DeviceType = "CDAudio";
  parms.ElementName = std::string{CdRomLetters()[0], ':'};
  const std::uint32_t opened =
      Media.SendCommand(0, kMciOpen, kMciOpenType | kMciOpenElement, &parms);
  if (opened == 0) Media.SendCommand(parms.DeviceId, kMciClose, 0, nullptr);
  drives::OpenCD(CdRomLetters()[0]);
  drives::CloseCD(CdRomLetters()[0]);
  char answer[64] = {};
  ASSERT_EQ(mciSendStringA("sysinfo cdaudio quantity open", answer, sizeof answer, nullptr), 0u);
  EXPECT_STREQ(answer, "0");
  RecordProperty("mci_open_result", static_cast<int>(opened));
}

TEST(Win32Instance, RegisteredMessagesAndMutexesAreSharedByName) {
  TWin32Instance channel;
  const std::string name = "MorvelTest.Instance." + std::to_string(GetCurrentProcessId());
  const std::uint32_t id = channel.RegisterMessage(name);
  EXPECT_GE(id, 0xC000u);
  EXPECT_EQ(channel.RegisterMessage(name), id);

  EXPECT_EQ(channel.OpenMutex(kMutexAllAccess, false, name), 0u);
  const THandle created = channel.CreateMutex(name);
  ASSERT_NE(created, 0u);
  const THandle opened = channel.OpenMutex(kMutexAllAccess, false, name);
  EXPECT_NE(opened, 0u);
  channel.CloseHandle(opened);
  channel.CloseHandle(created);
  // The mutex lives only as long as somebody holds it.
  EXPECT_EQ(channel.OpenMutex(kMutexAllAccess, false, name), 0u);
}

struct TSeen {
  static inline std::uint32_t Message = 0;
  static inline TWParam WParam = 0;
  static inline int Count = 0;
};

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER + 7) return 1234;
  return DefWindowProcA(w, m, wp, lp);
}

TLResult Hook(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam);
std::uintptr_t PreviousProc = 0;
TWin32Instance* Channel = nullptr;

TLResult Hook(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) {
  if (message >= 0xC000) {
    TSeen::Message = message;
    TSeen::WParam = wParam;
    ++TSeen::Count;
    return 0;
  }
  return Channel->CallWindowProc(PreviousProc, window, message, wParam, lParam);
}

HWND PlainWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MorvelTestPlain";
  RegisterClassA(&wc);
  return CreateWindowA("MorvelTestPlain", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                       nullptr);
}

TEST(Win32Instance, AReplacedProcedureSeesPostedMessagesAndPassesTheRestOn) {
  HWND window = PlainWindow();
  ASSERT_NE(window, nullptr);

  TWin32Instance channel;
  Channel = &channel;
  const std::uint32_t id = channel.RegisterMessage("MorvelTest.Hook");
  PreviousProc = channel.ReplaceWindowProc(reinterpret_cast<THandle>(window), &Hook);
  ASSERT_NE(PreviousProc, 0u);

  // A message the hook does not know reaches the old procedure.
  EXPECT_EQ(SendMessageA(window, WM_USER + 7, 0, 0), 1234);

  TSeen::Count = 0;
  channel.PostMessage(reinterpret_cast<THandle>(window), id, 2, 99);
  // A broadcast that ignores the current task must not come back to us.
  channel.Broadcast(kBsfIgnoreCurrentTask | kBsfPostMessage, kBsmApplications, id, 1, 5);
  MSG msg;
  const DWORD until = GetTickCount() + 500;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  EXPECT_EQ(TSeen::Count, 1);
  EXPECT_EQ(TSeen::Message, id);
  EXPECT_EQ(TSeen::WParam, 2u);

  channel.RestoreWindowProc(reinterpret_cast<THandle>(window), PreviousProc);
  EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&PlainProc));
  DestroyWindow(window);
}

TEST(Win32Instance, WhatTheHookThrowsIsReported) {
  testres::TRecordingDialogs dialogs;
  TServices services;
  services.Dialogs = &dialogs;
  TScopedServices guard(services);
  TApplication app;
  HWND window = PlainWindow();
  ASSERT_NE(window, nullptr);

  TWin32Instance channel;
  const std::uintptr_t previous = channel.ReplaceWindowProc(
      reinterpret_cast<THandle>(window),
      [](THandle w, std::uint32_t message, TWParam wParam, TLParam lParam) -> TLResult {
        if (message == WM_USER + 7) throw EInOutError("I/O error 21");
        return DefWindowProcA(reinterpret_cast<HWND>(w), message, wParam, lParam);
      });
  EXPECT_EQ(SendMessageA(window, WM_USER + 7, 0, 0), 0);
  EXPECT_EQ(dialogs.Texts, std::vector<std::string>{"I/O error 21"});

  channel.RestoreWindowProc(reinterpret_cast<THandle>(window), previous);
  EXPECT_EQ(SendMessageA(window, WM_USER + 7, 0, 0), 1234);
  DestroyWindow(window);
}

}  // namespace
