// sonoria-cli's machine administration: "reset --yes", "settings" and
// "settings set KEY=VALUE...", and the key locks that "mode" keeps to.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "cli/CliOptions.h"
#include "cli/DeviceSession.h"

namespace sonoria::cli {

// "reset --yes": the factory reset. Without --yes it says what a reset does
// and returns kExitUsage. Sets `run` when the arguments are right.
int PlanReset(const CliOptions& options, ErrorStream& err, SessionRunner& run);

// "settings" prints the machine-settings record as the device has it, one
// "key: value" line per setting; "settings set KEY=VALUE..." changes the named
// settings in it, writes the whole record once and prints the result. Every
// pair is checked here, before the device is touched: kExitUsage for an
// unknown or repeated key, a malformed pair or a value out of range.
int PlanSettings(const CliOptions& options, ErrorStream& err, SessionRunner& run);

// The key "settings" prints for byte `byte` of the machine-settings record,
// and the text it prints for the raw value; an empty key for a byte it does
// not show (the text is then the number).
std::string_view MachineSettingKey(std::size_t byte);
std::string MachineSettingText(std::size_t byte, int raw);

// Why the device's key locks refuse "mode VERB" (load, save or recall) as the
// Function window refuses its buttons: the whole error line after "error: ";
// empty when the locks allow it.
std::string ModeLockRefusal(const std::string& verb);

}  // namespace sonoria::cli
