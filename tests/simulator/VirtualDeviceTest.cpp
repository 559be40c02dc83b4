// The virtual device driven as the host drives a device: write a command
// report through an opened handle, read what comes back.
#include "simulator/VirtualDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <string>
#include <thread>

#include "link/CommandCodes.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;

class VirtualDeviceTest : public ::testing::Test {
protected:
    explicit VirtualDeviceTest(std::string model = "KR710Q") : device(std::move(model)) {}

    // Writes 2, code, args... padded with zeros.
    int Send(HidDevice& handle, std::initializer_list<int> codeAndArgs) {
        Report report{};
        report[0] = kOutputReportId;
        std::size_t i = 1;
        for (int byte : codeAndArgs) report[i++] = static_cast<std::uint8_t>(byte);
        return handle.Write(report.data(), report.size());
    }
    int Send(std::initializer_list<int> codeAndArgs) { return Send(*link, codeAndArgs); }

    // The next report, or nothing when none came within the timeout.
    std::optional<Report> Next(int timeoutMs = kWaitMs, HidDevice* handle = nullptr) {
        Report report{};
        const int n = (handle ? handle : link.get())->Read(report.data(), report.size(), timeoutMs);
        if (n <= 0) return std::nullopt;
        return report;
    }

    Report Ask(std::initializer_list<int> codeAndArgs) {
        EXPECT_EQ(Send(codeAndArgs), static_cast<int>(kReportSize));
        auto answer = Next();
        EXPECT_TRUE(answer.has_value());
        return answer.value_or(Report{});
    }

    static std::string Text(const Report& report) {
        return std::string(reinterpret_cast<const char*>(report.data() + 2));
    }

    static constexpr int kWaitMs = static_cast<int>(std::chrono::milliseconds(test::kEventTimeout).count());
    VirtualDevice device;
    std::unique_ptr<HidDevice> link = device.Open(kVirtualDevicePath);
};

class VirtualWirelessDeviceTest : public VirtualDeviceTest {
protected:
    VirtualWirelessDeviceTest() : VirtualDeviceTest("KR710QX") {}
};

TEST_F(VirtualDeviceTest, PresentsOneActiveInterfaceWithTheDeviceIdentity) {
    const auto interfaces = device.Enumerate();
    ASSERT_TRUE(interfaces.has_value());
    ASSERT_EQ(interfaces->size(), 1u);
    EXPECT_EQ(interfaces->front().path, kVirtualDevicePath);
    EXPECT_EQ(interfaces->front().flags, kInterfaceActive);
    EXPECT_EQ(device.Open("virtual:other"), nullptr);

    ASSERT_NE(link, nullptr);
    const auto attributes = link->GetAttributes();
    ASSERT_TRUE(attributes.has_value());
    EXPECT_EQ(attributes->vendorId, kVendorId);
    EXPECT_EQ(attributes->productId, kProductId);
}

TEST_F(VirtualDeviceTest, AnswersIdentityQueries) {
    EXPECT_EQ(Text(Ask({CMD_GET_NAME})), "KR710Q");
    EXPECT_EQ(Text(Ask({CMD_GET_HWVERSION})), "2019-06-20");
    EXPECT_EQ(Ask({CMD_GET_SUBVERSION})[2], 3);
    EXPECT_EQ(Ask({CMD_GET_RECORD_LAYOUT})[2], 1);
    const Report version = Ask({CMD_AUTOSUB});
    EXPECT_EQ(version[1], CMD_AUTOSUB);
    EXPECT_EQ(version[2], 'v');
    EXPECT_EQ(version[3], '2');

    device.SetModel("HX-N3");
    device.SetRecordLayout14(false);
    EXPECT_EQ(Text(Ask({CMD_GET_NAME})), "HX-N3");
    EXPECT_EQ(Ask({CMD_GET_RECORD_LAYOUT})[2], 0);
}

TEST_F(VirtualDeviceTest, StoresParametersAndAnswersThemBack) {
    EXPECT_EQ(Ask({CMD_SET_PARAM, 2, 13, 127, 254})[1], CMD_SET_PARAM);
    const Report answer = Ask({CMD_GET_PARAM, 2, 13});
    EXPECT_EQ(answer[1], CMD_GET_PARAM);
    EXPECT_EQ((std::array{answer[2], answer[3], answer[4], answer[5]}),
              (std::array<std::uint8_t, 4>{2, 13, 127, 254}));
    EXPECT_EQ(device.Param(2, 13), (sim::ParamBytes{127, 254}));

    // Addresses outside the blocks change nothing and read as zero.
    const sim::ParamSet before = device.Memory().working;
    Ask({CMD_SET_PARAM, 9, 0, 1, 1});
    Ask({CMD_SET_PARAM, 1, 26, 1, 1});
    EXPECT_EQ(device.Memory().working, before);
    const Report outside = Ask({CMD_GET_PARAM, 1, 26});
    EXPECT_EQ(outside[3], 26);
    EXPECT_EQ(outside[4], 0);
    EXPECT_EQ(outside[5], 0);

    // The volumes answer follows the stored volume parameters.
    device.SetParam(1, 24, 70, 0);
    device.SetParam(4, 2, 33, 0);
    const Report volumes = Ask({CMD_GET_VOLUMES});
    EXPECT_EQ(volumes[2], 70);
    EXPECT_EQ(volumes[3], 33);
}

TEST_F(VirtualDeviceTest, MarksTheExtendedEchoOnBlockZero) {
    Report mark = Ask({CMD_GET_PARAM, 0, kExtendedEchoIndex});
    EXPECT_EQ(mark[4], kExtendedEchoFirst);
    EXPECT_EQ(mark[5], kExtendedEchoSecond);
    device.SetExtendedEcho(false);
    mark = Ask({CMD_GET_PARAM, 0, kExtendedEchoIndex});
    EXPECT_EQ(mark[4], kExtendedEchoFirst);
    EXPECT_EQ(mark[5], 0);
}

TEST_F(VirtualDeviceTest, SavesLoadsAndRecallsStoredModes) {
    const sim::ParamBytes factory = device.StoredParam(2, 3, 1);
    Ask({CMD_SET_PARAM, 3, 1, 11, 0});
    Ask({CMD_SAVE_MODE, 2});
    EXPECT_EQ(device.StoredParam(2, 3, 1), (sim::ParamBytes{11, 0}));
    EXPECT_EQ(device.StoredParam(1, 3, 1), factory);

    Ask({CMD_LOAD_MODE, 1});
    EXPECT_EQ(device.Param(3, 1), factory);
    EXPECT_EQ(Ask({CMD_GET_MODE})[2], 1);
    Ask({CMD_LOAD_MODE, 2});
    EXPECT_EQ(device.Param(3, 1), (sim::ParamBytes{11, 0}));

    Ask({CMD_DEFAULT_MODE, 2});
    EXPECT_EQ(device.StoredParam(2, 3, 1), factory);
    EXPECT_EQ(device.Param(3, 1), factory);
    EXPECT_EQ(device.CurrentMode(), 2);

    // Selecting a mode answers with the transfer header bytes.
    const Report selected = Ask({CMD_SELECT_MODE, 3});
    EXPECT_EQ(selected[5], 0x5A);
    EXPECT_EQ(selected[6], 0xA5);
    EXPECT_EQ(device.CurrentMode(), 3);
}

TEST_F(VirtualDeviceTest, FactoryModesAreConsistentSetsThatDiffer) {
    for (int mode = 0; mode < static_cast<int>(kModeCount); ++mode) {
        const sim::ParamSet p = device.StoredMode(mode);
        EXPECT_EQ(p.Get(5, 1).first, 64) << "no pitch shift";
        EXPECT_EQ(p.Get(4, 32).first, 64) << "rear routing off";
        EXPECT_EQ(p.Get(4, 33).first, 64) << "rear routing off";
        for (int i = 0; i < 16; ++i) EXPECT_EQ(p.Get(4, i + 16), p.Get(4, i)) << "music index " << i;
        for (int i = 0; i <= 20; ++i) EXPECT_EQ(p.Get(6, i), p.Get(5, i)) << "main index " << i;
    }
    EXPECT_NE(device.StoredMode(0), device.StoredMode(1));
}

TEST_F(VirtualDeviceTest, MachineRecordFollowsTheRecordLayout) {
    Report set{};
    set[0] = kOutputReportId;
    set[1] = CMD_SET_MACHINE;
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) set[2 + i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_GT(link->Write(set.data(), set.size()), 0);
    ASSERT_TRUE(Next().has_value());
    Report got = Ask({CMD_GET_MACHINE});
    EXPECT_TRUE(std::equal(got.begin() + 2, got.begin() + 16, set.begin() + 2));

    // With the short layout only the first eleven bytes travel; the rest stay.
    device.SetRecordLayout14(false);
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) set[2 + i] = 100;
    link->Write(set.data(), set.size());
    ASSERT_TRUE(Next().has_value());
    const sim::MachineRecord record = device.MachineRecord();
    EXPECT_EQ(record[kMachineRecordSizeShort - 1], 100);
    EXPECT_EQ(record[11], 12);
    EXPECT_EQ(record[13], 14);
    got = Ask({CMD_GET_MACHINE});
    EXPECT_EQ(got[2 + kMachineRecordSizeShort - 1], 100);
    EXPECT_EQ(got[2 + kMachineRecordSizeShort], 0) << "short answer carries eleven bytes";

    Ask({CMD_RESET_MACHINE, kResetMachineKey});
    EXPECT_EQ(device.MachineRecord(), sim::FactoryMachineRecord());
}

TEST_F(VirtualDeviceTest, AnswersNoEarlierThanTheAnswerDelay) {
    device.SetAnswerDelay(300ms);
    const auto sent = std::chrono::steady_clock::now();
    Send({CMD_GET_MODE});
    const auto answer = Next();
    ASSERT_TRUE(answer.has_value());
    EXPECT_GE(std::chrono::steady_clock::now() - sent, 300ms);
    EXPECT_EQ((*answer)[1], CMD_GET_MODE);
}

TEST_F(VirtualDeviceTest, SilentDeviceAppliesButNeverAnswers) {
    device.SetSilent(true);
    EXPECT_EQ(Send({CMD_SET_PARAM, 1, 2, 9, 0}), static_cast<int>(kReportSize));
    EXPECT_FALSE(Next(50).has_value());
    EXPECT_EQ(device.Param(1, 2), (sim::ParamBytes{9, 0}));
    EXPECT_EQ(device.Received().size(), 1u);
    EXPECT_TRUE(device.Sent().empty());
}

TEST_F(VirtualDeviceTest, FaultsSetInAfterTheirCountOfCommands) {
    device.SetSilentAfter(2);
    Ask({CMD_GET_MODE});
    Ask({CMD_GET_MODE});
    Send({CMD_SET_PARAM, 1, 2, 9, 0});  // still applied, no longer answered
    EXPECT_FALSE(Next(50).has_value());
    EXPECT_EQ(device.Param(1, 2), (sim::ParamBytes{9, 0}));
    device.SetSilent(false);

    device.SetBreakAfter(2);
    Ask({CMD_GET_MODE});
    EXPECT_EQ(Send({CMD_GET_MODE}), static_cast<int>(kReportSize));  // taken, then the link dies
    std::uint8_t buffer[kReportSize];
    EXPECT_EQ(link->Read(buffer, sizeof buffer, 10), -1);
    EXPECT_EQ(Send({CMD_GET_MODE}), 0);
    auto fresh = device.Open(kVirtualDevicePath);  // the fault fired once; a new link works
    Send(*fresh, {CMD_GET_MODE});
    EXPECT_TRUE(Next(kWaitMs, fresh.get()).has_value());
}

TEST_F(VirtualDeviceTest, DroppingWritesAnswersEachButStoresOnlyTheOthersOfEveryN) {
    device.SetDropWrites(3);
    std::vector<sim::ParamBytes> before;
    for (int value = 1; value <= 6; ++value) {
        before.push_back(device.Param(1, value));
        Ask({CMD_SET_PARAM, 1, value, value, 0});  // each one answered
    }
    for (int value = 1; value <= 6; ++value) {
        const sim::ParamBytes expected = value % 3 == 0 ? before[value - 1] : sim::ParamBytes{std::uint8_t(value), 0};
        EXPECT_EQ(device.Param(1, value), expected) << value;
    }
    device.SetDropWrites(0);
    Ask({CMD_SET_PARAM, 1, 3, 3, 0});
    EXPECT_EQ(device.Param(1, 3), (sim::ParamBytes{3, 0}));
}

TEST_F(VirtualDeviceTest, TheRecordStaysBoundedOnALongRun) {
    for (int i = 0; i < 70000; ++i) {
        Send({CMD_SET_PARAM, 1, 2, i & 0x7F, 0});
        ASSERT_TRUE(Next().has_value());
    }
    EXPECT_LE(device.Received().size(), 65536u);
    EXPECT_GE(device.Received().size(), 32768u);
    EXPECT_EQ(device.Received().back()[4], 69999 & 0x7F);  // the newest are kept
    EXPECT_LE(device.Sent().size(), 65536u);
    EXPECT_TRUE(device.WaitForReceived(70000, 0ms));  // counted beyond the record
}

TEST_F(VirtualDeviceTest, LearnsARemoteKeyAfterTheLearnDelay) {
    device.SetLearnDelay(100ms);
    device.SetLearnedCode(0x21);
    Send({CMD_LEARN_KEY, 5});
    Send({CMD_GET_MODE});
    // The learn command is not answered: the next report is the mode.
    EXPECT_EQ(Next().value_or(Report{})[1], CMD_GET_MODE);
    const auto learned = Next();
    ASSERT_TRUE(learned.has_value());
    EXPECT_EQ((*learned)[1], CMD_LEARN_KEY);
    EXPECT_EQ((*learned)[2], sim::kFactoryRemoteCode);
    EXPECT_EQ((*learned)[3], 5);
    EXPECT_EQ((*learned)[4], 0x21);
    EXPECT_EQ(device.RemoteBlock()[5], 0x21);
    EXPECT_EQ(Ask({CMD_GET_REMOTE})[2 + 5], 0x21);
}

TEST_F(VirtualDeviceTest, TheStopCommandEndsListeningForAKey) {
    device.SetLearnDelay(100ms);
    device.SetLearnedCode(0x21);
    const sim::RemoteBlock before = device.RemoteBlock();
    Send({CMD_LEARN_KEY, 5});
    Ask({CMD_END_LEARN});
    // An answer due after the key would have been: no key report comes first.
    device.SetAnswerDelay(200ms);
    EXPECT_EQ(Ask({CMD_GET_MODE})[1], CMD_GET_MODE);
    device.SetAnswerDelay(0ms);
    EXPECT_EQ(device.RemoteBlock(), before);
    // A second learn command replaces the first: one key report, for the new key.
    Send({CMD_LEARN_KEY, 3});
    Send({CMD_LEARN_KEY, 4});
    const Report learned = Next().value_or(Report{});
    EXPECT_EQ(learned[1], CMD_LEARN_KEY);
    EXPECT_EQ(learned[3], 4);
    EXPECT_EQ(device.RemoteBlock()[3], before[3]);
}

TEST_F(VirtualDeviceTest, SendsReportsOnItsOwnInitiative) {
    device.SendWirelessStatus(5, 2);
    device.SendKeyReport(0x80, 3, 0x44);
    const Report status = Next().value_or(Report{});
    EXPECT_EQ(status[1], RPT_WMIC_STATUS);
    EXPECT_EQ(status[2], 5);
    EXPECT_EQ(status[3], 2);
    EXPECT_EQ(device.WirelessMic(1).pairing, 2);
    const Report key = Next().value_or(Report{});
    EXPECT_EQ(key[1], CMD_LEARN_KEY);
    EXPECT_EQ((std::array{key[2], key[3], key[4]}), (std::array<std::uint8_t, 3>{0x80, 3, 0x44}));
}

TEST_F(VirtualWirelessDeviceTest, KeepsWirelessMicrophoneSettings) {
    Report answer = Ask({CMD_WMIC_GET, 1, 16, kWmicItemVolume});
    EXPECT_EQ((std::array{answer[2], answer[4], answer[5]}),
              (std::array<std::uint8_t, 3>{1, kWmicItemVolume, 200}));
    Ask({CMD_WMIC_SET, 0, 16, kWmicItemChannel, 80});
    EXPECT_EQ(Ask({CMD_WMIC_GET, 0, 16, kWmicItemChannel})[5], kWmicMaxChannel);

    device.SetLearnDelay(50ms);
    // Writing the status item pairs nothing: only the pairing request does.
    Ask({CMD_WMIC_SET, 1, 16, kWmicItemPairing, 1});
    device.SetWirelessMic(1, {200, 10, 8, 0, 0});
    Ask({CMD_WMIC_SET, 1, 16, kWmicItemPairing, 1});
    EXPECT_EQ(device.WirelessMic(1).pairing, 0);
    Ask({CMD_WMIC_SET, 1, kWmicGroupPairing, kWmicItemStartPairing, kWmicStartPairingValue});
    EXPECT_EQ(device.WirelessMic(1).pairing, sim::kPairingInProgress);
    const Report paired = Next().value_or(Report{});
    EXPECT_EQ(paired[1], RPT_WMIC_STATUS);
    EXPECT_EQ(paired[3], sim::kPaired);
    EXPECT_EQ(device.WirelessMic(1).pairing, sim::kPaired);
}

TEST_F(VirtualDeviceTest, ModelWithoutReceiverAnswersWirelessQueriesEmpty) {
    const Report answer = Ask({CMD_WMIC_GET, 0, 16, kWmicItemVolume});
    EXPECT_EQ(answer[1], CMD_WMIC_GET);
    EXPECT_TRUE(std::all_of(answer.begin() + 2, answer.end(), [](auto b) { return b == 0; }));
}

TEST_F(VirtualDeviceTest, BrokenLinkKillsTheHandleButNotTheDevice) {
    device.BreakLink();
    std::uint8_t buffer[kReportSize];
    EXPECT_EQ(link->Read(buffer, sizeof buffer, 10), -1);
    EXPECT_EQ(link->Read(buffer, sizeof buffer, 10), -1);
    EXPECT_EQ(Send({CMD_GET_MODE}), 0);
    EXPECT_TRUE(device.Received().empty());

    auto fresh = device.Open(kVirtualDevicePath);
    ASSERT_NE(fresh, nullptr);
    Send(*fresh, {CMD_GET_MODE});
    EXPECT_TRUE(Next(kWaitMs, fresh.get()).has_value());
}

TEST_F(VirtualDeviceTest, UnplugAndPlugTellTheListenerAndKeepTheMemory) {
    std::vector<std::pair<bool, std::string>> events;
    device.SetPlugListener([&](bool arrived, const std::string& path) { events.emplace_back(arrived, path); });
    Ask({CMD_SET_PARAM, 3, 7, 99, 0});

    // A reader blocked in Read when the device goes must come back with -1.
    std::atomic<int> blockedRead{1};
    std::thread reader([&] {
        std::uint8_t buffer[kReportSize];
        blockedRead = link->Read(buffer, sizeof buffer, 10000);
    });
    EXPECT_TRUE(device.WaitUntilHostReadAll(test::kEventTimeout));  // the reader is in Read
    device.Unplug();
    reader.join();
    EXPECT_EQ(blockedRead, -1);
    const auto interfaces = device.Enumerate();
    ASSERT_TRUE(interfaces.has_value());
    EXPECT_TRUE(interfaces->empty());
    EXPECT_EQ(device.Open(kVirtualDevicePath), nullptr);

    device.Plug();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], std::make_pair(false, std::string(kVirtualDevicePath)));
    EXPECT_EQ(events[1], std::make_pair(true, std::string(kVirtualDevicePath)));
    EXPECT_EQ(Send({CMD_GET_MODE}), 0) << "old handle stays dead";

    auto fresh = device.Open(kVirtualDevicePath);
    ASSERT_NE(fresh, nullptr);
    Send(*fresh, {CMD_GET_PARAM, 3, 7});
    EXPECT_EQ(Next(kWaitMs, fresh.get()).value_or(Report{})[4], 99);
}

TEST(VirtualDeviceLifetime, ReaderWaitingWhenTheDeviceIsDestroyedGetsMinusOne) {
    auto device = std::make_unique<VirtualDevice>();
    auto link = device->Open(kVirtualDevicePath);
    std::atomic<int> result{1};
    std::thread reader([&] {
        std::uint8_t buffer[kReportSize];
        result = link->Read(buffer, sizeof buffer, 10000);
    });
    EXPECT_TRUE(device->WaitUntilHostReadAll(test::kEventTimeout));  // the reader is in Read
    device.reset();
    reader.join();
    EXPECT_EQ(result, -1);
}

TEST_F(VirtualDeviceTest, RecordsTheTrafficInOrder) {
    std::thread writer([&] {
        Send({CMD_GET_MODE});
        Send({CMD_SET_LOGO, 'S', 'O', 'N', 'O', 'R', 'I', 'A'});
    });
    EXPECT_TRUE(device.WaitForReceived(2, test::kEventTimeout));
    writer.join();

    const auto received = device.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0][1], CMD_GET_MODE);
    EXPECT_EQ(received[1][1], CMD_SET_LOGO);
    const auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][1], CMD_GET_MODE);
    EXPECT_EQ(sent[1][1], CMD_SET_LOGO);
    EXPECT_EQ(device.Logo(), "SONORIA");

    device.ClearRecord();
    EXPECT_TRUE(device.Received().empty());
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_FALSE(device.WaitForReceived(1, 10ms));
}

TEST_F(VirtualDeviceTest, CollectsFirmwarePiecesInUpgradeMode) {
    Ask({CMD_ENTER_LOADER});
    EXPECT_TRUE(device.InUpgradeMode());
    Ask({CMD_BLOCK, kTransferMarker, 0, 32});
    Ask({CMD_PIECE, 0, 0, 3, 9, 0x5A, 0xA5});
    Ask({CMD_PIECE, 0, 3, 2, 7, 8});
    Ask({CMD_PIECE, kTransferMarker, 0, 3, 9, 1, 2});  // the image's own first bytes
    EXPECT_EQ(device.FirmwareImage(), (std::vector<std::uint8_t>{9, 1, 2, 7, 8}));
    Ask({CMD_SAVE_MODE});
    EXPECT_FALSE(device.InUpgradeMode());
}

}  // namespace
}  // namespace sonoria
