// The option pages' controls set from the registry at start-up, and every
// setting put back to its default from the about box.
#pragma once

#include <cstdint>
#include <string>

#include "i18n/Lang.h"
#include "platform/Controls.h"

namespace policies {

// The controls of the three option pages, owned by the main window.
struct TPolicyPages {
  platform::TCheckBox* CheckBox1;          // start with Windows
  platform::TCheckBox* CheckBox2;          // audio CD autoplay
  platform::TButton* BitBtn5;              // CD-ROM AutoRun on
  platform::TButton* BitBtn6;              // CD-ROM AutoRun off
  platform::TEdit* DefPlay;                // audio CD player command
  platform::TCheckBox* CheckBox4;          // AutoRun on recordable discs
  platform::TCheckListBox* CheckListBox1;  // drive letters, user
  platform::TCheckListBox* CheckListBox2;  // drive letters, system
  platform::TCheckListBox* CheckListBox3;  // drive types, user
  platform::TCheckListBox* CheckListBox4;  // drive types, system
  platform::TCheckBox* CheckBox7;          // CD-ROM access
  platform::TCheckBox* CheckBox8;          // CD burning
  platform::TCheckBox* CheckBox6;          // install from removable media
};

// The last known stored values, so that a handler can tell a real change
// from a click that leads back to what is stored.
struct TPolicyBaselines {
  std::int32_t UserTypeMask = 0;
  std::int32_t SystemTypeMask = 0;
  std::int32_t UserDriveMask = 0;
  std::int32_t SystemDriveMask = 0;
  std::string PlayerCommand;
  // The drives present at start-up (a bit per letter); the letter items of
  // absent drives are disabled.
  std::uint32_t PresentDrives = 0;
};

// Sets every control of the pages from the registry, in a fixed order, and
// the baselines with them. A value of the wrong type ends it at that step
// with the registry's error, and the controls of that step and the later
// ones are disabled: they show nothing that was read. Expects the pages as
// designed: nothing checked, both AutoRun buttons enabled.
void LoadPolicySettings(int osCode, const TPolicyPages& pages, TPolicyBaselines& baselines);

// Writes the default of every setting but the start with Windows, the player
// command and the browser; then asks to restart. The check lists, CheckBox4
// and the baselines keep what they show until the next start. A number that
// cannot be written is not reported here.
void ResetPolicyDefaults(int osCode, const TPolicyPages& pages, const i18n::TLanguage& language);

}  // namespace policies
