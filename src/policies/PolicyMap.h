// Every operating-system setting the program reads or writes, in one table,
// with all its rules: where it lives, its value form, the systems it applies
// to, the control that shows it, what a check mark stores and how a stored
// value shows as one, and what the reset does with it. The program keeps no
// copy of these settings; the registry is the only store. Two settings are
// read under another spelling of their key than they are written under; the
// registry matches key names without regard to case, so both reach the same
// key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace policies {

enum class TValueForm {
  String,         // REG_SZ
  Integer,        // REG_DWORD
  Byte,           // one-byte REG_BINARY
  IntegerOrByte,  // REG_DWORD on the NT family, one-byte REG_BINARY on the 9x family
};

// Where a row is read at start-up and put back by the reset. A click writes
// its row on the whole family (an "XP" box still writes on Windows 2000),
// since only an enabled control takes one.
enum class TSystems { All, Nt, Xp, Nine };

// What a check mark stores: a text or a number in the row's form, the
// value deleted, or the program's own path (in quotes).
struct TMarkValue {
  enum class TKind { Deleted, Text, Number, ProgramPath };
  TKind Kind = TKind::Deleted;
  const char* Text = "";
  std::int32_t Number = 0;
};
constexpr TMarkValue Text(const char* text) { return {TMarkValue::TKind::Text, text, 0}; }
constexpr TMarkValue Number(std::int32_t n) { return {TMarkValue::TKind::Number, "", n}; }
inline constexpr TMarkValue kDeleted{};
inline constexpr TMarkValue kProgramPath{TMarkValue::TKind::ProgramPath};

// How a value read shows as a check mark: checked when the value is there
// at all, when it equals the checked value, or when it is at most the
// checked number (an absent number reads as -1, so absent counts too).
enum class TShows { Nothing, Present, Equal, AtMost };

// What "Reset default" does with a row: leaves it, stores its checked value
// and checks its control, or deletes the value and leaves the control as it
// is until the next start.
enum class TReset { Kept, ToChecked, Deleted };

struct TPolicySetting {
  platform::TRegRoot Root;
  const char* ReadKey;
  const char* WriteKey;
  const char* Name;  // "" is the key's default value
  TValueForm Form;
  // A second name written with the same number and read first; the row's
  // own name decides when it reads as absent.
  const char* Alias = nullptr;
  TSystems Systems = TSystems::All;
  // The component that shows the row, by name. Rows of one control stand
  // together and are read together. "On/Off" names two buttons, the one
  // of the state in force disabled.
  const char* Control = "";
  TShows Shows = TShows::Nothing;
  TMarkValue Checked = {};
  TMarkValue Unchecked = {};
  TReset Reset = TReset::Kept;
  int ResetStep = 0;  // the reset's order, from 1
  // A stored mark ends with the restart question.
  bool AsksRestart = false;
};

// The rows, in the order the start-up reads them.
enum TPolicy : int {
  kStartWithWindows,        // present = start at log-on; the program's path
  kAudioCdPlayer,           // the command that plays an audio CD
  kAudioCdAutoplay,         // "play" = on, "" = off; machine-wide
  kAudioCdAutoplayClasses,  // the same for the classes root, written with it
  kCdRomAutoRunNt,          // 1 = AutoRun on
  kCdRomAutoRun9x,          // 1 = AutoRun on
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
// The first row the control of that name shows; kPolicyCount for none.
TPolicy RowOf(std::string_view control);

// Whether the row is read and reset on the system given by its code; and
// whether a click writes it there.
bool ReadOn(TPolicy row, int osCode);
bool WrittenOn(TPolicy row, int osCode);

// The registry routines on a row: reads use the read form of the key,
// writes and deletions the write form.
bool Exists(TPolicy row);
std::string ReadText(TPolicy row);  // "" when the key or the value is missing
void WriteText(TPolicy row, const std::string& text);
void Delete(TPolicy row);
// A number in the row's form on the system given by its code. The writes
// return false, silently, when the key cannot be opened or created.
std::int32_t ReadNumber(TPolicy row, int osCode);
bool WriteNumber(TPolicy row, int osCode, std::int32_t value);

// Whether what is stored shows as a check mark.
bool ShowsChecked(TPolicy row, int osCode);
// Stores the value of a mark. False only for a number whose key could not
// be opened; the text writes and deletions say so themselves.
bool StoreValue(TPolicy row, int osCode, const TMarkValue& value);

}  // namespace policies
