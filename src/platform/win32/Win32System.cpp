#include "platform/win32/Win32System.h"

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Paths.h"

namespace platform::win32 {

bool TWin32System::GetVersionInfo(TOsVersionInfo& info) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;  // 148: the record every system knows
  if (!::GetVersionExA(&version)) return false;
  info.MajorVersion = version.dwMajorVersion;
  info.MinorVersion = version.dwMinorVersion;
  info.BuildNumber = version.dwBuildNumber;
  info.PlatformId = version.dwPlatformId;
  // The system fills the text with a closing zero; the bound is for one
  // that does not.
  const char* text = version.szCSDVersion;
  std::size_t n = 0;
  while (n < sizeof version.szCSDVersion && text[n]) ++n;
  info.CSDVersion.assign(text, n);
  return true;
}

void TWin32System::EnableShutdownPrivilege() {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened))
    return;
  TKernelHandle token(opened);
  TOKEN_PRIVILEGES wanted{};
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &wanted.Privileges[0].Luid)) return;
  // Room for the one privilege's previous state: 16 bytes.
  TOKEN_PRIVILEGES previous{};
  DWORD length = 0;
  ::AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof previous, &previous, &length);
}

bool TWin32System::RequestExitWindows(unsigned flags) { return ::ExitWindowsEx(flags, 0) != FALSE; }

bool TWin32System::IsWow64() {
  using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
  // Looked up once: the answer cannot change while the process runs.
  static const TIsWow64Process isWow64Process = [] {
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? ::GetProcAddress(kernel, "IsWow64Process") : nullptr;
    return reinterpret_cast<TIsWow64Process>(reinterpret_cast<void (*)()>(found));
  }();
  BOOL wow64 = FALSE;
  return isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::string TWin32System::ProgramFile() { return win32::ProgramFile(); }

std::string TWin32System::LowerCase(std::string text) {
  if (!text.empty()) ::CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace platform::win32
