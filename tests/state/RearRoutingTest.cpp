// Switching the centre and sub outputs to the rear outputs and back.
#include <gtest/gtest.h>

#include <thread>

#include "link/HostMessages.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/RearRouting.h"
#include "state/SyncWorkers.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using test::Set;

class RearRoutingTest : public test::VirtualDeviceLinkTest {
protected:
    void SetUp() override {
        VirtualDeviceLinkTest::SetUp();
        ResetRearRoutingFirstTime();
    }
    void SetVolumes(ParamCopy copy, int sub, int center) {
        SetParamSecond(7, 22, static_cast<std::uint8_t>(sub), copy);
        SetParamSecond(8, 22, static_cast<std::uint8_t>(center), copy);
    }
    // The volume commands, in order, as (block, value) pairs.
    std::vector<std::pair<int, int>> VolumeSets() const {
        std::vector<std::pair<int, int>> sets;
        for (const Report& r : ReceivedWithCode(9)) {
            if (r[3] == 22 && (r[2] == 7 || r[2] == 8)) sets.push_back({r[2], r[4] << 8 | r[5]});
        }
        return sets;
    }
    std::vector<Report> SetsBetween(std::size_t from, std::size_t to) const {
        const auto sets = ReceivedWithCode(9);
        return {sets.begin() + from, sets.begin() + to};
    }
};

TEST_F(RearRoutingTest, SwitchingOnSendsTheWholeReconfigurationInOrder) {
    SetParam(8, 14, {0, 0}, ParamCopy::Rear);   // CenterEffectLevel 0: the mic level stands in
    SetParam(8, 15, {45, 0}, ParamCopy::Rear);  // CenterMicLevel
    SetParam(7, 16, {33, 0}, ParamCopy::Rear);  // SubMusicLevel
    SetParam(7, 24, {1, 44}, ParamCopy::Rear);  // SubDelay 300
    SetParam(5, 5, {70, 1});                    // MainMicPeq1Gain
    SetParam(5, 7, {2, 2});                     // MainMicPeq1Freq
    SetParam(5, 6, {3, 3});                     // MainMicPeq1Q
    SetVolumes(ParamCopy::Rear, 30, 10);

    SetRearRouting(1);

    EXPECT_EQ(g_Device.rearRouting.load(), 1);
    const auto sets = ReceivedWithCode(9);
    ASSERT_GE(sets.size(), 17u);
    EXPECT_EQ(SetsBetween(0, 17),
              (std::vector<Report>{Set(7, 22, 0, 0), Set(8, 22, 0, 0), Set(4, 32, 0, 0), Set(4, 33, 127, 255),
                                   Set(7, 14, 45, 0), Set(8, 14, 45, 0), Set(7, 15, 45, 0), Set(7, 16, 33, 0),
                                   Set(8, 15, 45, 0), Set(8, 16, 33, 0), Set(7, 17, 0, 0), Set(7, 18, 0, 0),
                                   Set(7, 24, 1, 44), Set(8, 17, 0, 0), Set(8, 18, 0, 0), Set(8, 24, 0, 0),
                                   // first time: the sub's set A band 1 takes the main mic EQ band 1
                                   Set(7, 1, 70, 1)}));
    EXPECT_EQ(sets[17], Set(7, 3, 2, 2));
    EXPECT_EQ(sets[18], Set(7, 2, 3, 3));
    EXPECT_EQ(GetParam(7, 15, ParamCopy::Rear).first, 45);
    EXPECT_EQ(GetParam(8, 16, ParamCopy::Rear).first, 33);
    EXPECT_EQ(GetParam(7, 1, ParamCopy::Rear), (ParamBytes{70, 1}));
    EXPECT_EQ(GetParam(7, 1, ParamCopy::Normal), (ParamBytes{0, 0}));
    // 24 EQ calls, then centre and sub filters, then the volumes.
    const std::size_t filters = 16 + 24;
    EXPECT_EQ(SetsBetween(filters, filters + 4),
              (std::vector<Report>{Set(8, 20, 0, 0), Set(8, 21, 0, 0), Set(7, 20, 0, 0), Set(7, 21, 0, 0)}));
    // Sub louder than a quiet centre: the sub takes the centre's volume.
    EXPECT_EQ(VolumeSets(), (std::vector<std::pair<int, int>>{{7, 0}, {8, 0}, {7, 10}, {8, 10}}));
    EXPECT_EQ(GetParam(7, 22).second, 10);
    EXPECT_EQ(sets.size(), filters + 4 + 2);
}

TEST_F(RearRoutingTest, OnlyTheFirstSwitchCopiesTheMainEq) {
    SetParam(5, 5, {70, 1});
    SetRearRouting(1);
    SetRearRouting(0);
    SetParam(7, 1, {20, 2}, ParamCopy::Rear);
    device->ClearRecord();
    SetRearRouting(1);
    const auto sets = ReceivedWithCode(9);
    EXPECT_EQ(sets[16], Set(7, 1, 20, 2));  // the rear copy's own value, re-sent
}

TEST_F(RearRoutingTest, SwitchingOnRampsLoudVolumesToTheCentre) {
    SetVolumes(ParamCopy::Rear, 20, 19);
    SetRearRouting(1);
    EXPECT_EQ(VolumeSets(), (std::vector<std::pair<int, int>>{{7, 0}, {8, 0}, {7, 15}, {8, 15}, {7, 16}, {8, 16},
                                                             {7, 17}, {8, 17}, {7, 18}, {8, 18}, {7, 19}, {8, 19}}));
    device->ClearRecord();
    SetVolumes(ParamCopy::Rear, 12, 30);
    SetRearRouting(1);
    // A quiet sub sets both at once and the centre takes the sub's volume.
    EXPECT_EQ(VolumeSets(), (std::vector<std::pair<int, int>>{{7, 0}, {8, 0}, {7, 12}, {8, 12}}));
    EXPECT_EQ(GetParam(8, 22).second, 12);
}

TEST_F(RearRoutingTest, SwitchingOffRestoresTheFrontOutputs) {
    g_Device.rearRouting.store(1);
    SetVolumes(ParamCopy::Normal, 60, 60);
    SetParam(7, 14, {21, 0}, ParamCopy::Normal);
    SetRearRouting(0);
    EXPECT_EQ(g_Device.rearRouting.load(), 0);
    EXPECT_EQ(SetsBetween(0, 6), (std::vector<Report>{Set(7, 22, 0, 0), Set(8, 22, 0, 0), Set(4, 32, 64, 0),
                                                      Set(4, 33, 64, 0), Set(7, 14, 21, 0), Set(7, 15, 0, 0)}));
    // The sub gets its crossover back.
    const auto sets = ReceivedWithCode(9);
    const auto crossover = std::find(sets.begin(), sets.end(), Set(7, 20, 2, 21));
    ASSERT_NE(crossover, sets.end());
    EXPECT_EQ(*(crossover + 1), Set(7, 21, 0, 88));
    // Both loud: 15 to 49 together; the device ends at 49 (0 dB).
    std::vector<std::pair<int, int>> expected = {{7, 0}, {8, 0}};
    for (int j = 15; j <= 49; ++j) {
        expected.push_back({7, j});
        expected.push_back({8, j});
    }
    EXPECT_EQ(VolumeSets(), expected);
    EXPECT_EQ(device->Param(7, 22).second, 49);
    EXPECT_EQ(GetParam(7, 22).second, 60);
}

TEST_F(RearRoutingTest, SwitchingOffWithOneQuietOutputRampsEachFromZero) {
    g_Device.rearRouting.store(1);
    SetVolumes(ParamCopy::Normal, 2, 20);
    SetRearRouting(0);
    std::vector<std::pair<int, int>> expected = {{7, 0}, {8, 0}};
    for (int j = 0; j <= 20; ++j) {
        if (j <= 2) expected.push_back({7, j});
        expected.push_back({8, j});
    }
    EXPECT_EQ(VolumeSets(), expected);
    device->ClearRecord();
    SetVolumes(ParamCopy::Normal, 5, 17);
    SetRearRouting(0);
    EXPECT_EQ(VolumeSets(), (std::vector<std::pair<int, int>>{{7, 0}, {8, 0}, {7, 5}, {8, 17}}));
}

TEST_F(RearRoutingTest, OnTheWorkerPoolTheChangeReportsItsEndOrStopsWhenTold) {
    g_Device.rearRouting.store(1);
    SetVolumes(ParamCopy::Normal, 60, 60);  // a ramp of 35 steps, 40 ms each
    StartRearRouting(false);
    ASSERT_TRUE(window.WaitFor(WM_SYNC_DONE));
    const test::RecordedMessage done = window.Messages().back();
    EXPECT_EQ(done.wParam, static_cast<std::uintptr_t>(kSyncRearRouting));
    EXPECT_EQ(done.lParam, 1);
    EXPECT_EQ(VolumeSets().back(), (std::pair<int, int>{8, 49}));
    ASSERT_TRUE(WaitForSyncWorkers(test::kEventTimeout));
    EXPECT_EQ(g_bSyncIdle.load(), 1);  // meters may be polled again

    // Stopped in the middle of its ramp: it goes no further and tells nobody.
    g_Device.rearRouting.store(1);
    device->ClearRecord();
    const std::size_t messagesBefore = window.Messages().size();
    StartRearRouting(false);
    ASSERT_TRUE(test::Eventually([&] { return VolumeSets().size() >= 6; }));
    // Its answers held, the ramp waits out an answer window per step: it
    // cannot reach its end before the stop.
    device->HoldReports(true);
    StopSyncWorkers();
    device->HoldReports(false);
    const std::size_t sent = Received().size();
    EXPECT_LT(VolumeSets().size(), 72u);
    EXPECT_FALSE(SyncWorkersRunning());  // nothing is left that could send
    ASSERT_TRUE(device->WaitUntilHostReadAll(test::kEventTimeout));
    EXPECT_EQ(Received().size(), sent);
    EXPECT_EQ(window.Messages().size(), messagesBefore);
}

}  // namespace
}  // namespace sonoria
