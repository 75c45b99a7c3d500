#include "platform/win32/Win32Paths.h"

#include <windows.h>

#include "platform/DeviceNames.h"
#include "platform/win32/ModuleFunction.h"

namespace platform::win32 {

namespace {

// The wide calls are looked up: Windows 95, 98 and Me lack them or export
// stubs that fail, and the 32-bit program must load there.
template <class F>
F Kernel32(const char* name) {
  return ModuleFunction<F>("kernel32.dll", name);
}

// GetModuleFileNameA or GetModuleFileNameW. The path may be longer than
// MAX_PATH; grow until it fits.
template <class TChar, class F>
std::basic_string<TChar> ModuleFileName(F get) {
  std::basic_string<TChar> path(MAX_PATH, TChar());
  for (;;) {
    const DWORD length = get(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The path in the ANSI code page, or empty when a character of it is not
// there. Converted back and compared: a missing character can come out as
// a look-alike (a Latin "D" for a Greek delta) instead of the default
// character, and the flag that forbids that is missing before Windows 2000.
std::string ExactlyInAnsi(const std::wstring& path) {
  const int size = static_cast<int>(path.size());
  const int length =
      ::WideCharToMultiByte(CP_ACP, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
  if (size == 0 || length <= 0) return {};
  std::string ansi(length, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, path.data(), size, ansi.data(), length, nullptr, nullptr);
  std::wstring back(path.size(), L'\0');
  const int backLength = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, back.data(), size);
  return backLength == size && back == path ? ansi : std::string();
}

std::wstring ShortPath(const std::wstring& path) {
  using TGetShortPathNameW = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
  static const auto getShortPathName = Kernel32<TGetShortPathNameW>("GetShortPathNameW");
  const DWORD size = getShortPathName ? getShortPathName(path.c_str(), nullptr, 0) : 0;
  if (size == 0) return {};
  std::wstring shortPath(size, L'\0');
  const DWORD length = getShortPathName(path.c_str(), shortPath.data(), size);
  shortPath.resize(length < size ? length : 0);
  return shortPath;
}

std::string FindProgramFile() {
  // The ANSI call puts "?" for every character the code page lacks, and the
  // program would look for its files in a folder that does not exist. The
  // NT family tells the path in full; 95, 98 and Me have ANSI paths only.
  using TGetModuleFileNameW = DWORD(WINAPI*)(HMODULE, LPWSTR, DWORD);
  const auto getModuleFileName = Kernel32<TGetModuleFileNameW>("GetModuleFileNameW");
  const std::wstring wide =
      getModuleFileName ? ModuleFileName<wchar_t>(getModuleFileName) : std::wstring();
  if (wide.empty()) return ModuleFileName<char>(&::GetModuleFileNameA);
  const std::string path = ExactlyInAnsi(wide);
  return path.empty() ? ExactlyInAnsi(ShortPath(wide)) : path;
}

}  // namespace

std::string ProgramFile() {
  // Asked for every file beside the program; the answer cannot change.
  static const std::string path = FindProgramFile();
  return path;
}

std::string ProgramFolder() {
  const std::string path = ProgramFile();
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BesideProgram(const std::string& file) {
  if ((file.size() >= 2 && file[1] == ':') ||
      (!file.empty() && (file[0] == '\\' || file[0] == '/')))
    return file;
  return ProgramFolder() + file;
}

bool FileExists(const std::string& path) {
  // Decided before anything is opened. The name comes first: "aux.lng" is
  // the serial port in any folder, whatever the system says of its
  // attributes.
  if (NamesADevice(path)) return false;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace platform::win32
