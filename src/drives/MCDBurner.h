// The optical-drive component: it asks the system for the optical devices
// that answer a SCSI inquiry and describes each in a device entry.
//
// The device query itself is not wired in yet: InitializeASPI finds no
// command layer and the device list stays empty, which the program treats
// as "no device descriptions" (empty tooltips and status text).
#pragma once

#include <string>

#include "platform/Component.h"
#include "platform/Strings.h"

namespace drives {

class TMCDBurner : public platform::TComponent {
 public:
  using TComponent::TComponent;
  // Chooses a SCSI command layer and scans for devices; false when there is
  // no layer.
  bool InitializeASPI(bool preferPassThrough);
  const platform::TStrings& DeviceList() const { return FDeviceList; }
  void SelectDevice(const std::string& entry) { FSelected = entry; }
  bool ASPIInitialized() const { return FInitialized; }

 private:
  platform::TStrings FDeviceList;
  std::string FSelected;
  bool FInitialized = false;
};

}  // namespace drives
