// Functions looked up at run time in a loaded module, instead of imported:
// the calls the program's oldest systems lack, and those of a library that
// is loaded on demand. A missing import would keep the program from loading.
#pragma once

#include <windows.h>

namespace platform::win32 {

// The function `name` of `module` as a pointer of type F; nullptr when there
// is no module or it lacks the function.
template <class F>
F ModuleFunction(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // Through the generic function pointer type, which any function pointer
  // may be converted from and back to.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The same in a module the program has loaded already, by its name
// ("kernel32.dll").
template <class F>
F ModuleFunction(const char* module, const char* name) {
  return ModuleFunction<F>(::GetModuleHandleA(module), name);
}

}  // namespace platform::win32
