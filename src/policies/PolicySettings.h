// The option pages' controls set from the registry at start-up, every
// setting put back to its default from the about box, and what a check mark
// stores: three loops over the rows of the policy table, each finding its
// control by the name the row gives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "i18n/Lang.h"
#include "platform/Controls.h"
#include "platform/Layout.h"

namespace policies {

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

// What the three option pages share: the form that owns their controls,
// which system this is (policies/OSVersion.h, set first at start-up), the
// language of the questions and the baselines.
struct TPolicyPages {
  platform::TComponent* Form = nullptr;
  const i18n::TLanguage* Language = nullptr;
  int OSCode = -1;
  TPolicyBaselines Baselines = {};

  // The control of that name on the form; nullptr when there is none.
  platform::TControl* Control(std::string_view name) const;
};

// Sets every control of the pages from the registry, in the order of the
// table, and the baselines with them. A value of the wrong type ends it at
// that row with the registry's error, and the controls of that row and the
// later ones are disabled: they show nothing that was read. Expects the
// pages as designed: nothing checked, both AutoRun buttons enabled.
void LoadPolicySettings(TPolicyPages& pages);

// Writes the default of every setting but the start with Windows, the player
// command and the browser; then asks to restart. The check lists, CheckBox4
// and the baselines keep what they show until the next start. A number that
// cannot be written is not reported here.
void ResetPolicyDefaults(TPolicyPages& pages);

// Stores the mark `checked` given to the control `control` (a check box, or
// "BitBtn5/BitBtn6": on is the first pressed) in each of its rows, and shows
// it. When a number cannot be stored, a change the user made is reported,
// `putBack` shows what is stored again and nothing else happens; set from
// code, the box keeps its mark. A stored row that asks for it ends with the
// restart question.
void StoreMark(const TPolicyPages& pages, std::string_view control, bool checked, bool userChange,
               const std::function<void()>& putBack);
// The click of a policy check box: its new mark stored.
void StoreBoxMark(const TPolicyPages& pages, platform::TCheckBox& box);

// A check box of the policy table made at its place on a page, owned by the
// form: a click stores its mark in the rows that name it.
template <class Box>
Box* MakePolicyBox(TPolicyPages& pages, platform::TWinControl* parent, const char* name,
                   platform::TRect r, const std::string& caption) {
  Box* box = platform::Make<Box>(pages.Form, parent, name, r, caption);
  box->OnClick = [&pages, box](platform::TObject*) { StoreBoxMark(pages, *box); };
  return box;
}

}  // namespace policies
