#include "policies/AutoRunMasks.h"

#include "policies/PolicyMap.h"
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
};

const TMaskListRow kMaskLists[] = {
    {kUserDriveLetters, true, "Do you want to change Drive Autostart Setting?"},
    {kSystemDriveLetters, true, "Do you want to change Drive System Autostart Setting?"},
    {kUserDriveTypes, false, "Do you want to change Current User Drive Type Setting?"},
    {kSystemDriveTypes, false, "Do you want to change System Drive Type Setting?"},
};

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

void MaskListClickCheck(TMaskList which, platform::TCheckListBox& list, std::int32_t& baseline,
                        int osCode, const i18n::TLanguage& language) {
  const TMaskListRow& row = kMaskLists[static_cast<int>(which)];
  const std::int32_t mask = row.Letters ? LetterMask(list) : TypeMask(list);
  if (mask == baseline) return;
  if (!AskQuestion(language, row.Question)) return;
  // Drive letters are a number on every system; drive types a single byte
  // on the 9x family. The baseline follows only what was stored.
  const auto write = [&] {
    return row.Letters ? WriteInteger(row.Row, mask) : WriteIntegerOrByte(row.Row, osCode, mask);
  };
  const auto putBack = [&] {
    if (row.Letters)
      ShowLetterMask(list, baseline);
    else
      ShowTypeMask(list, baseline);
  };
  if (!StoreOrPutBack(row.Row, write, putBack)) return;
  baseline = mask;
  PromptReboot(language);
}

void WriteCdrAutoRun(platform::TCheckBox& box) {
  if (!box.Checked())
    Delete(kCdrAutoRun);
  else
    StoreOrPutBack(
        kCdrAutoRun, [] { return WriteInteger(kCdrAutoRun, 1); },
        [&box] { box.RestoreChecked(false); });
}

}  // namespace policies
