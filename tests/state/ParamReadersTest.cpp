// Reading parameter values from the device image by encoding, from the copy
// of the sub and centre blocks in use, and by microphone band number.
#include "state/ParamReaders.h"

#include <gtest/gtest.h>

#include "state/DeviceState.h"
#include "support/ProcessState.h"

namespace sonoria {
namespace {

class ParamReaders : public ::testing::Test {
protected:
    void SetUp() override { ResetDeviceState(); }
    test::ProcessStateGuard state;
};

TEST_F(ParamReaders, EachEncodingReadsItsBytes) {
    SetParam(1, 14, {0x40, 0x01});  // MicPeq1Gain
    SetParam(1, 24, {100, 255});    // MicVolume: the second byte is not part of the value
    SetParam(2, 13, {127, 254});    // EchoTime
    SetParam(7, 25, {9, 36});       // SubPhase: the first byte is not part of the value
    SetParam(1, 0, {99, 200});      // MicMeter
    SetParam(1, 1, {0x12, 0x34});   // MicSpare1

    const struct {
        const char* name;
        int expected;
    } cases[] = {
        {"MicPeq1Gain", 0x4001}, {"MicVolume", 100}, {"EchoTime", 127},
        {"SubPhase", 36},        {"MicMeter", 200},  {"MicSpare1", 0x1234},
    };
    for (const auto& c : cases) {
        const ParamInfo* p = FindParam(c.name);
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(ReadParam(*p), c.expected) << c.name;
    }
    EXPECT_EQ(ReadParamW15(1, 14), 0x4001);
    EXPECT_EQ(ReadParamS7(1, 24), 100);
    EXPECT_EQ(ReadParamB2(7, 25), 36);
    // The same slot read three ways.
    EXPECT_EQ(ReadParamS7(1, 1), 0x12);
    EXPECT_EQ(ReadParamB2(1, 1), 0x34);
}

TEST_F(ParamReaders, SubAndCentreFollowTheRearRouting) {
    SetParam(7, 1, {0x20, 0x00}, ParamCopy::Normal);
    SetParam(7, 1, {0x60, 0x00}, ParamCopy::Rear);
    const ParamInfo& subGain = *FindParam("SubPeqA1Gain");

    EXPECT_EQ(ReadParam(subGain), 0x2000);
    EXPECT_EQ(ReadParamW15(7, 1), 0x2000);
    // The connection defaults give only the rear copies a centre volume (36) and mic level (63).
    EXPECT_EQ(ReadParamB2(8, 22), 0);
    EXPECT_EQ(ReadParamS7(8, 15), 0);

    g_Device.rearRouting.store(1);
    EXPECT_EQ(ReadParam(subGain), 0x6000);
    EXPECT_EQ(ReadParamW15(7, 1), 0x6000);
    EXPECT_EQ(ReadParamB2(8, 22), 36);
    EXPECT_EQ(ReadParamS7(8, 15), 63);

    // Other blocks have one copy whatever the routing.
    SetParam(3, 7, {50, 0});
    EXPECT_EQ(ReadParamS7(3, 7), 50);
}

TEST_F(ParamReaders, MicrophoneBandsByNumber) {
    // Gain, Q and frequency of bands 0..3, each set to a value naming its slot.
    const int slots[4][2] = {{1, 14}, {1, 17}, {2, 1}, {2, 4}};
    for (int band = 0; band < 4; ++band) {
        for (int part = 0; part < 3; ++part) {
            const int value = 0x1000 * (band + 1) + part;
            SetParam(slots[band][0], slots[band][1] + part,
                     {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)});
        }
    }
    for (int band = 0; band < 4; ++band) {
        EXPECT_EQ(MicBandGain(band), 0x1000 * (band + 1)) << band;
        EXPECT_EQ(MicBandQ(band), 0x1000 * (band + 1) + 1) << band;
        EXPECT_EQ(MicBandFreq(band), 0x1000 * (band + 1) + 2) << band;
    }
    for (int band : {-1, 4, 1000}) {
        EXPECT_EQ(MicBandGain(band), 0) << band;
        EXPECT_EQ(MicBandQ(band), 0) << band;
        EXPECT_EQ(MicBandFreq(band), 0) << band;
    }
}

TEST_F(ParamReaders, AddressesOutsideTheImageReadZero) {
    SetParam(1, 25, {0x7F, 0xFF});
    EXPECT_EQ(ReadParamW15(1, 25), 0x7FFF);
    EXPECT_EQ(ReadParamW15(1, 26), 0);
    EXPECT_EQ(ReadParamW15(9, 0), 0);
    EXPECT_EQ(ReadParamS7(0, 2), 0);
    EXPECT_EQ(ReadParamB2(-1, 0), 0);
}

}  // namespace
}  // namespace sonoria
