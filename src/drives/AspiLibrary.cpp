#include "drives/AspiLibrary.h"

#include "platform/Scsi.h"
#include "platform/Services.h"

namespace drives {

std::uint32_t TAspiLibraryLayer::GetSupportInfo() {
  return platform::Services().Scsi->GetASPI32SupportInfo();
}

std::uint32_t TAspiLibraryLayer::SendCommand(void* srb) {
  return platform::Services().Scsi->SendASPI32Command(srb);
}

}  // namespace drives
