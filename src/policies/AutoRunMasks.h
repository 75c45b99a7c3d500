// The four check lists of AutoRun by drive letter and by drive type, for
// the current user and for the whole machine. A checked item means AutoRun
// on, its bit in the stored mask clear.
#pragma once

#include <cstdint>

#include "platform/Controls.h"
#include "policies/PolicyMap.h"
#include "policies/PolicySettings.h"

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

// Start-up: the list of `row` shows what is stored, which becomes its
// baseline. A letter list first disables the letters of absent drives.
void ShowStoredMask(TPolicyPages& pages, TPolicy row, platform::TCheckListBox& list);

// After the user toggled an item: when the list now differs from its
// baseline, asks, and on "Yes" stores the mask, takes it as the baseline and
// asks to restart. On "Cancel" the mark stays and nothing is stored. A mask
// that cannot be stored is reported, and the list shows its baseline again.
void MaskListClickCheck(TPolicyPages& pages, platform::TCheckListBox& list);

}  // namespace policies
