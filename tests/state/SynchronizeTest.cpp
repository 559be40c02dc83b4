// The read-all and write-all against the virtual device: the exact commands,
// in order, and what they leave in the image and on the device.
#include <gtest/gtest.h>

#include <thread>

#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/Synchronize.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using test::Cmd;
using test::Get;
using test::Set;

// The parameter requests of a read-all, worked out from the synchronised index sets.
std::vector<Report> ExpectedParameterReads() {
    std::vector<Report> reads;
    for (int i = 1; i <= 23; ++i) reads.push_back(Get(1, i));
    for (int i = 0; i <= 27; ++i) reads.push_back(Get(2, i));
    for (int i = 0; i <= 11; ++i) reads.push_back(Get(3, i));
    for (int i = 0; i <= 33; ++i) {
        if (i != 0 && i != 2 && i != 16 && i != 18) reads.push_back(Get(4, i));
    }
    for (int i = 0; i <= 24; ++i) {
        reads.push_back(Get(5, i));
        reads.push_back(Get(6, i));
    }
    for (int i = 0; i <= 25; ++i) {
        reads.push_back(Get(7, i));
        reads.push_back(Get(8, i));
    }
    return reads;
}

std::vector<Report> ExpectedReadAll(bool wireless) {
    std::vector<Report> expected = {Cmd(128), Cmd(129), Cmd(149), Get(0, 2), Cmd(127), Cmd(7), Cmd(17), Cmd(12)};
    for (const Report& read : ExpectedParameterReads()) expected.push_back(read);
    for (const Report& tail : {Cmd(146), Cmd(98), Cmd(82, {0}), Cmd(82, {1}), Cmd(82, {2}), Cmd(82, {3}),
                               Cmd(84, {0}), Cmd(84, {1}), Cmd(84, {2})}) {
        expected.push_back(tail);
    }
    if (wireless) {
        for (auto [group, item] : {std::pair{16, 65}, {9, 30}, {16, 64}, {16, 69}, {16, 66}}) {
            expected.push_back(Cmd(19, {0, group, item}));
            expected.push_back(Cmd(19, {1, group, item}));
        }
    }
    return expected;
}

class ReadAllTest : public test::VirtualDeviceLinkTest {};

TEST_F(ReadAllTest, AskesForIdentityRecordsAndEveryParameterInOrder) {
    device->SetParam(3, 7, 90, 0);
    device->SetParam(8, 22, 0, 33);
    device->SetCurrentMode(2);
    g_Device.modified.store(1);
    ReadAll();
    EXPECT_EQ(Received(), ExpectedReadAll(false));
    EXPECT_EQ(ExpectedParameterReads().size(), 195u);
    EXPECT_EQ(g_Device.machineName.Get(), "KR710Q");
    EXPECT_EQ(g_Device.currentMode.load(), 2);
    EXPECT_EQ(g_Device.modified.load(), 0);
    EXPECT_EQ(GetParam(3, 7).first, 90);
    EXPECT_EQ(GetParam(8, 22, ParamCopy::Normal).second, 33);
}

TEST_F(ReadAllTest, TheImageMatchesTheDeviceAfterwards) {
    ReadAll();
    for (const Report& read : ExpectedParameterReads()) {
        const auto expected = device->Param(read[2], read[3]);
        const auto stored = GetParam(read[2], read[3], ParamCopy::Normal);
        EXPECT_EQ(stored.first, expected.first) << int(read[2]) << "/" << int(read[3]);
        EXPECT_EQ(stored.second, expected.second) << int(read[2]) << "/" << int(read[3]);
    }
    const auto machine = device->MachineRecord();
    for (std::size_t i = 0; i < machine.size(); ++i) EXPECT_EQ(g_Device.machineDevice[i].load(), machine[i]);
    EXPECT_EQ(g_Device.remote[0].load(), device->RemoteBlock()[0]);
}

TEST_F(ReadAllTest, ARefusedModelStopsAfterTheIdentity) {
    device->SetModel("KR710P");
    ReadAll();
    EXPECT_EQ(Received(), (std::vector<Report>{Cmd(128), Cmd(129)}));
    EXPECT_EQ(g_Device.machineName.Get(), "KR710P");
}

class WirelessReadAllTest : public test::VirtualDeviceLinkTest {
protected:
    WirelessReadAllTest() : VirtualDeviceLinkTest("KR710QX") {}
};

TEST_F(WirelessReadAllTest, AlsoAsksForBothWirelessMicrophones) {
    ReadAll();
    EXPECT_EQ(Received(), ExpectedReadAll(true));
    const auto mic = device->WirelessMic(1);
    EXPECT_EQ(g_Device.wirelessMics[1].volume.load(), mic.volume);
    EXPECT_EQ(g_Device.wirelessMics[1].channel.load(), mic.channel);
}

TEST_F(ReadAllTest, TheWorkerPausesReadsAndReportsTheEnd) {
    StartSynchronizeData();
    EXPECT_EQ(g_bSyncIdle.load(), 0);
    ASSERT_TRUE(window.WaitFor(WM_SYNC_DONE));
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    EXPECT_EQ(g_bSyncIdle.load(), 1);
    const auto messages = window.Messages();
    EXPECT_FALSE(messages.back().sent);
    EXPECT_EQ(messages.back().wParam, 0u);
    EXPECT_EQ(messages.back().lParam, 1);  // read to its end
    EXPECT_EQ(Received().size(), ExpectedReadAll(false).size());
}

TEST_F(ReadAllTest, TwoReadAllsAskedForAtOnceRunOneAfterTheOther) {
    StartSynchronizeData();
    StartSynchronizeData();
    ASSERT_TRUE(test::Eventually([&] {
        const auto messages = window.Messages();
        return std::count_if(messages.begin(), messages.end(),
                             [](const auto& m) { return m.message == WM_SYNC_DONE; }) == 2;
    }));
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    // The second began only after the first had read everything: the wire
    // holds two whole read-alls, not a mix of them.
    const std::vector<Report> once = ExpectedReadAll(false);
    std::vector<Report> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(Received(), twice);
}

TEST_F(ReadAllTest, ABrokenLinkEndsTheReadAllQuicklyAndKeepsPollingOff) {
    StartSynchronizeData();
    device->BreakLink();
    ASSERT_TRUE(window.WaitFor(WM_SYNC_DONE));
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    EXPECT_EQ(g_bSyncIdle.load(), 0);
    EXPECT_EQ(window.Messages().back().lParam, 0);  // failed
}

TEST_F(ReadAllTest, ADeviceThatFallsSilentMidwayIsReportedLostAfterThreeUnansweredCommands) {
    device->SetSilentAfter(40);
    StartSynchronizeData();
    ASSERT_TRUE(window.WaitFor(WM_SYNC_DONE));
    EXPECT_TRUE(window.WaitFor(WM_LINK_LOST));
    const auto messages = window.Messages();
    const auto done = std::find_if(messages.begin(), messages.end(), [](const auto& m) { return m.message == WM_SYNC_DONE; });
    EXPECT_EQ(done->lParam, 0);
    // Three commands went unanswered; nothing more was sent after the third.
    EXPECT_LT(Received().size(), 40u + 5u);
}

TEST_F(ReadAllTest, ADeviceThatNeverGivesItsNameFailsInsteadOfLookingLikeAnotherModel) {
    device->SetSilent(true);
    EXPECT_FALSE(ReadAll());
    EXPECT_EQ(Received(), (std::vector<Report>{test::Cmd(128), test::Cmd(129)}));
    EXPECT_EQ(g_Device.nameReported.load(), 0);
}

class LowerCaseModelTest : public test::VirtualDeviceLinkTest {
protected:
    LowerCaseModelTest() : VirtualDeviceLinkTest("kr710qx") {}
};

TEST_F(LowerCaseModelTest, ANameInAnotherCaseIsTheSameModelAndIsReadWhole) {
    EXPECT_TRUE(ReadAll());
    EXPECT_EQ(Received(), ExpectedReadAll(true));
}

TEST_F(ReadAllTest, StoppingTheWorkersEndsThePauseWithoutMessage) {
    StartSynchronizeData();
    StopSyncWorkers();
    EXPECT_FALSE(SyncWorkersRunning());
    EXPECT_TRUE(Received().empty());
    EXPECT_TRUE(window.Messages().empty());
}

class WriteAllTest : public test::VirtualDeviceLinkTest {
protected:
    void SetUp() override {
        VirtualDeviceLinkTest::SetUp();
        ReadAll();
        device->ClearRecord();
    }
    // Index of the first report equal to `report`, or -1.
    int IndexOf(const Report& report) const {
        const auto received = Received();
        const auto found = std::find(received.begin(), received.end(), report);
        return found == received.end() ? -1 : static_cast<int>(found - received.begin());
    }
    std::vector<Report> SetsOf(int block, int index) const {
        std::vector<Report> sets;
        for (const Report& r : ReceivedWithCode(9)) {
            if (r[2] == block && r[3] == index) sets.push_back(r);
        }
        return sets;
    }
};

TEST_F(WriteAllTest, WithoutVolumesNoVolumeIsWrittenButTheyAreAskedFor) {
    g_Device.machineDevice[VolumeSaveMode].store(0);
    g_Device.autoSub[0].store(5);
    g_Device.autoSub[1].store(6);
    WriteAll();
    const auto received = Received();
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.front(), Cmd(16, {1, 5, 6}));
    EXPECT_EQ(received.back(), Cmd(12));
    for (auto [block, index] : {std::pair{1, 24}, {4, 2}, {4, 18}, {7, 22}, {8, 22}}) {
        EXPECT_TRUE(SetsOf(block, index).empty()) << block << "/" << index;
    }
    EXPECT_EQ(ReceivedWithCode(10), (std::vector<Report>{Get(7, 22), Get(8, 22)}));
    // After the sub block's last value comes its volume request, then the centre block.
    EXPECT_EQ(IndexOf(Get(7, 22)), IndexOf(Set(7, 25, GetParam(7, 25).first, GetParam(7, 25).second)) + 1);
}

TEST_F(WriteAllTest, WithVolumesTheyAreSilencedFirstAndRampedBackLast) {
    g_Device.machineDevice[VolumeSaveMode].store(1);
    SetParam(1, 24, {70, 0});
    SetParam(4, 2, {40, 0});
    WriteAll();
    const auto received = Received();
    ASSERT_GE(received.size(), 4u);
    EXPECT_EQ(received[1], Set(1, 24, 0, 0));
    EXPECT_EQ(received[2], Set(4, 2, 0, 0));
    EXPECT_EQ(received[3], Set(4, 18, 0, 0));
    std::vector<Report> mic;
    for (int v : {0, 63, 64, 65, 66, 67, 68, 69, 70}) mic.push_back(Set(1, 24, v, 0));
    EXPECT_EQ(SetsOf(1, 24), mic);
    EXPECT_EQ(SetsOf(4, 2), (std::vector<Report>{Set(4, 2, 0, 0), Set(4, 2, 40, 0)}));
    EXPECT_EQ(SetsOf(4, 18), (std::vector<Report>{Set(4, 18, 0, 0), Set(4, 18, 40, 0)}));
    const std::size_t n = received.size();
    EXPECT_EQ(received[n - 3], Set(4, 2, 40, 0));
    EXPECT_EQ(received[n - 2], Set(4, 18, 40, 0));
    EXPECT_EQ(received[n - 1], Cmd(12));
    EXPECT_EQ(SetsOf(7, 22).size(), 1u);
    EXPECT_EQ(device->Param(1, 24).first, 70);
}

TEST_F(WriteAllTest, LoudMusicIsRampedOnBothChannelsFromSixtyThree) {
    g_Device.machineDevice[VolumeSaveMode].store(1);
    SetParam(1, 24, {10, 0});
    SetParam(4, 2, {65, 7});
    WriteAll();
    const auto received = Received();
    const std::size_t n = received.size();
    ASSERT_GE(n, 8u);
    const std::vector<Report> tail(received.end() - 8, received.end());
    EXPECT_EQ(tail, (std::vector<Report>{Set(1, 24, 10, 0), Set(4, 2, 63, 7), Set(4, 18, 63, 7), Set(4, 2, 64, 7),
                                         Set(4, 18, 64, 7), Set(4, 2, 65, 7), Set(4, 18, 65, 7), Cmd(12)}));
}

TEST_F(WriteAllTest, MultiTapValuesGoOnlyWithTheMultiTapEcho) {
    SetParamSecond(2, 7, 3);
    WriteAll();
    for (int index = 16; index <= 22; ++index) EXPECT_TRUE(SetsOf(2, index).empty()) << index;
    EXPECT_EQ(SetsOf(2, 15).size(), 1u);
    EXPECT_EQ(SetsOf(2, 23).size(), 1u);
    device->ClearRecord();
    SetParamSecond(2, 7, 4);
    WriteAll();
    for (int index = 16; index <= 22; ++index) EXPECT_EQ(SetsOf(2, index).size(), 1u) << index;
}

TEST_F(WriteAllTest, RearRoutingWritesTheRearCopies) {
    SetParam(7, 15, {11, 0}, ParamCopy::Normal);
    SetParam(7, 15, {22, 0}, ParamCopy::Rear);
    g_Device.rearRouting.store(1);
    WriteAll();
    EXPECT_EQ(SetsOf(7, 15), std::vector<Report>{Set(7, 15, 22, 0)});
    device->ClearRecord();
    g_Device.rearRouting.store(0);
    WriteAll();
    EXPECT_EQ(SetsOf(7, 15), std::vector<Report>{Set(7, 15, 11, 0)});
}

TEST_F(WriteAllTest, AReadAllAfterAWriteAllReturnsTheSameImage) {
    g_Device.machineDevice[VolumeSaveMode].store(1);
    // A different parameter set, as a loaded file would bring.
    for (int block = 1; block <= 8; ++block) {
        for (int index = 0; index < kBlockSizes[block]; ++index) {
            SetParam(block, index, {static_cast<std::uint8_t>((block * 7 + index) % 128),
                                    static_cast<std::uint8_t>((block * 13 + index * 3) % 256)}, ParamCopy::Normal);
        }
    }
    SetParam(1, 24, {30, 0});
    SetParam(4, 2, {20, 0});
    SetParam(4, 18, {20, 0});
    SetParamSecond(2, 7, 4);
    g_Device.autoSub[0].store(9);
    std::vector<std::pair<int, ParamBytes>> written;
    for (const Report& read : ExpectedParameterReads()) written.push_back({read[2] << 8 | read[3], GetParam(read[2], read[3])});

    WriteAll();
    ResetParameterImage();
    g_Device.autoSub[0].store(0);
    ReadAll();

    for (const auto& [address, bytes] : written) {
        EXPECT_EQ(GetParam(address >> 8, address & 0xFF, ParamCopy::Normal), bytes) << (address >> 8) << "/"
                                                                                   << (address & 0xFF);
    }
    EXPECT_EQ(g_Device.autoSub[0].load(), 9);
}

TEST_F(WriteAllTest, AnInterruptedWriteAllBringsTheVolumesBack) {
    g_Device.machineDevice[VolumeSaveMode].store(1);
    SetParam(1, 24, {70, 0});
    SetParam(4, 2, {40, 3});
    device->SetAnswerDelay(2ms);
    bool result = true;
    std::thread writer([&] { result = WriteAll(); });
    ASSERT_TRUE(device->WaitForReceived(30, test::kEventTimeout));
    InterruptSynchronisation();
    writer.join();
    ClearSynchronisationInterrupt();
    EXPECT_FALSE(result);
    const auto received = Received();
    ASSERT_GT(received.size(), 3u);
    EXPECT_LT(received.size(), 150u);  // stopped early
    const std::vector<Report> last(received.end() - 3, received.end());
    EXPECT_EQ(last, (std::vector<Report>{test::Cmd(9, {1, 24, 70, 0}), test::Cmd(9, {4, 2, 40, 3}),
                                         test::Cmd(9, {4, 18, 40, 3})}));
}

TEST_F(WriteAllTest, AWriteAllOnALostLinkFails) {
    device->BreakLink();
    EXPECT_FALSE(WriteAll());
}

TEST_F(WriteAllTest, TheWriteAllWorkerReportsWithOne) {
    StartWriteAll();
    ASSERT_TRUE(window.WaitFor(WM_SYNC_DONE));
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    EXPECT_EQ(window.Messages().back().wParam, 1u);
    EXPECT_EQ(window.Messages().back().lParam, 1);
    EXPECT_EQ(g_bSyncIdle.load(), 1);
}

}  // namespace
}  // namespace sonoria
