// The EQ views: which parameters fill which bands, in which order an edit
// sends them, and the bands a new graph shows when filled from the image.
#include "eq/EqViews.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "state/DeviceState.h"
#include "support/ProcessState.h"

namespace sonoria {
namespace {

std::vector<std::string> Names(const std::vector<EqViewValue>& values) {
    std::vector<std::string> names;
    for (const EqViewValue& value : values) names.emplace_back(value.param->name);
    return names;
}

void StoreW15(int block, int index, int value, ParamCopy copy = ParamCopy::Active) {
    SetParam(block, index, {std::uint8_t(value >> 8), std::uint8_t(value & 0xFF)}, copy);
}

class EqViewsTest : public ::testing::Test {
protected:
    test::ProcessStateGuard state;
    std::array<EqBand, kEqMaxBands> bands{};
};

TEST_F(EqViewsTest, EveryValueOfEveryViewFillsABandInUseOfTheRightShape) {
    for (int v = 0; v < kEqViewCount; ++v) {
        const auto view = static_cast<EqView>(v);
        const int count = FillEqViewBands(view, bands);
        ASSERT_EQ(count, EqLayoutBandCount(EqViewLayout(view))) << EqViewName(view);
        std::set<std::pair<int, int>> seen;
        for (const EqViewValue& value : EqViewFillOrder(view)) {
            ASSERT_LT(value.band, count) << EqViewName(view);
            EXPECT_TRUE(seen.insert({value.band, int(value.field)}).second) << "filled twice: " << value.param->name;
            const EqBandType type = bands[value.band].type;
            // Pass filters have only a frequency, shelves no Q.
            if (type == EqBandType::LowPass || type == EqBandType::HighPass) {
                EXPECT_EQ(value.field, EqField::Frequency) << value.param->name;
            }
            if (type == EqBandType::LowShelf || type == EqBandType::HighShelf) {
                EXPECT_NE(value.field, EqField::Q) << value.param->name;
            }
        }
        // Every value an edit sends is one the view fills, from the same band.
        for (int band = 0; band < count; ++band) {
            const std::vector<EqViewValue> sends = EqViewSendOrder(view, band);
            EXPECT_EQ(sends.empty(), bands[band].locked) << EqViewName(view) << " band " << band;
            for (const EqViewValue& send : sends) EXPECT_TRUE(seen.count({band, int(send.field)})) << send.param->name;
        }
    }
}

TEST_F(EqViewsTest, FillOrderIsGainsThenFrequenciesThenQ) {
    EXPECT_EQ(Names({EqViewFillOrder(EqView::Music).begin(), EqViewFillOrder(EqView::Music).end()}),
              (std::vector<std::string>{"MusicLowShelfGain", "MusicPeq1Gain", "MusicPeq2Gain", "MusicHighShelfGain",
                                        "MusicLowShelfFreq", "MusicPeq1Freq", "MusicPeq2Freq", "MusicHighShelfFreq",
                                        "MusicHighPassFreq", "MusicPeq1Q", "MusicPeq2Q"}));
    // An output view: its own peaks, the channel EQ behind them, then its filters.
    const auto order = EqViewFillOrder(EqView::SubMusic);
    const std::vector<std::string> names = Names({order.begin(), order.end()});
    ASSERT_EQ(names.size(), 6u + 11u + 2u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6),
              (std::vector<std::string>{"SubPeqB1Gain", "SubPeqB2Gain", "SubPeqB1Freq", "SubPeqB2Freq", "SubPeqB1Q",
                                        "SubPeqB2Q"}));
    EXPECT_EQ(names[17], "SubHighPassFreq");
    EXPECT_EQ(names[18], "SubLowPassFreq");
    EXPECT_EQ(order[17].band, 7);
    EXPECT_EQ(order[14].band, 2);  // the music high-pass behind the two own peaks
}

TEST_F(EqViewsTest, EachViewSendsItsBandsInItsOwnOrder) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Names(EqViewSendOrder(EqView::Mic, 1)), (V{"MicLowShelfGain", "MicLowShelfFreq"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::Mic, 4)), (V{"MicPeq3Gain", "MicPeq3Freq", "MicPeq3Q"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::Mic, 7)), (V{"MicLowPassFreq"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::Music, 1)), (V{"MusicLowShelfFreq", "MusicLowShelfGain"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::Music, 4)), (V{"MusicHighShelfFreq", "MusicHighShelfGain"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::MainMusic, 1)), (V{"MainMusicPeq2Gain", "MainMusicPeq2Freq", "MainMusicPeq2Q"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::CenterMic, 0)), (V{"CenterPeqA1Freq", "CenterPeqA1Gain", "CenterPeqA1Q"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::SubMic, 0)), (V{"SubPeqA1Gain", "SubPeqA1Freq", "SubPeqA1Q"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::CenterOut, 0)), (V{"CenterHighPassFreq"}));
    EXPECT_EQ(Names(EqViewSendOrder(EqView::SubOut, 1)), (V{"SubLowPassFreq"}));
    EXPECT_TRUE(EqViewSendOrder(EqView::MainMic, 2).empty());
    EXPECT_TRUE(EqViewSendOrder(EqView::Mic, 8).empty());
    EXPECT_TRUE(EqViewSendOrder(EqView::Mic, -1).empty());

    EXPECT_EQ(EqViewRearTwin(EqView::CenterMusic), EqView::SubMusic);
    EXPECT_EQ(EqViewRearTwin(EqView::SubOut), EqView::CenterOut);
    EXPECT_FALSE(EqViewRearTwin(EqView::MainMic).has_value());
}

TEST_F(EqViewsTest, NamesRoundTripAndUnknownNamesAreRefused) {
    for (int v = 0; v < kEqViewCount; ++v) {
        const auto view = static_cast<EqView>(v);
        EXPECT_EQ(EqViewFromName(EqViewName(view)), view);
    }
    EXPECT_FALSE(EqViewFromName("Mic").has_value());
    EXPECT_FALSE(EqViewFromName("centre-mic").has_value());
    EXPECT_FALSE(EqViewFromName("").has_value());
}

TEST_F(EqViewsTest, BandsTakeTheNumbersTheDisplayTextsShow) {
    SetParamFirst(1, 21, 127);             // mic high-pass: "302Hz"
    StoreW15(1, 9, 0);                     // low-shelf gain: "-12.0dB"
    StoreW15(1, 10, 0);                    // low-shelf frequency "0Hz": not taken
    StoreW15(1, 14, 32767);                // peak 1 gain: "12.0dB"
    StoreW15(1, 16, 1679);                 // peak 1 frequency: 1679 / 1.679269 = 999.8, "999Hz"
    StoreW15(1, 15, 16384);                // peak 1 Q: "1.533"
    StoreW15(1, 12, 32512);                // high-shelf frequency: 32512 * 3000 / 32767 = 2976.6, "2976Hz"
    StoreW15(1, 20, 32767);                // mic low-pass: "20001Hz"
    SetParamSecond(1, 8, 0);
    ASSERT_EQ(FillEqViewBands(EqView::Mic, bands), 8);
    EXPECT_EQ(bands[0].frequency, 302.0f);
    EXPECT_EQ(bands[1].gain, -12.0f);
    EXPECT_EQ(bands[1].frequency, 40.0f);  // the layout's
    EXPECT_EQ(bands[2].gain, 12.0f);
    EXPECT_EQ(bands[2].frequency, 999.0f);
    EXPECT_EQ(bands[2].q, 1.533f);
    EXPECT_EQ(bands[6].frequency, 2976.0f);
    EXPECT_EQ(bands[7].frequency, 20001.0f);
    EXPECT_TRUE(EqViewSwitchedOff(EqView::Mic));
    SetParamSecond(1, 8, 1);
    EXPECT_FALSE(EqViewSwitchedOff(EqView::Mic));
    // The output filter views have no switch.
    EXPECT_FALSE(EqViewSwitchedOff(EqView::CenterOut));
    // The response is computed from what was filled: a +12 dB peak near 1 kHz.
    EXPECT_NEAR(bands[2].response[301], 12.0f, 0.05f);
}

TEST_F(EqViewsTest, CentreAndSubValuesComeFromTheCopyInUse) {
    StoreW15(8, 20, 0, ParamCopy::Normal);     // centre low-pass off: "15202Hz"
    StoreW15(8, 20, 533, ParamCopy::Rear);     // 533 / 32768 * 96000 / 2pi = 248.5: "248Hz"
    StoreW15(8, 21, 88, ParamCopy::Rear);      // 88 / 32768 * 48000 / 2pi = 20.5: "20Hz"
    FillEqViewBands(EqView::CenterOut, bands);
    EXPECT_EQ(bands[1].frequency, 15202.0f);
    EXPECT_EQ(bands[0].frequency, 18.0f);      // raw 0 in the normal copy
    g_Device.rearRouting.store(1);
    FillEqViewBands(EqView::CenterOut, bands);
    EXPECT_EQ(bands[1].frequency, 248.0f);
    EXPECT_EQ(bands[0].frequency, 20.0f);
    EXPECT_FALSE(bands[0].locked);
    // Pass filters sit on the 0 dB line.
    EXPECT_EQ(bands[0].gain, 0.0f);
    EXPECT_EQ(EqBandTypeName(bands[0].type), "HIGHPASS");
    EXPECT_EQ(EqBandTypeName(EqBandType::Off), "OFF");
}

}  // namespace
}  // namespace sonoria
