// Parameter senders: what each stores and the exact commands it sends.
#include <gtest/gtest.h>

#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/ParameterTable.h"
#include "state/Senders.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using test::Set;

class SendersTest : public test::VirtualDeviceLinkTest {};

TEST_F(SendersTest, S7ValuesCarryTheTopMarkerInTheSecondByte) {
    SetParamSecond(1, 24, 9);
    SetMicVolume(127);
    SetMicVolume(126);
    SetEchoTime(127);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 24, 127, 255), Set(1, 24, 126, 0), Set(2, 13, 127, 254)}));
    EXPECT_EQ(GetParam(1, 24), (ParamBytes{126, 9}));  // the stored second byte is left alone
}

TEST_F(SendersTest, W15AndB2Values) {
    SetMainLDelay(300);
    EXPECT_EQ(GetParam(5, 24), (ParamBytes{1, 44}));
    EXPECT_EQ(GetParam(6, 24), (ParamBytes{0, 0}));
    SetParamFirst(1, 3, 5);
    SetMicCompEnable(1);
    EXPECT_EQ(GetParam(1, 3), (ParamBytes{5, 1}));
    EXPECT_EQ(Received(), (std::vector<Report>{Set(5, 24, 1, 44), Set(1, 3, 0, 1)}));
}

TEST_F(SendersTest, OnlyTheBitsOfTheEncodingAreKept) {
    SetMicLowPassFreq(0x1FFFF);  // 17 bits: bit 15 and above are dropped
    SetMicGateThreshold(200);    // 200 & 0x7F = 72
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 20, 0x7F, 0xFF), Set(1, 2, 72, 0)}));
}

TEST_F(SendersTest, PairsAreWrittenInTurnAndSidesAlone) {
    SetMusicVolume(50);
    SetPitchEnable(1);
    SetMainMicLevelR(10);
    SetMainEffectLevelL(11);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(4, 2, 50, 0), Set(4, 18, 50, 0), Set(5, 0, 0, 1), Set(6, 0, 0, 1),
                                               Set(6, 18, 10, 0), Set(5, 19, 11, 0)}));
    EXPECT_EQ(GetParam(5, 18).first, 0);
}

TEST_F(SendersTest, SubAndCenterSendersWriteTheActiveCopy) {
    g_Device.rearRouting.store(1);
    SetSubVolume(40);
    EXPECT_EQ(GetParam(7, 22, ParamCopy::Rear).second, 40);
    EXPECT_EQ(GetParam(7, 22, ParamCopy::Normal).second, 0);
    g_Device.rearRouting.store(0);
    SetCenterMicLevel(12);
    EXPECT_EQ(GetParam(8, 15, ParamCopy::Normal).first, 12);
    EXPECT_EQ(GetParam(8, 15, ParamCopy::Rear).first, 63);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(7, 22, 0, 40), Set(8, 15, 12, 0)}));
}

TEST_F(SendersTest, BandSendersAddressTheirBandAndIgnoreOthers) {
    SetMicPeqGain(0, 0x4000);
    SetMicPeqQ(2, 0x1234);
    SetMicPeqFreq(3, 500);
    SetMusicPeqGain(1, 0x4001);
    SetSubPeqBFreq(1, 252);
    SetCenterPeqAQ(0, 7);
    SetMusicPeqGain(2, 1);
    SetMicPeqGain(-1, 1);
    SetMainMusicPeqFreq(5, 1);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(1, 14, 64, 0), Set(2, 2, 0x12, 0x34), Set(2, 6, 1, 244),
                                               Set(4, 12, 64, 1), Set(4, 28, 64, 1), Set(7, 13, 0, 252),
                                               Set(8, 2, 0, 7)}));
}

TEST_F(SendersTest, PitchShiftSwitchesThePitchShifterItself) {
    SetParamSecond(5, 0, 1);
    SetPitchShift(64);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(5, 1, 64, 0), Set(6, 1, 64, 0), Set(5, 0, 0, 0), Set(6, 0, 0, 0)}));
    device->ClearRecord();
    SetPitchShift(64);  // already off: nothing more to switch
    SetPitchShift(70);
    EXPECT_EQ(Received(), (std::vector<Report>{Set(5, 1, 64, 0), Set(6, 1, 64, 0), Set(5, 1, 70, 0), Set(6, 1, 70, 0),
                                               Set(5, 0, 0, 1), Set(6, 0, 0, 1)}));
}

TEST_F(SendersTest, InUpgradeModeValuesAreStoredButNotSent) {
    g_bUpgradeMode.store(1);
    SetMicVolume(33);
    SetMainLDelay(96);
    EXPECT_EQ(GetParam(1, 24).first, 33);
    EXPECT_EQ(GetParam(5, 24), (ParamBytes{0, 96}));
    EXPECT_TRUE(Received().empty());
}

TEST_F(SendersTest, KeyLockBitsChangeOnlyTheEditCopy) {
    SetKeyLockBit(0, true);
    SetKeyLockBit(7, true);
    SetKeyLockBit(8, true);
    SetKeyLockBit(-1, true);
    EXPECT_EQ(g_Device.machineEdit[KeyLockBits].load(), 0x81);
    SetKeyLockBit(0, false);
    EXPECT_EQ(g_Device.machineEdit[KeyLockBits].load(), 0x80);
    EXPECT_EQ(g_Device.machineDevice[KeyLockBits].load(), 0);
    EXPECT_TRUE(Received().empty());
}

TEST_F(SendersTest, EveryEditedParameterHasASenderThatWritesItsOwnAddress) {
    int withSender = 0;
    for (const ParamInfo& param : AllParams()) {
        const auto sender = FindSender(param.name);
        if (!sender) continue;
        ++withSender;
        device->ClearRecord();
        sender(param.encoding == Encoding::B2 ? 1 : 0x11);
        const auto sets = ReceivedWithCode(9);
        ASSERT_FALSE(sets.empty()) << param.name;
        // The pitch shifter's automatic switch may follow; the parameter itself comes first.
        EXPECT_EQ(sets[0][2], param.address.block) << param.name;
        EXPECT_EQ(sets[0][3], param.address.index) << param.name;
        if (param.twin) {
            ASSERT_GE(sets.size(), 2u) << param.name;
            EXPECT_EQ(sets[1][2], param.twin->block) << param.name;
            EXPECT_EQ(sets[1][3], param.twin->index) << param.name;
        }
    }
    // Named but never edited: meters, spares, enables shown only, routing levels, centre phase.
    for (const char* name : {"MicMeter", "MusicMeterL", "MicSpare1", "MicEqEnable", "Block2Spare0", "MusicSpare3",
                             "MainEqEnable", "SubEqAEnable", "CenterEqBEnable", "RearRouteA", "CenterPhase",
                             "SubSpare19"}) {
        EXPECT_FALSE(FindSender(name)) << name;
    }
    EXPECT_GT(withSender, 120);
}

}  // namespace
}  // namespace sonoria
