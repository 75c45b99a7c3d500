#include "policies/PolicyMap.h"

#include <array>

#include "platform/Registry.h"
#include "platform/Services.h"
#include "policies/OSVersion.h"
#include "policies/RegistryRoutines.h"

using platform::kHkeyClassesRoot;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

namespace policies {

namespace {

constexpr const char* kExplorerPolicies =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kAutoPlay = "SOFTWARE\\Classes\\AudioCD\\Shell";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPlayer = "AudioCD\\Shell\\Play\\Command";
constexpr const char* kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kInstaller = "SOFTWARE\\Policies\\Microsoft\\Windows\\Installer";

// In the order of TPolicy. Windows Installer reads "DisableMedia"; the
// program has always written "DiasbleMedia", so both are written, and the
// right one wins when read.
constexpr std::array<TPolicySetting, kPolicyCount> kPolicyMap{{
    {.Root = kHkeyLocalMachine,
     .ReadKey = kRun,
     .WriteKey = kRun,
     .Name = "Morvel",
     .Form = TValueForm::String,
     .Control = "CheckBox1",
     .Shows = TShows::Present,
     .Checked = kProgramPath,
     .Unchecked = kDeleted},
    {.Root = kHkeyClassesRoot,
     .ReadKey = kPlayer,
     .WriteKey = kPlayer,
     .Name = "",
     .Form = TValueForm::String,
     .Control = "DefPlay"},
    {.Root = kHkeyLocalMachine,
     .ReadKey = kAutoPlay,
     .WriteKey = kAutoPlay,
     .Name = "",
     .Form = TValueForm::String,
     .Control = "CheckBox2",
     .Shows = TShows::Equal,
     .Checked = Text("play"),
     .Unchecked = Text(""),
     .Reset = TReset::ToChecked,
     .ResetStep = 1},
    {.Root = kHkeyClassesRoot,
     .ReadKey = "AudioCD\\Shell",
     .WriteKey = "AudioCD\\Shell",
     .Name = "",
     .Form = TValueForm::String,
     .Control = "CheckBox2",
     .Shows = TShows::Equal,
     .Checked = Text("play"),
     .Unchecked = Text(""),
     .Reset = TReset::ToChecked,
     .ResetStep = 1},
    {.Root = kHkeyLocalMachine,
     .ReadKey = "System\\CurrentControlSet\\Services\\CDROM",
     .WriteKey = "SYSTEM\\CurrentControlSet\\Services\\Cdrom",
     .Name = "AutoRun",
     .Form = TValueForm::Integer,
     .Systems = TSystems::Nt,
     .Control = "BitBtn5/BitBtn6",
     .Shows = TShows::Equal,
     .Checked = Number(1),
     .Unchecked = Number(0),
     .Reset = TReset::ToChecked,
     .ResetStep = 7,
     .AsksRestart = true},
    {.Root = kHkeyLocalMachine,
     .ReadKey = "System\\CurrentControlSet\\Services\\Class\\CDROM",
     .WriteKey = "SYSTEM\\CurrentControlSet\\Services\\Class\\Cdrom",
     .Name = "AutoRun",
     .Form = TValueForm::Byte,
     .Systems = TSystems::Nine,
     .Control = "BitBtn5/BitBtn6",
     .Shows = TShows::Equal,
     .Checked = Number(1),
     .Unchecked = Number(0),
     .Reset = TReset::ToChecked,
     .ResetStep = 7,
     .AsksRestart = true},
    {.Root = kHkeyLocalMachine,
     .ReadKey = kWinlogon,
     .WriteKey = kWinlogon,
     .Name = "AllocateCDRoms",
     .Form = TValueForm::String,
     .Systems = TSystems::Nt,
     .Control = "CheckBox7",
     .Shows = TShows::Equal,
     .Checked = Text("0"),
     .Unchecked = Text("1"),
     .Reset = TReset::ToChecked,
     .ResetStep = 8},
    {.Root = kHkeyCurrentUser,
     .ReadKey = kExplorerPolicies,
     .WriteKey = kExplorerPolicies,
     .Name = "NoCDBurning",
     .Form = TValueForm::Integer,
     .Systems = TSystems::Xp,
     .Control = "CheckBox8",
     .Shows = TShows::AtMost,
     .Checked = Number(0),
     .Unchecked = Number(1),
     .Reset = TReset::ToChecked,
     .ResetStep = 9},
    {.Root = kHkeyCurrentUser,
     .ReadKey = kInstaller,
     .WriteKey = kInstaller,
     .Name = "DiasbleMedia",
     .Form = TValueForm::Integer,
     .Alias = "DisableMedia",
     .Systems = TSystems::Xp,
     .Control = "CheckBox6",
     .Shows = TShows::AtMost,
     .Checked = Number(0),
     .Unchecked = Number(1),
     .Reset = TReset::ToChecked,
     .ResetStep = 10},
    {.Root = kHkeyCurrentUser,
     .ReadKey = kExplorerPolicies,
     .WriteKey = kExplorerPolicies,
     .Name = "CDRAutoRun",
     .Form = TValueForm::Integer,
     .Control = "CheckBox4",
     .Shows = TShows::Equal,
     .Checked = Number(1),
     .Unchecked = kDeleted,
     .Reset = TReset::Deleted,
     .ResetStep = 2},
    {.Root = kHkeyCurrentUser,
     .ReadKey = kExplorerPolicies,
     .WriteKey = kExplorerPolicies,
     .Name = "NoDriveTypeAutoRun",
     .Form = TValueForm::IntegerOrByte,
     .Control = "CheckListBox3",
     .Reset = TReset::Deleted,
     .ResetStep = 5,
     .AsksRestart = true},
    {.Root = kHkeyLocalMachine,
     .ReadKey = kExplorerPolicies,
     .WriteKey = kExplorerPolicies,
     .Name = "NoDriveTypeAutoRun",
     .Form = TValueForm::IntegerOrByte,
     .Control = "CheckListBox4",
     .Reset = TReset::Deleted,
     .ResetStep = 6,
     .AsksRestart = true},
    {.Root = kHkeyCurrentUser,
     .ReadKey = kExplorerPolicies,
     .WriteKey = kExplorerPolicies,
     .Name = "NoDriveAutoRun",
     .Form = TValueForm::Integer,
     .Control = "CheckListBox1",
     .Reset = TReset::Deleted,
     .ResetStep = 3,
     .AsksRestart = true},
    {.Root = kHkeyLocalMachine,
     .ReadKey = kExplorerPolicies,
     .WriteKey = kExplorerPolicies,
     .Name = "NoDriveAutoRun",
     .Form = TValueForm::Integer,
     .Control = "CheckListBox2",
     .Reset = TReset::Deleted,
     .ResetStep = 4,
     .AsksRestart = true},
    {.Root = kHkeyClassesRoot,
     .ReadKey = "\\htmlfile\\shell\\open\\command",
     .WriteKey = "\\htmlfile\\shell\\open\\command",
     .Name = "",
     .Form = TValueForm::String},
}};

bool OnFamily(TSystems systems, int osCode) {
  return systems == TSystems::Nine ? Is9xFamily(osCode)
                                   : systems == TSystems::All || IsNtFamily(osCode);
}

}  // namespace

const TPolicySetting& Policy(TPolicy row) { return kPolicyMap[static_cast<std::size_t>(row)]; }

TPolicy RowOf(std::string_view control) {
  for (int row = 0; row < kPolicyCount; ++row)
    if (control == kPolicyMap[row].Control) return static_cast<TPolicy>(row);
  return kPolicyCount;
}

bool ReadOn(TPolicy row, int osCode) {
  const TSystems systems = Policy(row).Systems;
  return systems == TSystems::Xp ? IsXp(osCode) : OnFamily(systems, osCode);
}

bool WrittenOn(TPolicy row, int osCode) { return OnFamily(Policy(row).Systems, osCode); }

bool Exists(TPolicy row) {
  const TPolicySetting& p = Policy(row);
  return RegValueExists(p.Root, p.ReadKey, p.Name);
}

std::string ReadText(TPolicy row) {
  const TPolicySetting& p = Policy(row);
  std::string text;
  RegReadStr(p.Root, p.ReadKey, p.Name, text);
  return text;
}

void WriteText(TPolicy row, const std::string& text) {
  const TPolicySetting& p = Policy(row);
  RegWriteStr(p.Root, p.WriteKey, p.Name, text);
}

void Delete(TPolicy row) {
  const TPolicySetting& p = Policy(row);
  RegDelValue(p.Root, p.WriteKey, p.Name);
}

std::int32_t ReadNumber(TPolicy row, int osCode) {
  const TPolicySetting& p = Policy(row);
  if (p.Form == TValueForm::Byte || (p.Form == TValueForm::IntegerOrByte && Is9xFamily(osCode)))
    return RegReadByte(p.Root, p.ReadKey, p.Name);
  // Absent reads as -1; a stored -1 cannot be told from it, and then the
  // row's own name decides.
  const std::int32_t alias = p.Alias ? RegReadInt(p.Root, p.ReadKey, p.Alias) : -1;
  return alias != -1 ? alias : RegReadInt(p.Root, p.ReadKey, p.Name);
}

bool WriteNumber(TPolicy row, int osCode, std::int32_t value) {
  const TPolicySetting& p = Policy(row);
  if (p.Form == TValueForm::Byte || (p.Form == TValueForm::IntegerOrByte && Is9xFamily(osCode)))
    return RegWriteByte(p.Root, p.WriteKey, p.Name, value);
  const bool stored = RegWriteInt(p.Root, p.WriteKey, p.Name, value);
  return (!p.Alias || RegWriteInt(p.Root, p.WriteKey, p.Alias, value)) && stored;
}

bool ShowsChecked(TPolicy row, int osCode) {
  const TPolicySetting& p = Policy(row);
  const bool text = p.Checked.Kind == TMarkValue::TKind::Text;
  switch (p.Shows) {
    case TShows::Present:
      return Exists(row);
    case TShows::Equal:
      return text ? ReadText(row) == p.Checked.Text : ReadNumber(row, osCode) == p.Checked.Number;
    case TShows::AtMost:
      return ReadNumber(row, osCode) <= p.Checked.Number;
    case TShows::Nothing:
      break;
  }
  return false;
}

bool StoreValue(TPolicy row, int osCode, const TMarkValue& value) {
  switch (value.Kind) {
    case TMarkValue::TKind::Deleted:
      Delete(row);
      return true;
    case TMarkValue::TKind::Text:
      WriteText(row, value.Text);
      return true;
    case TMarkValue::TKind::ProgramPath: {
      // In quotes, without arguments: unquoted, a path with a blank in it
      // such as C:\Program Files\Morvel\morvel.exe would start
      // C:\Program.exe at log-on when someone put one there.
      platform::TSystemService* system = platform::Services().System;
      WriteText(row, system ? '"' + system->ProgramFile() + '"' : std::string());
      return true;
    }
    case TMarkValue::TKind::Number:
      return WriteNumber(row, osCode, value.Number);
  }
  return true;
}

}  // namespace policies
