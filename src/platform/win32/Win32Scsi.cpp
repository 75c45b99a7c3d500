#include "platform/win32/Win32Scsi.h"

#include <windows.h>
#include <ntddscsi.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>

#include "platform/win32/ModuleFunction.h"

namespace platform::win32 {

// The platform's own records, as the device drivers take them in the 32-bit
// and in the 64-bit program.
static_assert(IOCTL_SCSI_PASS_THROUGH_DIRECT == 0x4D014);
static_assert(IOCTL_SCSI_GET_ADDRESS == 0x41018);
static_assert(sizeof(void*) == 8 ? sizeof(SCSI_PASS_THROUGH_DIRECT) == 56
                                 : sizeof(SCSI_PASS_THROUGH_DIRECT) == 44);
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer) == (sizeof(void*) == 8 ? 24 : 20));
static_assert(offsetof(SCSI_PASS_THROUGH_DIRECT, Cdb) == (sizeof(void*) == 8 ? 36 : 28));
static_assert(sizeof(SCSI_ADDRESS) == 8);
static_assert(offsetof(SCSI_ADDRESS, TargetId) == 6);

namespace {

// The request and room for the sense data the driver writes after it.
struct TPassThroughWithSense {
  SCSI_PASS_THROUGH_DIRECT Request;
  ULONG Filler;
  UCHAR Sense[32];
};

HANDLE AsHandle(THandle handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

TAspiLoad TWin32Scsi::LoadAspiLibrary(const std::string& path) {
  FSupportInfo = nullptr;
  FSendCommand = nullptr;
  FLibrary.reset();
  TModuleHandle library(::LoadLibraryA(path.c_str()));
  if (!library) return TAspiLoad::NoLibrary;
  FSupportInfo = ModuleFunction<TSupportInfo>(library.get(), "GetASPI32SupportInfo");
  FSendCommand = ModuleFunction<TSendCommand>(library.get(), "SendASPI32Command");
  if (FSupportInfo && FSendCommand) {
    FLibrary = std::make_shared<TModuleHandle>(std::move(library));
    return TAspiLoad::Loaded;
  }
  FSupportInfo = nullptr;
  FSendCommand = nullptr;
  return TAspiLoad::MissingFunction;
}

std::uint32_t TWin32Scsi::GetASPI32SupportInfo() { return FSupportInfo ? FSupportInfo() : 0; }

std::uint32_t TWin32Scsi::SendASPI32Command(void* srb) {
  return FSendCommand ? FSendCommand(srb) : 0;
}

std::string TWin32Scsi::SystemDir() {
  char dir[MAX_PATH + 1];
  const UINT n = ::GetSystemDirectoryA(dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return {};
  std::string path(dir, n);
  if (path.back() != '\\') path += '\\';
  return path;
}

THandle TWin32Scsi::NewEvent() {
  return reinterpret_cast<THandle>(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

bool TWin32Scsi::WaitEvent(THandle event, unsigned ms) {
  return ::WaitForSingleObject(AsHandle(event), ms) == WAIT_OBJECT_0;
}

void TWin32Scsi::CloseEvent(THandle event) { TKernelHandle closing(AsHandle(event)); }

THandle TWin32Scsi::OpenDevice(const std::string& name, bool write) {
  const DWORD access = write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  const DWORD share = write ? FILE_SHARE_READ | FILE_SHARE_WRITE : FILE_SHARE_READ;
  TKernelHandle device(
      ::CreateFileA(name.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
  return device ? reinterpret_cast<THandle>(device.release()) : 0;
}

void TWin32Scsi::CloseDevice(THandle device) { TKernelHandle closing(AsHandle(device)); }

bool TWin32Scsi::PassThrough(THandle device, TScsiPassThrough& request) {
  TPassThroughWithSense native{};
  SCSI_PASS_THROUGH_DIRECT& spt = native.Request;
  spt.Length = sizeof spt;
  spt.CdbLength = request.CdbLength;
  std::memcpy(spt.Cdb, request.Cdb, sizeof spt.Cdb);
  spt.SenseInfoLength = sizeof native.Sense;
  spt.SenseInfoOffset = offsetof(TPassThroughWithSense, Sense);
  spt.DataIn = request.Direction == TScsiDirection::In    ? SCSI_IOCTL_DATA_IN
               : request.Direction == TScsiDirection::Out ? SCSI_IOCTL_DATA_OUT
                                                          : SCSI_IOCTL_DATA_UNSPECIFIED;
  spt.DataTransferLength = request.DataLength;
  spt.DataBuffer = request.Data;
  spt.TimeOutValue = request.TimeoutSeconds;
  DWORD returned = 0;
  if (!::DeviceIoControl(AsHandle(device), IOCTL_SCSI_PASS_THROUGH_DIRECT, &native, sizeof native,
                         &native, sizeof native, &returned, nullptr))
    return false;
  request.ScsiStatus = spt.ScsiStatus;
  return true;
}

bool TWin32Scsi::GetAddress(THandle device, TScsiAddress& address) {
  SCSI_ADDRESS native{};
  native.Length = sizeof native;
  DWORD returned = 0;
  if (!::DeviceIoControl(AsHandle(device), IOCTL_SCSI_GET_ADDRESS, nullptr, 0, &native,
                         sizeof native, &returned, nullptr))
    return false;
  address.PortNumber = native.PortNumber;
  address.PathId = native.PathId;
  address.TargetId = native.TargetId;
  address.Lun = native.Lun;
  return true;
}

void RemoveCurrentDirectoryFromLibrarySearch() {
  // Looked up, not linked: the oldest systems the program runs on lack it.
  using TSetDllDirectory = BOOL(WINAPI*)(LPCSTR);
  if (const auto set = ModuleFunction<TSetDllDirectory>("kernel32.dll", "SetDllDirectoryA"))
    set("");
}

}  // namespace platform::win32
