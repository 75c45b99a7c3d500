#include "platform/win32/Win32Shell.h"

#include <shellapi.h>

#include "platform/win32/Handles.h"

namespace platform::win32 {

namespace {

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::intptr_t TWin32Shell::Execute(THandle owner, const std::string& verb, const std::string& file,
                                   const std::string& parameters, const std::string& directory,
                                   int show) {
  const HINSTANCE result = ::ShellExecuteA(ToHwnd(owner), OrNull(verb), file.c_str(),
                                           OrNull(parameters), OrNull(directory), show);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform::win32
