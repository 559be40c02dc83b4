#include "cli/DeviceSession.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "cli/Cli.h"
#include "files/VirtualDeviceState.h"
#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/HidapiBackend.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "simulator/VirtualDevice.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"

namespace sonoria::cli {

void ErrorStream::Line(const std::string& text) {
    std::lock_guard lock(mutex_);
    stream_ << text << '\n';
    stream_.flush();
}

std::string TraceLine(bool written, const std::uint8_t* report, std::size_t size) {
    std::size_t last = 1;
    for (std::size_t i = 2; i < size; ++i) {
        if (report[i] != 0) last = i;
    }
    std::string line = written ? ">" : "<";
    char hex[4];
    for (std::size_t i = 0; i <= last && i < size; ++i) {
        std::snprintf(hex, sizeof hex, " %02x", report[i]);
        line += hex;
    }
    return line;
}

std::shared_ptr<HidBackend> MakeBackend(const CliOptions& options, ErrorStream& err, int& status) {
    if (!options.useVirtual) return std::make_shared<HidapiBackend>();
    auto device = std::make_shared<VirtualDevice>(options.virtualModel);
    std::string error;
    if (!options.virtualState.empty() && !LoadVirtualDeviceState(*device, options.virtualState, &error)) {
        err.Line("error: cannot start the virtual device from the file: " + error);
        status = kExitFile;
        return nullptr;
    }
    return device;
}

DeviceSession::DeviceSession(std::shared_ptr<HidBackend> backend, bool trace, ErrorStream& err)
    : backend_(std::move(backend)), trace_(trace), err_(err) {}

DeviceSession::~DeviceSession() {
    StopSyncWorkers();
    if (open_) {
        SendCommand(CMD_BYE);
        CloseLink();
    }
    SetReportTrace({});
    SetHidBackend(nullptr);
}

std::string DeviceSession::NoDeviceMessage() const {
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
    if (trace_) {
        SetReportTrace([this](bool written, const Report& report) {
            err_.Line(TraceLine(written, report.data(), report.size()));
        });
    }
    if (ConnectDeviceImage(nullptr) != 1) {
        err_.Line(NoDeviceMessage());
        return kExitDevice;
    }
    open_ = true;
    ReadAll();
    if (!LinkSound()) {
        err_.Line("error: the link to the device failed while reading it: unplug it, plug it in again and retry");
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

bool DeviceSession::LinkSound() const { return g_bDeviceOpen.load() == 1 && g_bReadThreadEnd.load() == 0; }

}  // namespace sonoria::cli
