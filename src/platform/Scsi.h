// The SCSI service: what the optical-drive component needs of the system to
// reach its devices, either through an ASPI library or through the devices'
// own pass-through requests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Types.h"

namespace platform {

// The address a device reports for itself (IOCTL_SCSI_GET_ADDRESS).
struct TScsiAddress {
  std::uint8_t PortNumber = 0;
  std::uint8_t PathId = 0;
  std::uint8_t TargetId = 0;
  std::uint8_t Lun = 0;
};

enum class TScsiDirection { None, In, Out };

// One command block for IOCTL_SCSI_PASS_THROUGH_DIRECT. The device reads or
// writes `Data` directly.
struct TScsiPassThrough {
  std::uint8_t Cdb[16] = {};
  std::uint8_t CdbLength = 0;
  TScsiDirection Direction = TScsiDirection::None;
  void* Data = nullptr;
  std::uint32_t DataLength = 0;
  std::uint32_t TimeoutSeconds = 10;
  std::uint8_t ScsiStatus = 0;  // the device's answer, 0 when good
};

enum class TAspiLoad { NoLibrary, MissingFunction, Loaded };

class TScsiService {
 public:
  virtual ~TScsiService() = default;

  // The ASPI library: LoadLibraryA with the full path given, then
  // GetProcAddress of "GetASPI32SupportInfo" and "SendASPI32Command". A
  // library without both is let go again. One library at a time: a new
  // load lets the previous one go.
  virtual TAspiLoad LoadAspiLibrary(const std::string& path) = 0;
  // The loaded library's two functions; SendASPI32Command takes an ASPI
  // request block (drives/AspiLibrary.h) and answers with its status.
  virtual std::uint32_t GetASPI32SupportInfo() = 0;
  virtual std::uint32_t SendASPI32Command(void* srb) = 0;
  // A share in the loaded library: the library stays in memory while any
  // share lives, even after the service lets it go or loads another. Empty
  // when no library is loaded.
  virtual std::shared_ptr<void> HoldAspiLibrary() = 0;
  // The system's own folder (GetSystemDirectoryA), with a trailing backslash.
  virtual std::string SystemDir() = 0;

  // Completion events of ASPI requests: manual reset, created unsignalled.
  // 0 when none can be made.
  virtual THandle NewEvent() = 0;
  // WaitForSingleObject: true when the event was signalled within `ms`.
  virtual bool WaitEvent(THandle event, unsigned ms) = 0;
  virtual void CloseEvent(THandle event) = 0;

  // CreateFileA on a device name ("\\.\E:"): with `write`, read and write
  // access sharing both; without, read access sharing reading. 0 when it
  // cannot be opened.
  virtual THandle OpenDevice(const std::string& name, bool write) = 0;
  virtual void CloseDevice(THandle device) = 0;
  // IOCTL_SCSI_PASS_THROUGH_DIRECT; true when the device took the request.
  virtual bool PassThrough(THandle device, TScsiPassThrough& request) = 0;
  // IOCTL_SCSI_GET_ADDRESS; false when the device has no such address.
  virtual bool GetAddress(THandle device, TScsiAddress& address) = 0;
};

}  // namespace platform
