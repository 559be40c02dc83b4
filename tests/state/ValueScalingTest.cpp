// Raw values to display texts, dragged units back to raw values, and the
// table of which parameter uses which rule. Expected values are worked out
// from the formulas by hand; the arithmetic is noted where it is not obvious.
#include "state/ValueScaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>
#include <string>

#include "state/Language.h"
#include "support/TestSupport.h"

namespace sonoria {
namespace {

using TR = TextRule;
using UR = UnitRule;

constexpr const char* kOffChinese = "\xE5\x85\xB3\xE9\x97\xAD";  // 关闭

struct TextCase {
    TextRule rule;
    int v;
    const char* expected;
};

void ExpectTexts(std::initializer_list<TextCase> cases) {
    for (const TextCase& c : cases) {
        EXPECT_EQ(FormatRuleText(c.rule, c.v), c.expected) << TextRuleName(c.rule) << "(" << c.v << ")";
    }
}

struct UnitCase {
    UnitRule rule;
    double unit;
    int expected;
};

void ExpectRaw(std::initializer_list<UnitCase> cases) {
    for (const UnitCase& c : cases) {
        EXPECT_EQ(ApplyUnitRule(c.rule, c.unit), c.expected) << UnitRuleName(c.rule) << "(" << c.unit << ")";
    }
}

TEST(ValueScaling, LevelAndThresholdTextsInDecibels) {
    const test::ScopedLanguage english(kLanguageEnglish);
    ExpectTexts({
        {TR::GateText, 1, "-66.0dB"},
        {TR::GateText, 2, "-65.7dB"},  // 1/3 - 66 = -65.667
        {TR::GateText, 127, "-24.0dB"},  // 126/3 - 66
        {TR::LevelText, 0, "-Inf"},
        {TR::LevelText, 1, "-42.0dB"},
        {TR::LevelText, 126, "-0.3dB"},  // 125/3 - 42 = -0.333
        {TR::LevelText, 127, "0.0dB"},
        {TR::CompThresholdText, 0, "-45.0dB"},
        {TR::CompThresholdText, 1, "-42.0dB"},
        {TR::CompThresholdText, 127, "0.0dB"},
        {TR::ReverbGateText, 1, "-66.0dB"},
        {TR::ReverbGateText, 22, "-55.0dB"},   // 21 * 11/21 - 66
        {TR::ReverbGateText, 126, "-0.5dB"},   // 125 * 11/21 = 65.476
        {TR::ReverbGateText, 127, "0.0dB"},    // 126 * 11/21 = 66
        {TR::RatioText, 0, "1:1"},
        {TR::RatioText, 3, "4:1"},
        {TR::RatioText, 127, "128:1"},
    });

    EXPECT_FLOAT_EQ(CompThresholdDb(0), -45.0f);
    EXPECT_FLOAT_EQ(CompThresholdDb(1), -42.0f);
    EXPECT_FLOAT_EQ(CompThresholdDb(64), -21.0f);  // 63/3 - 42
    EXPECT_FLOAT_EQ(CompThresholdDb(127), 0.0f);
    EXPECT_DOUBLE_EQ(CompRatioCurve(127), 0.0);
    EXPECT_DOUBLE_EQ(CompRatioCurve(63), 0.5);  // 64/128
}

TEST(ValueScaling, CompressorTimesSwitchSegmentsAndStopAt127) {
    ExpectTexts({
        {TR::AttackText, 0, "0.08ms"},
        {TR::AttackText, 30, "0.54ms"},   // 0.084 + 30 * 0.0152667 = 0.542
        {TR::AttackText, 59, "0.98ms"},   // 0.084 + 0.9007 = 0.9847
        {TR::AttackText, 60, "1.00ms"},
        {TR::AttackText, 64, "1.90ms"},   // 1 + 4 * 0.225
        {TR::AttackText, 98, "9.55ms"},   // 1 + 38 * 0.225
        {TR::AttackText, 100, "10.00ms"},
        {TR::AttackText, 101, "13.33ms"},  // 10 + 10/3
        {TR::AttackText, 127, "100.00ms"},  // 10 + 27 * 10/3
        {TR::AttackText, 128, ""},
        {TR::AttackText, -1, ""},
        {TR::ReleaseText, 0, "0.010s"},
        {TR::ReleaseText, 40, "0.070s"},  // 0.01 + 40 * 0.0015
        {TR::ReleaseText, 59, "0.099s"},  // 0.0985 lies just above the half in double
        {TR::ReleaseText, 60, "0.10s"},
        {TR::ReleaseText, 99, "0.98s"},   // 0.1 + 39 * 0.0225 = 0.9775
        {TR::ReleaseText, 100, "1.00s"},
        {TR::ReleaseText, 127, "5.00s"},  // 1 + 27 * 4/27
        {TR::ReleaseText, 128, ""},
        {TR::ReleaseText, -1, ""},
    });
}

TEST(ValueScaling, GainTextsCentreOn16384) {
    ExpectTexts({
        {TR::Gain12Text, 0, "-12.0dB"},
        {TR::Gain12Text, 8192, "-6.0dB"},
        {TR::Gain12Text, 16382, "-0.0dB"},  // -2 * 12/16384 = -0.0015, sign kept
        {TR::Gain12Text, 16383, "-0.0dB"},
        {TR::Gain12Text, 16384, "0.0dB"},
        {TR::Gain12Text, 16385, "0.0dB"},
        {TR::Gain12Text, 24575, "6.0dB"},  // 8191 * 12/16383 = 5.9996
        {TR::Gain12Text, 32767, "12.0dB"},
        {TR::Gain6Text, 0, "-12.0dB"},
        {TR::Gain6Text, 8192, "-6.0dB"},
        {TR::Gain6Text, 16384, "0.0dB"},
        {TR::Gain6Text, 24576, "3.0dB"},  // 8192 * 6/16383 = 3.0002
        {TR::Gain6Text, 32767, "6.0dB"},
    });
}

TEST(ValueScaling, FrequencyTexts) {
    ExpectTexts({
        {TR::Freq1kText, 0, "0Hz"},
        {TR::Freq1kText, 16384, "500Hz"},   // 500.015
        {TR::Freq1kText, 32766, "999Hz"},   // 999.97 truncated
        {TR::Freq1kText, 32767, "1000Hz"},
        {TR::Freq3kText, 10923, "1000Hz"},  // 32769000 / 32767 = 1000.06
        {TR::Freq3kText, 32766, "2999Hz"},  // 2999.91 truncated
        {TR::Freq3kText, 32767, "3000Hz"},
        {TR::EchoCutText, 0, "18Hz"},
        {TR::EchoCutText, 1, "20Hz"},
        {TR::EchoCutText, 16383, "460Hz"},  // 16383 * 880/32766 = 440
        {TR::EchoCutText, 32767, "900Hz"},  // 880.03 + 20
        {TR::ShelfFreqText, 0, "500Hz"},
        {TR::ShelfFreqText, 32767, "1999Hz"},  // 32767 * 0.045777764 = 1499.99999
        {TR::ReverbCutText, 0, "18Hz"},
        {TR::ReverbCutText, 1, "20Hz"},
        {TR::ReverbCutText, 32767, "1800Hz"},  // 1780.054 + 20
        {TR::PeqFreqText, 0, "0Hz"},
        {TR::PeqFreqText, 1679, "999Hz"},     // 1679 / 76972.03 * 144000 / pi = 999.84
        {TR::PeqFreqText, 32767, "19512Hz"},  // 0.425699 * 144000 / pi = 19512.65
        {TR::HighPassText, 0, "18Hz"},
        {TR::HighPassText, 85, "19"},       // 85/32768 * 24000 / pi = 19.82, no unit
        {TR::HighPassText, 32767, "7639"},  // 0.99997 * 24000 / pi = 7639.20
        {TR::LowPassText, 0, "15202Hz"},
        {TR::LowPassText, 32767, "15278"},  // 0.99997 * 48000 / pi = 15278.41
        {TR::MicHighPassText, 0, "18Hz"},
        {TR::MicHighPassText, 1, "22Hz"},    // 20 + 280/126 in integers
        {TR::MicHighPassText, 126, "300Hz"},
        {TR::MicHighPassText, 127, "302Hz"},  // 20 + 35560/126 = 20 + 282
        {TR::MicLowPassText, 0, "7000.000000Hz"},
        {TR::MicLowPassText, 1, "7000.396753Hz"},
        {TR::MicLowPassText, 32766, "20000.000000Hz"},  // 32766 * 13000/32766 + 7000
        {TR::MicLowPassText, 32767, "20001Hz"},
    });
}

TEST(ValueScaling, ShiftPitchAndPhaseTexts) {
    ExpectTexts({
        {TR::ShiftText, 0, "-5.0Hz"},
        {TR::ShiftText, 32, "-2.5Hz"},  // -32 * 5/64
        {TR::ShiftText, 63, "-0.1Hz"},  // -5/64 = -0.078
        {TR::ShiftText, 64, "+0.0Hz"},
        {TR::ShiftText, 65, "+0.1Hz"},  // 5/63 = 0.079
        {TR::ShiftText, 127, "+5.0Hz"},
        {TR::PitchText, 0, "b -64"},
        {TR::PitchText, 62, "b -2"},
        {TR::PitchText, 63, "b -1"},
        {TR::PitchText, 64, " +0"},
        {TR::PitchText, 67, "# +3"},
        {TR::PitchText, 127, "# +63"},
        {TR::PhaseText, 0, "0\xC2\xB0"},
        {TR::PhaseText, 36, "180\xC2\xB0"},  // 180°
        {TR::PhaseText, 72, "360\xC2\xB0"},
    });
}

TEST(ValueScaling, EffectTimesAndPercentages) {
    ExpectTexts({
        {TR::TimeText, 0, "20ms"},
        {TR::TimeText, 1, "25ms"},    // 1345/254 = 5.3
        {TR::TimeText, 64, "358ms"},  // 86080/254 = 338.9
        {TR::TimeText, 127, "692ms"},  // 127 * 1345/254 = 672.5
        {TR::PreDelayText, 0, "0ms"},
        {TR::PreDelayText, 1, "1ms"},
        {TR::PreDelayText, 64, "125ms"},  // 16000/127 = 125.98
        {TR::PreDelayText, 127, "250ms"},
        {TR::PercentText, 0, "0%"},
        {TR::PercentText, 1, "0%"},
        {TR::PercentText, 64, "50%"},   // 50.39
        {TR::PercentText, 126, "99%"},  // 99.21
        {TR::PercentText, 127, "100%"},
        {TR::FeedbackText, 0, "0%"},
        {TR::FeedbackText, 64, "49%"},  // 64/127 * 99 = 49.89
        {TR::FeedbackText, 127, "99%"},
        {TR::RawText, 0, "0"},
        {TR::RawText, 127, "127"},
        {TR::RawText, -5, "-5"},
    });
}

TEST(ValueScaling, QAndDelayTexts) {
    ExpectTexts({
        {TR::QText, 0, "0.767"},       // q = 1: 2.3/3
        {TR::QText, 16384, "1.533"},   // q = 32767/16383 = 2.00006
        {TR::QText, 30719, "12.266"},  // q = 32767/2048 = 15.9995
        {TR::QText, 30720, "12.267"},  // q = 16: 36.8/3
        {TR::QText, 32767, "15.333"},  // q = 2047 * 4/2047 + 16 = 20
        {TR::DelayMs, 0, "0.00ms"},
        {TR::DelayMs, 48, "0.50ms"},
        {TR::DelayMs, 96, "1.00ms"},
        {TR::DelayMs, 32767, "341.32ms"},  // 341.3229
    });
    EXPECT_DOUBLE_EQ(DelayMs(96), 1.0);
    EXPECT_DOUBLE_EQ(DelayMs(960), 10.0);
    EXPECT_EQ(DelayText(960), "10.00ms");
}

TEST(ValueScaling, LanguageWordsFollowTheCurrentLanguage) {
    {
        const test::ScopedLanguage english(kLanguageEnglish);
        EXPECT_TRUE(IsEnglish());
        EXPECT_EQ(GateText(0), "Bypass");
        EXPECT_EQ(ReverbGateText(0), "off");
    }
    {
        const test::ScopedLanguage chinese(kLanguageChinese);
        EXPECT_FALSE(IsEnglish());
        EXPECT_EQ(GateText(0), kOffChinese);
        EXPECT_EQ(ReverbGateText(0), kOffChinese);
        // Numbers do not change with the language.
        EXPECT_EQ(GateText(127), "-24.0dB");
    }
    const int saved = CurrentLanguage();
    SetCurrentLanguage(7);  // anything but 0 is English
    EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
    SetCurrentLanguage(-1);
    EXPECT_EQ(CurrentLanguage(), kLanguageEnglish);
    SetCurrentLanguage(0);
    EXPECT_EQ(CurrentLanguage(), kLanguageChinese);
    SetCurrentLanguage(saved);
}

TEST(ValueScaling, TextsSurviveAnyInput) {
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000, -129, -1, 128, 255, 32768, 65535, 1 << 24, INT_MAX};
    for (int rule = 0; rule <= static_cast<int>(TR::PhaseText); ++rule) {
        const auto r = static_cast<TextRule>(rule);
        for (int v : extremes) {
            const std::string text = FormatRuleText(r, v);
            const bool outOfRangeTime = r == TR::AttackText || r == TR::ReleaseText;
            EXPECT_EQ(text.empty(), outOfRangeTime) << TextRuleName(r) << "(" << v << ")";
        }
    }
    // Values past the int range must come out whole, not wrapped.
    ExpectTexts({
        {TR::RawText, INT_MIN, "-2147483648"},
        {TR::RatioText, INT_MAX, "2147483648:1"},
        {TR::PitchText, INT_MIN, "b -2147483712"},
        {TR::PhaseText, INT_MAX, "10737418235\xC2\xB0"},            // 2147483647 * 5
        {TR::MicHighPassText, INT_MAX, "4772185902Hz"},             // 20 + 601295421160 / 126
        {TR::TimeText, INT_MAX, "11371517757ms"},                   // 20 + trunc(2147483647 * 1345/254)
        {TR::QText, -32767, "0.383"},                               // q = 32767/65534 = 0.5
    });
}

TEST(ValueScaling, GainsToRaw) {
    ExpectRaw({
        {UR::GainToRaw12, 0, 16384},
        {UR::GainToRaw12, 0.001, 16385},   // 0.001 * 16383/12 = 1.37, rounded
        {UR::GainToRaw12, -0.001, 16383},  // 0.001 / (12/16384) = 1.37
        {UR::GainToRaw12, 3, 20480},       // 4095.75 rounds up
        {UR::GainToRaw12, -2.95, 12356},   // 4027.73 rounds up: 16384 - 4028
        {UR::GainToRaw12, -6, 8192},
        {UR::GainToRaw12, 12, 32767},
        {UR::GainToRaw12, -12, 0},
        {UR::GainToRaw12Trunc, 0, 16384},
        {UR::GainToRaw12Trunc, 3, 20479},      // 4095.75 truncated
        {UR::GainToRaw12Trunc, -2.95, 12357},  // 16384 - 4027
        {UR::GainToRaw12Trunc, 12, 32767},     // 12 / (12/16383) is exactly 16383 in double
        {UR::GainToRaw12Trunc, -12, 0},
        {UR::GainToRaw6, 0, 16384},
        {UR::GainToRaw6, 1.5, 20480},  // 1.5 * 16383/6 = 4095.75
        {UR::GainToRaw6, 6, 32767},
        {UR::GainToRaw6, -6, 8192},    // the cut side keeps the 12 dB scale
        {UR::GainToRaw6, -12, 0},
    });
}

TEST(ValueScaling, FrequenciesAndQToRaw) {
    ExpectRaw({
        {UR::PeqFreqToRaw, 0, 0},
        {UR::PeqFreqToRaw, 1000, 1679},    // 1000 * pi / 144000 * 76972.03 = 1679.27
        {UR::PeqFreqToRaw, 19000, 31906},  // 31906.12
        {UR::QToRaw, 1, 7645},    // 32767 - 32767 * 2.3/3 = 7645.63
        {UR::QToRaw, 3, 24393},   // 32767 - 32767 * 2.3/9 = 24393.21
        {UR::QToRaw, 12.5, 30875},  // a = 16.304: 7/23 * 511.75 + 30720 = 30875.75
        {UR::Freq1kToRaw, 0, 0},
        {UR::Freq1kToRaw, 250, 8192},  // 8191.75
        {UR::Freq1kToRaw, 1000, 32767},
        {UR::Freq3kToRaw, 1000, 10922},  // 10922.33
        {UR::Freq3kToRaw, 3000, 32767},
        {UR::EchoCutToRaw, 19, 0},
        {UR::EchoCutToRaw, 20, 0},
        {UR::EchoCutToRaw, 100, 2979},  // 80 / 0.026857108 = 2978.73
        {UR::EchoCutToRaw, 900, 32766},  // 32765.99997
        {UR::ReverbCutToRaw, 19, 0},
        {UR::ReverbCutToRaw, 1800, 32766},  // 1780 / 0.054324605 = 32765.9999
        {UR::ShelfFreqToRaw, 500, 0},
        {UR::ShelfFreqToRaw, 1000, 10922},  // 500 / 0.045777764 = 10922.33
        {UR::ShelfFreqToRaw, 2000, 32767},  // 32767.0002
        {UR::MicHighPassToRaw, 19, 0},
        {UR::MicHighPassToRaw, 20, 1},
        {UR::MicHighPassToRaw, 40, 10},   // 20 * 9/20 + 1
        {UR::MicHighPassToRaw, 300, 127},  // 280 * 9/20 + 1
        {UR::MicLowPassToRaw, 7000, 0},
        {UR::MicLowPassToRaw, 10000, 7561},  // 3000 * 32766/13000 = 7561.38
        {UR::MicLowPassToRaw, 20001, 32767},
    });
}

TEST(ValueScaling, FiltersToRawShiftTheirWord) {
    ExpectRaw({
        {UR::HighPassToRaw, 19, 0},
        {UR::HighPassToRaw, 19.99, 0},
        {UR::HighPassToRaw, 20, 85},      // 8388608 * 20 * 2pi / 48000 = 21961.3; >> 8 = 85
        {UR::HighPassToRaw, 1000, 4289},  // 1098066 >> 8
        {UR::LowPassToRaw, 0, 0},
        {UR::LowPassToRaw, 1000, 2144},    // 549033 >> 8
        {UR::LowPassToRaw, 15200, 32598},  // 8345303 >> 8
        {UR::LowPassToRaw, 15201, 0},      // above 15200: filter off
    });
}

TEST(ValueScaling, UnitRulesSaturateInsteadOfWrapping) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    ExpectRaw({
        {UR::GainToRaw12, 13, 32767},  // 16384 + 17748
        {UR::GainToRaw12, -13, 0},     // 16384 - 17749
        {UR::GainToRaw12, kInf, 32767},
        {UR::GainToRaw12, -kInf, 0},
        {UR::GainToRaw12Trunc, 100, 32767},
        {UR::GainToRaw12Trunc, -100, 0},
        {UR::GainToRaw6, 7, 32767},  // 16384 + 19114
        {UR::GainToRaw6, -13, 0},
        {UR::PeqFreqToRaw, 20000, 32767},  // 33585
        {UR::PeqFreqToRaw, -100, 0},
        {UR::QToRaw, 0, 0},
        {UR::QToRaw, -1, 0},
        {UR::QToRaw, 0.5, 0},   // 32767 - 32767 / 0.652 is below zero
        {UR::QToRaw, 50, 32767},  // a = 65.2: 30720 + 25187
        {UR::Freq1kToRaw, 2000, 32767},
        {UR::Freq1kToRaw, -5, 0},
        {UR::Freq3kToRaw, 6000, 32767},
        {UR::HighPassToRaw, 10000, 32767},  // 10980662 >> 8 = 42893
        {UR::HighPassToRaw, kInf, 32767},
        {UR::LowPassToRaw, -50, 0},
        {UR::EchoCutToRaw, 2000, 32767},
        {UR::ReverbCutToRaw, 5000, 32767},
        {UR::ShelfFreqToRaw, 400, 0},
        {UR::ShelfFreqToRaw, 3000, 32767},
        {UR::MicHighPassToRaw, 302, 127},  // 282 * 9/20 + 1 = 128
        {UR::MicHighPassToRaw, 1000, 127},
        {UR::MicLowPassToRaw, 6000, 0},
        {UR::MicLowPassToRaw, -kInf, 0},
    });
    for (int rule = 1; rule <= static_cast<int>(UR::MicLowPassToRaw); ++rule) {
        EXPECT_EQ(ApplyUnitRule(static_cast<UnitRule>(rule), kNaN), 0) << UnitRuleName(static_cast<UnitRule>(rule));
    }
}

TEST(ValueScaling, DelaySteps) {
    EXPECT_EQ(DelayToRaw(0), 0);
    EXPECT_EQ(DelayToRaw(10), 20);
    EXPECT_EQ(DelayToRaw(10, true), 21);
    EXPECT_EQ(DelayToRaw(16383), 32766);
    EXPECT_EQ(DelayToRaw(16383, true), 32767);
    EXPECT_EQ(DelayToRaw(16384), 32767);  // 32768 does not fit 15 bits
    EXPECT_EQ(DelayToRaw(INT_MAX, true), 32767);
    EXPECT_EQ(DelayToRaw(-1), 0);
    EXPECT_EQ(DelayToRaw(INT_MIN), 0);
    ExpectRaw({
        {UR::DelayToRaw, 10, 20},
        {UR::DelayToRaw, 10.9, 20},  // a whole slider step
        {UR::DelayToRaw, 1e12, 32767},
        {UR::None, 37.6, 37},
        {UR::None, -1e12, INT_MIN},
    });
}

// Dragging a point and reading its text back shows what was dragged.
TEST(ValueScaling, UnitsSurviveTheWayToRawAndBack) {
    for (int tenths = -120; tenths <= 120; ++tenths) {
        const double db = tenths / 10.0;
        char expected[16];
        std::snprintf(expected, sizeof expected, "%.1fdB", db);
        EXPECT_EQ(Gain12Text(GainToRaw12(db)), expected) << db;
        EXPECT_EQ(Gain12Text(GainToRaw12Trunc(db)), expected) << db;
        if (db <= 6) {
            EXPECT_EQ(Gain6Text(GainToRaw6(db)), expected) << db;
        }
    }
    for (int hz = 20; hz <= 19000; hz += 7) {
        // One raw step is about 0.6 Hz and the text truncates.
        const int shown = std::stoi(PeqFreqText(PeqFreqToRaw(hz)));
        EXPECT_LE(std::abs(shown - hz), 1) << hz;
    }
    for (int thousandths = 800; thousandths <= 15300; thousandths += 37) {
        // QToRaw truncates, losing at most one raw step: a^2/32767 * 2.3/3 = 0.006
        // at a = 16, 4/2047 * 2.3/3 = 0.0015 above; the text rounds to 0.0005.
        const double q = thousandths / 1000.0;
        EXPECT_NEAR(std::stod(QText(QToRaw(q))), q, 0.007) << q;
    }
    for (int hz = 20; hz <= 300; ++hz) {
        // The "+ 1" of the way in puts the text one step (20/9 Hz) above the
        // dragged frequency: shown - hz = (n + 1 - x) * 20/9 less the truncation,
        // with |n - x| <= 0.5, so 1 to 3 Hz above.
        const int shown = std::stoi(MicHighPassText(MicHighPassToRaw(hz)));
        EXPECT_GE(shown - hz, 1) << hz;
        EXPECT_LE(shown - hz, 3) << hz;
    }
}

TEST(ValueScaling, RuleNamesAreCompleteAndDistinct) {
    std::set<std::string_view> names;
    for (int rule = 0; rule <= static_cast<int>(TR::PhaseText); ++rule) {
        const std::string_view name = TextRuleName(static_cast<TextRule>(rule));
        EXPECT_NE(name, "?") << rule;
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_EQ(TextRuleName(TR::GateText), "GateText");
    EXPECT_EQ(TextRuleName(TR::DelayMs), "DelayMs");
    names.clear();
    for (int rule = 0; rule <= static_cast<int>(UR::DelayToRaw); ++rule) {
        const std::string_view name = UnitRuleName(static_cast<UnitRule>(rule));
        EXPECT_NE(name, "?") << rule;
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_EQ(UnitRuleName(UR::GainToRaw12Trunc), "GainToRaw12Trunc");
}

// The raw value each rule reads: the first byte, the second byte or the word.
enum class Reads { S7, B2, W15, Any };

Reads TextInput(TextRule rule) {
    switch (rule) {
        case TR::Gain12Text: case TR::Gain6Text: case TR::Freq1kText: case TR::Freq3kText:
        case TR::EchoCutText: case TR::ShelfFreqText: case TR::ReverbCutText: case TR::QText:
        case TR::PeqFreqText: case TR::HighPassText: case TR::LowPassText: case TR::MicLowPassText:
        case TR::DelayMs:
            return Reads::W15;
        case TR::PhaseText: return Reads::B2;
        case TR::RawText: case TR::None: return Reads::Any;
        default: return Reads::S7;
    }
}

bool EncodingCarries(Encoding encoding, Reads reads) {
    switch (reads) {
        case Reads::S7: return encoding == Encoding::S7 || encoding == Encoding::S7Star;
        case Reads::B2: return encoding == Encoding::B2;
        case Reads::W15: return encoding == Encoding::W15;
        case Reads::Any: return true;
    }
    return false;
}

// The unit rules that may go with each text rule.
bool RulesBelongTogether(TextRule text, UnitRule unit) {
    switch (unit) {
        case UR::None: return true;
        case UR::GainToRaw12: case UR::GainToRaw12Trunc: return text == TR::Gain12Text;
        case UR::GainToRaw6: return text == TR::Gain6Text;
        case UR::PeqFreqToRaw: return text == TR::PeqFreqText;
        case UR::QToRaw: return text == TR::QText;
        case UR::Freq1kToRaw: return text == TR::Freq1kText;
        case UR::Freq3kToRaw: return text == TR::Freq3kText;
        case UR::HighPassToRaw: return text == TR::HighPassText;
        case UR::LowPassToRaw: return text == TR::LowPassText;
        case UR::EchoCutToRaw: return text == TR::EchoCutText;
        case UR::ReverbCutToRaw: return text == TR::ReverbCutText;
        case UR::ShelfFreqToRaw: return text == TR::ShelfFreqText;
        case UR::MicHighPassToRaw: return text == TR::MicHighPassText;
        case UR::MicLowPassToRaw: return text == TR::MicLowPassText;
        case UR::DelayToRaw: return text == TR::DelayMs;
    }
    return false;
}

TEST(ValueScalingTable, EveryRuleReadsWhatItsParameterCarries) {
    for (const ParamInfo& p : AllParams()) {
        EXPECT_TRUE(EncodingCarries(p.encoding, TextInput(p.text)))
            << p.name << " " << TextRuleName(p.text) << " on " << EncodingName(p.encoding);
        EXPECT_TRUE(RulesBelongTogether(p.text, p.unit)) << p.name;
        // Meters and carried-only values are never shown as parameters.
        if (p.encoding == Encoding::MTR || p.encoding == Encoding::RAW) {
            EXPECT_EQ(p.text, TR::None) << p.name;
            EXPECT_EQ(p.unit, UR::None) << p.name;
        }
    }
}

TEST(ValueScalingTable, RuleSpotChecks) {
    struct Expect {
        std::string_view name;
        TextRule text;
        UnitRule unit;
    };
    const Expect cases[] = {
        {"MicPeq1Gain", TR::Gain12Text, UR::GainToRaw12},
        {"CenterPeqB2Gain", TR::Gain12Text, UR::GainToRaw12},
        {"MicLowShelfGain", TR::Gain12Text, UR::GainToRaw12Trunc},
        {"EchoMidGain", TR::Gain12Text, UR::GainToRaw12Trunc},
        {"ReverbShelfGain", TR::Gain6Text, UR::GainToRaw6},
        {"MainMusicPeq2Q", TR::QText, UR::QToRaw},
        {"SubPeqA1Freq", TR::PeqFreqText, UR::PeqFreqToRaw},
        {"EchoMidFreq", TR::Freq1kText, UR::Freq1kToRaw},
        {"MusicHighShelfFreq", TR::Freq3kText, UR::Freq3kToRaw},
        {"MicHighPassFreq", TR::MicHighPassText, UR::MicHighPassToRaw},
        {"CenterLowPassFreq", TR::LowPassText, UR::LowPassToRaw},
        {"MusicHighPassFreq", TR::HighPassText, UR::HighPassToRaw},
        {"SubPhase", TR::PhaseText, UR::None},
        {"CenterPhase", TR::None, UR::None},
        {"Tap2Delay", TR::PercentText, UR::None},
        {"Tap2Level", TR::LevelText, UR::None},
        {"PitchShift", TR::PitchText, UR::None},
        {"PitchEnable", TR::None, UR::None},
        {"MicShiftAmount", TR::ShiftText, UR::None},
        {"MusicGateThreshold", TR::GateText, UR::None},
        {"EchoTime", TR::TimeText, UR::None},
        {"MainRDelay", TR::DelayMs, UR::DelayToRaw},
        {"MainLOutLevel", TR::RawText, UR::None},
        {"CenterVolume", TR::RawText, UR::None},
        {"EchoType", TR::None, UR::None},
        {"ReverbPreset", TR::None, UR::None},
        {"RearRouteA", TR::None, UR::None},
    };
    for (const Expect& e : cases) {
        const ParamInfo* p = FindParam(e.name);
        ASSERT_NE(p, nullptr) << e.name;
        EXPECT_EQ(p->text, e.text) << e.name << " " << TextRuleName(p->text);
        EXPECT_EQ(p->unit, e.unit) << e.name << " " << UnitRuleName(p->unit);
    }

    // Parametric bands: microphone 4, music 2, main 2 + 2, sub and centre 2 sets of 2 each = 18.
    const auto params = AllParams();
    const auto count = [&](TextRule text, UnitRule unit) {
        return std::ranges::count_if(params, [&](const ParamInfo& p) { return p.text == text && p.unit == unit; });
    };
    EXPECT_EQ(count(TR::Gain12Text, UR::GainToRaw12), 18);
    EXPECT_EQ(count(TR::QText, UR::QToRaw), 18);
    EXPECT_EQ(count(TR::PeqFreqText, UR::PeqFreqToRaw), 18);
    EXPECT_EQ(count(TR::Gain12Text, UR::GainToRaw12Trunc), 6);
    EXPECT_EQ(count(TR::LevelText, UR::None), 10);
    EXPECT_EQ(count(TR::DelayMs, UR::DelayToRaw), 4);
}

TEST(ValueScalingTable, ParameterTextsUseTheirRule) {
    const test::ScopedLanguage english(kLanguageEnglish);
    EXPECT_EQ(FormatParamText(*FindParam("EchoTime"), 127), "692ms");
    EXPECT_EQ(FormatParamText(*FindParam("MicGateThreshold"), 0), "Bypass");
    EXPECT_EQ(FormatParamText(*FindParam("SubDelay"), 960), "10.00ms");
    // Without a rule the raw number is shown.
    EXPECT_EQ(FormatParamText(*FindParam("EchoType"), 4), "4");
    EXPECT_EQ(FormatParamText(*FindParam("MicMeter"), 200), "200");
}

}  // namespace
}  // namespace sonoria
