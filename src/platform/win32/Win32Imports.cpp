// System calls that the program's oldest systems (Windows 98 SE and NT 4.0,
// and XP x64 for the 64-bit program) lack or export only as stubs, answered
// by the program itself.
//
// The program and the compilers' runtime libraries call system functions
// through their import addresses (`__imp__Name@N` in 32-bit code,
// `__imp_Name` in 64-bit code). Defining those here, in an object linked
// into the program itself, sends the calls to the functions below, and the
// system's functions are then not imported: a missing one cannot keep the
// program from loading. tools/check-imports.py checks what is left.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/ModuleFunction.h"

namespace {

using platform::win32::ModuleFunction;

// A name in the ANSI code page; false when it does not fit or convert.
bool ToAnsi(LPCWSTR name, char (&ansi)[MAX_PATH * 2]) {
  const int length =
      ::WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof ansi, nullptr, nullptr);
  if (length > 0) return true;
  ::SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

}  // namespace

extern "C" {

// The runtime libraries' wide-character calls (semaphores for their locks,
// the module look-ups of their C library helpers) go to the ANSI ones:
// Windows 95, 98 and Me export the wide ones only as stubs that fail. The
// 64-bit program, whose oldest system has them, takes the same path, so
// that the tests under Wine run it.

HANDLE WINAPI MorvelCreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                     LPCWSTR name) {
  char ansi[MAX_PATH * 2];
  if (name && !ToAnsi(name, ansi)) return nullptr;
  return ::CreateSemaphoreA(attributes, initial, maximum, name ? ansi : nullptr);
}

HMODULE WINAPI MorvelGetModuleHandleW(LPCWSTR name) {
  char ansi[MAX_PATH * 2];
  if (name && !ToAnsi(name, ansi)) return nullptr;
  return ::GetModuleHandleA(name ? ansi : nullptr);
}

HMODULE WINAPI MorvelLoadLibraryW(LPCWSTR name) {
  char ansi[MAX_PATH * 2];
  if (!name || !ToAnsi(name, ansi)) return nullptr;
  return ::LoadLibraryA(ansi);
}

// The common controls library is loaded with the first control that needs
// it, not with the program: a start in the notification area shows no
// control, and loading the library (its classes, its theme) is a large part
// of a start. The program's manifest still picks the library's version.
// The library of NT 4.0 as shipped (4.00) has no InitCommonControlsEx; its
// InitCommonControls registers every class the program uses.
BOOL WINAPI MorvelInitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
  // Kept for the life of the process: windows of its classes may live until
  // the very end, so it is never freed.
  static const HMODULE library = ::LoadLibraryA("comctl32.dll");
  if (!library) return FALSE;
  using TInitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  using TInit = void(WINAPI*)();
  if (auto initEx = ModuleFunction<TInitEx>(library, "InitCommonControlsEx"))
    return initEx(classes);
  if (auto init = ModuleFunction<TInit>(library, "InitCommonControls")) init();
  return TRUE;
}

// Windows 95 and NT 4.0 export the broadcast under its plain name, which
// later systems keep; the ANSI name may be missing there.
long WINAPI MorvelBroadcastSystemMessageA(DWORD flags, LPDWORD recipients, UINT message,
                                          WPARAM wParam, LPARAM lParam) {
  using TBroadcast = long(WINAPI*)(DWORD, LPDWORD, UINT, WPARAM, LPARAM);
  auto broadcast = ModuleFunction<TBroadcast>("user32.dll", "BroadcastSystemMessageA");
  if (!broadcast) broadcast = ModuleFunction<TBroadcast>("user32.dll", "BroadcastSystemMessage");
  return broadcast ? broadcast(flags, recipients, message, wParam, lParam) : -1;
}

// The import addresses, under the names the calls refer to.
#ifdef _WIN64
#define MORVEL_IMPORT(name, argumentBytes) "__imp_" #name
#else
#define MORVEL_IMPORT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif
extern const void* const MorvelImpCreateSemaphoreW __asm__(MORVEL_IMPORT(CreateSemaphoreW, 16)) =
    reinterpret_cast<const void*>(&MorvelCreateSemaphoreW);
extern const void* const MorvelImpGetModuleHandleW __asm__(MORVEL_IMPORT(GetModuleHandleW, 4)) =
    reinterpret_cast<const void*>(&MorvelGetModuleHandleW);
extern const void* const MorvelImpLoadLibraryW __asm__(MORVEL_IMPORT(LoadLibraryW, 4)) =
    reinterpret_cast<const void*>(&MorvelLoadLibraryW);
extern const void* const MorvelImpInitCommonControlsEx __asm__(MORVEL_IMPORT(
    InitCommonControlsEx, 4)) = reinterpret_cast<const void*>(&MorvelInitCommonControlsEx);
extern const void* const MorvelImpBroadcastSystemMessageA __asm__(MORVEL_IMPORT(
    BroadcastSystemMessageA, 20)) = reinterpret_cast<const void*>(&MorvelBroadcastSystemMessageA);

}  // extern "C"
