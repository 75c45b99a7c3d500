// The event dispatch and the program's one exception barrier. Every handler
// the framework runs for the user or the system goes through Guarded: what it
// throws ends the handler and goes to the application's error report, here
// and nowhere else. A catch that expects one error and handles it on the
// spot (a registry value of the wrong type) stays where it is.
#pragma once

#include <exception>

#include "platform/Types.h"

namespace platform {

// Hands `e` to the application's error report; false when there is no
// application to tell. A failure of the report itself goes on to the caller.
bool ReportException(const std::exception& e);

// What a barrier does with an exception that no application can be told of.
enum class TUnreported {
  Drop,     // it ends here
  Rethrow,  // it goes on, for the caller to see (the event dispatch of a test)
};

// Runs `body`; an exception it throws ends it and is reported. False when it
// threw.
template <class F>
bool Guarded(F&& body, TUnreported unreported = TUnreported::Drop) {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    if (!ReportException(e) && unreported == TUnreported::Rethrow) throw;
  }
  return false;
}

// Reports `e`, and also swallows a failure of the report: for code the
// system calls, where nothing may go back.
void ReportExceptionQuietly(const std::exception& e) noexcept;

// The barrier where the system calls the program (a window procedure):
// nothing goes back into the system's code, not an exception of another
// type, nor a failure of the report. False when `body` threw.
template <class F>
bool GuardedCallback(F&& body) noexcept {
  try {
    body();
    return true;
  } catch (const std::exception& e) {
    ReportExceptionQuietly(e);
  } catch (...) {
    ReportExceptionQuietly(Exception("Unexpected error."));
  }
  return false;
}

// Runs an event handler the way every dispatch must: an exception raised by
// the handler ends the handler and goes to the application's error report;
// without an application it goes on to the caller.
inline void DoEvent(const TNotifyEvent& event, TObject* sender) {
  if (event) Guarded([&] { event(sender); }, TUnreported::Rethrow);
}

}  // namespace platform
