// What a change of the computer's drives means for the drive box: which
// drives leave it, which join it, which drive is current afterwards and
// which drives' disc icons must be looked at again. Pure: the caller reads
// the system and carries the answer out.
#pragma once

#include <array>
#include <cstdint>

namespace drives {

// A set of drive letters, a bit per letter: bit 0 is A, bit 25 is Z.
using TLetterSet = std::uint32_t;

inline constexpr TLetterSet LetterBit(char letter) {
  return letter >= 'A' && letter <= 'Z' ? TLetterSet{1} << (letter - 'A') : 0;
}

struct TDriveSetChange {
  TLetterSet Listed = 0;  // the letters in the drive box before the change
  char Current = '\0';    // the current drive letter; '\0' when the box text is empty
  // The drive type of each letter now (GetDriveTypeA); 0 for a letter that
  // GetLogicalDrives no longer names.
  std::array<unsigned, 26> Types{};
  TLetterSet Media = 0;    // letters whose disc came or went
  bool DiscIcons = false;  // "Show disc icons" is on
};

struct TDriveSetPlan {
  TLetterSet Removed = 0;
  TLetterSet Added = 0;    // never more than the seven-drive box can take
  char Current = '\0';     // the current drive letter afterwards
  TLetterSet Recheck = 0;  // drives whose disc icon follows their disc now
  // Nothing to do: the drive box, the tray and the disc icons stay as they are.
  bool Empty() const { return Removed == 0 && Added == 0 && Recheck == 0; }
};

inline constexpr int kMaxListedDrives = 7;

// The drives that are CD-ROM drives now stay or join, in letter order while
// the box has room; the others leave. A current drive that stays, stays
// current, even a typed text that matches no drive; a current drive that
// leaves hands over to the first drive left, and an empty box takes the
// first drive that arrives, as the start does.
TDriveSetPlan PlanDriveSetChange(const TDriveSetChange& change);

}  // namespace drives
