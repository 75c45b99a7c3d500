// Carrying out the command line: in the new process, alone or by handing
// the command to a running copy, and in the running copy that receives it.
#pragma once

#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "platform/Types.h"

namespace app {

// A start with a command, before the ordinary start: the exit code, or
// nothing when the program is to start as usual ("/show" with no copy
// running). Shows no window of its own but a message.
std::optional<int> RunCommandLine(const TCommandLine& command);

// The new process: sends the encoded command to the running copy whose
// main window the single-instance answer named; the copy's reply.
int SendCommand(platform::THandle mainWindow, const std::string& command);

// The running copy: carries out a command another start sent, as the
// matching button or menu item does; the exit code for that start.
int CarryOutForwarded(const std::string& command);

}  // namespace app
