#include "platform/win32/Win32Media.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform::win32 {

std::uint32_t TWin32Media::SendCommand(std::uint32_t device, std::uint32_t message,
                                       std::uint32_t flags, TMciOpenParms* parms) {
  if (!parms) return ::mciSendCommandA(device, message, flags, 0);
  // The strings stay owned by `parms`; the native record only points at them
  // for the time of the call.
  MCI_OPEN_PARMSA native{};
  native.dwCallback = static_cast<DWORD_PTR>(parms->Callback);
  native.wDeviceID = parms->DeviceId;
  native.lpstrDeviceType = parms->DeviceType.c_str();
  native.lpstrElementName = parms->ElementName.c_str();
  native.lpstrAlias = parms->Alias.empty() ? nullptr : parms->Alias.c_str();
  const MCIERROR result =
      ::mciSendCommandA(device, message, flags, reinterpret_cast<DWORD_PTR>(&native));
  parms->DeviceId = native.wDeviceID;
  return result;
}

}  // namespace platform::win32
