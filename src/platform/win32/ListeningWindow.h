// The program's listening window, for what the system sends to top-level
// windows only (the shell's "TaskbarCreated", the volume messages), for hot
// keys and for the notification area's messages. Top-level, not
// message-only: only top-level windows hear broadcasts.
//
// The tray icons, the volume watch and the hot keys all listen on this one
// window: each window made costs start-up time. It is the application
// window when there is one (its procedure hands the messages on, see
// HearListeners); else a tool window of its own that is never shown (so it
// stays out of the task list), made with the first listener and gone with
// the last. Every listener hears every message, in the order they started;
// the answer is that of the first one that handled it, else the default
// procedure's. What a listener throws goes to the error report and counts
// as not handled. Only the program's own thread listens.
#pragma once

#include <windows.h>

#include "platform/NotifyArea.h"

namespace platform::win32 {

// A number, never 0, for the listener; 0 when the system refuses the window.
unsigned StartListening(TWindowMessageHandler handler);
// The listener hears nothing more, even when it is called during a message.
void StopListening(unsigned listener) noexcept;
// Null while nobody listens.
HWND ListeningWindow();

// For the application window's procedure: true when `window` is the
// listening window and a listener handled the message, with its answer.
bool HearListeners(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer);

}  // namespace platform::win32
