// Helpers shared by the core tests: a scripted HID backend, a log capture and
// a recorder of host messages.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/DebugLog.h"
#include "link/HidBackend.h"
#include "link/HostMessages.h"
#include "link/CommandSender.h"
#include "link/Report.h"
#include "simulator/VirtualDevice.h"
#include "state/Language.h"
#include "support/ProcessState.h"

namespace sonoria::test {

// How long a test waits for something that must happen. Only a real failure
// waits this long, so it is generous enough for a machine busy with other work
// (ctest's per-test timeout allows for it).
inline constexpr std::chrono::seconds kEventTimeout{60};

// One interface of the scripted backend and how it behaves when opened.
struct FakeInterface {
    std::string path;
    std::uint32_t flags = kInterfaceActive;
    std::uint16_t vendorId = kFakeVendor;
    std::uint16_t productId = kFakeProduct;
    bool openFails = false;
    bool attributesFail = false;
    static constexpr std::uint16_t kFakeVendor = 0x2010;
    static constexpr std::uint16_t kFakeProduct = 0x1031;
};

// A backend whose interfaces are a list given by the test. The opened device
// answers nothing by itself; the test queues input reports and reads back
// what was written.
class FakeHidBackend : public HidBackend {
public:
    std::vector<FakeInterface> interfaces;
    bool enumerateFails = false;
    bool registerFails = false;
    // Whether connections take the device lock (tests point its folder elsewhere).
    bool lockedLikeARealDevice = false;

    bool RegisterDeviceNotification() override { return !registerFails; }
    std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    bool SharedWithOtherPrograms() const override { return lockedLikeARealDevice; }

    // What the opened devices share with the test.
    struct Wire {
        std::mutex mutex;
        std::condition_variable cv;
        std::deque<Report> input;
        std::vector<Report> written;
        std::vector<std::string> opened;
        std::vector<std::string> closed;
        bool readFails = false;
        // Reads ignore their timeout and block until released (a stuck driver).
        bool readsStuck = false;
        // Answers every write at once with a report of the same code.
        bool echoAnswers = false;
        int writeResult = static_cast<int>(kReportSize);
        // What the readers did: reads stuck and failed so far, and whether
        // a reader came back to read since it last took a report.
        int stuckReads = 0;
        int failedReads = 0;
        bool readerBackForMore = false;
    };
    std::shared_ptr<Wire> wire = std::make_shared<Wire>();

    void QueueInput(const Report& report);
    void FailReads();
    // True once every queued input report was read and handled: the reader
    // has come back for more since it took the last one.
    bool WaitUntilInputRead(std::chrono::milliseconds timeout = kEventTimeout) const;
    // True once a reader is stuck in a read, or a read failed.
    bool WaitForStuckRead(std::chrono::milliseconds timeout = kEventTimeout) const;
    bool WaitForFailedRead(std::chrono::milliseconds timeout = kEventTimeout) const;
    std::vector<Report> Written() const;
    std::vector<std::string> Opened() const;
    std::vector<std::string> Closed() const;
};

// Captures the debug log for the lifetime of the object.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    std::vector<std::string> Lines() const;
    bool Contains(const std::string& line) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    DebugLogSink previous_;
};

struct RecordedMessage {
    bool sent;  // Send rather than Post
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class MessageRecorder : public HostMessageSink {
public:
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    std::vector<RecordedMessage> Messages() const;
    bool WaitFor(unsigned message, std::chrono::milliseconds timeout = kEventTimeout) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable cv_;
    std::vector<RecordedMessage> messages_;
};

// A report as the device would send it: byte 0 = 2, byte 1 = code, then the payload.
Report MakeInputReport(std::uint8_t code, std::initializer_list<std::uint8_t> payload = {});

// Connects through a scripted backend for the test; the guard closes the link
// and puts the process-wide state back afterwards.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Puts one matching interface in the backend and connects to it.
    void ConnectFakeDevice();

    MessageRecorder window;  // the link posts to it until the guard closes the link
    ProcessStateGuard state;
    std::shared_ptr<FakeHidBackend> backend = std::make_shared<FakeHidBackend>();
};

// Connects the link to a virtual device for the test; the guard stops the
// workers, closes the link and puts the process-wide state back afterwards.
class VirtualDeviceLinkTest : public ::testing::Test {
protected:
    explicit VirtualDeviceLinkTest(std::string model = "KR710Q");
    void SetUp() override;
    // What the device received since the last ClearRecord (or the connection).
    std::vector<Report> Received() const;
    // Only the reports of one command code, in order.
    std::vector<Report> ReceivedWithCode(std::uint8_t code) const;

    MessageRecorder window;  // the link posts to it until the guard closes the link
    ProcessStateGuard state;
    std::shared_ptr<VirtualDevice> device;
};

// The report a command puts on the wire, for comparisons.
inline Report Cmd(int code, std::initializer_list<int> arguments = {}) {
    return BuildCommandReport(code, arguments);
}
// Command 9 with its four bytes.
inline Report Set(int block, int index, int first, int second) {
    return BuildCommandReport(9, {block, index, first, second});
}
inline Report Get(int block, int index) { return BuildCommandReport(10, {block, index}); }

// Polls `condition` until it holds or `timeout` passes.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds timeout = kEventTimeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Makes `language` current for the texts made in code while it lives, and
// puts back the one before: the current language is process-wide.
class ScopedLanguage {
public:
    explicit ScopedLanguage(int language) : previous_(CurrentLanguage()) { SetCurrentLanguage(language); }
    ~ScopedLanguage() { SetCurrentLanguage(previous_); }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;

private:
    int previous_;
};

}  // namespace sonoria::test
