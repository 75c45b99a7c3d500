// The ASPI for Win32 request blocks and the SCSI command layers that answer
// them: the ASPI library itself, or the program's own pass-through layer
// (ScsiPassThrough.h). The blocks are byte-packed, as the library expects
// them in the 32-bit and in the 64-bit program alike.
#pragma once

#include <cstddef>
#include <cstdint>

namespace drives {

// Commands (SRB_Cmd).
inline constexpr std::uint8_t SC_HA_INQUIRY = 0x00;
inline constexpr std::uint8_t SC_EXEC_SCSI_CMD = 0x02;
inline constexpr std::uint8_t SC_GET_DISK_INFO = 0x06;

// Request flags (SRB_Flags).
inline constexpr std::uint8_t SRB_DIR_IN = 0x08;
inline constexpr std::uint8_t SRB_DIR_OUT = 0x10;
inline constexpr std::uint8_t SRB_EVENT_NOTIFY = 0x40;

// Request status (SRB_Status, and the answer of SendASPI32Command).
inline constexpr std::uint8_t SS_PENDING = 0x00;
inline constexpr std::uint8_t SS_COMP = 0x01;
inline constexpr std::uint8_t SS_ERR = 0x04;
inline constexpr std::uint8_t SS_INVALID_CMD = 0x80;
inline constexpr std::uint8_t SS_INVALID_HA = 0x81;
inline constexpr std::uint8_t SS_NO_DEVICE = 0x82;

inline constexpr std::size_t SENSE_LEN = 14;

#pragma pack(push, 1)

struct SRB_HAInquiry {
  std::uint8_t SRB_Cmd;
  std::uint8_t SRB_Status;
  std::uint8_t SRB_HaId;
  std::uint8_t SRB_Flags;
  std::uint32_t SRB_Hdr_Rsvd;
  std::uint8_t HA_Count;
  std::uint8_t HA_SCSI_ID;
  std::uint8_t HA_ManagerId[16];
  std::uint8_t HA_Identifier[16];
  std::uint8_t HA_Unique[16];
  std::uint16_t HA_Rsvd1;
};

struct SRB_ExecSCSICmd {
  std::uint8_t SRB_Cmd;
  std::uint8_t SRB_Status;
  std::uint8_t SRB_HaId;
  std::uint8_t SRB_Flags;
  std::uint32_t SRB_Hdr_Rsvd;
  std::uint8_t SRB_Target;
  std::uint8_t SRB_Lun;
  std::uint16_t SRB_Rsvd1;
  std::uint32_t SRB_BufLen;
  std::uint8_t* SRB_BufPointer;
  std::uint8_t SRB_SenseLen;
  std::uint8_t SRB_CDBLen;
  std::uint8_t SRB_HaStat;
  std::uint8_t SRB_TargStat;
  void* SRB_PostProc;  // with SRB_EVENT_NOTIFY: the event to signal
  // A pointer and 16 bytes: 20 bytes in the 32-bit program, 24 in the
  // 64-bit one, where the library looks for the command block at 60.
  void* SRB_Rsvd2;
  std::uint8_t SRB_Rsvd3[16];
  std::uint8_t CDBByte[16];
  std::uint8_t SenseArea[SENSE_LEN + 2];
};

struct SRB_GetDiskInfo {
  std::uint8_t SRB_Cmd;
  std::uint8_t SRB_Status;
  std::uint8_t SRB_HaId;
  std::uint8_t SRB_Flags;
  std::uint32_t SRB_Hdr_Rsvd;
  std::uint8_t SRB_Target;
  std::uint8_t SRB_Lun;
  std::uint8_t SRB_DriveFlags;
  std::uint8_t SRB_Int13HDriveInfo;  // the drive number: 0 is A
  std::uint8_t SRB_Heads;
  std::uint8_t SRB_Sectors;
  std::uint8_t SRB_Rsvd1[10];
};

#pragma pack(pop)

inline constexpr bool kPointers64 = sizeof(void*) == 8;
static_assert(sizeof(SRB_HAInquiry) == 60);
static_assert(offsetof(SRB_HAInquiry, HA_Count) == 8);
static_assert(sizeof(SRB_ExecSCSICmd) == (kPointers64 ? 92 : 80));
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_SenseLen) == (kPointers64 ? 24 : 20));
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == (kPointers64 ? 28 : 24));
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == (kPointers64 ? 60 : 48));
static_assert(sizeof(SRB_GetDiskInfo) == 24);
static_assert(offsetof(SRB_GetDiskInfo, SRB_Int13HDriveInfo) == 11);

// Every request block begins with the command; the layer looks at it to
// know which block it was given.
inline std::uint8_t SrbCommand(const void* srb) { return *static_cast<const std::uint8_t*>(srb); }

// GetASPI32SupportInfo packs the status into bits 8 to 15 and the number of
// host adapters into bits 0 to 7.
inline std::uint32_t SupportInfo(std::uint8_t status, std::uint8_t adapters) {
  return static_cast<std::uint32_t>(status) << 8 | adapters;
}

// A SCSI command layer: the two functions of an ASPI library.
class TScsiLayer {
 public:
  virtual ~TScsiLayer() = default;
  virtual std::uint32_t GetSupportInfo() = 0;
  virtual std::uint32_t SendCommand(void* srb) = 0;
};

// The ASPI library that the SCSI service has loaded.
class TAspiLibraryLayer : public TScsiLayer {
 public:
  std::uint32_t GetSupportInfo() override;
  std::uint32_t SendCommand(void* srb) override;
};

}  // namespace drives
