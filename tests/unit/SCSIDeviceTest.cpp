#include <gtest/gtest.h>

#include "drives/OpticalDrive.h"
#include "fakes/FakeScsi.h"
#include "fakes/Fakes.h"

using platform::TAspiLoad;

namespace {

const auto kCdRw = fakes::InquiryData(5, "MORVEL", "CD-RW  8x", "1.0");
const auto kDvd = fakes::InquiryData(5, "TANDREL ", "DVD-ROM 16x     ", "A1B2");
const auto kWorm = fakes::InquiryData(4, "OLDCO", "WORM", "");

using TDevice = fakes::TFakeScsi::TDevice;
TDevice Drive(std::vector<std::uint8_t> inquiry = {}, bool forWriting = true,
              bool forReading = true) {
  TDevice device;
  device.Inquiry = std::move(inquiry);
  device.OpensForWriting = forWriting;
  device.OpensForReading = forReading;
  return device;
}

class SCSIDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { Scsi.Drives = &System.Drives; }

  void AddCdRom(char letter, TDevice device) {
    System.Drives.AddDrive(letter, platform::kDriveCdRom);
    Scsi.Devices[letter] = device;
  }
  std::string Beside() const { return System.Drives.Dir + "WNASPI32.DLL"; }
  std::string InSystem() const { return Scsi.System + "WNASPI32.DLL"; }
  std::vector<std::string> Loads() const {
    std::vector<std::string> loads;
    for (const std::string& call : Scsi.Calls)
      if (call.rfind("Load ", 0) == 0) loads.push_back(call.substr(5));
    return loads;
  }
  const std::vector<std::string>& Run(bool preferPassThrough = true) {
    Result = Burner->InitializeASPI(preferPassThrough);
    EXPECT_EQ(Burner->ASPIInitialized(), Result);
    EXPECT_EQ(Scsi.OpenDevices(), 0u) << "a device was left open";
    EXPECT_EQ(System.Drives.ErrorMode, 0u) << "the error mode was not put back";
    return Burner->DeviceList().Items();
  }

  fakes::TFakeSystem System;
  fakes::TFakeScsi Scsi;
  platform::TScopedServices Scope{[this] {
    platform::TServices services = platform::Services();
    services.Scsi = &Scsi;
    return services;
  }()};
  platform::TApplication App;
  drives::TOpticalDrive* Burner =
      platform::TComponent::Create<drives::TOpticalDrive>(&App, "MCDBurner1");
  bool Result = false;
};

TEST_F(SCSIDeviceTest, LibraryScanListsOpticalDevicesWithTheirLetters) {
  Scsi.Libraries[Beside()] = TAspiLoad::Loaded;
  Scsi.AdapterCount = 2;
  Scsi.AspiDevices = {
      {0, 3, 2, kCdRw},                                  // D: names this address (any LUN)
      {0, 5, 0, fakes::InquiryData(0, "DISK", "", "")},  // a disk: not listed
      {1, 0, 0, kWorm, false, 4},                        // E: from the disk information
      {1, 1, 0, kDvd, true},                             // never answers
      {1, 2, 1, kDvd},                                   // no letter anywhere
      {1, 4, 0, fakes::InquiryData(0x25, "Q", "", "")},  // qualifier bits set: not listed
  };
  AddCdRom('D', Drive().At(0, 3));
  Scsi.Devices['F'] = Drive().At(1, 1);  // target 1, not 2

  EXPECT_EQ(Run(false), (std::vector<std::string>{
                            "0:3:2,D: MORVEL  CD-RW  8x       1.0 ",
                            "1:0:0,E: OLDCO   WORM                 (not supported)",
                            "1:2:1,?: TANDREL DVD-ROM 16x     A1B2",
                        }));
  EXPECT_TRUE(Result);
  EXPECT_EQ(Scsi.InquiriesPerAdapter, (std::map<int, int>{{0, 64}, {1, 64}}));
  EXPECT_EQ(Scsi.Waits, std::vector<unsigned>(128, 10000));
  // The request that never came back keeps its event; every other is closed.
  EXPECT_EQ(Scsi.OpenEvents(), 1u);
  EXPECT_EQ(Scsi.ErrorModesAtOpen, std::set<unsigned>{1});
  const std::weak_ptr<void> library = Scsi.HoldAspiLibrary();
  Scsi.LoadAspiLibrary("");  // the service lets its library go
  EXPECT_FALSE(library.expired()) << "unloaded while a request may still complete";
}

TEST_F(SCSIDeviceTest, AdapterInquiryDecidesHowManyAdaptersAreScanned) {
  Scsi.Libraries[Beside()] = TAspiLoad::Loaded;
  Scsi.AdapterCount = 0;  // read as seven
  Scsi.AspiDevices = {{6, 7, 7, kDvd, false, 5}};
  EXPECT_EQ(Run(), std::vector<std::string>{"6:7:7,F: TANDREL DVD-ROM 16x     A1B2"});
  EXPECT_EQ(Scsi.InquiriesPerAdapter.size(), 7u);

  Scsi.AdapterInquiryFails = true;
  Scsi.InquiriesPerAdapter.clear();
  EXPECT_TRUE(Run().empty());
  EXPECT_TRUE(Result);
  EXPECT_TRUE(Scsi.InquiriesPerAdapter.empty());
  const std::weak_ptr<void> library = Scsi.HoldAspiLibrary();
  Scsi.LoadAspiLibrary("");
  EXPECT_TRUE(library.expired());
}

TEST_F(SCSIDeviceTest, PassThroughGivesDrivesWithoutAddressAnAdapterOfTheirOwn) {
  System.Drives.AddDrive('C', 3);
  AddCdRom('D', Drive(kCdRw).At(2, 1));
  AddCdRom('E', Drive(kDvd));
  AddCdRom('F', Drive(kWorm, false));
  AddCdRom('G', Drive());  // opens, but its INQUIRY fails
  AddCdRom('H', Drive(kDvd, false, false));
  AddCdRom('Z', Drive(kDvd).At(2, 1));
  Scsi.Devices['Z'].Address.PathId = 1;          // told from D by its path alone
  Scsi.Devices['C'] = Drive().At(3, 1);          // a disk: port 3 is not adapter 3
  Scsi.Libraries[Beside()] = TAspiLoad::Loaded;  // not wanted: pass-through comes first

  EXPECT_EQ(Run(), (std::vector<std::string>{
                       "2:1:0,D: MORVEL  CD-RW  8x       1.0 ",
                       "3:0:0,E: TANDREL DVD-ROM 16x     A1B2",
                       "3:1:0,F: OLDCO   WORM                 (not supported)",
                       "4:1:0,Z: TANDREL DVD-ROM 16x     A1B2",
                   }));
  EXPECT_TRUE(Loads().empty());
  // The start opens the CD-ROM drives alone, each for reading only when
  // writing is refused; the drive-letter search comes after it, from B.
  const std::vector<std::string> start(
      Scsi.Calls.begin(), std::find(Scsi.Calls.begin(), Scsi.Calls.end(), "Open \\\\.\\B: rw"));
  EXPECT_EQ(start,
            (std::vector<std::string>{"Open \\\\.\\D: rw", "Open \\\\.\\E: rw", "Open \\\\.\\F: rw",
                                      "Open \\\\.\\F: r", "Open \\\\.\\G: rw", "Open \\\\.\\H: rw",
                                      "Open \\\\.\\H: r", "Open \\\\.\\Z: rw"}));
  EXPECT_EQ(Scsi.ErrorModesAtOpen, std::set<unsigned>{1});

  Burner->SelectDevice(Burner->DeviceList()[0]);
  EXPECT_EQ(Burner->CurrentDevice(), (drives::TScsiDeviceAddress{2, 1, 0}));
  Burner->SelectDevice("12:0:0,D: X");  // no single digits: kept
  EXPECT_EQ(Burner->CurrentDevice(), (drives::TScsiDeviceAddress{2, 1, 0}));
}

TEST_F(SCSIDeviceTest, LibraryIsLookedForBesideTheProgramThenInTheSystemFolderOnly) {
  struct TRow {
    const char* What;
    bool Prefer;
    TAspiLoad BesideLoads, SystemLoads;
    bool DriveAnswers;
    bool Want;
    int WantLoads;
  } rows[] = {
      {"beside the program", false, TAspiLoad::Loaded, TAspiLoad::Loaded, true, true, 1},
      {"in the system folder", false, TAspiLoad::NoLibrary, TAspiLoad::Loaded, true, true, 2},
      {"a function missing", false, TAspiLoad::MissingFunction, TAspiLoad::Loaded, true, false, 1},
      {"a function missing, preferred", true, TAspiLoad::MissingFunction, TAspiLoad::Loaded, false,
       false, 1},
      {"no library: pass-through", false, TAspiLoad::NoLibrary, TAspiLoad::NoLibrary, true, true,
       2},
      {"nothing at all", true, TAspiLoad::NoLibrary, TAspiLoad::NoLibrary, false, false, 2},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.What);
    fakes::TFakeScsi fresh;
    platform::TServices services = platform::Services();
    services.Scsi = &fresh;
    const platform::TScopedServices scope(services);
    drives::TOpticalDrive burner(nullptr);
    fresh.Libraries = {{Beside(), row.BesideLoads}, {InSystem(), row.SystemLoads}};
    fresh.AspiDevices = {{0, 1, 0, kCdRw, false, 3}};
    System.Drives.AddDrive('D', platform::kDriveCdRom);
    fresh.Devices['D'] = Drive(row.DriveAnswers ? kDvd : std::vector<std::uint8_t>{});

    EXPECT_EQ(burner.InitializeASPI(row.Prefer), row.Want);
    EXPECT_EQ(burner.DeviceList().Count(), row.Want ? 1 : 0);
    std::vector<std::string> loads, want = {Beside(), InSystem()};
    for (const std::string& call : fresh.Calls)
      if (call.rfind("Load ", 0) == 0) loads.push_back(call.substr(5));
    want.resize(row.WantLoads);
    EXPECT_EQ(loads, want);
  }
}

TEST_F(SCSIDeviceTest, WithoutAnyLayerTheListStaysEmpty) {
  EXPECT_TRUE(Run().empty());
  EXPECT_FALSE(Result);
  EXPECT_EQ(Loads(), (std::vector<std::string>{Beside(), InSystem()}));

  Scsi.Calls.clear();
  Scsi.System.clear();  // the system folder is unknown: no bare name is tried
  EXPECT_TRUE(Run().empty());
  EXPECT_EQ(Loads(), std::vector<std::string>{Beside()});
}

}  // namespace
