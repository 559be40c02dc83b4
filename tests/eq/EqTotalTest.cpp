// Which bands make up the graph's total curve and its shaded selected band,
// in the layouts with and without the output filters.
#include "eq/EqTotal.h"

#include <gtest/gtest.h>

#include <limits>
#include <span>
#include <vector>

namespace sonoria {
namespace {

// A band whose response is `level` in every column, so sums are easy to read.
EqBand Flat(EqBandType type, float frequency, float level) {
    EqBand band;
    band.type = type;
    band.frequency = frequency;
    band.response.fill(level);
    return band;
}

TEST(EqTotalTest, SumsTheBandsThatTakePart) {
    const std::vector<EqBand> bands = {
        Flat(EqBandType::Peak, 1000.0f, 1.0f),
        Flat(EqBandType::LowShelf, 20.0f, 2.0f),       // the lower end is in
        Flat(EqBandType::HighShelf, 20000.0f, 4.0f),   // so is the upper end
        Flat(EqBandType::Off, 1000.0f, 8.0f),          // off: out, whatever its response says
        Flat(EqBandType::HighPass, 18.0f, 16.0f),      // below 20 Hz (a high-pass at off): out
        Flat(EqBandType::LowPass, 20001.0f, 32.0f),    // above 20 kHz (a mic low-pass at off): out
    };
    const auto total = TotalResponse(bands, 0);
    for (float v : total) ASSERT_EQ(v, 7.0f);

    // Only the bands handed over count: the panel passes the ones in use.
    EXPECT_EQ(TotalResponse(std::span(bands).first(1), 0)[100], 1.0f);
    EXPECT_EQ(TotalResponse({}, 0)[0], 0.0f);

    // The columns are added one by one, not averaged or smoothed.
    std::vector<EqBand> shaped = {Flat(EqBandType::Peak, 100.0f, 0.0f), Flat(EqBandType::Peak, 200.0f, 0.0f)};
    shaped[0].response[10] = 3.0f;
    shaped[1].response[10] = -1.0f;
    shaped[1].response[11] = 2.5f;
    const auto sum = TotalResponse(shaped, 0);
    EXPECT_EQ(sum[9], 0.0f);
    EXPECT_EQ(sum[10], 2.0f);
    EXPECT_EQ(sum[11], 2.5f);
}

TEST(EqTotalTest, OutputLowPassAtOffIsLeftOutWhereTheOutputFiltersAreShown) {
    const EqBand offLowPass = Flat(EqBandType::LowPass, 15202.0f, -1.0f);
    const EqBand highLowPass = Flat(EqBandType::LowPass, 17000.0f, -1.0f);  // a mic low-pass, still on
    const EqBand onLowPass = Flat(EqBandType::LowPass, 15200.0f, -1.0f);
    const EqBand highShelf = Flat(EqBandType::HighShelf, 17000.0f, -1.0f);
    for (int layout = 0; layout <= 12; ++layout) {
        const bool outputFilters = layout >= 5 && layout <= 10;
        EXPECT_EQ(TakesPartInTotal(offLowPass, layout), !outputFilters) << "layout " << layout;
        EXPECT_EQ(TakesPartInTotal(highLowPass, layout), !outputFilters) << "layout " << layout;
        EXPECT_TRUE(TakesPartInTotal(onLowPass, layout)) << "layout " << layout;
        EXPECT_TRUE(TakesPartInTotal(highShelf, layout)) << "layout " << layout;
    }
    const std::vector<EqBand> bands = {Flat(EqBandType::Peak, 100.0f, 1.0f), offLowPass};
    EXPECT_EQ(TotalResponse(bands, 4)[0], 0.0f);
    EXPECT_EQ(TotalResponse(bands, 5)[0], 1.0f);
}

TEST(EqTotalTest, SelectedAreaRule) {
    EXPECT_TRUE(ShowsSelectedArea(Flat(EqBandType::Peak, 19200.0f, 0), 0));
    EXPECT_FALSE(ShowsSelectedArea(Flat(EqBandType::Peak, 19201.0f, 0), 0));
    EXPECT_TRUE(ShowsSelectedArea(Flat(EqBandType::HighPass, 18.0f, 0), 0));  // no lower end
    EXPECT_FALSE(ShowsSelectedArea(Flat(EqBandType::Off, 1000.0f, 0), 0));
    // An output low-pass at off is shaded in the mixed views, not in the filter-only ones.
    const EqBand offLowPass = Flat(EqBandType::LowPass, 15202.0f, 0);
    EXPECT_TRUE(ShowsSelectedArea(offLowPass, 5));
    EXPECT_TRUE(ShowsSelectedArea(offLowPass, 8));
    EXPECT_FALSE(ShowsSelectedArea(offLowPass, 9));
    EXPECT_FALSE(ShowsSelectedArea(offLowPass, 10));
    EXPECT_TRUE(ShowsSelectedArea(Flat(EqBandType::LowPass, 15200.0f, 0), 9));
}

TEST(EqTotalTest, NaNFrequencyTakesNoPart) {
    const EqBand band = Flat(EqBandType::Peak, std::numeric_limits<float>::quiet_NaN(), 1.0f);
    EXPECT_FALSE(TakesPartInTotal(band, 0));
    EXPECT_FALSE(ShowsSelectedArea(band, 0));
}

}  // namespace
}  // namespace sonoria
