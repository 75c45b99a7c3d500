#include <gtest/gtest.h>

#include "fakes/Fakes.h"
#include "policies/OSVersion.h"

using namespace policies;

namespace {

TEST(OSVersion, EveryReportedSystemGetsItsCode) {
  struct TRow {
    std::uint32_t Platform, Major, Minor;
    const char* Csd;
    int Code;
  };
  const TRow rows[] = {
      {1, 4, 0, "", 0},   {1, 4, 0, " C", 0},    // 95, OSR2
      {1, 4, 10, "", 1},  {1, 4, 10, " A ", 2},  // 98, 98 SE
      {1, 4, 10, "A", 1}, {1, 4, 10, " B", 1},   // only a second "A" counts
      {1, 4, 90, "", 3},  {1, 4, 20, "", -1},    // Me, none
      {1, 5, 0, "", -1},  {2, 3, 51, "", 4},     // NT 3.51
      {2, 4, 0, "", 4},   {2, 5, 0, "", 5},      // NT 4.0, 2000
      {2, 5, 1, "", 6},   {2, 5, 2, "", 7},      // XP, XP x64 and Server 2003
      {2, 6, 1, "", 7},   {2, 10, 0, "", 7},     // 7, 10 and 11
      {0, 3, 10, "", -1}, {3, 4, 0, "", -1},     // Win32s, CE
  };
  for (const TRow& row : rows) {
    platform::TOsVersionInfo info{row.Major, row.Minor, 0, row.Platform, row.Csd};
    EXPECT_EQ(OSCodeOf(info), row.Code)
        << row.Platform << " " << row.Major << "." << row.Minor << " '" << row.Csd << "'";
  }
}

TEST(OSVersion, LaterNtSystemsTakeTheNtAndXpWaysAndAnUnknownOneThe9xWay) {
  EXPECT_TRUE(IsNtFamily(7) && IsXp(7) && !Is9xFamily(7));
  EXPECT_TRUE(IsNtFamily(5) && !IsXp(5));
  EXPECT_TRUE(Is9xFamily(-1) && !IsNtFamily(-1) && !IsXp(-1));
  EXPECT_TRUE(Is9xFamily(3) && !IsNtFamily(3));
}

TEST(OSVersion, EachCallAsksTheRunningSystemAndAnUnreadableVersionIsUnknown) {
  fakes::TFakeSystem system;
  EXPECT_EQ(GetOperatingSystem(), -1);
  system.Os.Set(platform::kVerPlatformWin32Nt, 5, 1);
  EXPECT_EQ(GetOperatingSystem(), 6);
  EXPECT_EQ(system.Os.Calls, (std::vector<std::string>{"GetVersionInfo", "GetVersionInfo"}));
  platform::TScopedServices none{platform::TServices{}};
  EXPECT_EQ(GetOperatingSystem(), -1);
}

}  // namespace
