#include "platform/win32/Win32Paths.h"

#include <windows.h>

#include "platform/DeviceNames.h"

namespace platform::win32 {

std::string ProgramFile() {
  // The path may be longer than MAX_PATH; grow until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
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
