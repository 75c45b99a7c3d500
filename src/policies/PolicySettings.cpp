#include "policies/PolicySettings.h"

#include "policies/AutoRunMasks.h"
#include "policies/PolicyMap.h"
#include "policies/RegistryRoutines.h"
#include "policies/RestartPrompt.h"

using platform::TCheckBox;
using platform::TCheckListBox;
using platform::TControl;
using platform::TEdit;

namespace policies {

namespace {

TPolicy Next(int row) { return static_cast<TPolicy>(row + 1); }

// Calls `each` with every control a row names: one, or two buttons.
template <class F>
void ForEachControl(const TPolicyPages& pages, std::string_view names, F each) {
  while (!names.empty()) {
    const std::size_t slash = names.find('/');
    if (TControl* control = pages.Control(names.substr(0, slash))) each(*control);
    names = slash == std::string_view::npos ? std::string_view() : names.substr(slash + 1);
  }
}

// A check box shows the mark as it is; two buttons show it by which one is
// disabled: the one of the state in force.
void ShowMark(const TPolicyPages& pages, std::string_view control, bool checked) {
  bool first = true;
  ForEachControl(pages, control, [&](TControl& c) {
    if (auto* box = dynamic_cast<TCheckBox*>(&c))
      box->SetChecked(checked);
    else
      c.SetEnabled(first ? !checked : checked);
    first = false;
  });
}

// Reads the rows [first, end), which one control shows, and shows them.
void ShowRows(TPolicyPages& pages, TPolicy first, TPolicy end) {
  const TPolicySetting& p = Policy(first);
  TControl* control = pages.Control(p.Control);
  if (auto* edit = dynamic_cast<TEdit*>(control)) {
    // The one edit: the player command, compared with what is stored.
    edit->SetText(ReadText(first));
    pages.Baselines.PlayerCommand = edit->Text();
  } else if (auto* list = dynamic_cast<TCheckListBox*>(control)) {
    ShowStoredMask(pages, first, *list);
  } else if (p.Shows != TShows::Nothing) {
    // Every row of the system is read; one that shows checked checks the
    // box (the pages start with every box clear).
    bool read = false, checked = false;
    for (TPolicy row = first; row < end; row = Next(row)) {
      if (!ReadOn(row, pages.OSCode)) continue;
      const bool shows = ShowsChecked(row, pages.OSCode);
      read = true;
      checked = checked || shows;
    }
    if (read) ShowMark(pages, p.Control, checked);
  }
}

}  // namespace

TControl* TPolicyPages::Control(std::string_view name) const {
  return Form && !name.empty() ? dynamic_cast<TControl*>(Form->FindComponent(name)) : nullptr;
}

void LoadPolicySettings(TPolicyPages& pages) {
  TPolicy row = TPolicy{};
  try {
    while (row < kPolicyCount) {
      TPolicy end = Next(row);
      while (end < kPolicyCount && std::string_view(Policy(end).Control) == Policy(row).Control)
        end = Next(end);
      ShowRows(pages, row, end);
      row = end;
    }
  } catch (...) {
    // The read-out ends here. What the later controls show was never read,
    // and their handlers would write it, for a mask over every drive letter
    // even: they take no input until the next start.
    for (; row < kPolicyCount; row = Next(row))
      ForEachControl(pages, Policy(row).Control, [](TControl& c) { c.SetEnabled(false); });
    throw;
  }
}

void ResetPolicyDefaults(TPolicyPages& pages) {
  // Every step runs, and sets its control, whether its write went through
  // or not: the user asked for every default at once, and a number that
  // cannot be written stays unreported here, as it always was; the messages
  // of the text writes and the deletions already tell a user without rights.
  for (int step = 1; step <= kPolicyCount; ++step) {
    const char* shown = nullptr;
    for (TPolicy row = TPolicy{}; row < kPolicyCount; row = Next(row)) {
      const TPolicySetting& p = Policy(row);
      if (p.ResetStep != step || !ReadOn(row, pages.OSCode)) continue;
      if (p.Reset == TReset::Deleted) {
        Delete(row);
      } else {
        StoreValue(row, pages.OSCode, p.Checked);
        shown = p.Control;
      }
    }
    if (shown) ShowMark(pages, shown, true);
  }
  PromptReboot(*pages.Language);
}

void StoreMark(const TPolicyPages& pages, std::string_view control, bool checked, bool userChange,
               const std::function<void()>& putBack) {
  bool restart = false;
  for (TPolicy row = TPolicy{}; row < kPolicyCount; row = Next(row)) {
    const TPolicySetting& p = Policy(row);
    if (control != p.Control || !WrittenOn(row, pages.OSCode)) continue;
    if (!StoreValue(row, pages.OSCode, checked ? p.Checked : p.Unchecked) && userChange) {
      putBack();
      ShowWriteRefused(p.WriteKey);
      return;
    }
    restart = restart || p.AsksRestart;
  }
  ShowMark(pages, control, checked);
  if (restart) PromptReboot(*pages.Language);
}

void StoreBoxMark(const TPolicyPages& pages, TCheckBox& box) {
  const bool checked = box.Checked();
  StoreMark(pages, box.Name(), checked, box.UserChange(), [&] { box.RestoreChecked(!checked); });
}

}  // namespace policies
