#include "platform/win32/Win32Media.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform::win32 {

namespace {

using TMciSendCommandA = MCIERROR(WINAPI*)(MCIDEVICEID, UINT, DWORD_PTR, DWORD_PTR);

}  // namespace

std::uint32_t TWin32Media::SendCommand(std::uint32_t device, std::uint32_t message,
                                       std::uint32_t flags, TMciOpenParms* parms) {
  // The multimedia library, and the libraries it brings, are loaded with the
  // first drive command rather than with the program: loading them cost a
  // noticeable part of the start-up.
  if (!FWinmm) FWinmm.reset(::LoadLibraryA("winmm.dll"));
  const auto send = FWinmm ? reinterpret_cast<TMciSendCommandA>(reinterpret_cast<void*>(
                                 ::GetProcAddress(FWinmm.get(), "mciSendCommandA")))
                           : nullptr;
  if (!send) return MCIERR_CANNOT_LOAD_DRIVER;
  if (!parms) return send(device, message, flags, 0);
  // The strings stay owned by `parms`; the native record only points at them
  // for the time of the call.
  MCI_OPEN_PARMSA native{};
  native.dwCallback = static_cast<DWORD_PTR>(parms->Callback);
  native.wDeviceID = parms->DeviceId;
  native.lpstrDeviceType = parms->DeviceType.c_str();
  native.lpstrElementName = parms->ElementName.c_str();
  native.lpstrAlias = parms->Alias.empty() ? nullptr : parms->Alias.c_str();
  const MCIERROR result = send(device, message, flags, reinterpret_cast<DWORD_PTR>(&native));
  parms->DeviceId = native.wDeviceID;
  return result;
}

}  // namespace platform::win32
