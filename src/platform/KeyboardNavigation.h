// Moving about a form with the keyboard: the order in which Tab visits the
// controls, and Ctrl+Tab, which turns the pages of a page control.
#pragma once

#include <vector>

#include "platform/Controls.h"

namespace platform {

// The windowed controls under `root` that show, in the order Tab visits
// them: siblings by their TabOrder (their place of creation unless set), a
// container's controls right after it. The caller skips those that take no
// focus (panels, sheets, a disabled control).
std::vector<TWinControl*> TabSequence(const TWinControl& root);

// Ctrl+Tab (forward) or Ctrl+Shift+Tab: the page control that holds the
// focused control, or else the first one that shows, turns to its next
// showing page, round the end, as a click on that tab would. Returns the page
// control, or nullptr when there is none.
TPageControl* TurnPage(const TWinControl& root, TControl* focused, bool forward);

}  // namespace platform
