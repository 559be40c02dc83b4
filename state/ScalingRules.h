// Names of the display rules (raw value to text) and unit-to-raw rules, so
// the parameter table can say which one a parameter uses without pulling in
// the formulas themselves (state/ValueScaling.h).
#pragma once

#include <cstdint>

namespace sonoria {

enum class TextRule : std::uint8_t {
    None,
    GateText,
    AttackText,
    ReleaseText,
    CompThresholdText,
    LevelText,
    RatioText,
    Gain12Text,
    Gain6Text,
    Freq1kText,
    Freq3kText,
    ShiftText,
    EchoCutText,
    ShelfFreqText,
    ReverbCutText,
    TimeText,
    PercentText,
    FeedbackText,
    RawText,
    ReverbGateText,
    PreDelayText,
    QText,
    PeqFreqText,
    HighPassText,
    LowPassText,
    MicHighPassText,
    MicLowPassText,
    PitchText,
    DelayMs,  // shown as "%.2fms"
    PhaseText,
};

enum class UnitRule : std::uint8_t {
    None,
    GainToRaw12,
    GainToRaw12Trunc,
    GainToRaw6,
    PeqFreqToRaw,
    QToRaw,
    Freq1kToRaw,
    Freq3kToRaw,
    HighPassToRaw,
    LowPassToRaw,
    EchoCutToRaw,
    ReverbCutToRaw,
    ShelfFreqToRaw,
    MicHighPassToRaw,
    MicLowPassToRaw,
    DelayToRaw,
};

}  // namespace sonoria
