#include "drives/MCDBurner.h"

namespace drives {

bool TMCDBurner::InitializeASPI(bool preferPassThrough) {
  (void)preferPassThrough;
  FDeviceList.Clear();
  FInitialized = false;
  return false;
}

}  // namespace drives
