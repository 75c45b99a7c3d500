#include "policies/PolicyMap.h"

#include <array>

#include "platform/Registry.h"
#include "platform/Services.h"
#include "policies/OSVersion.h"
#include "policies/RegistryRoutines.h"

namespace policies {

namespace {

constexpr platform::TRegRoot kMachine = platform::kHkeyLocalMachine;
constexpr platform::TRegRoot kUser = platform::kHkeyCurrentUser;
constexpr platform::TRegRoot kClasses = platform::kHkeyClassesRoot;
using enum TValueForm;
using enum TSystems;
using enum TShows;
using enum TReset;

constexpr const char* kExplorer =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kAutoPlay = "SOFTWARE\\Classes\\AudioCD\\Shell";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPlayer = "AudioCD\\Shell\\Play\\Command";
constexpr const char* kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr const char* kInstaller = "SOFTWARE\\Policies\\Microsoft\\Windows\\Installer";

// In the order of TPolicy. Windows Installer reads "DisableMedia"; the
// program has always written "DiasbleMedia", so both are written, and the
// right one wins when read.
// clang-format off
constexpr std::array<TPolicySetting, kPolicyCount> kPolicyMap{{
    {.Root = kMachine, .ReadKey = kRun, .WriteKey = kRun, .Name = "Morvel",
     .Form = String, .Control = "CheckBox1",
     .Shows = Present, .Checked = kProgramPath, .Unchecked = kDeleted},
    {.Root = kClasses, .ReadKey = kPlayer, .WriteKey = kPlayer, .Name = "",
     .Form = String, .Control = "DefPlay"},
    {.Root = kMachine, .ReadKey = kAutoPlay, .WriteKey = kAutoPlay, .Name = "",
     .Form = String, .Control = "CheckBox2",
     .Shows = Equal, .Checked = Text("play"), .Unchecked = Text(""),
     .Reset = ToChecked, .ResetStep = 1},
    {.Root = kClasses, .ReadKey = "AudioCD\\Shell", .WriteKey = "AudioCD\\Shell", .Name = "",
     .Form = String, .Control = "CheckBox2",
     .Shows = Equal, .Checked = Text("play"), .Unchecked = Text(""),
     .Reset = ToChecked, .ResetStep = 1},
    {.Root = kMachine, .ReadKey = "System\\CurrentControlSet\\Services\\CDROM",
     .WriteKey = "SYSTEM\\CurrentControlSet\\Services\\Cdrom", .Name = "AutoRun",
     .Form = Integer, .Systems = Nt, .Control = "BitBtn5/BitBtn6",
     .Shows = Equal, .Checked = Number(1), .Unchecked = Number(0),
     .Reset = ToChecked, .ResetStep = 7, .AsksRestart = true},
    {.Root = kMachine, .ReadKey = "System\\CurrentControlSet\\Services\\Class\\CDROM",
     .WriteKey = "SYSTEM\\CurrentControlSet\\Services\\Class\\Cdrom", .Name = "AutoRun",
     .Form = Byte, .Systems = Nine, .Control = "BitBtn5/BitBtn6",
     .Shows = Equal, .Checked = Number(1), .Unchecked = Number(0),
     .Reset = ToChecked, .ResetStep = 7, .AsksRestart = true},
    {.Root = kMachine, .ReadKey = kWinlogon, .WriteKey = kWinlogon, .Name = "AllocateCDRoms",
     .Form = String, .Systems = Nt, .Control = "CheckBox7",
     .Shows = Equal, .Checked = Text("0"), .Unchecked = Text("1"),
     .Reset = ToChecked, .ResetStep = 8},
    {.Root = kUser, .ReadKey = kExplorer, .WriteKey = kExplorer, .Name = "NoCDBurning",
     .Form = Integer, .Systems = Xp, .Control = "CheckBox8",
     .Shows = AtMost, .Checked = Number(0), .Unchecked = Number(1),
     .Reset = ToChecked, .ResetStep = 9},
    {.Root = kUser, .ReadKey = kInstaller, .WriteKey = kInstaller, .Name = "DiasbleMedia",
     .Form = Integer, .Alias = "DisableMedia", .Systems = Xp, .Control = "CheckBox6",
     .Shows = AtMost, .Checked = Number(0), .Unchecked = Number(1),
     .Reset = ToChecked, .ResetStep = 10},
    {.Root = kUser, .ReadKey = kExplorer, .WriteKey = kExplorer, .Name = "CDRAutoRun",
     .Form = Integer, .Control = "CheckBox4",
     .Shows = Equal, .Checked = Number(1), .Unchecked = kDeleted,
     .Reset = Deleted, .ResetStep = 2},
    {.Root = kUser, .ReadKey = kExplorer, .WriteKey = kExplorer, .Name = "NoDriveTypeAutoRun",
     .Form = IntegerOrByte, .Control = "CheckListBox3", .Reset = Deleted, .ResetStep = 5},
    {.Root = kMachine, .ReadKey = kExplorer, .WriteKey = kExplorer, .Name = "NoDriveTypeAutoRun",
     .Form = IntegerOrByte, .Control = "CheckListBox4", .Reset = Deleted, .ResetStep = 6},
    {.Root = kUser, .ReadKey = kExplorer, .WriteKey = kExplorer, .Name = "NoDriveAutoRun",
     .Form = Integer, .Control = "CheckListBox1", .Reset = Deleted, .ResetStep = 3},
    {.Root = kMachine, .ReadKey = kExplorer, .WriteKey = kExplorer, .Name = "NoDriveAutoRun",
     .Form = Integer, .Control = "CheckListBox2", .Reset = Deleted, .ResetStep = 4},
    {.Root = kClasses, .ReadKey = "\\htmlfile\\shell\\open\\command",
     .WriteKey = "\\htmlfile\\shell\\open\\command", .Name = "", .Form = String},
}};
// clang-format on

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
