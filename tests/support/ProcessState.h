// The process-wide state a test may change, put back when the test ends.
#pragma once

#include <memory>
#include <string>

#include "files/FileIo.h"
#include "link/DebugLog.h"
#include "link/HidBackend.h"
#include "link/HostMessages.h"
#include "link/Transport.h"
#include "state/FirmwareTransfer.h"

namespace sonoria::test {

// What a setter that hands back the value it replaces holds now.
template <typename Value>
Value ReadBack(Value (*set)(Value)) {
    Value value = set(Value{});
    set(value);
    return value;
}

// A window for links nobody listens to. It lives as long as the process, so
// a read thread can never post to it after it went.
HostMessageSink& NoListener();

// Saves, when made, every process-wide value of the link and the state, and
// restores it when it goes: the link's flags, backend, report handler and
// trace, main window, lock folder, the synchronisation interrupt, the current
// language, the debug log sink, the write-failure handler and the firmware
// source. What cannot be saved is brought back to where a new process starts:
// workers are stopped, a link still open is closed, kept edits are dropped,
// and the device image and the first rear routing start over.
//
// Make it before a link opens: a fixture holds it as its first member, so it
// goes after everything the test made. Only what the link may call until it
// closes (a message recorder) comes before it.
class ProcessStateGuard {
public:
    ProcessStateGuard();
    ~ProcessStateGuard();
    ProcessStateGuard(const ProcessStateGuard&) = delete;
    ProcessStateGuard& operator=(const ProcessStateGuard&) = delete;

private:
    std::shared_ptr<HidBackend> backend_;
    ReportHandler handler_;
    ReportTrace trace_;
    HostMessageSink* mainWindow_;
    int readThreadEnd_;
    int syncIdle_;
    int upgradeMode_;
    int transferPercent_;
    bool interrupted_;
    int language_;
    std::string lockDirectory_;
    DebugLogSink logSink_;
    WriteFailureHandler writeFailure_;
    FirmwareImageSource firmware_;
};

}  // namespace sonoria::test
