#include "platform/win32/Win32Download.h"

#include <vector>

namespace platform::win32 {

namespace {

// The caller object and the progress callback are never passed.
using TUrlDownloadToFileA = HRESULT(WINAPI*)(void* caller, LPCSTR url, LPCSTR file, DWORD reserved,
                                             void* callback);

constexpr long kNotAvailable = static_cast<long>(0x80004001);  // E_NOTIMPL

}  // namespace

long TWin32Download::DownloadToFile(const std::string& url, const std::string& file) {
  if (!FUrlmon) FUrlmon.reset(::LoadLibraryA("urlmon.dll"));
  if (!FUrlmon) return kNotAvailable;
  auto download = reinterpret_cast<TUrlDownloadToFileA>(
      reinterpret_cast<void*>(::GetProcAddress(FUrlmon.get(), "URLDownloadToFileA")));
  if (!download) return kNotAvailable;
  return static_cast<long>(download(nullptr, url.c_str(), file.c_str(), 0, nullptr));
}

std::string TWin32Download::TempFolder() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length = ::GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);  // the size it needs, with the terminator
  }
}

}  // namespace platform::win32
