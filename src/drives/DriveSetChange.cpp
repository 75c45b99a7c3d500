#include "drives/DriveSetChange.h"

#include "platform/Services.h"

namespace drives {

namespace {

char FirstLetter(TLetterSet set) {
  for (int i = 0; i < 26; ++i)
    if (set & (TLetterSet{1} << i)) return static_cast<char>('A' + i);
  return '\0';
}

int Count(TLetterSet set) {
  int n = 0;
  for (; set != 0; set &= set - 1) ++n;
  return n;
}

}  // namespace

TDriveSetPlan PlanDriveSetChange(const TDriveSetChange& change) {
  TLetterSet cdRoms = 0;
  for (int i = 0; i < 26; ++i)
    if (change.Types[i] == platform::kDriveCdRom) cdRoms |= TLetterSet{1} << i;

  TDriveSetPlan plan;
  plan.Removed = change.Listed & ~cdRoms;
  TLetterSet listed = change.Listed & cdRoms;
  // Those already listed keep their places: a drive beyond the seventh
  // gets nothing, and says nothing while the program runs.
  for (int i = 0; i < 26 && Count(listed) < kMaxListedDrives; ++i) {
    const TLetterSet bit = TLetterSet{1} << i;
    if ((cdRoms & bit) && !(listed & bit)) {
      plan.Added |= bit;
      listed |= bit;
    }
  }

  const TLetterSet current = LetterBit(change.Current);
  plan.Current = change.Current;
  const bool wasEmpty = change.Current == '\0' && change.Listed == 0;
  if (wasEmpty || (current & plan.Removed)) plan.Current = FirstLetter(listed);

  if (change.DiscIcons) plan.Recheck = (change.Media & listed) | plan.Added;
  return plan;
}

}  // namespace drives
