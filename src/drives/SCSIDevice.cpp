#include "drives/SCSIDevice.h"

#include <vector>

#include "drives/CdDrives.h"
#include "platform/Scsi.h"
#include "platform/Services.h"

namespace drives {

using platform::Services;

namespace {

constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kInquiryLength = 128;
constexpr std::uint8_t kTypeCdDvd = 5;
constexpr std::uint8_t kTypeWriteOnce = 4;
// An adapter inquiry that reports no adapters means the most a library
// serves.
constexpr int kDefaultAdapters = 7;

}  // namespace

// One INQUIRY and its data, on the heap: a request that does not complete
// in time may still be written to by the library.
struct TInquiryRequest {
  SRB_ExecSCSICmd Srb{};
  std::uint8_t Data[kInquiryLength] = {};
  // Once abandoned: a share in the library that may still complete it.
  std::shared_ptr<void> Library;
};

namespace {

// Requests that timed out are kept, with their events open, until the
// process ends: the library may still complete them, and a closed event's
// number could by then name another handle that it would signal. Each holds
// a share in the library, so the library stays loaded after the service
// lets it go at the end of the program. The list itself is never destroyed:
// the static objects are destroyed before the process stops the library's
// own threads, so destroying the list then would free requests they may
// still write to and unload the code they run.
std::vector<std::unique_ptr<TInquiryRequest>>& Abandoned() {
  static auto* const requests = new std::vector<std::unique_ptr<TInquiryRequest>>;
  return *requests;
}

}  // namespace

std::string DeviceEntry(int adapter, int target, int lun, char letter,
                        const std::uint8_t* inquiry) {
  const char* text = reinterpret_cast<const char*>(inquiry);
  std::string entry = std::to_string(adapter) + ':' + std::to_string(target) + ':' +
                      std::to_string(lun) + ',' + letter + ": ";
  entry.append(text + 8, 8);    // vendor
  entry.append(text + 16, 16);  // product
  entry.append(text + 32, 4);   // revision
  if (inquiry[0] == kTypeWriteOnce) entry += " (not supported)";
  return entry;
}

bool TSCSIDevice::StartPassThrough(std::optional<std::uint32_t> cdRoms) {
  if (!FPassThroughTried) {
    FPassThroughTried = true;
    FPassThroughFound = FPassThrough.Start(cdRoms ? *cdRoms : CdRomLetters());
  }
  return FPassThroughFound;
}

platform::TAspiLoad TSCSIDevice::LoadAspiLibrary() {
  platform::TScsiService& scsi = *Services().Scsi;
  const platform::TAspiLoad beside =
      scsi.LoadAspiLibrary(Services().Drives->ProgramDir() + kAspiLibrary);
  if (beside != platform::TAspiLoad::NoLibrary) return beside;
  // A bare name would be searched for in the current directory too.
  const std::string system = scsi.SystemDir();
  if (system.empty()) return platform::TAspiLoad::NoLibrary;
  return scsi.LoadAspiLibrary(system + kAspiLibrary);
}

bool TSCSIDevice::InitializeASPI(bool preferPassThrough, std::optional<std::uint32_t> cdRoms) {
  FDeviceList.Clear();
  FLayer = nullptr;
  if (!Services().Scsi) return false;
  const TErrorModeGuard errorMode;
  if (preferPassThrough && StartPassThrough(cdRoms)) FLayer = &FPassThrough;
  if (!FLayer) {
    switch (LoadAspiLibrary()) {
      case platform::TAspiLoad::Loaded:
        FLayer = &FLibrary;
        break;
      case platform::TAspiLoad::MissingFunction:
        return false;
      case platform::TAspiLoad::NoLibrary:
        if (!preferPassThrough && StartPassThrough(cdRoms)) FLayer = &FPassThrough;
        break;
    }
  }
  if (!FLayer) return false;
  FLayer->GetSupportInfo();
  Scan();
  return true;
}

int TSCSIDevice::AdapterCount() {
  SRB_HAInquiry inquiry{};
  inquiry.SRB_Cmd = SC_HA_INQUIRY;
  inquiry.SRB_HaId = 0;
  FLayer->SendCommand(&inquiry);
  if (inquiry.SRB_Status != SS_COMP) return 0;
  return inquiry.HA_Count == 0 ? kDefaultAdapters : inquiry.HA_Count;
}

std::unique_ptr<TInquiryRequest> TSCSIDevice::Inquire(int adapter, int target, int lun) {
  platform::TScsiService& scsi = *Services().Scsi;
  const platform::THandle event = scsi.NewEvent();
  if (event == 0) return nullptr;
  auto request = std::make_unique<TInquiryRequest>();
  SRB_ExecSCSICmd& srb = request->Srb;
  srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
  srb.SRB_HaId = static_cast<std::uint8_t>(adapter);
  srb.SRB_Target = static_cast<std::uint8_t>(target);
  srb.SRB_Lun = static_cast<std::uint8_t>(lun);
  srb.SRB_Flags = SRB_DIR_IN | SRB_EVENT_NOTIFY;
  srb.SRB_BufLen = sizeof request->Data;
  srb.SRB_BufPointer = request->Data;
  srb.SRB_SenseLen = SENSE_LEN;
  srb.SRB_CDBLen = 6;
  srb.SRB_PostProc = reinterpret_cast<void*>(event);
  srb.CDBByte[0] = kInquiry;
  srb.CDBByte[1] = static_cast<std::uint8_t>(lun << 5);
  srb.CDBByte[4] = kInquiryLength;

  if (FLayer->SendCommand(&srb) == SS_PENDING && !scsi.WaitEvent(event, kInquiryTimeoutMs)) {
    request->Library = scsi.HoldAspiLibrary();
    Abandoned().push_back(std::move(request));
    return nullptr;
  }
  scsi.CloseEvent(event);
  if (srb.SRB_Status != SS_COMP) return nullptr;
  return request;
}

char TSCSIDevice::FindDriveLetter(int adapter, int target, int lun) {
  platform::TScsiService& scsi = *Services().Scsi;
  // The pass-through layer numbered the adapters by port and path; a
  // library's adapter is taken to be the port.
  const auto adapterOf = [&](const platform::TScsiAddress& address) {
    return FLayer == &FPassThrough ? FPassThrough.AdapterOf(address) : address.PortNumber;
  };
  for (char letter = 'B'; letter <= 'Z'; ++letter) {
    const TScsiDeviceHandle device = OpenDriveDevice(letter);
    platform::TScsiAddress address;
    if (device && scsi.GetAddress(device.Get(), address) && adapterOf(address) == adapter &&
        address.TargetId == target)
      return letter;
  }
  SRB_GetDiskInfo info{};
  info.SRB_Cmd = SC_GET_DISK_INFO;
  info.SRB_HaId = static_cast<std::uint8_t>(adapter);
  info.SRB_Target = static_cast<std::uint8_t>(target);
  info.SRB_Lun = static_cast<std::uint8_t>(lun);
  FLayer->SendCommand(&info);
  // The drive number comes from the library; only a letter is a letter.
  if (info.SRB_Status == SS_COMP && info.SRB_Int13HDriveInfo < 26)
    return static_cast<char>('A' + info.SRB_Int13HDriveInfo);
  return '?';
}

void TSCSIDevice::Scan() {
  FDeviceList.Clear();
  const int adapters = AdapterCount();
  for (int adapter = 0; adapter < adapters; ++adapter)
    for (int target = 0; target < 8; ++target)
      for (int lun = 0; lun < 8; ++lun) {
        const std::unique_ptr<TInquiryRequest> inquiry = Inquire(adapter, target, lun);
        if (!inquiry) continue;
        const std::uint8_t type = inquiry->Data[0];
        if (type != kTypeCdDvd && type != kTypeWriteOnce) continue;
        FDeviceList.Add(DeviceEntry(adapter, target, lun, FindDriveLetter(adapter, target, lun),
                                    inquiry->Data));
      }
}

void TSCSIDevice::SelectDevice(const std::string& entry) {
  const auto digit = [&](std::size_t i) { return entry[i] >= '0' && entry[i] <= '9'; };
  if (entry.size() <= 4 || !digit(0) || !digit(2) || !digit(4)) return;
  FCurrent = {entry[0] - '0', entry[2] - '0', entry[4] - '0'};
}

}  // namespace drives
