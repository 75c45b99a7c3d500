#include "platform/win32/Win32Drives.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Paths.h"

namespace platform::win32 {

std::uint32_t TWin32Drives::GetLogicalDrives() { return ::GetLogicalDrives(); }

unsigned TWin32Drives::GetDriveType(const std::string& name) {
  return ::GetDriveTypeA(name.c_str());
}

bool TWin32Drives::GetVolumeSize(const std::string& root, std::uint64_t& totalBytes) {
  ULARGE_INTEGER total{};
  if (!::GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr)) return false;
  totalBytes = total.QuadPart;
  return true;
}

unsigned TWin32Drives::SetErrorMode(unsigned mode) { return ::SetErrorMode(mode); }

bool TWin32Drives::FileExists(const std::string& path) { return win32::FileExists(path); }

bool TWin32Drives::EntryExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return true;
}

TFileRead TWin32Drives::ReadFile(const std::string& path, std::string& contents) {
  // A device or a pipe can keep the first read waiting for good; only an
  // ordinary file on a disk is read, checked by name and again once open.
  if (!win32::FileExists(path)) return TFileRead::Unreadable;
  TKernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK) return TFileRead::Unreadable;
  // GetFileSize, as GetFileSizeEx is missing before Windows 2000.
  DWORD high = 0;
  const DWORD low = ::GetFileSize(file.get(), &high);
  if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return TFileRead::Unreadable;
  if (high != 0 || low > kReadFileMax) return TFileRead::TooLarge;
  contents.clear();
  contents.reserve(low);
  char chunk[4096];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return TFileRead::Unreadable;
    if (read == 0) return TFileRead::Done;
    contents.append(chunk, read);
    if (contents.size() > kReadFileMax) return TFileRead::TooLarge;  // it grew while read
  }
}

unsigned TWin32Drives::SetCurrentDirectory(const std::string& path) {
  if (::SetCurrentDirectoryA(path.c_str())) return 0;
  const DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_PATH_NOT_FOUND;
}

std::string TWin32Drives::GetCurrentDirectory() {
  // The system keeps a current directory within MAX_PATH characters, each
  // one or two bytes in the ANSI code page.
  char path[MAX_PATH * 2];
  const DWORD length = ::GetCurrentDirectoryA(sizeof path, path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string TWin32Drives::ProgramDir() { return ProgramFolder(); }

}  // namespace platform::win32
