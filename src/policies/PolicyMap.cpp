#include "policies/PolicyMap.h"

#include <array>

#include "policies/OSVersion.h"
#include "policies/RegistryRoutines.h"

using platform::kHkeyClassesRoot;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

namespace policies {

namespace {

constexpr const char* kExplorerPolicies =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

constexpr std::array<TPolicySetting, kPolicyCount> kPolicyMap{{
    {kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\CDROM",
     "SYSTEM\\CurrentControlSet\\Services\\Cdrom", "AutoRun", TValueForm::Integer,
     "BitBtn5/BitBtn6"},
    {kHkeyLocalMachine, "System\\CurrentControlSet\\Services\\Class\\CDROM",
     "SYSTEM\\CurrentControlSet\\Services\\Class\\Cdrom", "AutoRun", TValueForm::Byte,
     "BitBtn5/BitBtn6"},
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "Morvel", TValueForm::String,
     "CheckBox1"},
    {kHkeyLocalMachine, "SOFTWARE\\Classes\\AudioCD\\Shell", "SOFTWARE\\Classes\\AudioCD\\Shell",
     "", TValueForm::String, "CheckBox2"},
    {kHkeyClassesRoot, "AudioCD\\Shell", "AudioCD\\Shell", "", TValueForm::String, "CheckBox2"},
    {kHkeyClassesRoot, "AudioCD\\Shell\\Play\\Command", "AudioCD\\Shell\\Play\\Command", "",
     TValueForm::String, "DefPlay"},
    {kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "AllocateCDRoms",
     TValueForm::String, "CheckBox7"},
    {kHkeyCurrentUser, kExplorerPolicies, kExplorerPolicies, "NoCDBurning", TValueForm::Integer,
     "CheckBox8"},
    {kHkeyCurrentUser, "SOFTWARE\\Policies\\Microsoft\\Windows\\Installer",
     "SOFTWARE\\Policies\\Microsoft\\Windows\\Installer", "DiasbleMedia", TValueForm::Integer,
     "CheckBox6"},
    {kHkeyCurrentUser, kExplorerPolicies, kExplorerPolicies, "CDRAutoRun", TValueForm::Integer,
     "CheckBox4"},
    {kHkeyCurrentUser, kExplorerPolicies, kExplorerPolicies, "NoDriveTypeAutoRun",
     TValueForm::IntegerOrByte, "CheckListBox3"},
    {kHkeyLocalMachine, kExplorerPolicies, kExplorerPolicies, "NoDriveTypeAutoRun",
     TValueForm::IntegerOrByte, "CheckListBox4"},
    {kHkeyCurrentUser, kExplorerPolicies, kExplorerPolicies, "NoDriveAutoRun", TValueForm::Integer,
     "CheckListBox1"},
    {kHkeyLocalMachine, kExplorerPolicies, kExplorerPolicies, "NoDriveAutoRun", TValueForm::Integer,
     "CheckListBox2"},
    {kHkeyClassesRoot, "\\htmlfile\\shell\\open\\command", "\\htmlfile\\shell\\open\\command", "",
     TValueForm::String, ""},
}};

}  // namespace

const TPolicySetting& Policy(TPolicy row) { return kPolicyMap[static_cast<std::size_t>(row)]; }

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

std::int32_t ReadInteger(TPolicy row) {
  const TPolicySetting& p = Policy(row);
  return RegReadInt(p.Root, p.ReadKey, p.Name);
}

bool WriteInteger(TPolicy row, std::int32_t value) {
  const TPolicySetting& p = Policy(row);
  return RegWriteInt(p.Root, p.WriteKey, p.Name, value);
}

int ReadByte(TPolicy row) {
  const TPolicySetting& p = Policy(row);
  return RegReadByte(p.Root, p.ReadKey, p.Name);
}

bool WriteByte(TPolicy row, int value) {
  const TPolicySetting& p = Policy(row);
  return RegWriteByte(p.Root, p.WriteKey, p.Name, value);
}

void Delete(TPolicy row) {
  const TPolicySetting& p = Policy(row);
  RegDelValue(p.Root, p.WriteKey, p.Name);
}

std::int32_t ReadIntegerOrByte(TPolicy row, int osCode) {
  return IsNtFamily(osCode) ? ReadInteger(row) : ReadByte(row);
}

bool WriteIntegerOrByte(TPolicy row, int osCode, std::int32_t value) {
  return IsNtFamily(osCode) ? WriteInteger(row, value) : WriteByte(row, value);
}

std::int32_t ReadDisableMedia() {
  const TPolicySetting& p = Policy(kRemovableMediaInstall);
  // Absent reads as -1; a stored -1 cannot be told from it, and then the
  // older name decides.
  const std::int32_t value = RegReadInt(p.Root, p.ReadKey, kDisableMediaName);
  return value != -1 ? value : RegReadInt(p.Root, p.ReadKey, p.Name);
}

bool WriteDisableMedia(std::int32_t value) {
  const TPolicySetting& p = Policy(kRemovableMediaInstall);
  const bool old = RegWriteInt(p.Root, p.WriteKey, p.Name, value);
  return RegWriteInt(p.Root, p.WriteKey, kDisableMediaName, value) && old;
}

bool StoreOrPutBack(TPolicy row, const std::function<bool()>& write,
                    const std::function<void()>& putBack) {
  if (write()) return true;
  putBack();
  ShowWriteRefused(Policy(row).WriteKey);
  return false;
}

}  // namespace policies
