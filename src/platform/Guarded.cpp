#include "platform/Guarded.h"

#include "platform/Application.h"

namespace platform {

bool ReportException(const std::exception& e) {
  if (!Application) return false;
  Application->HandleException(e);
  return true;
}

void ReportExceptionQuietly(const std::exception& e) noexcept {
  try {
    ReportException(e);
  } catch (...) {
    // The error report itself failed; there is nobody left to tell.
  }
}

}  // namespace platform
