#include "support/TestSupport.h"

#include <algorithm>
#include <thread>

#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/ReportDispatch.h"
#include "state/DeviceState.h"

namespace sonoria::test {
namespace {

class FakeDevice : public HidDevice {
public:
    FakeDevice(std::shared_ptr<FakeHidBackend::Wire> wire, FakeInterface info)
        : wire_(std::move(wire)), info_(std::move(info)) {}
    ~FakeDevice() override {
        std::lock_guard lock(wire_->mutex);
        wire_->closed.push_back(info_.path);
    }

    std::optional<HidAttributes> GetAttributes() override {
        if (info_.attributesFail) return std::nullopt;
        return HidAttributes{info_.vendorId, info_.productId};
    }

    int Read(std::uint8_t* buffer, std::size_t size, int timeoutMs) override {
        std::unique_lock lock(wire_->mutex);
        wire_->readerBackForMore = true;
        if (wire_->readsStuck) ++wire_->stuckReads;
        wire_->cv.notify_all();
        wire_->cv.wait(lock, [&] { return !wire_->readsStuck; });
        wire_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return wire_->readFails || !wire_->input.empty(); });
        if (wire_->readFails) {
            ++wire_->failedReads;
            wire_->cv.notify_all();
            return -1;
        }
        if (wire_->input.empty()) return 0;
        const Report report = wire_->input.front();
        wire_->input.pop_front();
        wire_->readerBackForMore = false;
        std::copy_n(report.begin(), std::min(size, report.size()), buffer);
        return static_cast<int>(report.size());
    }

    int Write(const std::uint8_t* data, std::size_t size) override {
        std::lock_guard lock(wire_->mutex);
        Report report{};
        std::copy_n(data, std::min(size, report.size()), report.begin());
        wire_->written.push_back(report);
        if (wire_->echoAnswers) {
            Report answer{};
            answer[0] = 2;
            answer[1] = report[1];
            wire_->input.push_back(answer);
        }
        wire_->cv.notify_all();
        return wire_->writeResult;
    }

private:
    std::shared_ptr<FakeHidBackend::Wire> wire_;
    FakeInterface info_;
};

}  // namespace

std::optional<std::vector<HidInterfaceInfo>> FakeHidBackend::Enumerate() {
    if (enumerateFails) return std::nullopt;
    std::vector<HidInterfaceInfo> list;
    for (const auto& fake : interfaces) list.push_back({fake.path, fake.flags});
    return list;
}

std::unique_ptr<HidDevice> FakeHidBackend::Open(const std::string& path) {
    {
        std::lock_guard lock(wire->mutex);
        wire->opened.push_back(path);
    }
    auto found = std::find_if(interfaces.begin(), interfaces.end(),
                              [&](const FakeInterface& fake) { return fake.path == path; });
    if (found == interfaces.end() || found->openFails) return nullptr;
    return std::make_unique<FakeDevice>(wire, *found);
}

void FakeHidBackend::QueueInput(const Report& report) {
    std::lock_guard lock(wire->mutex);
    wire->input.push_back(report);
    wire->cv.notify_all();
}

void FakeHidBackend::FailReads() {
    std::lock_guard lock(wire->mutex);
    wire->readFails = true;
    wire->cv.notify_all();
}

bool FakeHidBackend::WaitUntilInputRead(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(wire->mutex);
    return wire->cv.wait_for(lock, timeout, [&] { return wire->input.empty() && wire->readerBackForMore; });
}

bool FakeHidBackend::WaitForStuckRead(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(wire->mutex);
    return wire->cv.wait_for(lock, timeout, [&] { return wire->stuckReads > 0; });
}

bool FakeHidBackend::WaitForFailedRead(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(wire->mutex);
    return wire->cv.wait_for(lock, timeout, [&] { return wire->failedReads > 0; });
}

std::vector<Report> FakeHidBackend::Written() const {
    std::lock_guard lock(wire->mutex);
    return wire->written;
}

std::vector<std::string> FakeHidBackend::Opened() const {
    std::lock_guard lock(wire->mutex);
    return wire->opened;
}

std::vector<std::string> FakeHidBackend::Closed() const {
    std::lock_guard lock(wire->mutex);
    return wire->closed;
}

LogCapture::LogCapture() {
    previous_ = SetDebugLogSink([this](std::string_view line) {
        std::lock_guard lock(mutex_);
        lines_.emplace_back(line);
    });
}

LogCapture::~LogCapture() { SetDebugLogSink(std::move(previous_)); }

std::vector<std::string> LogCapture::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

bool LogCapture::Contains(const std::string& line) const {
    const auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void MessageRecorder::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::lock_guard lock(mutex_);
    messages_.push_back({false, message, wParam, lParam});
    cv_.notify_all();
}

void MessageRecorder::Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    std::lock_guard lock(mutex_);
    messages_.push_back({true, message, wParam, lParam});
    cv_.notify_all();
}

std::vector<RecordedMessage> MessageRecorder::Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

bool MessageRecorder::WaitFor(unsigned message, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [&] {
        return std::any_of(messages_.begin(), messages_.end(),
                           [&](const RecordedMessage& m) { return m.message == message; });
    });
}

void LinkTest::SetUp() {
    SetHidBackend(backend);
    g_bSyncIdle.store(1);
    ResetDeviceState();
}

void LinkTest::ConnectFakeDevice() {
    backend->interfaces = {{"fake-0"}};
    ASSERT_EQ(ConnectDeviceImage(&window), 1);
}

VirtualDeviceLinkTest::VirtualDeviceLinkTest(std::string model)
    : device(std::make_shared<VirtualDevice>(std::move(model))) {}

void VirtualDeviceLinkTest::SetUp() {
    SetHidBackend(device);
    g_bSyncIdle.store(1);
    ASSERT_EQ(ConnectDeviceImage(&window), 1);
    device->ClearRecord();
}

std::vector<Report> VirtualDeviceLinkTest::Received() const { return device->Received(); }

std::vector<Report> VirtualDeviceLinkTest::ReceivedWithCode(std::uint8_t code) const {
    std::vector<Report> matching;
    for (const Report& report : device->Received()) {
        if (report[1] == code) matching.push_back(report);
    }
    return matching;
}

Report MakeInputReport(std::uint8_t code, std::initializer_list<std::uint8_t> payload) {
    Report report{};
    report[0] = 2;
    report[1] = code;
    std::copy(payload.begin(), payload.end(), report.begin() + 2);
    return report;
}

}  // namespace sonoria::test
