// Every operating-system setting the program reads or writes, in one table:
// where it lives, its value form and the control that shows it. The program
// keeps no copy of these settings; the registry is the only store. Two
// settings are read under another spelling of their key than they are
// written under; the registry matches key names without regard to case, so
// both reach the same key.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Registry.h"

namespace policies {

enum class TValueForm {
  String,         // REG_SZ
  Integer,        // REG_DWORD
  Byte,           // one-byte REG_BINARY
  IntegerOrByte,  // REG_DWORD on the NT family, one-byte REG_BINARY on the 9x family
};

struct TPolicySetting {
  platform::TRegRoot Root;
  const char* ReadKey;
  const char* WriteKey;
  const char* Name;  // "" is the key's default value
  TValueForm Form;
  const char* Control;
};

// The rows of the table.
enum TPolicy : int {
  kCdRomAutoRunNt,          // 1 = AutoRun on
  kCdRomAutoRun9x,          // 1 = AutoRun on
  kStartWithWindows,        // present = start at log-on; the program's path
  kAudioCdAutoplay,         // "play" = on, "" = off; machine-wide
  kAudioCdAutoplayClasses,  // the same for the classes root, written with it
  kAudioCdPlayer,           // the command that plays an audio CD
  kCdRomAccess,             // "0" = users may read CD-ROM drives, "1" = not
  kCdBurning,               // 0 = burning enabled, 1 = disabled
  kRemovableMediaInstall,   // 0 = installing from removable media allowed
  kCdrAutoRun,              // 1 = AutoRun on recordable discs; absent = off
  kUserDriveTypes,          // bit t set = no AutoRun on drive type t
  kSystemDriveTypes,
  kUserDriveLetters,  // bit i set = no AutoRun on drive letter A + i
  kSystemDriveLetters,
  kHtmlHandler,  // the command that opens web pages; read only
  kPolicyCount
};

const TPolicySetting& Policy(TPolicy row);

// Windows Installer reads "DisableMedia"; the program has always written
// "DiasbleMedia". Both are written, and the right one wins when read.
inline constexpr const char* kDisableMediaName = "DisableMedia";

// The registry routines on a row: reads use the read form of the key,
// writes and deletions the write form.
bool Exists(TPolicy row);
std::string ReadText(TPolicy row);  // "" when the key or the value is missing
void WriteText(TPolicy row, const std::string& text);
std::int32_t ReadInteger(TPolicy row);
// The number writes return false, silently, when the key cannot be opened
// or created.
bool WriteInteger(TPolicy row, std::int32_t value);
int ReadByte(TPolicy row);
bool WriteByte(TPolicy row, int value);
void Delete(TPolicy row);
// A row of either form, in the form of the system given by its code.
std::int32_t ReadIntegerOrByte(TPolicy row, int osCode);
bool WriteIntegerOrByte(TPolicy row, int osCode, std::int32_t value);

// "DisableMedia" when it is there (-1 when neither is), else "DiasbleMedia".
std::int32_t ReadDisableMedia();
bool WriteDisableMedia(std::int32_t value);

// Stores a change the user made to the control of `row` with `write`. When
// the key could not be opened, `putBack` shows what is stored again, and
// the rights message of the registry routines says that nothing changed.
// True when stored.
bool StoreOrPutBack(TPolicy row, const std::function<bool()>& write,
                    const std::function<void()>& putBack);

}  // namespace policies
