// The shapes the EQ graph draws. Expected levels come from filter theory
// (a peak reaches its gain at its centre, a pass filter's level at its corner
// is 20 log10 Q, a shelf's midpoint is half its gain) and from an independent
// evaluation of |H(e^jw)| with complex numbers; tolerances allow for the
// single-precision storage.
#include "eq/EqResponse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "eq/EqAxes.h"

namespace sonoria {
namespace {

constexpr double kPi = std::numbers::pi;

EqSamples Samples(EqBandType type, float gain, float q, float frequency = 1000.0f) {
    EqSamples samples{};
    ComputeBandSamples(type, frequency, gain, q, samples);
    return samples;
}

EqBand Band(EqBandType type, float frequency, float gain, float q) {
    EqBand band;
    band.type = type;
    band.frequency = frequency;
    band.gain = gain;
    band.q = q;
    return band;
}

float MaxAbsDifference(const EqSamples& a, const EqSamples& b) {
    float worst = 0;
    for (int i = 0; i < kEqSamples; ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

TEST(EqCoefficientsTest, SectionsAtAQuarterOfTheSamplingRate) {
    // A peak without gain has equal numerator and denominator: a flat line.
    const EqCoefficients flat = ComputeCoefficients(EqBandType::Peak, 0.0f, 1.0f);
    EXPECT_EQ(flat.a0, flat.b0);
    EXPECT_EQ(flat.a1, flat.b1);
    EXPECT_EQ(flat.a2, flat.b2);

    // The centre is at pi/2, where the cosine is evaluated, not taken as 0:
    // the middle coefficient is -2 cos(pi/2), a tiny non-zero number.
    EXPECT_FLOAT_EQ(flat.a1, static_cast<float>(-2 * std::cos(kPi / 2)));
    EXPECT_NE(flat.a1, 0.0f);

    // Pass filters: numerator 1, 2, 1 (low) or 1, -2, 1 (high) times G/2 with G = 10^(g/20).
    const EqCoefficients low = ComputeCoefficients(EqBandType::LowPass, 20.0f, 0.5f);
    EXPECT_FLOAT_EQ(low.b0, 5.0f);
    EXPECT_FLOAT_EQ(low.b1, 10.0f);
    EXPECT_EQ(low.b0, low.b2);
    EXPECT_FLOAT_EQ(low.a0, 2.0f);  // 1 + alpha with alpha = 1 / (2 * 0.5)
    EXPECT_FLOAT_EQ(low.a2, 0.0f);
    const EqCoefficients high = ComputeCoefficients(EqBandType::HighPass, 0.0f, 0.5f);
    EXPECT_FLOAT_EQ(high.b0, 0.5f);
    EXPECT_FLOAT_EQ(high.b1, -1.0f);
}

TEST(EqCoefficientsTest, MagnitudeAgreesWithFilterTheory) {
    // A peak reaches exactly its gain at its centre.
    EXPECT_NEAR(MagnitudeDb(ComputeCoefficients(EqBandType::Peak, 6.0f, 1.0f), kPi / 2), 6.0, 1e-5);
    EXPECT_NEAR(MagnitudeDb(ComputeCoefficients(EqBandType::Peak, -9.5f, 3.0f), kPi / 2), -9.5, 1e-5);
    // ... and is flat far from it.
    EXPECT_NEAR(MagnitudeDb(ComputeCoefficients(EqBandType::Peak, 6.0f, 1.0f), 0.0), 0.0, 1e-5);
    // A pass filter's level at its corner is 20 log10 Q, plus the gain factor in its numerator.
    EXPECT_NEAR(MagnitudeDb(ComputeCoefficients(EqBandType::LowPass, 0.0f, 0.707f), kPi / 2), -3.0116117, 1e-5);
    EXPECT_NEAR(MagnitudeDb(ComputeCoefficients(EqBandType::HighPass, 5.0f, 0.707f), kPi / 2), 5 - 3.0116117, 1e-5);
    // A low-pass passes DC, a high-pass blocks it entirely.
    EXPECT_NEAR(MagnitudeDb(ComputeCoefficients(EqBandType::LowPass, 0.0f, 0.707f), 0.0), 0.0, 1e-5);
    EXPECT_EQ(MagnitudeDb(ComputeCoefficients(EqBandType::HighPass, 0.0f, 0.707f), 0.0),
              -std::numeric_limits<double>::infinity());
    // The flat section is 0 dB everywhere.
    EXPECT_EQ(MagnitudeDb(EqCoefficients{}, 1.234), 0.0);
}

TEST(EqSamplesTest, PeakIsCentredAndSymmetric) {
    const EqSamples flat = Samples(EqBandType::Peak, 0.0f, 1.0f);
    EXPECT_TRUE(std::all_of(flat.begin(), flat.end(), [](float v) { return v == 0.0f; }));

    const EqSamples boost = Samples(EqBandType::Peak, 6.0f, 1.0f);
    EXPECT_EQ(std::max_element(boost.begin(), boost.end()) - boost.begin(), 256);
    EXPECT_NEAR(boost[256], 6.0f, 1e-5);
    // Fifty steps either side of the centre (independent complex evaluation).
    EXPECT_NEAR(boost[206], 1.4906565f, 1e-5);
    EXPECT_NEAR(boost[306], 1.4906565f, 1e-5);
    EXPECT_NEAR(boost[0], 0.0f, 1e-5);
    EXPECT_NEAR(boost[512], 0.0f, 1e-5);

    const EqSamples cut = Samples(EqBandType::Peak, -6.0f, 1.0f);
    EXPECT_EQ(std::min_element(cut.begin(), cut.end()) - cut.begin(), 256);
    EXPECT_NEAR(cut[256], -6.0f, 1e-5);
    // A narrower peak falls faster.
    EXPECT_LT(Samples(EqBandType::Peak, 6.0f, 4.0f)[206], boost[206]);
}

TEST(EqSamplesTest, PassFiltersAndTheirStraightTails) {
    const EqSamples low = Samples(EqBandType::LowPass, 0.0f, 0.707f);
    EXPECT_NEAR(low[0], 0.0f, 1e-5);
    EXPECT_NEAR(low[216], -0.3182971f, 1e-4);
    EXPECT_NEAR(low[256], -3.0116117f, 1e-4);
    EXPECT_NEAR(low[296], -11.517204f, 1e-4);
    // Beyond 296 a straight line continuing the slope between 295 and 296.
    const float slope = low[296] - low[295];
    EXPECT_NEAR(low[297], low[296] + slope, 1e-5);
    EXPECT_NEAR(low[400], -42.094395f, 1e-3);
    EXPECT_NEAR(low[512], -75.023392f, 1e-3);
    EXPECT_NEAR(low[512] - low[511], slope, 1e-3);

    // The high-pass is the low-pass mirrored about the centre, tail included.
    const EqSamples high = Samples(EqBandType::HighPass, 0.0f, 0.707f);
    for (int i : {0, 100, 215, 216, 256, 300, 512}) {
        EXPECT_NEAR(high[i], low[512 - i], 1e-3) << "sample " << i;
    }
    EXPECT_NEAR(high[216] - high[217], high[0] - high[1], 1e-3);
    // Every value stays finite although the grid passes through DC, where a high-pass has no level.
    EXPECT_TRUE(std::all_of(high.begin(), high.end(), [](float v) { return std::isfinite(v); }));

    // The gain factor in the numerator is taken off again: the shape ignores the
    // gain, up to single-precision rounding that the straight tails carry along.
    EXPECT_LT(MaxAbsDifference(low, Samples(EqBandType::LowPass, 9.0f, 0.707f)), 1e-3f);
    EXPECT_LT(MaxAbsDifference(high, Samples(EqBandType::HighPass, -12.0f, 0.707f)), 1e-3f);
    // A higher Q rises above 0 dB at the corner.
    EXPECT_NEAR(Samples(EqBandType::LowPass, 0.0f, 2.0f)[256], 20 * std::log10(2.0f), 1e-4);
}

TEST(EqSamplesTest, HighPassIsOffBelowNineteenPointSevenHertz) {
    const EqSamples off = Samples(EqBandType::HighPass, 0.0f, 0.707f, 19.0f);
    EXPECT_TRUE(std::all_of(off.begin(), off.end(), [](float v) { return v == 0.0f; }));
    const EqSamples on = Samples(EqBandType::HighPass, 0.0f, 0.707f, 19.7f);
    EXPECT_NEAR(on[256], -3.0116117f, 1e-4);
    // The low-pass has no such rule.
    EXPECT_NEAR(Samples(EqBandType::LowPass, 0.0f, 0.707f, 5.0f)[256], -3.0116117f, 1e-4);
}

TEST(EqSamplesTest, ShelvesStepByTheirGainWithTheMidpointAtHalf) {
    const EqSamples low = Samples(EqBandType::LowShelf, 12.0f, 0.707f);
    // Below the stretched part the grid stays one small step above DC, at 120 it is DC.
    EXPECT_EQ(low[0], low[119]);
    EXPECT_NEAR(low[0], 12.0f, 1e-4);
    EXPECT_NEAR(low[120], 12.0f, 1e-5);
    EXPECT_NEAR(low[256], 6.0f, 1e-5);
    EXPECT_NEAR(low[392], 0.0f, 1e-5);  // exactly pi
    EXPECT_NEAR(low[512], 0.0f, 1e-4);

    const EqSamples high = Samples(EqBandType::HighShelf, -12.0f, 1.5f);
    EXPECT_NEAR(high[0], 0.0f, 1e-4);
    EXPECT_NEAR(high[256], -6.0f, 1e-5);
    EXPECT_NEAR(high[392], -12.0f, 1e-5);
    EXPECT_NEAR(high[512], -12.0f, 1e-3);

    // The slope parameter is held to 0.4..2 (0.4f itself lies a little above 0.4).
    EXPECT_EQ(Samples(EqBandType::LowShelf, 9.0f, 0.1f), Samples(EqBandType::LowShelf, 9.0f, 0.3f));
    EXPECT_LT(MaxAbsDifference(Samples(EqBandType::LowShelf, 9.0f, 0.1f), Samples(EqBandType::LowShelf, 9.0f, 0.4f)),
              1e-5f);
    EXPECT_EQ(Samples(EqBandType::HighShelf, 9.0f, 7.0f), Samples(EqBandType::HighShelf, 9.0f, 2.0f));
    EXPECT_NE(Samples(EqBandType::HighShelf, 9.0f, 0.7f), Samples(EqBandType::HighShelf, 9.0f, 1.5f));
}

TEST(EqSamplesTest, SteepShelfWithLargeGainStaysFinite) {
    // Slope 2 with 30 dB makes (A + 1/A)(1/S - 1) + 2 negative; held at 0 the
    // shelf still has its DC level, its midpoint at half the gain and its full gain at pi.
    for (EqBandType type : {EqBandType::LowShelf, EqBandType::HighShelf}) {
        const EqSamples s = Samples(type, 30.0f, 2.0f);
        EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](float v) { return std::isfinite(v); }));
        const bool low = type == EqBandType::LowShelf;
        EXPECT_NEAR(s[120], low ? 30.0f : 0.0f, 1e-4);
        EXPECT_NEAR(s[256], 15.0f, 1e-4);
        EXPECT_NEAR(s[392], low ? 0.0f : 30.0f, 1e-4);
    }
}

TEST(EqPlacementTest, ShapeIsCentredOnItsColumnAndExtendedFlat) {
    EqSamples ramp{};
    for (int i = 0; i < kEqSamples; ++i) ramp[i] = static_cast<float>(i);
    std::array<float, kEqColumns> response{};

    // Centre at column 0: column k shows sample 256 + k up to 511, then stays at 511.
    PlaceBandSamples(ramp, 0, response);
    EXPECT_EQ(response[0], 256);
    EXPECT_EQ(response[255], 511);
    EXPECT_EQ(response[256], 511);
    EXPECT_EQ(response[511], 511);  // sample 512 is never placed

    // Centre at column 511: columns 511 down to 255 show samples 256 down to 0, below that 0.
    PlaceBandSamples(ramp, 511, response);
    EXPECT_EQ(response[511], 256);
    EXPECT_EQ(response[255], 0);
    EXPECT_EQ(response[254], 0);
    EXPECT_EQ(response[0], 0);

    // A centre far outside shows one end of the shape everywhere.
    PlaceBandSamples(ramp, -1000000, response);
    EXPECT_TRUE(std::all_of(response.begin(), response.end(), [](float v) { return v == 511; }));
    PlaceBandSamples(ramp, 1000000, response);
    EXPECT_TRUE(std::all_of(response.begin(), response.end(), [](float v) { return v == 0; }));
}

TEST(EqBandResponseTest, PeakAtOneKilohertzPeaksAtColumn301) {
    EqBand band = Band(EqBandType::Peak, 1000.0f, 6.0f, 1.0f);
    ComputeBandResponse(band);
    const auto& r = band.response;
    EXPECT_EQ(std::max_element(r.begin(), r.end()) - r.begin(), 301);
    EXPECT_NEAR(r[301], 6.0f, 1e-5);
    EXPECT_NEAR(r[251], 1.4906565f, 1e-5);
    EXPECT_NEAR(r[351], 1.4906565f, 1e-5);
    EXPECT_NEAR(r[0], 0.0f, 1e-5);
    EXPECT_NEAR(r[511], 0.017342169f, 1e-5);  // sample 466

    // A band at 10 Hz is centred on column 0.
    EqBand low = Band(EqBandType::Peak, 10.0f, 6.0f, 1.0f);
    ComputeBandResponse(low);
    const EqSamples samples = Samples(EqBandType::Peak, 6.0f, 1.0f);
    EXPECT_EQ(low.response[0], samples[256]);
    EXPECT_EQ(low.response[255], samples[511]);
    EXPECT_EQ(low.response[400], samples[511]);

    // Moving the band moves the shape, unchanged.
    EqBand moved = Band(EqBandType::Peak, 100.0f, 6.0f, 1.0f);  // column 151
    ComputeBandResponse(moved);
    EXPECT_EQ(moved.response[151], band.response[301]);
    EXPECT_EQ(moved.response[101], band.response[251]);
}

TEST(EqBandResponseTest, BandsThatDescribeNoFilterKeepTheirResponse) {
    EqBand band = Band(EqBandType::Peak, 1000.0f, 6.0f, 1.0f);
    band.response.fill(7.0f);
    const auto unchanged = band.response;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    struct Case {
        EqBandType type;
        float frequency, gain, q;
    };
    for (const Case& c : {Case{EqBandType::Off, 1000, 6, 1}, Case{EqBandType::Peak, 0, 6, 1},
                          Case{EqBandType::Peak, -20, 6, 1}, Case{EqBandType::LowShelf, nan, 6, 1},
                          Case{EqBandType::HighShelf, inf, 6, 1}, Case{EqBandType::Peak, 1000, nan, 1},
                          Case{EqBandType::Peak, 1000, -inf, 1}, Case{EqBandType::LowPass, 1000, 0, nan},
                          Case{EqBandType::Peak, 1000, 6, 0}, Case{EqBandType::HighPass, 1000, 0, -1},
                          Case{static_cast<EqBandType>(9), 1000, 6, 1}}) {
        band.type = c.type;
        band.frequency = c.frequency;
        band.gain = c.gain;
        band.q = c.q;
        ComputeBandResponse(band);
        EXPECT_EQ(band.response, unchanged) << "type " << static_cast<int>(c.type) << " f " << c.frequency
                                            << " g " << c.gain << " q " << c.q;
    }
    // A shelf has no division by its slope parameter: a Q of 0 is held at 0.4 and drawn.
    band = Band(EqBandType::LowShelf, 1000.0f, 6.0f, 0.0f);
    band.response = unchanged;
    ComputeBandResponse(band);
    EXPECT_NE(band.response, unchanged);
}

TEST(EqBandResponseTest, ExtremeFrequenciesPlaceTheShapeAtOneEnd) {
    const EqSamples samples = Samples(EqBandType::Peak, 6.0f, 1.0f);
    // The largest float: centre far right, every column shows the first sample.
    EqBand high = Band(EqBandType::Peak, std::numeric_limits<float>::max(), 6.0f, 1.0f);
    ComputeBandResponse(high);
    EXPECT_TRUE(std::all_of(high.response.begin(), high.response.end(), [&](float v) { return v == samples[0]; }));
    // The smallest positive float: centre far left, every column shows sample 511.
    EqBand low = Band(EqBandType::Peak, std::numeric_limits<float>::denorm_min(), 6.0f, 1.0f);
    ComputeBandResponse(low);
    EXPECT_TRUE(std::all_of(low.response.begin(), low.response.end(), [&](float v) { return v == samples[511]; }));
}

TEST(EqBandResponseTest, HighPassBelowItsLimitDrawsFlat) {
    EqBand band = Band(EqBandType::HighPass, 19.0f, 0.0f, 0.48f);
    band.response.fill(-3.0f);
    ComputeBandResponse(band);
    EXPECT_TRUE(std::all_of(band.response.begin(), band.response.end(), [](float v) { return v == 0.0f; }));
}

}  // namespace
}  // namespace sonoria
