// sonoria-cli's remote-key and wireless-microphone commands: "remote learn",
// "remote show" and "wmic show|pair|set".
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "cli/CliOptions.h"
#include "cli/DeviceSession.h"

namespace sonoria::cli {

inline constexpr int kDefaultLearnTimeoutSeconds = 30;

// A remote code as "remote show" prints it: two hexadecimal digits.
std::string RemoteCodeText(int code);

// "remote learn KEY" and "remote show": checks the arguments and sets `run`;
// kExitUsage (having said why) for wrong ones.
int PlanRemoteKeys(const CliOptions& options, ErrorStream& err, SessionRunner& run);

// "wmic show", "wmic pair 1|2 --room ROOM", "wmic set 1|2 volume|gate|power VALUE".
int PlanWirelessMics(const CliOptions& options, ErrorStream& err, SessionRunner& run);

// Asks the device to learn `key` and waits up to `timeout` for the code. When
// it comes, prints it and writes the whole remote-code block, since nothing
// applies it later. On a time-out, an interruption (Ctrl-C) or a lost link
// the device is told to stop listening and the result is kExitDevice.
int LearnRemoteKey(DeviceSession& session, int key, std::chrono::milliseconds timeout, std::ostream& out,
                   ErrorStream& err);

}  // namespace sonoria::cli
