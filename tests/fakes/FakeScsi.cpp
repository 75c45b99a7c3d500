#include "fakes/FakeScsi.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "drives/AspiLibrary.h"
#include "fakes/Fakes.h"

namespace fakes {

using namespace drives;

std::vector<std::uint8_t> InquiryData(std::uint8_t type, const std::string& vendor,
                                      const std::string& product, const std::string& revision) {
  std::vector<std::uint8_t> data(36, 0);
  data[0] = type;
  const auto put = [&](std::size_t at, std::size_t width, const std::string& text) {
    for (std::size_t i = 0; i < width; ++i)
      data[at + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : ' ');
  };
  put(8, 8, vendor);
  put(16, 16, product);
  put(32, 4, revision);
  return data;
}

platform::TAspiLoad TFakeScsi::LoadAspiLibrary(const std::string& path) {
  Calls.push_back("Load " + path);
  const auto it = Libraries.find(path);
  const platform::TAspiLoad result =
      it == Libraries.end() ? platform::TAspiLoad::NoLibrary : it->second;
  FLoaded = result == platform::TAspiLoad::Loaded;
  FLibrary = FLoaded ? std::make_shared<int>() : nullptr;
  return result;
}

std::uint32_t TFakeScsi::GetASPI32SupportInfo() {
  if (!FLoaded) throw std::logic_error("no ASPI library loaded");
  return SupportInfo(SS_COMP, static_cast<std::uint8_t>(AdapterCount));
}

std::uint32_t TFakeScsi::SendASPI32Command(void* srb) {
  if (!FLoaded) throw std::logic_error("no ASPI library loaded");
  switch (SrbCommand(srb)) {
    case SC_HA_INQUIRY: {
      auto& inquiry = *static_cast<SRB_HAInquiry*>(srb);
      if (AdapterInquiryFails || inquiry.SRB_HaId >= std::max(AdapterCount, 1))
        return inquiry.SRB_Status = SS_INVALID_HA;
      inquiry.HA_Count = static_cast<std::uint8_t>(AdapterCount);
      return inquiry.SRB_Status = SS_COMP;
    }
    case SC_EXEC_SCSI_CMD: {
      auto& exec = *static_cast<SRB_ExecSCSICmd*>(srb);
      ++InquiriesPerAdapter[exec.SRB_HaId];
      const auto device = std::find_if(AspiDevices.begin(), AspiDevices.end(), [&](auto& d) {
        return d.Adapter == exec.SRB_HaId && d.Target == exec.SRB_Target && d.Lun == exec.SRB_Lun;
      });
      const bool wellFormed = exec.CDBByte[0] == 0x12 && exec.SRB_CDBLen == 6 &&
                              exec.CDBByte[1] >> 5 == exec.SRB_Lun && exec.CDBByte[4] != 0 &&
                              exec.CDBByte[4] <= exec.SRB_BufLen && exec.SRB_BufPointer &&
                              (exec.SRB_Flags & SRB_DIR_IN) && (exec.SRB_Flags & SRB_EVENT_NOTIFY);
      const auto event = reinterpret_cast<platform::THandle>(exec.SRB_PostProc);
      if (!FEvents.count(event)) throw std::logic_error("request without an open event");
      exec.SRB_Status = SS_PENDING;
      if (device != AspiDevices.end() && device->Hangs) return SS_PENDING;
      if (device != AspiDevices.end() && wellFormed) {
        // A device may answer nothing at all: no copy from an empty buffer.
        std::copy_n(device->Inquiry.begin(),
                    std::min<std::size_t>(device->Inquiry.size(), exec.CDBByte[4]),
                    exec.SRB_BufPointer);
        exec.SRB_Status = SS_COMP;
      } else {
        exec.SRB_Status = SS_ERR;
      }
      FEvents[event] = true;
      return SS_PENDING;
    }
    case SC_GET_DISK_INFO: {
      auto& info = *static_cast<SRB_GetDiskInfo*>(srb);
      for (const TAspiDevice& d : AspiDevices)
        if (d.Adapter == info.SRB_HaId && d.Target == info.SRB_Target && d.Lun == info.SRB_Lun &&
            d.DiskInfoDrive >= 0) {
          info.SRB_Int13HDriveInfo = static_cast<std::uint8_t>(d.DiskInfoDrive);
          return info.SRB_Status = SS_COMP;
        }
      return info.SRB_Status = SS_ERR;
    }
    default:
      throw std::logic_error("unexpected ASPI command");
  }
}

platform::THandle TFakeScsi::NewEvent() {
  FEvents[++FNext] = false;
  return FNext;
}

bool TFakeScsi::WaitEvent(platform::THandle event, unsigned ms) {
  Waits.push_back(ms);
  return FEvents.at(event);
}

void TFakeScsi::CloseEvent(platform::THandle event) {
  if (!FEvents.erase(event)) throw std::logic_error("closing an event that is not open");
}

platform::THandle TFakeScsi::OpenDevice(const std::string& name, bool write) {
  Calls.push_back("Open " + name + (write ? " rw" : " r"));
  if (Drives) ErrorModesAtOpen.insert(Drives->ErrorMode);
  if (name.size() != 6 || name.compare(0, 4, "\\\\.\\") != 0 || name[5] != ':') return 0;
  const auto it = Devices.find(name[4]);
  if (it == Devices.end() || !(write ? it->second.OpensForWriting : it->second.OpensForReading))
    return 0;
  FDevices[++FNext] = name[4];
  return FNext;
}

void TFakeScsi::CloseDevice(platform::THandle device) {
  if (!FDevices.erase(device)) throw std::logic_error("closing a device that is not open");
}

bool TFakeScsi::PassThrough(platform::THandle device, platform::TScsiPassThrough& request) {
  const TDevice& d = Devices.at(FDevices.at(device));
  if (d.Inquiry.empty() || request.Cdb[0] != 0x12 || request.CdbLength != 6 ||
      request.Direction != platform::TScsiDirection::In || !request.Data ||
      request.Cdb[4] > request.DataLength)
    return false;
  std::memcpy(request.Data, d.Inquiry.data(),
              std::min<std::size_t>(d.Inquiry.size(), request.Cdb[4]));
  request.ScsiStatus = 0;
  return true;
}

bool TFakeScsi::GetAddress(platform::THandle device, platform::TScsiAddress& address) {
  const TDevice& d = Devices.at(FDevices.at(device));
  if (d.HasAddress) address = d.Address;
  return d.HasAddress;
}

}  // namespace fakes
