#include "cli/DeviceSession.h"

#include <unistd.h>

#include <cerrno>

#include "cli/Cli.h"
#include "launch/WireTrace.h"
#include "link/CommandCodes.h"
#include "link/Goodbye.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/ReportDispatch.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"

namespace sonoria::cli {

void ErrorStream::Line(const std::string& text) {
    std::lock_guard lock(mutex_);
    stream_ << text << '\n';
    stream_.flush();
}

int UsageError(ErrorStream& err, const std::string& message) {
    err.Line("error: " + message);
    err.Line("run \"sonoria-cli --help\" for the commands");
    return kExitUsage;
}

int DeviceFailed(ErrorStream& err, const std::string& failure) {
    if (SynchronisationInterrupted()) return kExitInterrupted;
    err.Line("error: " + failure + ": unplug the device, plug it in again and retry");
    return kExitDevice;
}

std::optional<std::vector<HidInterfaceInfo>> OneDeviceBackend::Enumerate() {
    auto interfaces = backend_->Enumerate();
    if (interfaces) std::erase_if(*interfaces, [this](const HidInterfaceInfo& info) { return info.path != path_; });
    return interfaces;
}

std::unique_ptr<HidDevice> OneDeviceBackend::Open(const std::string& path) {
    return path == path_ ? backend_->Open(path) : nullptr;
}

DeviceSession::DeviceSession(std::shared_ptr<HidBackend> backend, bool trace, ErrorStream& err)
    : backend_(std::move(backend)), trace_(trace), err_(err) {}

DeviceSession::~DeviceSession() {
    StopSyncWorkers();
    if (open_) {
        // Goodbye even after an interruption; a lost link lets it go at once.
        SayGoodbye();
        CloseLink();
    }
    SetReportTrace({});
    SetHidBackend(nullptr);
    g_hMainWnd.store(nullptr);
}

std::string DeviceSession::NoDeviceMessage() const {
    if (const auto holder = ConnectionRefusedBy()) {
        return "error: the device is in use by another program (process " + std::to_string(*holder) +
               "); close it and retry";
    }
    const auto interfaces = backend_->Enumerate();
    if (interfaces) {
        for (const HidInterfaceInfo& info : *interfaces) {
            if (!info.attributes || info.attributes->vendorId != kVendorId ||
                info.attributes->productId != kProductId) {
                continue;
            }
            if (::access(info.path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
                return "error: the device at " + info.path +
                       " cannot be opened: permission denied. Install the udev rule with "
                       "\"sonoria-cli print-udev-rules | sudo tee /etc/udev/rules.d/70-sonoria.rules\", "
                       "then \"sudo udevadm control --reload && sudo udevadm trigger\", and plug the device in again";
            }
        }
    }
    return "error: no device found (USB 2010:1031): connect it and switch it on, or try the built-in "
           "virtual device with --virtual";
}

int DeviceSession::Open() {
    SetHidBackend(backend_);
    if (trace_) SetReportTrace(WireTrace([this](const std::string& line) { err_.Line(line); }));
    if (ConnectDeviceImage(this) != 1) {
        err_.Line(NoDeviceMessage());
        return kExitDevice;
    }
    open_ = true;
    if (!ReadAll()) {
        if (SynchronisationInterrupted()) return kExitInterrupted;
        err_.Line(g_Device.nameReported.load() == 0
                      ? "error: the device did not answer when asked for its name: check that it is switched on, "
                        "unplug it, plug it in again and retry"
                      : "error: the device did not answer while it was being read, so nothing it reported is "
                        "used: unplug it, plug it in again and retry");
        return kExitDevice;
    }
    const std::string name = g_Device.machineName.Get();
    if (!IsKnownModel(name)) {
        err_.Line("error: the device reports the model \"" + name +
                  "\", which this program does not control; nothing was changed");
        return kExitDevice;
    }
    return kExitOk;
}

std::optional<bool> DeviceSession::LastSyncResult() const {
    const int result = syncResult_.load();
    if (result < 0) return std::nullopt;
    return result == 1;
}

void DeviceSession::ForgetSyncResult() { syncResult_.store(-1); }

void DeviceSession::Post(unsigned message, std::uintptr_t, std::intptr_t lParam) {
    if (message == WM_SYNC_DONE) syncResult_.store(lParam != 0 ? 1 : 0);
}

void DeviceSession::Send(unsigned message, std::uintptr_t wParam, std::intptr_t) {
    if (message == WM_KEY_LEARNED) {
        lastLearnedCode_.store(static_cast<int>(wParam & 0xFF));
        keysLearned_.fetch_add(1);
    } else if (message == WM_WMIC_STATUS) {
        wirelessReports_.fetch_add(1);
    }
}

}  // namespace sonoria::cli
