#include "state/ValueScaling.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <numbers>

#include "state/Language.h"

namespace sonoria {
namespace {

#if defined(__GNUC__)
#define SONORIA_PRINTF_LIKE __attribute__((format(printf, 1, 2)))
#else
#define SONORIA_PRINTF_LIKE
#endif

constexpr double kPi = std::numbers::pi;
constexpr int kW15Max = 32767;
constexpr int kS7Max = 127;
constexpr double kGainZero = 16384;  // 0 dB in a gain word

// Chinese word shown for a bypassed gate.
constexpr const char* kOffChinese = "\xE5\x85\xB3\xE9\x97\xAD";  // 关闭

SONORIA_PRINTF_LIKE std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

// Integer texts are formatted from long long so that no int input can
// overflow on the way; the text is the same as "%d" gives for in-range values.
// Every double passed here comes from an int scaled by less than 10, so it fits.
long long Trunc(double x) { return static_cast<long long>(x); }

// Half away from zero: add or subtract 0.5, then truncate.
double RoundHalfAway(double x) { return x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5); }

// Limits an already whole number to 0..max; NaN gives 0.
int Saturate(double x, int max) {
    if (!(x > 0)) return 0;
    if (x >= max) return max;
    return static_cast<int>(x);
}

int SaturateW15(double x) { return Saturate(x, kW15Max); }

// trunc(x), then shifted right by 8 bits, for the filter words.
int ShiftedFilterWord(double x) {
    const double whole = std::trunc(x);
    if (!(whole > 0)) return 0;
    if (whole >= (kW15Max + 1) * 256.0) return kW15Max;
    return static_cast<int>(static_cast<long long>(whole) >> 8);
}

double GainDb(double v, double stepsAbove) {
    return v < kGainZero ? (v - kGainZero) * 12 / 16384 : (v - kGainZero) * stepsAbove / 16383;
}

}  // namespace

std::string GateText(int v) {
    if (v == 0) return IsEnglish() ? "Bypass" : kOffChinese;
    return Format("%.1fdB", (double(v) - 1) / 3 - 66);
}

std::string AttackText(int v) {
    // Negative values are as meaningless as 128 and above: no text.
    if (v < 0 || v > kS7Max) return {};
    double ms;
    if (v < 60) {
        ms = 0.084 + v * 0.015266666666666668;
    } else if (v < 100) {
        ms = 1 + (v - 60) * 0.225;
    } else {
        ms = 10 + (v - 100) * 10.0 / 3;
    }
    return Format("%.2fms", ms);
}

std::string ReleaseText(int v) {
    // Negative values are as meaningless as 128 and above: no text.
    if (v < 0 || v > kS7Max) return {};
    if (v < 60) return Format("%.3fs", 0.01 + v * 0.0015000000000000002);
    if (v < 100) return Format("%.2fs", 0.1 + (v - 60) * 0.0225);
    return Format("%.2fs", 1 + (v - 100) * 4.0 / 27);
}

std::string CompThresholdText(int v) {
    if (v == 0) return "-45.0dB";
    return Format("%.1fdB", (double(v) - 1) / 3 - 42);
}

float CompThresholdDb(int v) {
    // Computed in double, handed to the curve in single precision.
    if (v == 0) return -45.0f;
    return static_cast<float>((double(v) - 1) / 3 - 42);
}

double CompRatioCurve(int v) { return (127 - double(v)) / 128; }

std::string LevelText(int v) {
    if (v == 0) return "-Inf";
    return Format("%.1fdB", (double(v) - 1) / 3 - 42);
}

std::string RatioText(int v) { return Format("%lld:1", static_cast<long long>(v) + 1); }

std::string Gain12Text(int v) { return Format("%.1fdB", GainDb(v, 12)); }

std::string Gain6Text(int v) { return Format("%.1fdB", GainDb(v, 6)); }

std::string Freq1kText(int v) { return Format("%lldHz", Trunc(double(v) * 1000 / 32767)); }

std::string Freq3kText(int v) { return Format("%lldHz", Trunc(double(v) * 3000 / 32767)); }

std::string ShiftText(int v) {
    const double d = double(v) - 64;
    return Format("%+-.1fHz", v > 64 ? d * 5 / 63 : d * 5 / 64);
}

std::string EchoCutText(int v) {
    if (v == 0) return "18Hz";
    return Format("%lldHz", Trunc(double(v) * 880 / 32766 + 20));
}

std::string ShelfFreqText(int v) { return Format("%lldHz", Trunc(double(v) * 0.045777764 + 500)); }

std::string ReverbCutText(int v) {
    if (v == 0) return "18Hz";
    return Format("%lldHz", Trunc(double(v) * 0.054324605 + 20));
}

std::string TimeText(int v) { return Format("%lldms", 20 + Trunc(double(v) * 1345 / 254)); }

std::string PercentText(int v) { return Format("%lld%%", Trunc(double(v) / 127 * 100)); }

std::string FeedbackText(int v) { return Format("%lld%%", Trunc(double(v) / 127 * 99)); }

std::string RawText(int v) { return Format("%d", v); }

std::string ReverbGateText(int v) {
    if (v == 0) return IsEnglish() ? "off" : kOffChinese;
    return Format("%.1fdB", (double(v) - 1) * 11 / 21 - 66);
}

std::string PreDelayText(int v) { return Format("%lldms", Trunc(double(v) * 250 / 127)); }

std::string QText(int v) {
    // Up to 30719 the word is 32767 - 32767 / q, so the divisor stays at 2048 or more.
    const double d = v;
    const double q = v > 30719 ? (d - 30720) * 4 / 2047 + 16 : 32767 / (32767 - d);
    return Format("%.3f", q * 2.3 / 3);
}

std::string PeqFreqText(int v) {
    return Format("%lldHz", Trunc(double(v) / (32768 * 2.349) * 48000 * 3 / kPi));
}

std::string HighPassText(int v) {
    if (v == 0) return "18Hz";
    return Format("%lld", Trunc(double(v) * 256 / 8388608 * 48000 * 0.5 / kPi));
}

std::string LowPassText(int v) {
    if (v == 0) return "15202Hz";
    return Format("%lld", Trunc(double(v) * 256 / 8388608 * 96000 * 0.5 / kPi));
}

std::string MicHighPassText(int v) {
    if (v == 0) return "18Hz";
    return Format("%lldHz", 20 + static_cast<long long>(v) * 280 / 126);
}

std::string MicLowPassText(int v) {
    if (v == kW15Max) return "20001Hz";
    return Format("%0fHz", double(v) * 0.3967527314899591 + 7000);
}

std::string PitchText(int v) {
    const long long semitones = static_cast<long long>(v) - 64;
    if (semitones == 0) return Format(" %+-d", 0);
    return Format(semitones < 0 ? "b %+-lld" : "# %+-lld", semitones);
}

double DelayMs(int v) { return double(v) / 96; }

std::string DelayText(int v) { return Format("%.2fms", DelayMs(v)); }

std::string PhaseText(int v) { return Format("%lld\xC2\xB0", static_cast<long long>(v) * 5); }

int GainToRaw12(double db) {
    if (db >= 0) return SaturateW15(RoundHalfAway(db / (12.0 / 16383) + kGainZero));
    return SaturateW15(kGainZero - RoundHalfAway(std::abs(db) / (12.0 / 16384)));
}

int GainToRaw12Trunc(double db) {
    if (db >= 0) return SaturateW15(std::trunc(db / (12.0 / 16383) + kGainZero));
    return SaturateW15(kGainZero - std::trunc(std::abs(db) / (12.0 / 16384)));
}

int GainToRaw6(double db) {
    if (db >= 0) return SaturateW15(RoundHalfAway(db / (6.0 / 16383)) + kGainZero);
    return SaturateW15(kGainZero - RoundHalfAway(std::abs(db) / (12.0 / 16384)));
}

int PeqFreqToRaw(double hz) { return SaturateW15(RoundHalfAway(hz * kPi / 48000 / 3 * 2.349 * 32768)); }

int QToRaw(double q) {
    const double a = q * 3 / 2.3;
    if (!(a > 0)) return 0;  // no Q at or below zero, and no division by zero
    if (a > 16) return SaturateW15(std::trunc((a - 16) / (4.0 / 2047) + 30720));
    return SaturateW15(std::trunc(32767 - 32767 / a));
}

int Freq1kToRaw(double hz) { return SaturateW15(RoundHalfAway(hz / (1000.0 / 32767))); }

int Freq3kToRaw(double hz) { return SaturateW15(RoundHalfAway(hz / (3000.0 / 32767))); }

int HighPassToRaw(double hz) {
    if (hz < 20) return 0;
    return ShiftedFilterWord(8388608 * hz * 2 * kPi / 48000);
}

int LowPassToRaw(double hz) {
    if (hz > 15200) return 0;
    return ShiftedFilterWord(8388608 * hz * 2 * kPi / 96000);
}

int EchoCutToRaw(double hz) {
    if (hz < 20) return 0;
    return SaturateW15(RoundHalfAway((hz - 20) / 0.026857108));
}

int ReverbCutToRaw(double hz) {
    if (hz < 20) return 0;
    return SaturateW15(RoundHalfAway((hz - 20) / 0.054324605));
}

int ShelfFreqToRaw(double hz) { return SaturateW15(RoundHalfAway((hz - 500) / 0.045777764)); }

int MicHighPassToRaw(double hz) {
    if (hz < 20) return 0;
    return Saturate(RoundHalfAway((hz - 20) / (20.0 / 9)) + 1, kS7Max);
}

int MicLowPassToRaw(double hz) {
    if (hz > 20000) return kW15Max;
    return SaturateW15(std::trunc((hz - 7000) / 0.3967527314899591));
}

int DelayToRaw(int position, bool plusOne) {
    return Saturate(2.0 * position + (plusOne ? 1 : 0), kW15Max);
}

std::string FormatRuleText(TextRule rule, int v) {
    switch (rule) {
        case TextRule::None: return RawText(v);
        case TextRule::GateText: return GateText(v);
        case TextRule::AttackText: return AttackText(v);
        case TextRule::ReleaseText: return ReleaseText(v);
        case TextRule::CompThresholdText: return CompThresholdText(v);
        case TextRule::LevelText: return LevelText(v);
        case TextRule::RatioText: return RatioText(v);
        case TextRule::Gain12Text: return Gain12Text(v);
        case TextRule::Gain6Text: return Gain6Text(v);
        case TextRule::Freq1kText: return Freq1kText(v);
        case TextRule::Freq3kText: return Freq3kText(v);
        case TextRule::ShiftText: return ShiftText(v);
        case TextRule::EchoCutText: return EchoCutText(v);
        case TextRule::ShelfFreqText: return ShelfFreqText(v);
        case TextRule::ReverbCutText: return ReverbCutText(v);
        case TextRule::TimeText: return TimeText(v);
        case TextRule::PercentText: return PercentText(v);
        case TextRule::FeedbackText: return FeedbackText(v);
        case TextRule::RawText: return RawText(v);
        case TextRule::ReverbGateText: return ReverbGateText(v);
        case TextRule::PreDelayText: return PreDelayText(v);
        case TextRule::QText: return QText(v);
        case TextRule::PeqFreqText: return PeqFreqText(v);
        case TextRule::HighPassText: return HighPassText(v);
        case TextRule::LowPassText: return LowPassText(v);
        case TextRule::MicHighPassText: return MicHighPassText(v);
        case TextRule::MicLowPassText: return MicLowPassText(v);
        case TextRule::PitchText: return PitchText(v);
        case TextRule::DelayMs: return DelayText(v);
        case TextRule::PhaseText: return PhaseText(v);
    }
    return RawText(v);
}

std::string FormatParamText(const ParamInfo& param, int raw) { return FormatRuleText(param.text, raw); }

int ApplyUnitRule(UnitRule rule, double unit) {
    switch (rule) {
        case UnitRule::None: break;
        case UnitRule::GainToRaw12: return GainToRaw12(unit);
        case UnitRule::GainToRaw12Trunc: return GainToRaw12Trunc(unit);
        case UnitRule::GainToRaw6: return GainToRaw6(unit);
        case UnitRule::PeqFreqToRaw: return PeqFreqToRaw(unit);
        case UnitRule::QToRaw: return QToRaw(unit);
        case UnitRule::Freq1kToRaw: return Freq1kToRaw(unit);
        case UnitRule::Freq3kToRaw: return Freq3kToRaw(unit);
        case UnitRule::HighPassToRaw: return HighPassToRaw(unit);
        case UnitRule::LowPassToRaw: return LowPassToRaw(unit);
        case UnitRule::EchoCutToRaw: return EchoCutToRaw(unit);
        case UnitRule::ReverbCutToRaw: return ReverbCutToRaw(unit);
        case UnitRule::ShelfFreqToRaw: return ShelfFreqToRaw(unit);
        case UnitRule::MicHighPassToRaw: return MicHighPassToRaw(unit);
        case UnitRule::MicLowPassToRaw: return MicLowPassToRaw(unit);
        case UnitRule::DelayToRaw: break;
    }
    // Whole steps, limited to the int range (NaN gives 0).
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    const int whole = std::isnan(unit) ? 0 : static_cast<int>(std::clamp(std::trunc(unit), kMin, kMax));
    return rule == UnitRule::DelayToRaw ? DelayToRaw(whole) : whole;
}

std::string_view TextRuleName(TextRule rule) {
    switch (rule) {
        case TextRule::None: return "None";
        case TextRule::GateText: return "GateText";
        case TextRule::AttackText: return "AttackText";
        case TextRule::ReleaseText: return "ReleaseText";
        case TextRule::CompThresholdText: return "CompThresholdText";
        case TextRule::LevelText: return "LevelText";
        case TextRule::RatioText: return "RatioText";
        case TextRule::Gain12Text: return "Gain12Text";
        case TextRule::Gain6Text: return "Gain6Text";
        case TextRule::Freq1kText: return "Freq1kText";
        case TextRule::Freq3kText: return "Freq3kText";
        case TextRule::ShiftText: return "ShiftText";
        case TextRule::EchoCutText: return "EchoCutText";
        case TextRule::ShelfFreqText: return "ShelfFreqText";
        case TextRule::ReverbCutText: return "ReverbCutText";
        case TextRule::TimeText: return "TimeText";
        case TextRule::PercentText: return "PercentText";
        case TextRule::FeedbackText: return "FeedbackText";
        case TextRule::RawText: return "RawText";
        case TextRule::ReverbGateText: return "ReverbGateText";
        case TextRule::PreDelayText: return "PreDelayText";
        case TextRule::QText: return "QText";
        case TextRule::PeqFreqText: return "PeqFreqText";
        case TextRule::HighPassText: return "HighPassText";
        case TextRule::LowPassText: return "LowPassText";
        case TextRule::MicHighPassText: return "MicHighPassText";
        case TextRule::MicLowPassText: return "MicLowPassText";
        case TextRule::PitchText: return "PitchText";
        case TextRule::DelayMs: return "DelayMs";
        case TextRule::PhaseText: return "PhaseText";
    }
    return "?";
}

std::string_view UnitRuleName(UnitRule rule) {
    switch (rule) {
        case UnitRule::None: return "None";
        case UnitRule::GainToRaw12: return "GainToRaw12";
        case UnitRule::GainToRaw12Trunc: return "GainToRaw12Trunc";
        case UnitRule::GainToRaw6: return "GainToRaw6";
        case UnitRule::PeqFreqToRaw: return "PeqFreqToRaw";
        case UnitRule::QToRaw: return "QToRaw";
        case UnitRule::Freq1kToRaw: return "Freq1kToRaw";
        case UnitRule::Freq3kToRaw: return "Freq3kToRaw";
        case UnitRule::HighPassToRaw: return "HighPassToRaw";
        case UnitRule::LowPassToRaw: return "LowPassToRaw";
        case UnitRule::EchoCutToRaw: return "EchoCutToRaw";
        case UnitRule::ReverbCutToRaw: return "ReverbCutToRaw";
        case UnitRule::ShelfFreqToRaw: return "ShelfFreqToRaw";
        case UnitRule::MicHighPassToRaw: return "MicHighPassToRaw";
        case UnitRule::MicLowPassToRaw: return "MicLowPassToRaw";
        case UnitRule::DelayToRaw: return "DelayToRaw";
    }
    return "?";
}

}  // namespace sonoria
