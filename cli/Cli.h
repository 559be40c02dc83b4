// sonoria-cli: back up, restore and script devices without the windows.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sonoria::cli {

enum ExitStatus {
    kExitOk = 0,
    kExitDevice = 1,  // no device, refused model, or the link failed
    kExitUsage = 2,
    kExitFile = 3,
};

// Runs one invocation (arguments without the program name); what a user reads
// goes to `out`, errors and the trace to `err`. Returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The udev rule that gives the logged-in user access to the device.
const char* UdevRules();

}  // namespace sonoria::cli
