#include "drives/ScsiPassThrough.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/Scsi.h"
#include "platform/Services.h"

namespace drives {

using platform::Services;

namespace {

constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kStartInquiryLength = 96;

std::string DeviceName(char letter) { return std::string("\\\\.\\") + letter + ':'; }

}  // namespace

TScsiDeviceHandle::~TScsiDeviceHandle() {
  if (FDevice != 0) Services().Scsi->CloseDevice(FDevice);
}

TScsiDeviceHandle OpenDriveDevice(char letter) {
  platform::TScsiService& scsi = *Services().Scsi;
  const std::string name = DeviceName(letter);
  platform::THandle device = scsi.OpenDevice(name, true);
  if (device == 0) device = scsi.OpenDevice(name, false);
  return TScsiDeviceHandle(device);
}

bool TScsiPassThroughLayer::Start(std::uint32_t cdRoms) {
  platform::TScsiService& scsi = *Services().Scsi;
  FDrives.clear();
  FAdapters.clear();
  std::vector<std::size_t> withoutAddress;
  std::vector<std::pair<std::size_t, platform::TScsiAddress>> withAddress;
  int highestPort = -1;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if ((cdRoms & (1u << (letter - 'A'))) == 0) continue;
    const TScsiDeviceHandle device = OpenDriveDevice(letter);
    if (!device) continue;

    std::uint8_t data[kStartInquiryLength] = {};
    platform::TScsiPassThrough inquiry;
    inquiry.Cdb[0] = kInquiry;
    inquiry.Cdb[4] = kStartInquiryLength;
    inquiry.CdbLength = 6;
    inquiry.Direction = platform::TScsiDirection::In;
    inquiry.Data = data;
    inquiry.DataLength = sizeof data;
    if (!scsi.PassThrough(device.Get(), inquiry) || inquiry.ScsiStatus != 0) continue;

    TDrive drive{letter};
    std::memcpy(drive.Inquiry, data, sizeof drive.Inquiry);
    platform::TScsiAddress address;
    if (scsi.GetAddress(device.Get(), address)) {
      withAddress.emplace_back(FDrives.size(), address);
      FAdapters[{address.PortNumber, address.PathId}] = 0;
      highestPort = std::max<int>(highestPort, address.PortNumber);
    } else {
      withoutAddress.push_back(FDrives.size());
    }
    FDrives.push_back(drive);
  }
  // Drives that know no address of their own share an adapter after every
  // real port. A controller may tell its drives apart by the path alone, so
  // each port and path gets an adapter of its own: a port's lowest path keeps
  // the port's number, further paths are numbered after all of those.
  const int shared = highestPort + 1;
  int next = shared + (withoutAddress.empty() ? 0 : 1);
  int lastPort = -1;
  for (auto& [portAndPath, adapter] : FAdapters) {
    const bool firstOfPort = portAndPath.first != lastPort;
    lastPort = portAndPath.first;
    adapter = static_cast<std::uint8_t>(firstOfPort ? portAndPath.first : next++);
  }
  for (const auto& [i, address] : withAddress) {
    FDrives[i].Adapter = FAdapters.at({address.PortNumber, address.PathId});
    FDrives[i].Target = address.TargetId;
    FDrives[i].Lun = address.Lun;
  }
  // On the shared adapter, one target each, in letter order.
  std::uint8_t target = 0;
  for (std::size_t i : withoutAddress) {
    FDrives[i].Adapter = static_cast<std::uint8_t>(shared);
    FDrives[i].Target = target++;
  }
  FAdapterCount = 0;
  for (const TDrive& drive : FDrives) FAdapterCount = std::max(FAdapterCount, drive.Adapter + 1);
  return !FDrives.empty();
}

int TScsiPassThroughLayer::AdapterOf(const platform::TScsiAddress& address) const {
  const auto it = FAdapters.find({address.PortNumber, address.PathId});
  return it == FAdapters.end() ? -1 : it->second;
}

std::uint32_t TScsiPassThroughLayer::GetSupportInfo() {
  return SupportInfo(FDrives.empty() ? SS_NO_DEVICE : SS_COMP,
                     static_cast<std::uint8_t>(FAdapterCount));
}

const TScsiPassThroughLayer::TDrive* TScsiPassThroughLayer::Find(std::uint8_t adapter,
                                                                 std::uint8_t target,
                                                                 std::uint8_t lun) const {
  for (const TDrive& drive : FDrives)
    if (drive.Adapter == adapter && drive.Target == target && drive.Lun == lun) return &drive;
  return nullptr;
}

std::uint32_t TScsiPassThroughLayer::SendCommand(void* srb) {
  switch (SrbCommand(srb)) {
    case SC_HA_INQUIRY: {
      auto& inquiry = *static_cast<SRB_HAInquiry*>(srb);
      if (inquiry.SRB_HaId >= FAdapterCount) return inquiry.SRB_Status = SS_INVALID_HA;
      inquiry.HA_Count = static_cast<std::uint8_t>(FAdapterCount);
      return inquiry.SRB_Status = SS_COMP;
    }
    case SC_EXEC_SCSI_CMD: {
      auto& exec = *static_cast<SRB_ExecSCSICmd*>(srb);
      return exec.SRB_Status = Execute(exec);
    }
    case SC_GET_DISK_INFO: {
      // The layer knows each drive's letter, also for the drives it gave an
      // address of its own that no device search can find.
      auto& info = *static_cast<SRB_GetDiskInfo*>(srb);
      const TDrive* drive = Find(info.SRB_HaId, info.SRB_Target, info.SRB_Lun);
      if (!drive) return info.SRB_Status = SS_NO_DEVICE;
      info.SRB_Int13HDriveInfo = static_cast<std::uint8_t>(drive->Letter - 'A');
      return info.SRB_Status = SS_COMP;
    }
    default:
      return static_cast<std::uint8_t*>(srb)[1] = SS_INVALID_CMD;
  }
}

std::uint8_t TScsiPassThroughLayer::Execute(SRB_ExecSCSICmd& srb) {
  const TDrive* drive = Find(srb.SRB_HaId, srb.SRB_Target, srb.SRB_Lun);
  if (!drive) return SS_NO_DEVICE;
  if (srb.CDBByte[0] == kInquiry) {
    std::memcpy(srb.SRB_BufPointer, drive->Inquiry,
                std::min<std::size_t>(srb.SRB_BufLen, sizeof drive->Inquiry));
    return SS_COMP;
  }
  const TScsiDeviceHandle device = OpenDriveDevice(drive->Letter);
  if (!device) return SS_ERR;
  platform::TScsiPassThrough request;
  request.CdbLength = std::min<std::uint8_t>(srb.SRB_CDBLen, sizeof request.Cdb);
  std::memcpy(request.Cdb, srb.CDBByte, request.CdbLength);
  request.Direction = (srb.SRB_Flags & SRB_DIR_IN)    ? platform::TScsiDirection::In
                      : (srb.SRB_Flags & SRB_DIR_OUT) ? platform::TScsiDirection::Out
                                                      : platform::TScsiDirection::None;
  request.Data = srb.SRB_BufPointer;
  request.DataLength = srb.SRB_BufLen;
  if (!Services().Scsi->PassThrough(device.Get(), request)) return SS_ERR;
  srb.SRB_TargStat = request.ScsiStatus;
  return request.ScsiStatus == 0 ? SS_COMP : SS_ERR;
}

}  // namespace drives
