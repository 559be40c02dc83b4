// One connection of sonoria-cli to a device: connect, read everything, check
// the model, and say goodbye at the end, as the program does.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>

#include "link/HidBackend.h"
#include "link/HostMessages.h"

namespace sonoria::cli {

// Serialises writes to the error stream: the trace arrives from the read thread.
class ErrorStream {
public:
    explicit ErrorStream(std::ostream& stream) : stream_(stream) {}
    void Line(const std::string& text);

private:
    std::mutex mutex_;
    std::ostream& stream_;
};

// Says what is wrong with the command line and where the commands are
// explained; returns kExitUsage.
int UsageError(ErrorStream& err, const std::string& message);

// The status of a command the device did not take: kExitInterrupted after an
// interruption, else kExitDevice having said "error: FAILURE" and what to try.
int DeviceFailed(ErrorStream& err, const std::string& failure);

// The backend limited to the device at one path (--device): the others are
// neither listed nor opened.
class OneDeviceBackend : public HidBackend {
public:
    OneDeviceBackend(std::shared_ptr<HidBackend> backend, std::string path)
        : backend_(std::move(backend)), path_(std::move(path)) {}
    bool RegisterDeviceNotification() override { return backend_->RegisterDeviceNotification(); }
    std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    bool SharedWithOtherPrograms() const override { return backend_->SharedWithOtherPrograms(); }
    bool InUpgradeMode() const override { return backend_->InUpgradeMode(); }

private:
    std::shared_ptr<HidBackend> backend_;
    std::string path_;
};

// The session also stands in for the main window: the synchronisation
// workers report their results to it.
class DeviceSession : public HostMessageSink {
public:
    DeviceSession(std::shared_ptr<HidBackend> backend, bool trace, ErrorStream& err);
    ~DeviceSession() override;
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Connects and runs the read-all; returns kExitOk or the status to exit
    // with, having said why. A read-all that did not complete is a failure:
    // nothing may be saved or reported from it.
    int Open();

    // The result of the last synchronisation worker since ForgetSyncResult:
    // true when it ran to its end on a sound link; nullopt while none reported.
    std::optional<bool> LastSyncResult() const;
    void ForgetSyncResult();

    // What the device reported on its own: how many keys it learned (and the
    // last code), and how many wireless-microphone status changes.
    unsigned KeysLearned() const { return keysLearned_.load(); }
    int LastLearnedCode() const { return lastLearnedCode_.load(); }
    unsigned WirelessReports() const { return wirelessReports_.load(); }

    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

private:
    std::string NoDeviceMessage() const;

    std::shared_ptr<HidBackend> backend_;
    bool trace_;
    ErrorStream& err_;
    bool open_ = false;
    std::atomic<int> syncResult_{-1};  // -1 none, 0 failed, 1 done
    std::atomic<unsigned> keysLearned_{0};
    std::atomic<int> lastLearnedCode_{0};
    std::atomic<unsigned> wirelessReports_{0};
};

// What a command does once the device is open and read; everything it needs
// from the command line was checked before.
using SessionRunner = std::function<int(DeviceSession& session, std::ostream& out, ErrorStream& err)>;

}  // namespace sonoria::cli
