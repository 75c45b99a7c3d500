// The keys that move about a form of ours, in the message loop: Tab and
// Shift+Tab in the model's tab order, Ctrl+Tab and Ctrl+Shift+Tab through
// the pages; Enter on a focused push button; and the focus made visible
// once the keyboard is used.
#pragma once

#include <windows.h>

namespace platform::win32 {

// True when the message was such a key and has been handled.
bool HandleNavigationKey(const MSG& msg);

}  // namespace platform::win32
