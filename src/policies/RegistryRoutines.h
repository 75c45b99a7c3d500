// Every registry access of the program goes through these routines. Each
// call opens its key, does one thing and closes it again; nothing is cached.
// Some failures are reported here, in English, in a plain message box; a
// value of the wrong type raises ERegistryException, which ends the calling
// operation and reaches the application's error report.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace policies {

using platform::TRegRoot;

// Fills `value` only on success; on failure it keeps what it held.
void RegReadStr(TRegRoot root, const std::string& key, const std::string& name, std::string& value);
void RegWriteStr(TRegRoot root, const std::string& key, const std::string& name,
                 const std::string& data);
void RegDelValue(TRegRoot root, const std::string& key, const std::string& name);
bool RegValueExists(TRegRoot root, const std::string& key, const std::string& name);
// -1 when the key or the value is missing.
std::int32_t RegReadInt(TRegRoot root, const std::string& key, const std::string& name);
// The two number writes say nothing when the key cannot be opened or
// created; they return false then, and a caller that shows the change as
// made reports it with ShowWriteRefused.
bool RegWriteInt(TRegRoot root, const std::string& key, const std::string& name, std::int32_t data);
// 1 when the key or the value is missing.
int RegReadByte(TRegRoot root, const std::string& key, const std::string& name);
// Stores the low eight bits of `data` as a one-byte binary value.
bool RegWriteByte(TRegRoot root, const std::string& key, const std::string& name, int data);
// The message of RegWriteStr for a key it cannot open or create.
void ShowWriteRefused(const std::string& key);

// Starts the program registered for HTML files with `url` as its whole
// parameter text.
void OpenInBrowser(const std::string& url);

}  // namespace policies
