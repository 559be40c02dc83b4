// sonoria-cli: back up, restore and script devices without the windows.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "link/HidBackend.h"

namespace sonoria::cli {

enum ExitStatus {
    kExitOk = 0,
    kExitDevice = 1,  // no device, refused model, a key lock or volume ceiling, or the device failed
    kExitUsage = 2,
    kExitFile = 3,
    kExitDiffers = 4,  // diff: the two sides differ
    kExitInterrupted = 130,  // SIGINT or SIGTERM, after the command in flight
};

// Runs one invocation (arguments without the program name); what a user reads
// goes to `out`, errors and the trace to `err`. Returns the exit status.
// Every argument, and every file the command reads, is checked before the
// device is touched. InterruptSynchronisation (state/SyncWorkers.h), from a
// signal handler or another thread, makes it finish the command in flight,
// let the device go and return kExitInterrupted.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same on `backend` instead of the one the options choose, so that the
// caller (a test) keeps the devices and can look at them afterwards.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::shared_ptr<HidBackend> backend);

// The udev rule that gives the logged-in user access to the device.
const char* UdevRules();

}  // namespace sonoria::cli
