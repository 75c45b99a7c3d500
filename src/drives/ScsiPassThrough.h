// The program's own SCSI command layer: it answers the ASPI request blocks
// through the devices' pass-through requests, for systems that let a
// program talk to its CD-ROM drives directly.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "drives/AspiLibrary.h"
#include "platform/Scsi.h"
#include "platform/Types.h"

namespace drives {

// A device opened through the SCSI service, closed again when it goes.
class TScsiDeviceHandle {
 public:
  TScsiDeviceHandle() = default;
  explicit TScsiDeviceHandle(platform::THandle device) : FDevice(device) {}
  ~TScsiDeviceHandle();
  TScsiDeviceHandle(TScsiDeviceHandle&& other) noexcept : FDevice(other.FDevice) {
    other.FDevice = 0;
  }
  TScsiDeviceHandle& operator=(TScsiDeviceHandle&&) = delete;
  platform::THandle Get() const { return FDevice; }
  explicit operator bool() const { return FDevice != 0; }

 private:
  platform::THandle FDevice = 0;
};

// Opens the device of a drive letter ("\\.\E:") for reading and writing, or
// when that is refused, for reading alone.
TScsiDeviceHandle OpenDriveDevice(char letter);

class TScsiPassThroughLayer : public TScsiLayer {
 public:
  // Asks every CD-ROM drive C to Z of `cdRoms` (a bit per letter, bit 0
  // is A) for its INQUIRY data and its address; true when at least one
  // drive answered.
  bool Start(std::uint32_t cdRoms);
  int AdapterCount() const { return FAdapterCount; }
  // The adapter number the layer gave a device's port and path; -1 when no
  // drive the layer found lies there.
  int AdapterOf(const platform::TScsiAddress& address) const;

  std::uint32_t GetSupportInfo() override;
  std::uint32_t SendCommand(void* srb) override;

 private:
  struct TDrive {
    char Letter;
    std::uint8_t Adapter = 0, Target = 0, Lun = 0;
    std::uint8_t Inquiry[36] = {};
  };
  const TDrive* Find(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun) const;
  std::uint8_t Execute(SRB_ExecSCSICmd& srb);

  std::vector<TDrive> FDrives;
  std::map<std::pair<std::uint8_t, std::uint8_t>, std::uint8_t> FAdapters;  // by port and path
  int FAdapterCount = 0;
};

}  // namespace drives
