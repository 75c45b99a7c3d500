// What a screen reader learns about the items the program draws itself.
// The check lists paint their marks, so the system's own description of a
// list item has the text but not the mark; the service annotates each item
// with its state (IAccPropServices on Windows).
#pragma once

#include "platform/Types.h"

namespace platform {

// The state and role bits of Active Accessibility, as the reader reports them.
inline constexpr unsigned kAccStateUnavailable = 0x1;      // STATE_SYSTEM_UNAVAILABLE
inline constexpr unsigned kAccStateChecked = 0x10;         // STATE_SYSTEM_CHECKED
inline constexpr unsigned kAccStateFocusable = 0x100000;   // STATE_SYSTEM_FOCUSABLE
inline constexpr unsigned kAccStateSelectable = 0x200000;  // STATE_SYSTEM_SELECTABLE
inline constexpr unsigned kAccRoleCheckButton = 0x2C;      // ROLE_SYSTEM_CHECKBUTTON

class TAccessibility {
 public:
  virtual ~TAccessibility() = default;
  // Role and state of item `childId` (1-based, as the list's own children
  // are numbered) of the window. Does nothing where the system cannot
  // annotate.
  virtual void SetItemState(THandle window, unsigned childId, unsigned role, unsigned state) = 0;
};

}  // namespace platform
