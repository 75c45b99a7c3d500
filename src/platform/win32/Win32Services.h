// The real services, wired once by the entry point.
#pragma once

#include <memory>

namespace platform::win32 {

class TWin32Services {
 public:
  // Creates every Win32 service and installs it for the lifetime of this
  // object; the previous set is put back afterwards.
  TWin32Services();
  ~TWin32Services();
  TWin32Services(const TWin32Services&) = delete;
  TWin32Services& operator=(const TWin32Services&) = delete;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

}  // namespace platform::win32
