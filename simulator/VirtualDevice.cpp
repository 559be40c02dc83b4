// The virtual device's wire: the queue of reports waiting to be read, the
// handles the host opens, plugging and unplugging, and the record of traffic.
#include "simulator/VirtualDevice.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <utility>

#include "link/CommandCodes.h"

namespace sonoria {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kDefaultLearnDelay{300};
constexpr std::uint8_t kDefaultLearnedCode = 0x45;
// The record keeps the newest reports of each direction; a program left
// running on the virtual device must not grow without bound.
constexpr std::size_t kRecordLimit = 1 << 16;

void Record(std::vector<Report>& record, const Report& report) {
    if (record.size() >= kRecordLimit) record.erase(record.begin(), record.begin() + kRecordLimit / 2);
    record.push_back(report);
}

struct QueuedReport {
    Report report{};
    Clock::time_point due;
    std::uint64_t sequence = 0;  // keeps reports due at the same moment in order
    std::function<void(sim::DeviceMemory&)> onDue;
};

bool ValidMode(int mode) { return mode >= 0 && static_cast<std::size_t>(mode) < kModeCount; }
bool ValidMic(int mic) { return mic >= 0 && static_cast<std::size_t>(mic) < kWirelessMicCount; }

}  // namespace

// Everything here is guarded by `mutex`; `changed` wakes readers and
// WaitForReceived whenever a report is queued, received or the link dies.
struct VirtualDevice::Core {
    mutable std::mutex mutex;
    mutable std::condition_variable changed;

    sim::DeviceMemory memory;
    bool plugged = true;
    // Bumped by every unplug and link break; a handle lives while its
    // epoch is current.
    std::uint64_t epoch = 0;

    std::chrono::milliseconds answerDelay{0};
    std::chrono::milliseconds learnDelay = kDefaultLearnDelay;
    bool silent = false;
    // Faults that set in after a number of commands (nullopt: none).
    std::optional<std::size_t> silentAfterAnswers;
    std::optional<std::size_t> breakAfterCommands;
    std::size_t answersGiven = 0;
    std::size_t commandsTaken = 0;
    std::size_t dropWritesEvery = 0;  // 0: every write is stored
    std::size_t writesTaken = 0;
    std::uint8_t learnedCode = kDefaultLearnedCode;
    std::uint8_t learnedRemoteCode = sim::kFactoryRemoteCode;
    const Clock::time_point start = Clock::now();

    std::vector<QueuedReport> queue;
    std::uint64_t nextSequence = 0;
    // Answers leave in command order even when the delay is shortened.
    Clock::time_point lastAnswerDue{};

    // The host has come back to read since it last took a report, i.e. it
    // has handled every report it took (tests wait on this).
    bool hostBackForMore = false;
    // Reports wait in the queue until released (HoldReports).
    bool held = false;

    std::vector<Report> received;
    std::size_t receivedCount = 0;  // since the record was cleared, beyond its limit too
    std::vector<Report> sent;
    PlugListener listener;

    bool Live(std::uint64_t handleEpoch) const { return plugged && handleEpoch == epoch; }

    void Enqueue(const Report& report, Clock::time_point due,
                 std::function<void(sim::DeviceMemory&)> onDue = {}) {
        queue.push_back({report, due, nextSequence++, std::move(onDue)});
        Record(sent, report);
    }

    // Lets the memory catch up with what became due (a learned key, a paired
    // microphone) before anyone looks at it.
    void Settle(Clock::time_point now) {
        for (QueuedReport& queued : queue) {
            if (queued.due <= now && queued.onDue) {
                queued.onDue(memory);
                queued.onDue = nullptr;
            }
        }
    }

    void DropPendingKeyReports(Clock::time_point now) {
        std::erase_if(queue, [now](const QueuedReport& queued) {
            return queued.due > now && queued.report[1] == CMD_LEARN_KEY;
        });
    }

    // Reports still waiting die with the link.
    void DropLink() {
        Settle(Clock::now());
        queue.clear();
        lastAnswerDue = {};
        ++epoch;
    }

    // Runs `f` on the memory under the lock, once it has caught up.
    template <typename F>
    auto WithMemory(F&& f) {
        std::lock_guard lock(mutex);
        Settle(Clock::now());
        return f(memory);
    }

    std::vector<QueuedReport>::iterator Earliest() {
        return std::min_element(queue.begin(), queue.end(), [](const auto& a, const auto& b) {
            return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
        });
    }

    int Write(std::uint64_t handleEpoch, const std::uint8_t* data, std::size_t size) {
        if (data == nullptr || size == 0) return 0;
        {
            std::lock_guard lock(mutex);
            if (!Live(handleEpoch)) return 0;
            Report command{};
            const std::size_t n = std::min(size, kReportSize);
            std::memcpy(command.data(), data, n);
            Record(received, command);
            ++receivedCount;

            const Clock::time_point now = Clock::now();
            Settle(now);
            // The stop command ends listening for a key, and a new learn
            // command replaces the key listened for: a key not heard yet is
            // never reported.
            if (command[0] == kOutputReportId && (command[1] == CMD_END_LEARN || command[1] == CMD_LEARN_KEY)) {
                DropPendingKeyReports(now);
            }
            sim::CommandContext context;
            context.sinceStart = std::chrono::duration_cast<std::chrono::milliseconds>(now - start);
            context.learnDelay = learnDelay;
            context.learnedRemoteCode = learnedRemoteCode;
            context.learnedKeyCode = learnedCode;
            const bool dropped = dropWritesEvery > 0 && command[0] == kOutputReportId &&
                                 command[1] == CMD_SET_PARAM && ++writesTaken % dropWritesEvery == 0;
            // A dropped write is answered as any other, from a copy that is then forgotten.
            sim::DeviceMemory forgotten;
            if (dropped) forgotten = memory;
            std::vector<sim::DeviceReply> replies = sim::HandleCommand(dropped ? forgotten : memory, command, context);
            if (silentAfterAnswers && answersGiven >= *silentAfterAnswers) silent = true;
            if (!silent) {
                if (!replies.empty()) ++answersGiven;
                for (sim::DeviceReply& reply : replies) {
                    if (reply.ownInitiativeAfter) {
                        Enqueue(reply.report, now + *reply.ownInitiativeAfter, std::move(reply.onDue));
                    } else {
                        lastAnswerDue = std::max(now + answerDelay, lastAnswerDue);
                        Enqueue(reply.report, lastAnswerDue, std::move(reply.onDue));
                    }
                }
            }
            if (breakAfterCommands && ++commandsTaken >= *breakAfterCommands) {
                breakAfterCommands.reset();
                DropLink();
            }
        }
        changed.notify_all();
        return static_cast<int>(std::min(size, kReportSize));
    }

    int Read(std::uint64_t handleEpoch, std::uint8_t* buffer, std::size_t size, int timeoutMs) {
        std::unique_lock lock(mutex);
        if (!hostBackForMore) {
            hostBackForMore = true;
            changed.notify_all();
        }
        const bool forever = timeoutMs < 0;
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            if (!Live(handleEpoch)) return -1;
            const Clock::time_point now = Clock::now();
            if (held) {
                if (!forever && now >= deadline) return 0;
                if (forever) {
                    changed.wait(lock);
                } else {
                    changed.wait_until(lock, deadline);
                }
                continue;
            }
            auto next = Earliest();
            if (next != queue.end() && next->due <= now) {
                if (next->onDue) next->onDue(memory);
                const Report report = next->report;
                queue.erase(next);
                hostBackForMore = false;
                const std::size_t n = std::min(size, kReportSize);
                if (buffer != nullptr) std::memcpy(buffer, report.data(), n);
                return static_cast<int>(n);
            }
            if (!forever && now >= deadline) return 0;
            if (next != queue.end() && (forever || next->due < deadline)) {
                changed.wait_until(lock, next->due);
            } else if (forever) {
                changed.wait(lock);
            } else {
                changed.wait_until(lock, deadline);
            }
        }
    }
};

class VirtualDevice::Handle : public HidDevice {
public:
    Handle(std::shared_ptr<Core> core, std::uint64_t epoch) : core_(std::move(core)), epoch_(epoch) {}

    std::optional<HidAttributes> GetAttributes() override {
        std::lock_guard lock(core_->mutex);
        if (!core_->Live(epoch_)) return std::nullopt;
        return HidAttributes{kVendorId, kProductId};
    }

    int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        return core_->Read(epoch_, buffer, size, timeoutMs);
    }

    int Write(const std::uint8_t* data, std::size_t size) override {
        return core_->Write(epoch_, data, size);
    }

private:
    // Keeps the device alive for a reader still waiting when it is destroyed.
    std::shared_ptr<Core> core_;
    const std::uint64_t epoch_;
};

std::string VirtualDevicePath(std::size_t number) { return "virtual:sonoria-" + std::to_string(number); }

VirtualDevice::VirtualDevice(std::string model, std::string path)
    : core_(std::make_shared<Core>()), path_(std::move(path)) {
    core_->memory = sim::FactoryMemory(std::move(model));
}

VirtualDevice::~VirtualDevice() {
    {
        std::lock_guard lock(core_->mutex);
        core_->plugged = false;
        core_->DropLink();
        core_->listener = nullptr;
    }
    core_->changed.notify_all();
}

std::optional<std::vector<HidInterfaceInfo>> VirtualDevice::Enumerate() {
    std::lock_guard lock(core_->mutex);
    if (!core_->plugged) return std::vector<HidInterfaceInfo>{};
    return std::vector<HidInterfaceInfo>{
        {path_, kInterfaceActive, HidAttributes{kVendorId, kProductId}}};
}

std::unique_ptr<HidDevice> VirtualDevice::Open(const std::string& path) {
    std::lock_guard lock(core_->mutex);
    if (!core_->plugged || path != path_) return nullptr;
    return std::make_unique<Handle>(core_, core_->epoch);
}

void VirtualDevice::SetAnswerDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(core_->mutex);
    core_->answerDelay = std::max(delay, std::chrono::milliseconds{0});
}

void VirtualDevice::SetSilent(bool silent) {
    std::lock_guard lock(core_->mutex);
    core_->silent = silent;
    core_->silentAfterAnswers.reset();
}

void VirtualDevice::SetSilentAfter(std::size_t answers) {
    std::lock_guard lock(core_->mutex);
    core_->silentAfterAnswers = answers;
    core_->answersGiven = 0;
}

void VirtualDevice::SetDropWrites(std::size_t every) {
    std::lock_guard lock(core_->mutex);
    core_->dropWritesEvery = every;
    core_->writesTaken = 0;
}

void VirtualDevice::SetBreakAfter(std::size_t commands) {
    std::lock_guard lock(core_->mutex);
    core_->breakAfterCommands = commands;
    core_->commandsTaken = 0;
}

void VirtualDevice::BreakLink() {
    {
        std::lock_guard lock(core_->mutex);
        core_->DropLink();
    }
    core_->changed.notify_all();
}

void VirtualDevice::Unplug() {
    PlugListener listener;
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->plugged) return;
        core_->plugged = false;
        core_->DropLink();
        listener = core_->listener;
    }
    core_->changed.notify_all();
    if (listener) listener(false, path_);
}

void VirtualDevice::Plug() {
    PlugListener listener;
    {
        std::lock_guard lock(core_->mutex);
        if (core_->plugged) return;
        core_->plugged = true;
        listener = core_->listener;
    }
    if (listener) listener(true, path_);
}

bool VirtualDevice::IsPlugged() const {
    std::lock_guard lock(core_->mutex);
    return core_->plugged;
}

void VirtualDevice::SetPlugListener(PlugListener listener) {
    std::lock_guard lock(core_->mutex);
    core_->listener = std::move(listener);
}

void VirtualDevice::SendKeyReport(std::uint8_t remoteCode, std::uint8_t key, std::uint8_t code) {
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->plugged) return;
        Report report{};
        report[0] = kOutputReportId;
        report[1] = CMD_LEARN_KEY;
        report[2] = remoteCode;
        report[3] = key;
        report[4] = code;
        core_->Enqueue(report, Clock::now());
    }
    core_->changed.notify_all();
}

void VirtualDevice::SendWirelessStatus(std::uint8_t mic0, std::uint8_t mic1) {
    {
        std::lock_guard lock(core_->mutex);
        core_->memory.mics[0].pairing = mic0;
        core_->memory.mics[1].pairing = mic1;
        if (!core_->plugged) return;
        Report report{};
        report[0] = kOutputReportId;
        report[1] = RPT_WMIC_STATUS;
        report[2] = mic0;
        report[3] = mic1;
        core_->Enqueue(report, Clock::now());
    }
    core_->changed.notify_all();
}

void VirtualDevice::HoldReports(bool hold) {
    {
        std::lock_guard lock(core_->mutex);
        core_->held = hold;
    }
    core_->changed.notify_all();
}

void VirtualDevice::SetLearnDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(core_->mutex);
    core_->learnDelay = std::max(delay, std::chrono::milliseconds{0});
}

void VirtualDevice::SetLearnedCode(std::uint8_t code) {
    std::lock_guard lock(core_->mutex);
    core_->learnedCode = code;
}

void VirtualDevice::SetLearnedRemoteCode(std::uint8_t remoteCode) {
    std::lock_guard lock(core_->mutex);
    core_->learnedRemoteCode = remoteCode;
}

// Every memory accessor first lets the memory catch up with what became due,
// so a key learned a moment ago is already there.
void VirtualDevice::SetModel(std::string model) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.model = std::move(model); });
}

std::string VirtualDevice::Model() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.model; });
}

void VirtualDevice::SetHardwareVersion(std::string version) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.hardwareVersion = std::move(version); });
}

void VirtualDevice::SetSubVersion(std::uint8_t subVersion) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.subVersion = subVersion; });
}

void VirtualDevice::SetVersionText(char a, char b) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.versionText = {a, b}; });
}

void VirtualDevice::SetRecordLayout14(bool on) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.recordLayout14 = on; });
}

void VirtualDevice::SetExtendedEcho(bool on) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.extendedEcho = on; });
}

void VirtualDevice::SetTransferHeader(std::uint8_t a, std::uint8_t b) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.transferHeader = {a, b}; });
}

sim::ParamBytes VirtualDevice::Param(int block, int index) const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.working.Get(block, index); });
}

void VirtualDevice::SetParam(int block, int index, std::uint8_t first, std::uint8_t second) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.working.Set(block, index, {first, second}); });
}

sim::ParamBytes VirtualDevice::StoredParam(int mode, int block, int index) const {
    return core_->WithMemory([&](sim::DeviceMemory& memory) {
        return ValidMode(mode) ? memory.stored[static_cast<std::size_t>(mode)].Get(block, index)
                               : sim::ParamBytes{};
    });
}

sim::ParamSet VirtualDevice::StoredMode(int mode) const {
    return core_->WithMemory([&](sim::DeviceMemory& memory) {
        return ValidMode(mode) ? memory.stored[static_cast<std::size_t>(mode)] : sim::ParamSet{};
    });
}

void VirtualDevice::SetStoredMode(int mode, const sim::ParamSet& params) {
    core_->WithMemory([&](sim::DeviceMemory& memory) {
        if (ValidMode(mode)) memory.stored[static_cast<std::size_t>(mode)] = params;
    });
}

int VirtualDevice::CurrentMode() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.currentMode; });
}

void VirtualDevice::SetCurrentMode(int mode) {
    if (ValidMode(mode)) core_->WithMemory([&](sim::DeviceMemory& m) { m.currentMode = mode; });
}

sim::MachineRecord VirtualDevice::MachineRecord() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.machine; });
}

void VirtualDevice::SetMachineRecord(const sim::MachineRecord& record) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.machine = record; });
}

sim::RemoteBlock VirtualDevice::RemoteBlock() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.remote; });
}

void VirtualDevice::SetRemoteBlock(const sim::RemoteBlock& block) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.remote = block; });
}

sim::LightRecord VirtualDevice::LightRecord(int record) const {
    if (record < 0 || static_cast<std::size_t>(record) >= kLightRecordCount) return {};
    return core_->WithMemory([&](sim::DeviceMemory& memory) {
        return memory.lights[static_cast<std::size_t>(record)];
    });
}

void VirtualDevice::SetLightRecord(int record, const sim::LightRecord& value) {
    if (record < 0 || static_cast<std::size_t>(record) >= kLightRecordCount) return;
    core_->WithMemory([&](sim::DeviceMemory& memory) {
        memory.lights[static_cast<std::size_t>(record)] = value;
    });
}

sim::LightTable VirtualDevice::LightTable() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.lightTable; });
}

void VirtualDevice::SetLightTable(const sim::LightTable& table) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.lightTable = table; });
}

sim::AutoSubRecord VirtualDevice::AutoSubRecord() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.autoSub; });
}

void VirtualDevice::SetAutoSubRecord(const sim::AutoSubRecord& record) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.autoSub = record; });
}

sim::WirelessMic VirtualDevice::WirelessMic(int mic) const {
    return core_->WithMemory([&](sim::DeviceMemory& memory) {
        return ValidMic(mic) ? memory.mics[static_cast<std::size_t>(mic)] : sim::WirelessMic{};
    });
}

void VirtualDevice::SetWirelessMic(int mic, const sim::WirelessMic& fields) {
    core_->WithMemory([&](sim::DeviceMemory& memory) {
        if (ValidMic(mic)) memory.mics[static_cast<std::size_t>(mic)] = fields;
    });
}

std::string VirtualDevice::Logo() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.logo; });
}

bool VirtualDevice::InUpgradeMode() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.upgradeMode; });
}

void VirtualDevice::SetUpgradeMode(bool on) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m.upgradeMode = on; });
}

std::vector<std::uint8_t> VirtualDevice::FirmwareImage() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m.firmware; });
}

sim::DeviceMemory VirtualDevice::Memory() const {
    return core_->WithMemory([&](sim::DeviceMemory& m) { return m; });
}

void VirtualDevice::SetMemory(sim::DeviceMemory replacement) {
    core_->WithMemory([&](sim::DeviceMemory& m) { m = std::move(replacement); });
}

std::vector<Report> VirtualDevice::Received() const {
    std::lock_guard lock(core_->mutex);
    return core_->received;
}

std::vector<Report> VirtualDevice::Sent() const {
    std::lock_guard lock(core_->mutex);
    return core_->sent;
}

void VirtualDevice::ClearRecord() {
    std::lock_guard lock(core_->mutex);
    core_->received.clear();
    core_->receivedCount = 0;
    core_->sent.clear();
}

bool VirtualDevice::WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(core_->mutex);
    return core_->changed.wait_for(lock, timeout, [&] { return core_->receivedCount >= count; });
}

bool VirtualDevice::WaitUntilHostReadAll(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(core_->mutex);
    const std::uint64_t queuedBefore = core_->nextSequence;
    const std::uint64_t epoch = core_->epoch;
    return core_->changed.wait_for(lock, timeout, [&] {
        if (core_->epoch != epoch) return true;  // the reports died with the link
        const bool owed = std::any_of(core_->queue.begin(), core_->queue.end(),
                                      [&](const QueuedReport& queued) { return queued.sequence < queuedBefore; });
        return !owed && core_->hostBackForMore;
    });
}

}  // namespace sonoria
