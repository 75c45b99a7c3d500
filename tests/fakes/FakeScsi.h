// A SCSI service in memory: an ASPI library with devices behind it, and
// drive devices that answer the pass-through requests. Devices answer only
// well-formed INQUIRY requests, so a request built wrong finds nothing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Scsi.h"

namespace fakes {

class TFakeDrives;

// 36 bytes of INQUIRY data: the type byte and the vendor, product and
// revision texts, padded with blanks to 8, 16 and 4 characters.
std::vector<std::uint8_t> InquiryData(std::uint8_t type, const std::string& vendor,
                                      const std::string& product, const std::string& revision);

class TFakeScsi : public platform::TScsiService {
 public:
  // The ASPI library: how each full path loads; other paths find nothing.
  std::map<std::string, platform::TAspiLoad> Libraries;
  std::string System = "C:\\WINDOWS\\SYSTEM32\\";
  int AdapterCount = 1;  // what the adapter inquiry reports
  bool AdapterInquiryFails = false;
  struct TAspiDevice {
    int Adapter, Target, Lun;
    std::vector<std::uint8_t> Inquiry;
    bool Hangs = false;      // never completes
    int DiskInfoDrive = -1;  // the drive number the disk information gives
  };
  std::vector<TAspiDevice> AspiDevices;

  // Drive devices by letter ("\\.\E:").
  struct TDevice {
    bool OpensForWriting = true;
    bool OpensForReading = true;
    std::vector<std::uint8_t> Inquiry;  // empty: the INQUIRY fails
    bool HasAddress = false;
    platform::TScsiAddress Address;
    TDevice& At(std::uint8_t port, std::uint8_t target, std::uint8_t lun = 0) {
      HasAddress = true;
      Address.PortNumber = port;
      Address.TargetId = target;
      Address.Lun = lun;
      return *this;
    }
  };
  std::map<char, TDevice> Devices;
  // When set, the error mode in force at every device opening is recorded.
  const TFakeDrives* Drives = nullptr;
  std::set<unsigned> ErrorModesAtOpen;

  // "Load path", "Open \\.\E: rw", "Open \\.\E: r"; and for the library's
  // requests the count of INQUIRYs per adapter.
  std::vector<std::string> Calls;
  std::map<int, int> InquiriesPerAdapter;
  std::vector<unsigned> Waits;  // the time-out of each wait

  std::size_t OpenEvents() const { return FEvents.size(); }
  std::size_t OpenDevices() const { return FDevices.size(); }

  platform::TAspiLoad LoadAspiLibrary(const std::string& path) override;
  std::uint32_t GetASPI32SupportInfo() override;
  std::uint32_t SendASPI32Command(void* srb) override;
  std::shared_ptr<void> HoldAspiLibrary() override { return FLibrary; }
  std::string SystemDir() override { return System; }
  platform::THandle NewEvent() override;
  bool WaitEvent(platform::THandle event, unsigned ms) override;
  void CloseEvent(platform::THandle event) override;
  platform::THandle OpenDevice(const std::string& name, bool write) override;
  void CloseDevice(platform::THandle device) override;
  bool PassThrough(platform::THandle device, platform::TScsiPassThrough& request) override;
  bool GetAddress(platform::THandle device, platform::TScsiAddress& address) override;

 private:
  std::map<platform::THandle, bool> FEvents;  // signalled or not
  std::map<platform::THandle, char> FDevices;
  platform::THandle FNext = 0x5000;
  bool FLoaded = false;
  std::shared_ptr<void> FLibrary;
};

}  // namespace fakes
