// Part of every scenario: the Wine prefix must show exactly the CD-ROM drives
// the scenario script made, or the program's results mean nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "MorvelProcess.h"

namespace e2e {
namespace {

TEST(Prefix, ScenarioDrivesAreTheOnlyCdRomDrives) {
  const char* Wanted = std::getenv("MORVEL_E2E_CDROMS");
  ASSERT_NE(Wanted, nullptr) << "MORVEL_E2E_CDROMS is not set";
  std::string Found;
  const DWORD Mask = GetLogicalDrives();
  for (char Letter = 'A'; Letter <= 'Z'; ++Letter) {
    if (!(Mask & (1u << (Letter - 'A')))) continue;
    const char Root[] = {Letter, ':', '\\', '\0'};
    if (GetDriveTypeA(Root) == DRIVE_CDROM) Found += Letter;
  }
  EXPECT_EQ(Found, Wanted);
  EXPECT_FALSE(MorvelExePath().empty()) << "MORVEL_EXE is not set";
  EXPECT_NE(GetFileAttributesA(MorvelExePath().c_str()), INVALID_FILE_ATTRIBUTES)
      << MorvelExePath();
}

}  // namespace
}  // namespace e2e
