#include "platform/win32/Win32Accessibility.h"

#include <windows.h>
#include <objbase.h>
#include <oleacc.h>

#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/ModuleFunction.h"

namespace platform::win32 {

namespace {

// The published identifiers, kept here so that no import library of the
// accessibility runtime is linked: the program must load where it is absent.
constexpr GUID kClsidAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIidAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kPropIdRole = {
    0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
constexpr GUID kPropIdState = {
    0xa8d4d5b0, 0x0a21, 0x42d0, {0xa5, 0xc0, 0x51, 0x4e, 0x98, 0x4f, 0x45, 0x7b}};

static_assert(kAccStateUnavailable == STATE_SYSTEM_UNAVAILABLE &&
              kAccStateChecked == STATE_SYSTEM_CHECKED &&
              kAccStateFocusable == STATE_SYSTEM_FOCUSABLE &&
              kAccStateSelectable == STATE_SYSTEM_SELECTABLE &&
              kAccRoleCheckButton == ROLE_SYSTEM_CHECKBUTTON);

VARIANT Int32Variant(unsigned value) {
  // Filled by hand: VariantInit is in a library the program does not load.
  VARIANT v;
  std::memset(&v, 0, sizeof v);
  v.vt = VT_I4;
  v.lVal = static_cast<LONG>(value);
  return v;
}

}  // namespace

using TCoInitialize = HRESULT(WINAPI*)(LPVOID);
using TCoUninitialize = void(WINAPI*)();
using TCoCreateInstance = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

TWin32Accessibility::~TWin32Accessibility() {
  if (FServices) FServices->Release();
  if (FComStarted)
    if (const auto uninitialize = ModuleFunction<TCoUninitialize>(FOle32.get(), "CoUninitialize"))
      uninitialize();
}

IAccPropServices* TWin32Accessibility::PropServices() {
  if (FTried) return FServices;
  FTried = true;
  FOle32.reset(::LoadLibraryA("ole32.dll"));
  const auto initialize = ModuleFunction<TCoInitialize>(FOle32.get(), "CoInitialize");
  const auto create = ModuleFunction<TCoCreateInstance>(FOle32.get(), "CoCreateInstance");
  if (!initialize || !create) return nullptr;
  // The user-interface thread joins COM here unless it has already; a
  // thread that joined another way (S_FALSE, or a different model) keeps it.
  FComStarted = SUCCEEDED(initialize(nullptr));
  void* services = nullptr;
  if (SUCCEEDED(create(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIidAccPropServices,
                       &services)))
    FServices = static_cast<IAccPropServices*>(services);
  return FServices;
}

void TWin32Accessibility::SetItemState(THandle window, unsigned childId, unsigned role,
                                       unsigned state) {
  IAccPropServices* services = PropServices();
  if (!services) return;
  HWND hwnd = ToHwnd(window);
  // Failures leave the list as the system describes it: text without mark.
  services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), childId, kPropIdRole,
                        Int32Variant(role));
  services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), childId, kPropIdState,
                        Int32Variant(state));
}

}  // namespace platform::win32
