// The SCSI service: the ASPI library, completion events and the devices'
// pass-through requests.
#pragma once

#include "platform/Scsi.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Undef.h"

namespace platform::win32 {

class TWin32Scsi : public TScsiService {
 public:
  TAspiLoad LoadAspiLibrary(const std::string& path) override;
  std::uint32_t GetASPI32SupportInfo() override;
  std::uint32_t SendASPI32Command(void* srb) override;
  std::shared_ptr<void> HoldAspiLibrary() override { return FLibrary; }
  std::string SystemDir() override;
  THandle NewEvent() override;
  bool WaitEvent(THandle event, unsigned ms) override;
  void CloseEvent(THandle event) override;
  THandle OpenDevice(const std::string& name, bool write) override;
  void CloseDevice(THandle device) override;
  bool PassThrough(THandle device, TScsiPassThrough& request) override;
  bool GetAddress(THandle device, TScsiAddress& address) override;

 private:
  using TSupportInfo = DWORD(__cdecl*)();
  using TSendCommand = DWORD(__cdecl*)(void*);
  // Shared with the requests that may still be completed by the library.
  std::shared_ptr<TModuleHandle> FLibrary;
  TSupportInfo FSupportInfo = nullptr;
  TSendCommand FSendCommand = nullptr;
};

// Takes the current directory out of the places the system searches for a
// library, so that a library planted in whatever folder the program was
// started from is never loaded. Systems older than the call keep their
// search as it is.
void RemoveCurrentDirectoryFromLibrarySearch();

}  // namespace platform::win32
