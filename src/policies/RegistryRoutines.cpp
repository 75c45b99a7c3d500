#include "policies/RegistryRoutines.h"

#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "policies/PolicyMap.h"

using platform::TRegistry;

namespace policies {

namespace {

// A leading backslash would name the root itself; the path starts below it.
std::string KeyPath(const std::string& key) {
  return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
}

// A fresh accessor on `root` for one call.
struct TAccess {
  explicit TAccess(TRegRoot root) { Registry.SetRootKey(root); }
  TRegistry Registry;
};

}  // namespace

void RegReadStr(TRegRoot root, const std::string& key, const std::string& name,
                std::string& value) {
  TAccess a(root);
  if (!a.Registry.OpenKeyReadOnly(KeyPath(key))) {
    platform::ShowMessage("Error opening/creating key : " + key);
    return;
  }
  if (!a.Registry.ValueExists(name)) {
    a.Registry.CloseKey();  // no key stays open while the message waits for the user
    platform::ShowMessage(name + " does not exists under " + key);
    return;
  }
  value = a.Registry.ReadString(name);
}

void RegWriteStr(TRegRoot root, const std::string& key, const std::string& name,
                 const std::string& data) {
  TAccess a(root);
  if (!a.Registry.OpenKey(KeyPath(key), true)) {
    ShowWriteRefused(key);
    return;
  }
  a.Registry.WriteString(name, data);
}

void ShowWriteRefused(const std::string& key) {
  platform::ShowMessage("Error writing : " + key +
                        "     \r\nYou do not have the rights to change this setting");
}

void RegDelValue(TRegRoot root, const std::string& key, const std::string& name) {
  TAccess a(root);
  if (!a.Registry.OpenKey(KeyPath(key), false)) {
    platform::ShowMessage("Fejl ved sletning af registreringen : " + name);
    return;
  }
  if (a.Registry.ValueExists(name)) a.Registry.DeleteValue(name);
}

bool RegValueExists(TRegRoot root, const std::string& key, const std::string& name) {
  TAccess a(root);
  if (!a.Registry.OpenKeyReadOnly(KeyPath(key))) {
    platform::ShowMessage("Cannot verify: " + key);
    return false;
  }
  return a.Registry.ValueExists(name);
}

std::int32_t RegReadInt(TRegRoot root, const std::string& key, const std::string& name) {
  TAccess a(root);
  if (!a.Registry.OpenKeyReadOnly(KeyPath(key)) || !a.Registry.ValueExists(name)) return -1;
  return a.Registry.ReadInteger(name);
}

bool RegWriteInt(TRegRoot root, const std::string& key, const std::string& name,
                 std::int32_t data) {
  TAccess a(root);
  if (!a.Registry.OpenKey(KeyPath(key), true)) return false;
  a.Registry.WriteInteger(name, data);
  return true;
}

int RegReadByte(TRegRoot root, const std::string& key, const std::string& name) {
  TAccess a(root);
  if (!a.Registry.OpenKeyReadOnly(KeyPath(key)) || !a.Registry.ValueExists(name)) return 1;
  std::uint8_t byte = 0;
  a.Registry.ReadBinaryData(name, &byte, 1);
  return byte;
}

bool RegWriteByte(TRegRoot root, const std::string& key, const std::string& name, int data) {
  TAccess a(root);
  if (!a.Registry.OpenKey(KeyPath(key), true)) return false;
  const auto byte = static_cast<std::uint8_t>(data & 0xFF);
  a.Registry.WriteBinaryData(name, &byte, 1);
  return true;
}

void OpenInBrowser(const std::string& url) {
  std::string command;
  {
    TAccess a(platform::kHkeyClassesRoot);
    // Whether the key opened is not looked at: a failed open reads as empty.
    // It is only read, and a standard user may not change it.
    a.Registry.OpenKeyReadOnly(KeyPath(Policy(kHtmlHandler).ReadKey));
    try {
      command = a.Registry.ReadString("");
    } catch (const platform::ERegistryException&) {
      command.clear();
    }
  }
  if (command.empty()) return;
  // Only the quoted program path of the registered command is run.
  const auto open = command.find('"');
  std::string rest = open == std::string::npos ? command : command.substr(open + 1);
  const auto close = rest.find('"');
  rest = close == std::string::npos ? std::string() : rest.substr(0, close);
  // Without a quoted path there is nothing to run; an empty file name would
  // make the shell open a folder instead.
  if (rest.empty()) return;
  if (platform::TShellService* shell = platform::Services().Shell)
    shell->Execute(0, "open", rest, url, {}, platform::kSwShow);
}

}  // namespace policies
