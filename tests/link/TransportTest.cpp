// The transport: finding the device, the read thread, flow control and the
// chunked write, driven through a scripted HID backend.
#include <gtest/gtest.h>

#include <numeric>
#include <thread>

#include "link/CommandSender.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using test::Eventually;
using test::FakeInterface;
using test::LogCapture;
using test::MakeInputReport;

class Enumeration : public test::LinkTest {};

TEST_F(Enumeration, OnlyTheFirstTenInterfacesAreExamined) {
    for (int i = 0; i < 10; ++i) backend->interfaces.push_back({"other-" + std::to_string(i), 1, 0x1234, 0x5678});
    backend->interfaces.push_back({"device-at-11"});
    LogCapture log;
    EXPECT_EQ(ConnectDevice(&window), 0);
    EXPECT_EQ(backend->Opened().size(), 10u);
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
    EXPECT_TRUE(log.Contains("连接目标设备失败，没有找到目标设备"));
    // The list ran out of examined slots, not of interfaces: no "end of list" line.
    EXPECT_FALSE(log.Contains("枚举usb设备出错,usb设备接口可能枚举完成了"));
}

TEST_F(Enumeration, SkipsInactiveAndForeignInterfacesAndTakesTheDevice) {
    backend->interfaces = {{"inactive", 3}, {"foreign", 1, 0x2010, 0x1032}, {"the-device"}};
    LogCapture log;
    ASSERT_EQ(ConnectDevice(&window), 1);
    EXPECT_EQ(backend->Opened(), (std::vector<std::string>{"foreign", "the-device"}));
    EXPECT_EQ(backend->Closed(), std::vector<std::string>{"foreign"});
    EXPECT_EQ(DevicePath(), "the-device");
    EXPECT_EQ(g_hMainWnd.load(), &window);
    const std::vector<std::string> expected = {
        "开始枚举usb设备",
        "枚举usb设备成功",
        "枚举usb设备成功",
        "设备路径:\r\nforeign",
        "尝试打开通信端口....",
        "打开通信端口成功!\n",
        "正在读取设备的标识...\n",
        "枚举usb设备成功",
        "设备路径:\r\nthe-device",
        "尝试打开通信端口....",
        "打开通信端口成功!\n",
        "正在读取设备的标识...\n",
        "连接目标设备成功!",
        "start thread: ReadUsbThreadProc \n",
    };
    ASSERT_TRUE(Eventually([&] { return log.Lines().size() >= expected.size(); }));
    EXPECT_EQ(log.Lines(), expected);
}

TEST_F(Enumeration, OpenAndAttributeFailuresMoveOnToTheNextInterface) {
    FakeInterface cannotOpen{"cannot-open"};
    cannotOpen.openFails = true;
    FakeInterface noAttributes{"no-attributes"};
    noAttributes.attributesFail = true;
    backend->interfaces = {cannotOpen, noAttributes, {""}};
    LogCapture log;
    EXPECT_EQ(ConnectDevice(&window), 0);
    EXPECT_TRUE(log.Contains("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n"));
    EXPECT_TRUE(log.Contains("查询设备信息出错!\n"));
    EXPECT_TRUE(log.Contains("查找设备路径时出错!"));
    EXPECT_TRUE(log.Contains("枚举usb设备出错,usb设备接口可能枚举完成了"));
    EXPECT_EQ(backend->Closed(), std::vector<std::string>{"no-attributes"});
    EXPECT_EQ(DevicePath(), "");
}

TEST_F(Enumeration, PlatformFailuresAreLoggedAndNothingStarts) {
    backend->interfaces = {{"the-device"}};
    {
        backend->registerFails = true;
        LogCapture log;
        EXPECT_EQ(ConnectDevice(&window), 0);
        EXPECT_EQ(log.Lines(), std::vector<std::string>{"注册Guid错误，可能不能捕捉设备的连接或移除\n"});
        backend->registerFails = false;
    }
    {
        backend->enumerateFails = true;
        LogCapture log;
        EXPECT_EQ(ConnectDevice(&window), 0);
        EXPECT_EQ(log.Lines(), std::vector<std::string>{"获取Hid设备信息失败"});
    }
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
}

TEST_F(Enumeration, LongPathsAreLoggedWithinTheLineLimit) {
    const std::string path(400, 'p');
    backend->interfaces = {{path}};
    LogCapture log;
    ASSERT_EQ(ConnectDevice(&window), 1);
    EXPECT_EQ(DevicePath(), path);  // the path itself is kept whole
    EXPECT_TRUE(log.Contains("设备路径:\r\n" + path.substr(0, 260 - std::string("设备路径:\r\n").size())));
}

class Connection : public test::LinkTest {};

TEST_F(Connection, ConnectWhileOpenChangesNothing) {
    ConnectFakeDevice();
    test::MessageRecorder other;
    EXPECT_EQ(ConnectDevice(&other), 0);
    EXPECT_EQ(g_hMainWnd.load(), &window);
    EXPECT_EQ(backend->Opened().size(), 1u);
    EXPECT_EQ(g_bDeviceOpen.load(), 1);
}

TEST_F(Connection, ConnectResetsTheImageAndUpgradeMode) {
    g_Device.machineName.Set("KR710QX");
    g_Device.modified.store(1);
    g_bUpgradeMode.store(1);
    ConnectFakeDevice();
    EXPECT_EQ(g_Device.machineName.Get(), "KR710");
    EXPECT_EQ(g_Device.modified.load(), 0);
    EXPECT_EQ(g_bUpgradeMode.load(), 0);
}

TEST_F(Connection, DisconnectEndsTheReadThreadAndClosesTheDevice) {
    ConnectFakeDevice();
    LogCapture log;
    EXPECT_EQ(DisconnectDevice(), 1);
    EXPECT_EQ(g_bDeviceOpen.load(), 0);
    EXPECT_EQ(backend->Closed(), std::vector<std::string>{"fake-0"});
    EXPECT_FALSE(log.Contains("wait read thread exited time out !\n"));
    EXPECT_EQ(WriteUsbData(BuildCommandReport(12, {})), 0);
    EXPECT_EQ(DisconnectDevice(), 1);  // a second call is harmless
}

TEST_F(Connection, ReportsAreLoggedAndDispatched) {
    ConnectFakeDevice();
    LogCapture log;
    backend->QueueInput(MakeInputReport(127, {5, 6, 7, 8, 9, 10, 11, 12}));
    ASSERT_TRUE(Eventually([] { return g_Device.subVersion.load() == 5; }));
    EXPECT_TRUE(log.Contains("<Read: 2 127 5 6 7 8 9 10 11 12 \n"));
}

TEST_F(Connection, AFailedReadBreaksTheLinkUntilTheNextConnection) {
    ConnectFakeDevice();
    backend->FailReads();
    ASSERT_TRUE(Eventually([] { return g_bReadThreadEnd.load() == 1; }));
    EXPECT_EQ(g_bSyncIdle.load(), 0);
    EXPECT_EQ(g_bDeviceOpen.load(), 1);
    LogCapture log;
    EXPECT_EQ(SendCommand(12, {}), 0);
    EXPECT_EQ(SendCommand(8, {}), 0);
    EXPECT_EQ(log.Lines(), std::vector<std::string>(2, "g_bReadThreadEnd == TRUE ,WriteUsbData return \n"));
    EXPECT_TRUE(backend->Written().empty());

    DisconnectDevice();
    backend = std::make_shared<test::FakeHidBackend>();
    SetHidBackend(backend);
    ConnectFakeDevice();
    EXPECT_EQ(g_bReadThreadEnd.load(), 0);
    EXPECT_EQ(SendCommand(12, {}), 61);
}

TEST_F(Connection, AShortWriteReportsFailure) {
    ConnectFakeDevice();
    backend->wire->writeResult = 20;
    LogCapture log;
    EXPECT_EQ(SendCommand(12, {}), 0);
    EXPECT_TRUE(log.Contains("usb数据写入失败"));
}

class FlowControl : public test::LinkTest {};

TEST_F(FlowControl, TheNextWriteWaitsForTheAnswerToThePreviousOne) {
    ConnectFakeDevice();
    ASSERT_EQ(SendCommand(10, {1, 2, -1}), 61);  // the first write goes at once
    std::thread second([] { SendCommand(10, {1, 3, -1}); });
    EXPECT_TRUE(Eventually([] { return g_hAnswerEvent.Waiting() == 1; }));  // it waits for the answer
    EXPECT_EQ(backend->Written().size(), 1u);
    backend->QueueInput(MakeInputReport(10, {1, 2, 0, 0}));
    EXPECT_TRUE(Eventually([&] { return backend->Written().size() == 2; }));
    second.join();
}

TEST_F(FlowControl, UnsolicitedReportsDoNotReleaseAWaitingWriter) {
    ConnectFakeDevice();
    ASSERT_EQ(SendCommand(96, {3, -1}), 61);
    std::thread second([] { SendCommand(97, {}); });
    EXPECT_TRUE(Eventually([] { return g_hAnswerEvent.Waiting() == 1; }));
    backend->QueueInput(MakeInputReport(96, {0, 3, 0x45}));
    backend->QueueInput(MakeInputReport(161, {1, 1}));
    EXPECT_TRUE(backend->WaitUntilInputRead());
    EXPECT_EQ(g_hAnswerEvent.Waiting(), 1);  // still waiting
    EXPECT_EQ(backend->Written().size(), 1u);
    backend->QueueInput(MakeInputReport(9));
    EXPECT_TRUE(Eventually([&] { return backend->Written().size() == 2; }));
    second.join();
}

TEST_F(FlowControl, ASilentDeviceOnlySlowsWritesDown) {
    ConnectFakeDevice();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SendCommand(8, {}), 61);
    EXPECT_EQ(SendCommand(8, {}), 61);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1400ms);
    EXPECT_EQ(backend->Written().size(), 2u);
}

TEST_F(FlowControl, AFailedReadReleasesAWaitingWriter) {
    ConnectFakeDevice();
    ASSERT_EQ(SendCommand(8, {}), 61);
    int result = -1;
    std::thread second([&] { result = SendCommand(8, {}); });
    EXPECT_TRUE(Eventually([] { return g_hAnswerEvent.Waiting() == 1; }));
    backend->FailReads();
    second.join();
    // Released by the failure, the writer either wrote before seeing it or gave up.
    EXPECT_TRUE(result == 0 || result == 61);
    EXPECT_EQ(SendCommand(8, {}), 0);
}

class ChunkedWrite : public test::LinkTest {
protected:
    std::vector<Report> Send(std::size_t count) {
        ConnectFakeDevice();
        backend->wire->echoAnswers = true;
        std::vector<std::uint8_t> data(count);
        std::iota(data.begin(), data.end(), 0);
        EXPECT_TRUE(WriteChunkedData(data.data(), data.size()));
        return backend->Written();
    }
};

TEST_F(ChunkedWrite, HundredBytesAreOneBlockAndTwoPieces) {
    const auto written = Send(100);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[0], BuildCommandReport(1, {0, 0, -1}));
    EXPECT_EQ((std::vector<int>{written[1][1], written[1][2], written[1][3], written[1][4], written[1][5]}),
              (std::vector<int>{2, 0, 0, 56, 0}));
    EXPECT_EQ((std::vector<int>{written[2][1], written[2][2], written[2][3], written[2][4], written[2][5]}),
              (std::vector<int>{2, 0, 56, 44, 56}));
    EXPECT_EQ(written[2][4 + 44], 99);
    // The tail of the last piece keeps what the previous piece left there.
    EXPECT_EQ(written[2][5 + 44], written[1][5 + 44]);
    EXPECT_EQ(g_nTransferPercent.load(), 56);
}

TEST_F(ChunkedWrite, ABlockCommandPrecedesThePieceThatReachesEachBoundary) {
    const auto written = Send(600);
    std::vector<int> pieceOffsets;
    std::vector<std::size_t> blockPositions;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i][1] == 1) blockPositions.push_back(i);
        else pieceOffsets.push_back(written[i][2] << 8 | written[i][3]);
    }
    ASSERT_EQ(blockPositions, (std::vector<std::size_t>{0, 10}));
    EXPECT_EQ(written[10], BuildCommandReport(1, {2, 0, -1}));
    EXPECT_EQ(pieceOffsets.size(), 11u);
    EXPECT_EQ(pieceOffsets[9], 504);  // the piece right after the second block command
}

TEST_F(ChunkedWrite, LargeTransfersCountBlocksAndCapTheProgress) {
    const auto written = Send(4096);
    const auto blocks = std::count_if(written.begin(), written.end(), [](const Report& r) { return r[1] == 1; });
    EXPECT_EQ(blocks, 8);
    EXPECT_EQ(written.size(), 8u + 74u);
    EXPECT_EQ(written.back()[4], 4096 - 73 * 56);
    EXPECT_EQ(g_nTransferPercent.load(), 100);  // 4088 / 40 would be 102
}

TEST_F(ChunkedWrite, RefusesOversizedInputAndStopsAtTheFirstFailedWrite) {
    ConnectFakeDevice();
    std::vector<std::uint8_t> huge(kMaxChunkedBytes + 1);
    EXPECT_FALSE(WriteChunkedData(huge.data(), huge.size()));
    EXPECT_TRUE(backend->Written().empty());
    backend->wire->writeResult = 0;
    std::vector<std::uint8_t> data(1000);
    EXPECT_FALSE(WriteChunkedData(data.data(), data.size()));
    EXPECT_EQ(backend->Written().size(), 1u);
    EXPECT_TRUE(WriteChunkedData(data.data(), 0));
}

}  // namespace
}  // namespace sonoria
