// Raw parameter values to the texts the windows show, and the units the user
// drags on a graph (dB, Hz, Q, slider steps) back to raw values. Every rule is
// a small pure function; the parameter table names the rule each parameter uses.
#pragma once

#include <string>
#include <string_view>

#include "state/ParameterTable.h"
#include "state/ScalingRules.h"

namespace sonoria {

// Display rules. `v` is the decoded raw value (first byte for S7, second byte
// for B2, 15-bit word for W15). Texts are UTF-8. Any int is accepted: values
// the device never sends still give a text, never a crash.

// v = 0: "Bypass" / "关闭"; otherwise "%.1fdB" of (v - 1) / 3 - 66.
std::string GateText(int v);
// "%.2fms"; "" outside 0..127.
std::string AttackText(int v);
// "%.3fs" below 60, "%.2fs" from 60; "" outside 0..127.
std::string ReleaseText(int v);
// v = 0: "-45.0dB"; otherwise "%.1fdB" of (v - 1) / 3 - 42.
std::string CompThresholdText(int v);
// The threshold in dB for the compressor curve.
float CompThresholdDb(int v);
// The compressor curve's slope above the threshold: (127 - v) / 128.
double CompRatioCurve(int v);
// v = 0: "-Inf"; otherwise "%.1fdB" of (v - 1) / 3 - 42.
std::string LevelText(int v);
// "%d:1" of v + 1.
std::string RatioText(int v);
// -12..+12 dB, 16384 = 0 dB.
std::string Gain12Text(int v);
// -12..+6 dB, 16384 = 0 dB.
std::string Gain6Text(int v);
std::string Freq1kText(int v);
std::string Freq3kText(int v);
// -5.0..+5.0 Hz, 64 = none.
std::string ShiftText(int v);
std::string EchoCutText(int v);
std::string ShelfFreqText(int v);
std::string ReverbCutText(int v);
std::string TimeText(int v);
std::string PercentText(int v);
std::string FeedbackText(int v);
std::string RawText(int v);
// v = 0: "off" / "关闭"; otherwise "%.1fdB" of (v - 1) * 11 / 21 - 66.
std::string ReverbGateText(int v);
std::string PreDelayText(int v);
std::string QText(int v);
std::string PeqFreqText(int v);
// No unit except for v = 0 ("18Hz").
std::string HighPassText(int v);
// No unit except for v = 0 ("15202Hz").
std::string LowPassText(int v);
std::string MicHighPassText(int v);
// Six decimals, except "20001Hz" for 32767 (above 20 kHz).
std::string MicLowPassText(int v);
// " +0", "b -2", "# +3": flat or sharp by semitones, 64 = none.
std::string PitchText(int v);
// Delay in milliseconds: samples at 96 kHz.
double DelayMs(int v);
// "%.2fms" of DelayMs(v).
std::string DelayText(int v);
// "%d°" of v × 5.
std::string PhaseText(int v);

// Unit-to-raw rules. Results are saturated into what the encoding can carry:
// 0..32767 for W15 values, 0..127 for MicHighPassToRaw (S7). NaN gives 0.

int GainToRaw12(double db);
int GainToRaw12Trunc(double db);
int GainToRaw6(double db);
int PeqFreqToRaw(double hz);
// 0 for a Q at or below 0.
int QToRaw(double q);
int Freq1kToRaw(double hz);
int Freq3kToRaw(double hz);
// 0 below 20 Hz.
int HighPassToRaw(double hz);
// 0 (filter off) above 15200 Hz.
int LowPassToRaw(double hz);
int EchoCutToRaw(double hz);
int ReverbCutToRaw(double hz);
int ShelfFreqToRaw(double hz);
int MicHighPassToRaw(double hz);
// 32767 (off) above 20000 Hz.
int MicLowPassToRaw(double hz);
// 2p, or 2p + 1 for the windows that add one.
int DelayToRaw(int position, bool plusOne = false);

// By rule name. A parameter without a text rule shows "%d" of its raw value.
std::string FormatRuleText(TextRule rule, int v);
std::string FormatParamText(const ParamInfo& param, int raw);
// UnitRule::None takes the value as already raw (truncated, limited to the
// int range); DelayToRaw truncates the position to a whole step.
int ApplyUnitRule(UnitRule rule, double unit);

std::string_view TextRuleName(TextRule rule);
std::string_view UnitRuleName(UnitRule rule);

}  // namespace sonoria
