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

namespace {
constexpr LONGLONG kMaxReadFileSize = 16 * 1024 * 1024;
}  // namespace

bool TWin32Drives::ReadFile(const std::string& path, std::string& contents) {
  TKernelHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  // INI files are small; a huge one (from a disc, say) is not read at all
  // rather than filling the memory.
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxReadFileSize) return false;
  contents.clear();
  char chunk[4096];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return false;
    if (read == 0) return true;
    contents.append(chunk, read);
    if (static_cast<LONGLONG>(contents.size()) > kMaxReadFileSize) return false;  // it grew
  }
}

unsigned TWin32Drives::SetCurrentDirectory(const std::string& path) {
  if (::SetCurrentDirectoryA(path.c_str())) return 0;
  const DWORD error = ::GetLastError();
  return error != 0 ? error : ERROR_PATH_NOT_FOUND;
}

std::string TWin32Drives::ProgramDir() { return ProgramFolder(); }

}  // namespace platform::win32
