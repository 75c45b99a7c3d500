// Screen-reader annotation of drawn items through IAccPropServices.
#pragma once

#include "platform/Accessibility.h"

struct IAccPropServices;

namespace platform::win32 {

class TWin32Accessibility final : public TAccessibility {
 public:
  TWin32Accessibility() = default;
  ~TWin32Accessibility() override;
  TWin32Accessibility(const TWin32Accessibility&) = delete;
  TWin32Accessibility& operator=(const TWin32Accessibility&) = delete;

  void SetItemState(THandle window, unsigned childId, unsigned role, unsigned state) override;

 private:
  // Made on first use, on the thread of the windows; nullptr where the
  // system has no annotation (before the accessibility runtime 2.0).
  IAccPropServices* PropServices();
  IAccPropServices* FServices = nullptr;
  bool FTried = false;
  bool FComStarted = false;
};

}  // namespace platform::win32
