// Basic types shared by the program logic and the platform layer. Handles are
// opaque numbers above the platform seam; only platform/win32 turns them back
// into HWND, HANDLE and friends.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace platform {

using THandle = std::uintptr_t;  // HWND, HANDLE, HICON ... as an opaque number
using TWParam = std::uintptr_t;
using TLParam = std::intptr_t;
using TLResult = std::intptr_t;

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// The program reports failures as exceptions that carry the exact text the
// user is shown. Every event dispatch catches them and hands them to the
// application's standard error report.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace platform
