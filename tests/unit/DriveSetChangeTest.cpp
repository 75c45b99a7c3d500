#include <gtest/gtest.h>

#include "drives/DriveSetChange.h"

namespace {

using drives::TLetterSet;

TLetterSet Letters(const char* letters) {
  TLetterSet set = 0;
  for (; *letters; ++letters) set |= drives::LetterBit(*letters);
  return set;
}

TEST(DriveSetChange, FollowsTheCdRomDrivesOfTheSystem) {
  struct TRow {
    const char* Case;
    const char* Listed;
    char Current;
    const char* CdRoms;  // now; C is a hard disk and F a USB stick throughout
    const char* Media;
    bool DiscIcons;
    const char* Removed;
    const char* Added;
    char WantCurrent;
    const char* Recheck;
  } rows[] = {
      {"arrival before the current", "E", 'E', "DE", "", false, "", "D", 'E', ""},
      {"arrival, disc icons on", "E", 'E', "DE", "", true, "", "D", 'E', "D"},
      {"arrival in an empty box", "", '\0', "G", "", false, "", "G", 'G', ""},
      {"removal of the current", "DEG", 'E', "DG", "", false, "E", "", 'D', ""},
      {"removal of another", "DEG", 'E', "EG", "", true, "D", "", 'E', ""},
      {"removal of the last", "E", 'E', "", "", true, "E", "", '\0', ""},
      {"typed text stays", "DE", 'e', "D", "", false, "E", "", 'e', ""},
      {"eighth drive", "DEGHIJK", 'D', "DEGHIJKL", "", true, "", "", 'D', ""},
      {"eighth before the rest", "EGHIJKL", 'E', "DEGHIJKL", "", true, "", "", 'E', ""},
      {"room again for it", "DEGHIJK", 'D', "DGHIJKL", "", false, "E", "L", 'D', ""},
      {"non-CD-ROM letter", "D", 'D', "D", "F", true, "", "", 'D', ""},
      {"media in or out, on", "DE", 'D', "DE", "E", true, "", "", 'D', "E"},
      {"media in or out, off", "DE", 'D', "DE", "E", false, "", "", 'D', ""},
      {"media of a drive that went", "DE", 'D', "D", "E", true, "E", "", 'D', ""},
  };
  for (const TRow& r : rows) {
    drives::TDriveSetChange change;
    change.Listed = Letters(r.Listed);
    change.Current = r.Current;
    change.Types['C' - 'A'] = 3;
    change.Types['F' - 'A'] = 2;
    for (const char* c = r.CdRoms; *c; ++c) change.Types[*c - 'A'] = 5;
    change.Media = Letters(r.Media);
    change.DiscIcons = r.DiscIcons;
    const drives::TDriveSetPlan plan = drives::PlanDriveSetChange(change);
    EXPECT_EQ(plan.Removed, Letters(r.Removed)) << r.Case;
    EXPECT_EQ(plan.Added, Letters(r.Added)) << r.Case;
    EXPECT_EQ(plan.Current, r.WantCurrent) << r.Case;
    EXPECT_EQ(plan.Recheck, Letters(r.Recheck)) << r.Case;
    EXPECT_EQ(plan.Empty(), !*r.Removed && !*r.Added && !*r.Recheck) << r.Case;
  }
}

}  // namespace
