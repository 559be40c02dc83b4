// How the link notices that the device is gone or in other hands: unanswered
// commands, failed reads, a read thread that will not end, and the lock that
// keeps two programs off one device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>

#include "link/CommandSender.h"
#include "link/DeviceLock.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/ReportDispatch.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using test::Eventually;
using test::MakeInputReport;

std::size_t CountMessages(const test::MessageRecorder& window, unsigned message) {
    const auto messages = window.Messages();
    return std::count_if(messages.begin(), messages.end(), [&](const auto& m) { return m.message == message; });
}

class LinkLoss : public test::LinkTest {};

TEST_F(LinkLoss, ThreeUnansweredCommandsInARowDeclareTheLinkLostOnce) {
    ConnectFakeDevice();
    EXPECT_EQ(SendCommand(8, {}), 61);  // nothing owed yet
    EXPECT_EQ(SendCommand(8, {}), 61);  // first miss
    EXPECT_EQ(SendCommand(8, {}), 61);  // second miss
    backend->QueueInput(MakeInputReport(8));
    EXPECT_EQ(SendCommand(8, {}), 61);  // answered: the count starts again
    EXPECT_EQ(UnansweredInARow(), 0);
    EXPECT_EQ(SendCommand(8, {}), 61);
    EXPECT_EQ(SendCommand(8, {}), 61);
    EXPECT_EQ(g_bReadThreadEnd.load(), 0);
    EXPECT_EQ(CountMessages(window, WM_LINK_LOST), 0u);

    EXPECT_EQ(SendCommand(8, {}), 0);  // third miss in a row: the device is gone
    EXPECT_EQ(g_bReadThreadEnd.load(), 1);
    EXPECT_EQ(g_bSyncIdle.load(), 0);
    const std::uint64_t answerWaits = g_hAnswerEvent.Waits();
    EXPECT_EQ(SendCommand(8, {}), 0);  // later writes give up at once
    EXPECT_EQ(g_hAnswerEvent.Waits(), answerWaits);  // without waiting for an answer
    EXPECT_EQ(backend->Written().size(), 6u);
    ASSERT_TRUE(window.WaitFor(WM_LINK_LOST));
    EXPECT_EQ(CountMessages(window, WM_LINK_LOST), 1u);
}

TEST_F(LinkLoss, AFailedReadTellsTheWindowOnce) {
    ConnectFakeDevice();
    backend->FailReads();
    ASSERT_TRUE(window.WaitFor(WM_LINK_LOST));
    EXPECT_EQ(SendCommand(12, {}), 0);
    EXPECT_EQ(CountMessages(window, WM_LINK_LOST), 1u);
    EXPECT_FALSE(AnswerOutstanding());
}

TEST_F(LinkLoss, AnAnswerIsOutstandingFromTheWriteUntilItsAnswer) {
    ConnectFakeDevice();
    EXPECT_FALSE(AnswerOutstanding());
    ASSERT_EQ(SendCommand(12, {}), 61);
    EXPECT_TRUE(AnswerOutstanding());
    backend->QueueInput(MakeInputReport(12, {1, 2}));
    EXPECT_TRUE(Eventually([] { return !AnswerOutstanding(); }));
}

TEST_F(LinkLoss, ACloseDoesNotWaitForAReadThreadStuckInTheDriver) {
    ConnectFakeDevice();
    {
        std::lock_guard lock(backend->wire->mutex);
        backend->wire->readsStuck = true;
    }
    ASSERT_TRUE(backend->WaitForStuckRead());
    test::LogCapture log;
    // The read stays stuck until the test lets it go: returning at all is
    // returning without it.
    DisconnectDevice();
    EXPECT_TRUE(log.Contains("wait read thread exited time out !\n"));

    // A new connection works while the old thread is still stuck, and the old
    // thread, once released, leaves the new connection alone.
    backend->interfaces = {{"fake-1"}};
    {
        std::lock_guard lock(backend->wire->mutex);
        backend->wire->readsStuck = false;
        backend->wire->readFails = true;
    }
    backend->wire->cv.notify_all();
    ASSERT_TRUE(backend->WaitForFailedRead());
    {
        std::lock_guard lock(backend->wire->mutex);
        backend->wire->readFails = false;
    }
    ASSERT_EQ(ConnectDeviceImage(&window), 1);
    EXPECT_EQ(g_bReadThreadEnd.load(), 0);
    EXPECT_EQ(CountMessages(window, WM_LINK_LOST), 0u);
}

TEST_F(LinkLoss, AFailedConnectionAttemptKeepsTheImage) {
    g_Device.machineName.Set("KR710QX");
    SetParamFirst(3, 4, 77);
    backend->interfaces.clear();
    EXPECT_EQ(ConnectDeviceImage(&window), 0);
    EXPECT_EQ(g_Device.machineName.Get(), "KR710QX");
    EXPECT_EQ(GetParam(3, 4).first, 77);
}

TEST_F(LinkLoss, EachWriteIsTracedBeforeItsAnswer) {
    std::mutex mutex;
    std::vector<std::pair<bool, int>> seen;  // (written, code)
    SetReportTrace([&](bool written, const Report& report) {
        std::lock_guard lock(mutex);
        seen.emplace_back(written, report[1]);
    });
    ConnectFakeDevice();
    backend->wire->echoAnswers = true;
    // 20..89: none of them is a report the device sends on its own.
    for (int code = 20; code < 90; ++code) ASSERT_EQ(SendCommand(code, {}), 61);
    ASSERT_TRUE(Eventually([&] {
        std::lock_guard lock(mutex);
        return seen.size() == 140;
    }));
    SetReportTrace({});
    for (std::size_t i = 0; i < seen.size(); i += 2) {
        EXPECT_EQ(seen[i], std::make_pair(true, seen[i].second)) << i;
        EXPECT_EQ(seen[i + 1], std::make_pair(false, seen[i].second)) << i;
    }
}

class DeviceLocking : public test::LinkTest {
protected:
    void SetUp() override {
        LinkTest::SetUp();
        directory = std::filesystem::temp_directory_path() / ("sonoria-locks-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory);
        SetDeviceLockDirectory(directory.string());
        backend->lockedLikeARealDevice = true;
        backend->interfaces = {{"/dev/hidraw7"}};
    }
    void TearDown() override { std::filesystem::remove_all(directory); }
    std::filesystem::path directory;
};

TEST_F(DeviceLocking, ASecondProgramIsRefusedWithTheHoldersProcessId) {
    std::optional<long> holder;
    auto other = DeviceLock::Acquire("/dev/hidraw7", &holder);  // another program's connection
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(DeviceLockPath("/dev/hidraw7"), (directory / "sonoria-_dev_hidraw7.lock").string());

    EXPECT_EQ(ConnectDeviceImage(&window), 0);
    EXPECT_EQ(ConnectionRefusedBy(), ::getpid());
    EXPECT_TRUE(backend->Opened().empty());  // not even opened

    other.reset();
    ASSERT_EQ(ConnectDeviceImage(&window), 1);
    EXPECT_EQ(ConnectionRefusedBy(), std::nullopt);
    EXPECT_EQ(DeviceLock::Acquire("/dev/hidraw7", &holder), nullptr);
    EXPECT_EQ(holder, ::getpid());

    DisconnectDevice();
    EXPECT_NE(DeviceLock::Acquire("/dev/hidraw7", &holder), nullptr);
}

TEST_F(DeviceLocking, AnUnusableLockFolderDoesNotKeepAnybodyFromTheDevice) {
    SetDeviceLockDirectory((directory / "missing" / "folder").string());
    std::optional<long> holder;
    auto first = DeviceLock::Acquire("/dev/hidraw7", &holder);
    EXPECT_NE(first, nullptr);
    ASSERT_EQ(ConnectDeviceImage(&window), 1);
}

TEST_F(DeviceLocking, TheVirtualDeviceNeedsNoLock) {
    VirtualDevice device;
    EXPECT_FALSE(device.SharedWithOtherPrograms());
    EXPECT_TRUE(backend->SharedWithOtherPrograms());
}

}  // namespace
}  // namespace sonoria
