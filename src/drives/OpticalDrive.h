// The optical-drive component of the main window. The program uses only
// what it inherits from the SCSI device component: the device query at
// start-up (InitializeASPI, DeviceList) and SelectDevice.
#pragma once

#include "drives/SCSIDevice.h"

namespace drives {

class TOpticalDrive : public TSCSIDevice {
 public:
  using TSCSIDevice::TSCSIDevice;
};

}  // namespace drives
