// A stand-in ASPI library for the tests under Wine, built as WNASPI32.DLL:
// two optical devices on adapter 1 of two, a CD rewriter on target 0 (drive
// D) and a DVD drive on target 1 (drive E). Every request is answered at
// once; execute requests signal their event, as the library's own would
// when they complete.
#include <windows.h>

#include <cstring>

#include "drives/AspiLibrary.h"

using namespace drives;

// The execute request as the published interface declares it, written out
// on its own: a library built from that declaration reads it this way.
#pragma pack(push, 1)
struct TPublishedExec {
  BYTE SRB_Cmd, SRB_Status, SRB_HaId, SRB_Flags;
  DWORD SRB_Hdr_Rsvd;
  BYTE SRB_Target, SRB_Lun;
  WORD SRB_Rsvd1;
  DWORD SRB_BufLen;
  BYTE* SRB_BufPointer;
  BYTE SRB_SenseLen, SRB_CDBLen, SRB_HaStat, SRB_TargStat;
  LPVOID SRB_PostProc;
  void* SRB_Rsvd2;
  BYTE SRB_Rsvd3[16], CDBByte[16], SenseArea[14 + 2];
};
#pragma pack(pop)
#define SAME(field) offsetof(SRB_ExecSCSICmd, field) == offsetof(TPublishedExec, field)
static_assert(sizeof(SRB_ExecSCSICmd) == sizeof(TPublishedExec) && SAME(SRB_BufLen) &&
              SAME(SRB_BufPointer) && SAME(SRB_SenseLen) && SAME(SRB_CDBLen) &&
              SAME(SRB_PostProc) && SAME(CDBByte) && SAME(SenseArea));

namespace {

constexpr std::uint8_t kAdapters = 2;
constexpr std::uint8_t kDeviceAdapter = 1;

struct TDevice {
  std::uint8_t Target;
  char Letter;
  const char* Identity;  // vendor (8), product (16) and revision (4)
};

constexpr TDevice kDevices[] = {
    {0, 'D', "MORVEL  CD-RW TEST DRIVE1.00"},
    {1, 'E', "MORVEL  DVD-ROM TEST    2.00"},
};

const TDevice* Find(std::uint8_t adapter, std::uint8_t target, std::uint8_t lun) {
  if (adapter != kDeviceAdapter || lun != 0) return nullptr;
  for (const TDevice& device : kDevices)
    if (device.Target == target) return &device;
  return nullptr;
}

std::uint8_t Execute(TPublishedExec& srb) {
  const TDevice* device = Find(srb.SRB_HaId, srb.SRB_Target, srb.SRB_Lun);
  if (!device) return SS_ERR;
  if (srb.CDBByte[0] != 0x12 || !srb.SRB_BufPointer) return SS_ERR;
  std::uint8_t data[36] = {5, 0x80, 0, 0x32, 31};  // CD/DVD device, removable medium
  std::memcpy(data + 8, device->Identity, 28);
  const std::size_t length = srb.SRB_BufLen < srb.CDBByte[4] ? srb.SRB_BufLen : srb.CDBByte[4];
  std::memcpy(srb.SRB_BufPointer, data, length < sizeof data ? length : sizeof data);
  return SS_COMP;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD __cdecl GetASPI32SupportInfo() {
  return SupportInfo(SS_COMP, kAdapters);
}

extern "C" __declspec(dllexport) DWORD __cdecl SendASPI32Command(void* srb) {
  switch (SrbCommand(srb)) {
    case SC_HA_INQUIRY: {
      auto& inquiry = *static_cast<SRB_HAInquiry*>(srb);
      if (inquiry.SRB_HaId >= kAdapters) return inquiry.SRB_Status = SS_INVALID_HA;
      inquiry.HA_Count = kAdapters;
      return inquiry.SRB_Status = SS_COMP;
    }
    case SC_EXEC_SCSI_CMD: {
      auto& exec = *static_cast<TPublishedExec*>(srb);
      exec.SRB_Status = Execute(exec);
      if ((exec.SRB_Flags & SRB_EVENT_NOTIFY) && exec.SRB_PostProc)
        SetEvent(static_cast<HANDLE>(exec.SRB_PostProc));
      return SS_PENDING;
    }
    case SC_GET_DISK_INFO: {
      auto& info = *static_cast<SRB_GetDiskInfo*>(srb);
      const TDevice* device = Find(info.SRB_HaId, info.SRB_Target, info.SRB_Lun);
      if (!device) return info.SRB_Status = SS_ERR;
      info.SRB_Int13HDriveInfo = static_cast<std::uint8_t>(device->Letter - 'A');
      return info.SRB_Status = SS_COMP;
    }
    default:
      return static_cast<std::uint8_t*>(srb)[1] = SS_INVALID_CMD;
  }
}
