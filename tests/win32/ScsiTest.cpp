// The SCSI service and the optical-drive component against the real system
// under Wine, with the test ASPI library (tests/aspi) placed where each case
// needs it: beside the test program, or only in the current directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drives/OpticalDrive.h"
#include "platform/Application.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Scsi.h"

using namespace platform;
using namespace platform::win32;

namespace {

const std::vector<std::string> kTestDevices = {"1:0:0,D: MORVEL  CD-RW TEST DRIVE1.00",
                                               "1:1:0,E: MORVEL  DVD-ROM TEST    2.00"};

std::string ProgramDir() { return TWin32Drives().ProgramDir(); }
std::string TestLibrary() { return ProgramDir() + "aspi\\WNASPI32.DLL"; }

// The device list of a component started with the real services; the
// library is let go again when they end.
std::vector<std::string> ListDevices(bool preferPassThrough, bool* initialized = nullptr) {
  TWin32Drives drives;
  TWin32Scsi scsi;
  TServices services = Services();
  services.Drives = &drives;
  services.Scsi = &scsi;
  const TScopedServices scope(services);
  drives::TOpticalDrive burner(nullptr);
  const bool result = burner.InitializeASPI(preferPassThrough);
  if (initialized) *initialized = result;
  return burner.DeviceList().Items();
}

TEST(Win32Scsi, LibraryBesideTheProgramListsItsDevices) {
  const std::string beside = ProgramDir() + "WNASPI32.DLL";
  ASSERT_TRUE(CopyFileA(TestLibrary().c_str(), beside.c_str(), FALSE)) << TestLibrary();
  bool initialized = false;
  // No CD-ROM drive answers the pass-through requests here, so the library
  // is chosen even when pass-through is preferred.
  EXPECT_EQ(ListDevices(true, &initialized), kTestDevices);
  EXPECT_TRUE(initialized);
  EXPECT_TRUE(DeleteFileA(beside.c_str())) << "the library was not let go";
}

TEST(Win32Scsi, LibraryInTheCurrentDirectoryAloneIsNeverLoaded) {
  char temp[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string folder = std::string(temp) + "morvel-aspi-cwd\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string planted = folder + "WNASPI32.DLL";
  ASSERT_TRUE(CopyFileA(TestLibrary().c_str(), planted.c_str(), FALSE));
  char saved[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));

  for (const std::string& entry : ListDevices(false))
    EXPECT_EQ(entry.find("MORVEL"), std::string::npos) << entry;
  // Nor by the system's search once the program has taken the current
  // directory out of it.
  RemoveCurrentDirectoryFromLibrarySearch();
  if (HMODULE found = LoadLibraryA("WNASPI32.DLL")) {
    EXPECT_NE(found, GetModuleHandleA(planted.c_str()));
    FreeLibrary(found);
  }

  SetCurrentDirectoryA(saved);
  EXPECT_TRUE(DeleteFileA(planted.c_str()));
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
