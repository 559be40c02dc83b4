// EQ band values to and from device parameters: the band takes the number a
// parameter's text shows, an unmoved value goes back as the raw value it came
// from, and every conversion saturates into the parameter's range. Expected
// raw values are worked out by hand from the scaling formulas.
#include "eq/EqValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "state/ValueScaling.h"

namespace sonoria {
namespace {

using TR = TextRule;
using UR = UnitRule;

const EqValueRules kPeakGain{TR::Gain12Text, UR::GainToRaw12};
const EqValueRules kShelfGain{TR::Gain12Text, UR::GainToRaw12Trunc};
const EqValueRules kPeakFreq{TR::PeqFreqText, UR::PeqFreqToRaw};
const EqValueRules kPeakQ{TR::QText, UR::QToRaw};
const EqValueRules kMicHighPass{TR::MicHighPassText, UR::MicHighPassToRaw};
const EqValueRules kMicLowPass{TR::MicLowPassText, UR::MicLowPassToRaw};
const EqValueRules kOutHighPass{TR::HighPassText, UR::HighPassToRaw};
const EqValueRules kOutLowPass{TR::LowPassText, UR::LowPassToRaw};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(EqParseTest, LeadingNumberOfADisplayText) {
    EXPECT_EQ(ParseLeadingNumber("12.0dB"), 12.0);
    EXPECT_EQ(ParseLeadingNumber("7000.000000Hz"), 7000.0);
    EXPECT_EQ(ParseLeadingNumber("15202Hz"), 15202.0);
    EXPECT_EQ(ParseLeadingNumber("12594"), 12594.0);
    EXPECT_EQ(ParseLeadingNumber("1.533"), 1.533);
    const double negativeZero = ParseLeadingNumber("-0.0dB");
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_EQ(ParseLeadingNumber("  +3.5Hz"), 3.5);
    EXPECT_EQ(ParseLeadingNumber("-4.2dB"), -4.2);
    // No number at the start: 0.
    for (const char* text : {"", "   ", "dB", "Bypass", "b -2", "+", "+-3", ",5"}) {
        EXPECT_EQ(ParseLeadingNumber(text), 0.0) << '"' << text << '"';
    }
    // A comma is not a decimal point, whatever the locale says.
    EXPECT_EQ(ParseLeadingNumber("3,75dB"), 3.0);
    EXPECT_EQ(ParseLeadingNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLeadingNumber("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseLeadingNumber("1e-999"), 0.0);
}

TEST(EqValueFromParameterTest, BandTakesTheNumberTheTextShows) {
    // Gains, 0.1 dB steps.
    EXPECT_EQ(BandValueFromRaw(TR::Gain12Text, 0), -12.0f);
    EXPECT_EQ(BandValueFromRaw(TR::Gain12Text, 16384), 0.0f);
    EXPECT_EQ(BandValueFromRaw(TR::Gain12Text, 32767), 12.0f);
    EXPECT_EQ(BandValueFromRaw(TR::Gain12Text, 20000), 2.6f);
    EXPECT_TRUE(std::signbit(BandValueFromRaw(TR::Gain12Text, 16380)));  // "-0.0dB"
    // Q, three decimals.
    EXPECT_EQ(BandValueFromRaw(TR::QText, 0), 0.767f);
    EXPECT_EQ(BandValueFromRaw(TR::QText, 16384), 1.533f);
    EXPECT_EQ(BandValueFromRaw(TR::QText, 30719), 12.266f);
    EXPECT_EQ(BandValueFromRaw(TR::QText, 32767), 15.333f);
    // Whole hertz.
    EXPECT_EQ(BandValueFromRaw(TR::PeqFreqText, 1679), 999.0f);
    EXPECT_EQ(BandValueFromRaw(TR::PeqFreqText, 425), 253.0f);
    EXPECT_EQ(BandValueFromRaw(TR::Freq1kText, 1000), 30.0f);
    EXPECT_EQ(BandValueFromRaw(TR::MicHighPassText, 0), 18.0f);
    EXPECT_EQ(BandValueFromRaw(TR::MicHighPassText, 1), 22.0f);
    EXPECT_EQ(BandValueFromRaw(TR::MicLowPassText, 32767), 20001.0f);
    EXPECT_EQ(BandValueFromRaw(TR::MicLowPassText, 0), 7000.0f);
    EXPECT_EQ(BandValueFromRaw(TR::HighPassText, 0), 18.0f);
    EXPECT_EQ(BandValueFromRaw(TR::HighPassText, 88), 20.0f);
    EXPECT_EQ(BandValueFromRaw(TR::LowPassText, 0), 15202.0f);
    EXPECT_EQ(BandValueFromRaw(TR::LowPassText, 533), 248.0f);
    // The output low-pass text at 27012 is 12594: 27012 * 256 / 8388608 * 96000 / (2 pi)
    // is 12594.99997 (with 1.1920929e-7 for 2^-23 it would be 12595.00002).
    EXPECT_EQ(BandValueFromRaw(TR::LowPassText, 27012), 12594.0f);
}

TEST(EqValueFromParameterTest, ZeroFrequencyOrQIsNotAValue) {
    EqBand band;
    band.frequency = 40.0f;
    band.q = 0.1f;
    // A shelf frequency parameter at its reset value reads "0Hz": the band keeps 40 Hz.
    EXPECT_FALSE(FillBandValue(band, EqField::Frequency, TR::Freq1kText, 0));
    EXPECT_EQ(band.frequency, 40.0f);
    EXPECT_FALSE(FillBandValue(band, EqField::Frequency, TR::PeqFreqText, 1));  // "0Hz" too
    EXPECT_EQ(band.frequency, 40.0f);
    EXPECT_FALSE(FillBandValue(band, EqField::Q, TR::RawText, 0));
    EXPECT_EQ(band.q, 0.1f);

    EXPECT_TRUE(FillBandValue(band, EqField::Frequency, TR::Freq1kText, 1311));
    EXPECT_EQ(band.frequency, 40.0f);  // trunc(1311 * 1000 / 32767) = 40
    EXPECT_TRUE(FillBandValue(band, EqField::Frequency, TR::Freq3kText, 32767));
    EXPECT_EQ(band.frequency, 3000.0f);
    EXPECT_TRUE(FillBandValue(band, EqField::Q, TR::QText, 16384));
    EXPECT_EQ(band.q, 1.533f);
    // A gain of 0 is a value like any other.
    band.gain = 5.0f;
    EXPECT_TRUE(FillBandValue(band, EqField::Gain, TR::Gain12Text, 16384));
    EXPECT_EQ(band.gain, 0.0f);
}

TEST(EqParameterFromValueTest, ConversionsAtTheirEdges) {
    struct Case {
        UnitRule unit;
        float value;
        int raw;
    };
    for (const Case& c : {
             // Gains: peaks round, shelves truncate (0.06 dB is 81.9 steps).
             Case{UR::GainToRaw12, -12.0f, 0}, Case{UR::GainToRaw12, 0.0f, 16384}, Case{UR::GainToRaw12, 12.0f, 32767},
             Case{UR::GainToRaw12, -0.05f, 16316}, Case{UR::GainToRaw12, 3.0f, 20480},
             Case{UR::GainToRaw12, 0.06f, 16466}, Case{UR::GainToRaw12Trunc, 0.06f, 16465},
             // Frequencies and Q.
             Case{UR::PeqFreqToRaw, 1000.0f, 1679}, Case{UR::QToRaw, 2.0f, 20206},
             Case{UR::Freq1kToRaw, 40.0f, 1311},
             // The high shelf at 1500 Hz: 1500 / (3000 / 32767) is 16383.4999..., so 16383.
             Case{UR::Freq3kToRaw, 1500.0f, 16383},
             // Filters: off below or above their ranges.
             Case{UR::MicHighPassToRaw, 19.0f, 0}, Case{UR::MicHighPassToRaw, 20.0f, 1},
             Case{UR::MicLowPassToRaw, 20001.0f, 32767}, Case{UR::MicLowPassToRaw, 15000.0f, 20163},
             Case{UR::MicLowPassToRaw, 7000.0f, 0}, Case{UR::HighPassToRaw, 19.0f, 0},
             Case{UR::HighPassToRaw, 200.0f, 857}, Case{UR::LowPassToRaw, 15201.0f, 0},
             Case{UR::LowPassToRaw, 15200.0f, 32598},
             // Out of range: saturated, never wrapped.
             Case{UR::GainToRaw12, 40.0f, 32767}, Case{UR::GainToRaw12, -40.0f, 0},
             Case{UR::GainToRaw12, kInf, 32767}, Case{UR::GainToRaw12Trunc, -kInf, 0},
             Case{UR::PeqFreqToRaw, 30000.0f, 32767}, Case{UR::PeqFreqToRaw, -10.0f, 0},
             Case{UR::QToRaw, 1000.0f, 32767}, Case{UR::QToRaw, 0.1f, 0}, Case{UR::QToRaw, -1.0f, 0},
             Case{UR::Freq1kToRaw, 5000.0f, 32767}, Case{UR::Freq3kToRaw, -1.0f, 0},
             Case{UR::MicHighPassToRaw, 1000.0f, 127}, Case{UR::HighPassToRaw, 1e9f, 32767},
             Case{UR::MicLowPassToRaw, 100.0f, 0}, Case{UR::LowPassToRaw, -5.0f, 0},
             Case{UR::ShelfFreqToRaw, 9000.0f, 32767}, Case{UR::GainToRaw6, 9.0f, 32767}}) {
        EXPECT_EQ(RawFromBandValue(c.unit, c.value), c.raw) << UnitRuleName(c.unit) << "(" << c.value << ")";
    }
}

TEST(EqParameterFromValueTest, UnmovedValueSendsTheCurrentRawValue) {
    // Peak frequency 1000 shows 595 Hz, which converts to 999: picking the band
    // without moving it must not change the device.
    EXPECT_EQ(RawFromBandValue(UR::PeqFreqToRaw, 595.0f), 999);
    EXPECT_EQ(RawForBandValue(kPeakFreq, 1000, 595.0f), 1000);
    EXPECT_EQ(RawForBandValue(kPeakFreq, 1000, 596.0f), 1001);  // moved: converted

    // Q 16384 shows 1.533, which converts to 16379.
    EXPECT_EQ(RawForBandValue(kPeakQ, 16384, 1.533f), 16384);
    EXPECT_EQ(RawForBandValue(kPeakQ, 16384, 2.0f), 20206);

    // Gain 16380 shows "-0.0dB"; both zeros are that value.
    EXPECT_EQ(RawForBandValue(kPeakGain, 16380, -0.0f), 16380);
    EXPECT_EQ(RawForBandValue(kPeakGain, 16380, 0.0f), 16380);
    EXPECT_EQ(RawForBandValue(kPeakGain, 16380, 0.1f), 16521);  // 16384 + round(136.525)
    EXPECT_EQ(RawForBandValue(kShelfGain, 20000, 2.6f), 20000);  // would truncate to 19933
    // One float step away from the shown value is a moved value.
    EXPECT_EQ(RawForBandValue(kShelfGain, 20000, std::nextafter(2.6f, 3.0f)), 19933);

    // Filters: the shown off values go back as off.
    EXPECT_EQ(RawForBandValue(kMicHighPass, 0, 18.0f), 0);
    EXPECT_EQ(RawForBandValue(kMicHighPass, 0, 20.0f), 1);
    EXPECT_EQ(RawForBandValue(kMicLowPass, 32767, 20001.0f), 32767);
    EXPECT_EQ(RawForBandValue(kMicLowPass, 20163, 14999.725325f), 20163);
    EXPECT_EQ(RawForBandValue(kOutHighPass, 88, 20.0f), 88);  // would convert to 85
    EXPECT_EQ(RawForBandValue(kOutLowPass, 0, 15202.0f), 0);
    EXPECT_EQ(RawForBandValue(kOutLowPass, 533, 248.0f), 533);  // would convert to 531
    EXPECT_EQ(RawForBandValue(kOutLowPass, 0, 248.0f), 531);

    // A NaN value changes nothing; an infinite one saturates.
    EXPECT_EQ(RawForBandValue(kPeakGain, 12345, kNaN), 12345);
    EXPECT_EQ(RawForBandValue(kPeakGain, 12345, kInf), 32767);
}

TEST(EqBandLimitsTest, ValuesStayWithinLimitsAndNeverNaN) {
    EXPECT_EQ(LimitValue(5.0f, 1.0f, 20.0f), 5.0f);
    EXPECT_EQ(LimitValue(0.5f, 1.0f, 20.0f), 1.0f);
    EXPECT_EQ(LimitValue(25.0f, 1.0f, 20.0f), 20.0f);
    EXPECT_EQ(LimitValue(kInf, 1.0f, 20.0f), 20.0f);
    EXPECT_EQ(LimitValue(-kInf, 1.0f, 20.0f), 1.0f);
    EXPECT_EQ(LimitValue(kNaN, 1.0f, 20.0f), 1.0f);
    // Broken limits: a NaN limit does not limit; crossed limits give the upper one.
    EXPECT_EQ(LimitValue(25.0f, kNaN, 20.0f), 20.0f);
    EXPECT_EQ(LimitValue(-3.0f, 1.0f, kNaN), 1.0f);
    EXPECT_EQ(LimitValue(kNaN, kNaN, 20.0f), 20.0f);
    EXPECT_EQ(LimitValue(kNaN, kNaN, kNaN), 0.0f);
    EXPECT_EQ(LimitValue(5.0f, 10.0f, 2.0f), 2.0f);
    // Fixed values (equal limits) hold.
    EXPECT_EQ(LimitValue(0.7f, 0.48f, 0.48f), 0.48f);

    EqBand band;  // limits 20..20000 Hz, -15..15 dB, Q 1..20
    band.frequency = kNaN;
    band.gain = 40.0f;
    band.q = kNaN;
    LimitBand(band);
    EXPECT_EQ(band.frequency, 20.0f);
    EXPECT_EQ(band.gain, 15.0f);
    EXPECT_EQ(band.q, 1.0f);
    band.frequency = 1e9f;
    band.gain = -kInf;
    band.q = 3.0f;
    LimitBand(band);
    EXPECT_EQ(band.frequency, 20000.0f);
    EXPECT_EQ(band.gain, -15.0f);
    EXPECT_EQ(band.q, 3.0f);
}

}  // namespace
}  // namespace sonoria
