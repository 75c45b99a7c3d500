// The optical-drive query over devices of any INQUIRY bytes and addresses,
// through an ASPI library or the pass-through layer: every entry has the
// device entry's shape and one address of its own, selecting an entry
// selects its address, and no device or event is left open.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>

#include "Fuzz.h"
#include "drives/SCSIDevice.h"
#include "fakes/FakeScsi.h"
#include "fakes/Fakes.h"

namespace {

constexpr std::string_view kNotSupported = " (not supported)";
constexpr std::size_t kTexts = 8 + 16 + 4;  // vendor, product, revision

std::vector<std::uint8_t> Inquiry(FuzzedDataProvider& in, std::size_t most) {
  return in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, most));
}

void CheckEntry(drives::TSCSIDevice& device, const std::string& entry) {
  int adapter = -1, target = -1, lun = -1, used = 0;
  FUZZ_CHECK(std::sscanf(entry.c_str(), "%d:%d:%d,%n", &adapter, &target, &lun, &used) == 3 &&
             used > 0);
  const std::size_t at = static_cast<std::size_t>(used);
  FUZZ_CHECK(entry.compare(0, at,
                           std::to_string(adapter) + ':' + std::to_string(target) + ':' +
                               std::to_string(lun) + ',') == 0);
  FUZZ_CHECK(entry.size() >= at + 3 + kTexts);
  const char letter = entry[at];
  FUZZ_CHECK(((letter >= 'A' && letter <= 'Z') || letter == '?') && entry[at + 1] == ':' &&
             entry[at + 2] == ' ');
  const std::size_t rest = entry.size() - (at + 3 + kTexts);
  FUZZ_CHECK(rest == 0 || (rest == kNotSupported.size() &&
                           entry.compare(entry.size() - rest, rest, kNotSupported) == 0));
  if (adapter < 10 && target < 10 && lun < 10) {
    device.SelectDevice(entry);
    FUZZ_CHECK(device.CurrentDevice() == (drives::TScsiDeviceAddress{adapter, target, lun}));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fakes::TFakeSystem system;
  fakes::TFakeScsi scsi;
  scsi.Drives = &system.Drives;
  const platform::TScopedServices scope{[&] {
    platform::TServices services = platform::Services();
    services.Scsi = &scsi;
    return services;
  }()};

  const bool preferPassThrough = in.ConsumeBool();
  if (in.ConsumeBool())
    scsi.Libraries[system.Drives.Dir + drives::kAspiLibrary] = platform::TAspiLoad::Loaded;
  // Few adapters: each one is a scan of 64 addresses (none reported means 7).
  scsi.AdapterCount = in.ConsumeIntegralInRange(0, 3);
  scsi.AdapterInquiryFails = in.ConsumeIntegralInRange(0, 7) == 0;
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) {
    fakes::TFakeScsi::TAspiDevice d;
    d.Adapter = in.ConsumeIntegralInRange(0, 7);
    d.Target = in.ConsumeIntegralInRange(0, 7);
    d.Lun = in.ConsumeIntegralInRange(0, 7);
    d.DiskInfoDrive = in.ConsumeIntegralInRange(-1, 255);
    d.Inquiry = Inquiry(in, 128);
    scsi.AspiDevices.push_back(d);
  }
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) {
    const char letter = static_cast<char>('C' + in.ConsumeIntegralInRange(0, 23));
    system.Drives.AddDrive(letter, platform::kDriveCdRom);
    fakes::TFakeScsi::TDevice& d = scsi.Devices[letter];
    d.OpensForWriting = in.ConsumeBool();
    d.Inquiry = Inquiry(in, 96);
    // Mostly the first ports, for the same reason.
    if (in.ConsumeBool())
      d.At(in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeIntegral<std::uint8_t>()
                                                : in.ConsumeIntegralInRange<std::uint8_t>(0, 3),
           in.ConsumeIntegral<std::uint8_t>(), in.ConsumeIntegral<std::uint8_t>());
  }

  // Through the pass-through layer every optical drive that answers is
  // listed with its own letter, when the drives' addresses are apart and
  // within what the scan visits.
  std::set<std::pair<int, int>> places;
  bool answered = false, apart = true;
  std::size_t optical = 0;
  for (const auto& [letter, d] : scsi.Devices) {
    // The letter search matches port and target alone, silent devices too.
    if (d.HasAddress)
      apart = apart && d.Address.PortNumber < 200 && d.Address.TargetId < 8 && d.Address.Lun < 8 &&
              places.insert({d.Address.PortNumber, d.Address.TargetId}).second;
    if (d.Inquiry.empty()) continue;
    answered = true;
    optical += (d.Inquiry[0] == 4 || d.Inquiry[0] == 5);
  }
  const bool passThrough = answered && (preferPassThrough || scsi.Libraries.empty());

  drives::TSCSIDevice device(nullptr);
  const bool found = device.InitializeASPI(preferPassThrough);
  FUZZ_CHECK(scsi.OpenDevices() == 0 && scsi.OpenEvents() == 0 && system.Drives.ErrorMode == 0);
  FUZZ_CHECK(found || device.DeviceList().Count() == 0);
  std::set<std::string> addresses;
  std::set<char> letters;
  for (const std::string& entry : device.DeviceList().Items()) {
    CheckEntry(device, entry);
    FUZZ_CHECK(addresses.insert(entry.substr(0, entry.find(','))).second);
    const char letter = entry[entry.find(',') + 1];
    if (passThrough && apart)
      FUZZ_CHECK(scsi.Devices.count(letter) && letters.insert(letter).second);
  }
  if (passThrough && apart) FUZZ_CHECK(device.DeviceList().Count() == static_cast<int>(optical));
  return 0;
}
