// The four check lists of AutoRun by drive letter and by drive type, for
// the current user and for the whole machine. A checked item means AutoRun
// on, its bit in the stored mask clear.
#pragma once

#include <cstdint>

#include "i18n/Lang.h"
#include "platform/Controls.h"

namespace policies {

// 0x03FFFFFF less bit i for every checked letter item i (A = 0); every item
// counts, disabled ones too.
std::int32_t LetterMask(const platform::TCheckListBox& list);
// 0xFF less bit t for every checked type item t; bit 7 has no item.
std::int32_t TypeMask(const platform::TCheckListBox& list);
// All letters checked, then those whose bit is set unchecked.
void ShowLetterMask(platform::TCheckListBox& list, std::int32_t mask);
// The type items whose bit is clear checked, the others unchecked.
void ShowTypeMask(platform::TCheckListBox& list, std::int32_t mask);

enum class TMaskList { UserDrives, SystemDrives, UserTypes, SystemTypes };

// After the user toggled an item: when the list now differs from its
// baseline, asks, and on "Yes" stores the mask, takes it as the baseline and
// asks to restart. On "Cancel" the mark stays and nothing is stored. A mask
// that cannot be stored is reported, and the list shows its baseline again.
void MaskListClickCheck(TMaskList which, platform::TCheckListBox& list, std::int32_t& baseline,
                        int osCode, const i18n::TLanguage& language);

// AutoRun on recordable discs: 1 when checked, deleted when not.
void WriteCdrAutoRun(platform::TCheckBox& box);

}  // namespace policies
