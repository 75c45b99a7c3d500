#include "drives/CdDrives.h"

#include <cctype>

#include "platform/Services.h"

using platform::Services;

namespace drives {

std::uint32_t CdRomLetters() {
  const std::uint32_t present = Services().Drives->GetLogicalDrives();
  std::uint32_t cdRoms = 0;
  for (int i = 0; i < 26; ++i)
    if ((present & (1u << i)) != 0 &&
        Services().Drives->GetDriveType({static_cast<char>('A' + i), ':'}) == platform::kDriveCdRom)
      cdRoms |= 1u << i;
  return cdRoms;
}

void ListCdDrives(platform::TStrings& list, std::uint32_t letters) {
  list.Clear();
  for (int i = 0; i < 26; ++i)
    if ((letters & (1u << i)) != 0) list.Add({static_cast<char>('A' + i), ':'});
}

void ListCdDrives(platform::TStrings& list) { ListCdDrives(list, CdRomLetters()); }

TErrorModeGuard::TErrorModeGuard()
    : FPrevious(Services().Drives->SetErrorMode(platform::kSemFailCriticalErrors)) {}

TErrorModeGuard::~TErrorModeGuard() { Services().Drives->SetErrorMode(FPrevious); }

TCurrentDirectoryGuard::TCurrentDirectoryGuard()
    : FPrevious(Services().Drives->GetCurrentDirectory()) {}

TCurrentDirectoryGuard::~TCurrentDirectoryGuard() {
  // Best effort: a directory that went meanwhile leaves the current one.
  if (!FPrevious.empty()) Services().Drives->SetCurrentDirectory(FPrevious);
}

bool DiskInDrive(char drive) {
  if (drive >= 'a' && drive <= 'z') drive = static_cast<char>(drive - 'a' + 'A');
  if (drive < 'A' || drive > 'Z') throw platform::EConvertError("Not a valid drive ID");
  TErrorModeGuard guard;
  std::uint64_t size = 0;
  return Services().Drives->GetVolumeSize(std::string{drive, ':', '\\'}, size);
}

namespace {

void SendDoorCommand(char drive, std::uint32_t doorFlag) {
  platform::TMediaControl& mci = *Services().Media;
  platform::TMciOpenParms parms;
  parms.DeviceType = "CDAudio";
  parms.ElementName = std::string{drive, ':'};
  constexpr std::uint32_t openFlags = platform::kMciOpenType | platform::kMciOpenElement;
  if (mci.SendCommand(0, platform::kMciOpen, openFlags, &parms) != 0) return;
  const std::uint32_t device = parms.DeviceId;
  // The device is closed whatever the door command does, so that a failing
  // or throwing driver never keeps the drive locked.
  struct TCloser {
    platform::TMediaControl& Mci;
    std::uint32_t Device;
    std::uint32_t Flags;
    platform::TMciOpenParms& Parms;
    ~TCloser() {
      try {
        Mci.SendCommand(Device, platform::kMciClose, Flags, &Parms);
      } catch (...) {
        // The close is best effort: its outcome is not acted on.
      }
    }
  } closer{mci, device, openFlags, parms};
  mci.SendCommand(device, platform::kMciSet, doorFlag, nullptr);
}

}  // namespace

void OpenCD(char drive) { SendDoorCommand(drive, platform::kMciSetDoorOpen); }
void CloseCD(char drive) { SendDoorCommand(drive, platform::kMciSetDoorClosed); }

std::string GetIcoFileName(char drive) {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(drive)));
  return Services().Drives->ProgramDir() + lower + ".ico";
}

}  // namespace drives
