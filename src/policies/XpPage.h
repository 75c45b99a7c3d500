// The "XP" page: settings of the NT family, written on every click whatever
// was stored; the checked state writes the zero.
#pragma once

#include "platform/Controls.h"

namespace policies {

// "0" or "1" as text.
void WriteCdRomAccess(bool checked);
// A change the user made that cannot be stored is reported, and the box
// shows its mark from before again. Set from code (CheckBox6 at start-up and
// by the reset), the box writes as before and keeps its mark.
void WriteCdBurning(platform::TCheckBox& box);
void WriteRemovableMediaInstall(platform::TCheckBox& box);

}  // namespace policies
