#include <gtest/gtest.h>

#include "platform/DeviceNames.h"

namespace {

TEST(DeviceNames, AReservedNameIsADeviceInAnyFolderWithAnyExtension) {
  for (const char* path :
       {"aux", "C:\\Program Files\\Morvel\\aux.lng", "D:/x/Com1.txt", "C:nul", "con .lng",
        "prn.a.b", "LPT9", "com\xB9.lng", "aux:stream", "C:\\x\\conout$", "clock$.inf"}) {
    EXPECT_TRUE(platform::NamesADevice(path)) << path;
  }
  for (const char* path : {"", "auxx.lng", "com0", "com10", "lpt", "xaux", "C:\\aux\\file.lng",
                           "D:\\Autorun.inf", "C:\\Morvel\\english.lng"}) {
    EXPECT_FALSE(platform::NamesADevice(path)) << path;
  }
}

}  // namespace
