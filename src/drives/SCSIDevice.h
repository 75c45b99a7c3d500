// The SCSI device component: it chooses a SCSI command layer (the program's
// own pass-through layer or an ASPI library), asks every address for its
// INQUIRY data and lists the optical devices in device entries:
//
//   1:0:0,E: VENDOR  PRODUCT         REV.
//
// the adapter, target and LUN, the drive letter ("?" when none is found),
// and the vendor (8), product (16) and revision (4) texts exactly as the
// device sends them; a write-once device is marked " (not supported)".
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "drives/AspiLibrary.h"
#include "drives/ScsiPassThrough.h"
#include "platform/Component.h"
#include "platform/Scsi.h"
#include "platform/Strings.h"

namespace drives {

// The library's file name; it is looked for beside the program, then in the
// system's folder, never in the current directory.
inline constexpr const char* kAspiLibrary = "WNASPI32.DLL";
// How long one device may take to answer its INQUIRY.
inline constexpr unsigned kInquiryTimeoutMs = 10000;

// The device entry of one device from its INQUIRY data (at least 36 bytes).
std::string DeviceEntry(int adapter, int target, int lun, char letter, const std::uint8_t* inquiry);

struct TInquiryRequest;

struct TScsiDeviceAddress {
  int Adapter = 0, Target = 0, Lun = 0;
  bool operator==(const TScsiDeviceAddress&) const = default;
};

class TSCSIDevice : public platform::TComponent {
 public:
  using TComponent::TComponent;

  // Chooses the command layer (the pass-through layer first when
  // `preferPassThrough`) and lists the optical devices in DeviceList. False,
  // with an empty list, when no layer is available.
  // `cdRoms` are the CD-ROM letters when the caller knows them already (a
  // bit per letter, bit 0 is A); else the pass-through layer asks.
  bool InitializeASPI(bool preferPassThrough, std::optional<std::uint32_t> cdRoms = {});
  const platform::TStrings& DeviceList() const { return FDeviceList; }
  bool ASPIInitialized() const { return FLayer != nullptr; }

  // Makes the device of an entry ("1:0:0,E: ...") the current device: its
  // characters 1, 3 and 5 are the adapter, target and LUN digits. An entry
  // without them leaves the current device as it was.
  void SelectDevice(const std::string& entry);
  const TScsiDeviceAddress& CurrentDevice() const { return FCurrent; }

 private:
  bool StartPassThrough(std::optional<std::uint32_t> cdRoms);
  platform::TAspiLoad LoadAspiLibrary();
  int AdapterCount();
  void Scan();
  // Sends an INQUIRY and waits for it; the data when the device answered.
  std::unique_ptr<TInquiryRequest> Inquire(int adapter, int target, int lun);
  char FindDriveLetter(int adapter, int target, int lun);

  platform::TStrings FDeviceList;
  TScsiPassThroughLayer FPassThrough;
  TAspiLibraryLayer FLibrary;
  TScsiLayer* FLayer = nullptr;
  bool FPassThroughTried = false;
  bool FPassThroughFound = false;
  TScsiDeviceAddress FCurrent;
};

}  // namespace drives
