// The "XP" page: settings of the NT family, written on every click whatever
// was stored; the checked state writes the zero.
#pragma once

namespace policies {

// "0" or "1" as text.
void WriteCdRomAccess(bool checked);
void WriteCdBurning(bool checked);
void WriteRemovableMediaInstall(bool checked);

}  // namespace policies
