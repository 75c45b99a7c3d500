#include "policies/AutoRunMasks.h"

#include "platform/Services.h"
#include "policies/RegistryRoutines.h"
#include "policies/RestartPrompt.h"

namespace policies {

namespace {

constexpr int kLetters = 26;
constexpr int kTypes = 7;
constexpr std::int32_t kAllLetters = 0x03FFFFFF;
constexpr std::int32_t kAllTypes = 0xFF;

struct TMaskListRow {
  TPolicy Row;
  bool Letters;
  const char* Question;
  std::int32_t TPolicyBaselines::*Baseline;
};

const TMaskListRow kMaskLists[] = {
    {kUserDriveLetters, true, "Do you want to change Drive Autostart Setting?",
     &TPolicyBaselines::UserDriveMask},
    {kSystemDriveLetters, true, "Do you want to change Drive System Autostart Setting?",
     &TPolicyBaselines::SystemDriveMask},
    {kUserDriveTypes, false, "Do you want to change Current User Drive Type Setting?",
     &TPolicyBaselines::UserTypeMask},
    {kSystemDriveTypes, false, "Do you want to change System Drive Type Setting?",
     &TPolicyBaselines::SystemTypeMask},
};

const TMaskListRow* MaskListOf(TPolicy row) {
  for (const TMaskListRow& list : kMaskLists)
    if (list.Row == row) return &list;
  return nullptr;
}

void ShowMask(const TMaskListRow& row, platform::TCheckListBox& list, std::int32_t mask) {
  if (row.Letters)
    ShowLetterMask(list, mask);
  else
    ShowTypeMask(list, mask);
}

std::int32_t Mask(const platform::TCheckListBox& list, std::int32_t all, int items) {
  std::int32_t mask = all;
  for (int i = 0; i < items; ++i)
    if (list.Checked(i)) mask -= std::int32_t{1} << i;
  return mask;
}

bool BitSet(std::int32_t mask, int bit) { return (static_cast<std::uint32_t>(mask) >> bit) & 1u; }

}  // namespace

std::int32_t LetterMask(const platform::TCheckListBox& list) {
  return Mask(list, kAllLetters, kLetters);
}

std::int32_t TypeMask(const platform::TCheckListBox& list) { return Mask(list, kAllTypes, kTypes); }

void ShowLetterMask(platform::TCheckListBox& list, std::int32_t mask) {
  for (int i = 0; i < kLetters; ++i) list.SetChecked(i, true);
  for (int i = 0; i < kLetters; ++i)
    if (BitSet(mask, i)) list.SetChecked(i, false);
}

void ShowTypeMask(platform::TCheckListBox& list, std::int32_t mask) {
  for (int t = 0; t < kTypes; ++t) list.SetChecked(t, !BitSet(mask, t));
}

void ShowStoredMask(TPolicyPages& pages, TPolicy row, platform::TCheckListBox& list) {
  const TMaskListRow* m = MaskListOf(row);
  if (!m) return;
  if (m->Letters) {
    platform::TDriveService* drives = platform::Services().Drives;
    pages.Baselines.PresentDrives = drives ? drives->GetLogicalDrives() : 0;
    for (int i = 0; i < kLetters; ++i)
      list.SetItemEnabled(i, (pages.Baselines.PresentDrives & (1u << i)) != 0);
  }
  std::int32_t& baseline = pages.Baselines.*m->Baseline;
  baseline = ReadNumber(row, pages.OSCode);
  ShowMask(*m, list, baseline);
}

void MaskListClickCheck(TPolicyPages& pages, platform::TCheckListBox& list) {
  const TMaskListRow* m = MaskListOf(RowOf(list.Name()));
  if (!m) return;
  std::int32_t& baseline = pages.Baselines.*m->Baseline;
  const std::int32_t mask = m->Letters ? LetterMask(list) : TypeMask(list);
  if (mask == baseline) return;
  if (!AskQuestion(*pages.Language, m->Question)) return;
  // Drive letters are a number on every system; drive types a single byte
  // on the 9x family. The baseline follows only what was stored.
  if (!WriteNumber(m->Row, pages.OSCode, mask)) {
    ShowMask(*m, list, baseline);
    ShowWriteRefused(Policy(m->Row).WriteKey);
    return;
  }
  baseline = mask;
  PromptReboot(*pages.Language);
}

}  // namespace policies
