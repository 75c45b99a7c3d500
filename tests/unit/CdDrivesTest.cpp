#include <gtest/gtest.h>

#include "drives/CdDrives.h"
#include "fakes/Fakes.h"
#include "platform/TextFields.h"

using platform::GetNthField;
using platform::kMciClose;
using platform::kMciOpen;
using platform::kMciOpenElement;
using platform::kMciOpenType;
using platform::kMciSet;
using platform::kMciSetDoorClosed;
using platform::kMciSetDoorOpen;

namespace {

TEST(GetNthField, CutsTextsLikeTheDeviceEntriesAndStartLinesNeed) {
  struct TRow {
    char Sep;
    const char* Text;
    int N;
    const char* Want;
  } rows[] = {
      {',', "1:0:0,E: ABC", 2, "E: ABC"},
      {',', "setup.exe,2", 1, "setup.exe"},
      {' ', "setup.exe /s", 1, "setup.exe"},
      {',', "abc", 2, ""},
      {',', "a,b,c", 2, "b"},
      {',', "", 1, ""},
      {',', "abc", 0, ""},
      {',', "abc", -3, ""},
      {',', "a,b,c", 3, "c"},
      {',', "a,b,", 3, ""},  // a trailing separator ends the text, it adds no field
      {',', ",x", 1, ""},
      {',', ",x", 2, "x"},
  };
  for (const TRow& r : rows)
    EXPECT_EQ(GetNthField(r.Sep, r.Text, r.N), r.Want) << '"' << r.Text << "\" n=" << r.N;
}

class DriveListTest : public ::testing::Test {
 protected:
  fakes::TFakeSystem System;
  platform::TApplication App;
};

TEST_F(DriveListTest, EmptyMaskAsksNoDriveType) {
  platform::TStrings list;
  list.Add("stale");
  drives::ListCdDrives(list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(System.Drives.Calls, std::vector<std::string>{"GetLogicalDrives"});
}

TEST_F(DriveListTest, ListsOnlyCdRomDrivesInLetterOrder) {
  System.Drives.AddDrive('A', 2);
  System.Drives.AddDrive('C', 3);
  System.Drives.AddCdRom('E');
  System.Drives.AddCdRom('D');
  System.Drives.AddCdRom('Z');
  platform::TStrings list;
  drives::ListCdDrives(list);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"D:", "E:", "Z:"}));
  // The type is asked with the letter and a colon, and only for drives present.
  EXPECT_EQ(System.Drives.Calls.size(), 1u + 5u);
  EXPECT_EQ(System.Drives.Calls[1], "GetDriveType A:");
}

TEST_F(DriveListTest, DiskInDriveReadsTheRootWithCriticalErrorsOff) {
  System.Drives.ErrorMode = 0x8000;
  System.Drives.AddCdRom('E', true);
  System.Drives.AddCdRom('F', false);
  EXPECT_TRUE(drives::DiskInDrive('e'));
  EXPECT_FALSE(drives::DiskInDrive('F'));
  EXPECT_EQ(System.Drives.Calls[1], "GetVolumeSize E:\\");
  EXPECT_EQ(
      System.Drives.ErrorModesDuringVolumeQuery,
      (std::vector<unsigned>{platform::kSemFailCriticalErrors, platform::kSemFailCriticalErrors}));
  EXPECT_EQ(System.Drives.ErrorMode, 0x8000u);
}

TEST_F(DriveListTest, DiskInDriveRestoresTheErrorModeWhenTheQueryRaises) {
  System.Drives.ErrorMode = 0x8001;
  System.Drives.ThrowOnVolumeQuery = true;
  EXPECT_THROW(drives::DiskInDrive('D'), platform::EInOutError);
  EXPECT_EQ(System.Drives.ErrorMode, 0x8001u);
}

TEST_F(DriveListTest, DiskInDriveRefusesWhatIsNotALetterWithoutTouchingTheSystem) {
  for (char c : {'1', ':', '\0', '@', '[', '`', '{', '\xC5'}) {
    try {
      drives::DiskInDrive(c);
      ADD_FAILURE() << "no error for " << int(c);
    } catch (const platform::EConvertError& e) {
      EXPECT_STREQ(e.what(), "Not a valid drive ID");
    }
  }
  EXPECT_TRUE(System.Drives.Calls.empty());
}

class TrayCommandTest : public DriveListTest {};

TEST_F(TrayCommandTest, OpenSendsOpenDoorAndCloseForTheDriveAsTyped) {
  drives::OpenCD('e');
  const auto& c = System.Media.Calls;
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0].Device, 0u);
  EXPECT_EQ(c[0].Message, kMciOpen);
  EXPECT_EQ(c[0].Flags, kMciOpenType | kMciOpenElement);
  EXPECT_TRUE(c[0].HasParms);
  EXPECT_EQ(c[0].DeviceType, "CDAudio");
  EXPECT_EQ(c[0].ElementName, "e:");  // the letter reaches the driver unchanged
  EXPECT_EQ(c[1].Device, 7u);
  EXPECT_EQ(c[1].Message, kMciSet);
  EXPECT_EQ(c[1].Flags, kMciSetDoorOpen);
  EXPECT_FALSE(c[1].HasParms);
  EXPECT_EQ(c[2].Device, 7u);
  EXPECT_EQ(c[2].Message, kMciClose);
  EXPECT_EQ(c[2].Flags, kMciOpenType | kMciOpenElement);
  EXPECT_TRUE(c[2].HasParms);
}

TEST_F(TrayCommandTest, CloseUsesTheClosedDoorFlag) {
  drives::CloseCD('D');
  ASSERT_EQ(System.Media.Calls.size(), 3u);
  EXPECT_EQ(System.Media.Calls[1].Flags, kMciSetDoorClosed);
  EXPECT_EQ(System.Media.Calls[0].ElementName, "D:");
}

TEST_F(TrayCommandTest, AFailedOpenSendsNothingMore) {
  System.Media.OpenResult = 275;  // MCIERR_CANNOT_LOAD_DRIVER-like
  drives::OpenCD('D');
  EXPECT_EQ(System.Media.Calls.size(), 1u);
}

TEST_F(TrayCommandTest, TheDeviceIsClosedWhenTheDoorCommandFailsOrRaises) {
  System.Media.DoorResult = 0x113;
  drives::OpenCD('D');
  ASSERT_EQ(System.Media.Calls.size(), 3u);
  EXPECT_EQ(System.Media.Calls[2].Message, kMciClose);

  System.Media.Calls.clear();
  System.Media.ThrowOnDoor = true;
  EXPECT_THROW(drives::CloseCD('D'), platform::Exception);
  ASSERT_EQ(System.Media.Calls.size(), 3u);
  EXPECT_EQ(System.Media.Calls[2].Message, kMciClose);
  EXPECT_EQ(System.Media.Calls[2].Device, 7u);
}

TEST_F(DriveListTest, IconFileIsTheLowerCaseLetterBesideTheProgram) {
  EXPECT_EQ(drives::GetIcoFileName('E'), "C:\\Program Files\\Morvel\\e.ico");
  EXPECT_EQ(drives::GetIcoFileName('d'), "C:\\Program Files\\Morvel\\d.ico");
}

}  // namespace
