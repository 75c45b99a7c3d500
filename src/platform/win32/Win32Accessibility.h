// Screen-reader annotation of drawn items through IAccPropServices.
#pragma once

#include "platform/Accessibility.h"
#include "platform/win32/Handles.h"

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
  // COM is loaded with the first annotation, not at start: most runs make
  // none before the user opens the Extras page. Declared first, freed last.
  TModuleHandle FOle32;
  IAccPropServices* FServices = nullptr;
  bool FTried = false;
  bool FComStarted = false;
};

}  // namespace platform::win32
