#pragma once

// First, whatever a file included before: the interface below must be read
// without the system's renaming macros.
#include "platform/win32/Win32Undef.h"
// Its method names now stay as written.
#include "platform/Services.h"

namespace platform::win32 {

class TWin32Instance : public TInstanceChannel {
 public:
  std::uint32_t RegisterMessage(const std::string& name) override;
  std::uintptr_t ReplaceWindowProc(THandle window, TWndProcHook hook) override;
  void RestoreWindowProc(THandle window, std::uintptr_t previous) override;
  TLResult CallWindowProc(std::uintptr_t previous, THandle window, std::uint32_t message,
                          TWParam wParam, TLParam lParam) override;
  THandle OpenMutex(std::uint32_t access, bool inherit, const std::string& name) override;
  THandle CreateMutex(const std::string& name) override;
  void CloseHandle(THandle handle) override;
  void Broadcast(std::uint32_t flags, std::uint32_t recipients, std::uint32_t message,
                 TWParam wParam, TLParam lParam) override;
  void PostMessage(THandle window, std::uint32_t message, TWParam wParam, TLParam lParam) override;
  bool IsIconic(THandle window) override;
  void SetForegroundWindow(THandle window) override;
  THandle Owner(THandle window) override;
  bool SendCopyData(THandle window, THandle from, std::uint32_t tag, const std::string& data,
                    TLResult& answer) override;
  bool ReadCopyData(TLParam lParam, std::size_t limit, std::uint32_t& tag,
                    std::string& data) override;
  bool WriteParentConsole(const std::string& text) override;
};

}  // namespace platform::win32
