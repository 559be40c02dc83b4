// The rows of the parameter table: every named parameter with its address,
// encoding, display rules and range, as data the compiler can read. Included
// by state/ParameterTable.cpp (the lookups) and state/ParameterAddresses.h
// (the named addresses); everything else uses those two headers.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "state/EchoType.h"
#include "state/ParameterTable.h"

namespace sonoria::parameter_rows {

// The display and unit-to-raw rules of one parameter.
struct Rules {
    TextRule text = TextRule::None;
    UnitRule unit = UnitRule::None;
};

using TR = TextRule;
using UR = UnitRule;

// Rule pairs shared by many parameters.
inline constexpr Rules kPeqGain{TR::Gain12Text, UR::GainToRaw12};
inline constexpr Rules kPeqQ{TR::QText, UR::QToRaw};
inline constexpr Rules kPeqFreq{TR::PeqFreqText, UR::PeqFreqToRaw};
inline constexpr Rules kShelfGain{TR::Gain12Text, UR::GainToRaw12Trunc};
inline constexpr Rules kLevel{TR::LevelText};
inline constexpr Rules kDelay{TR::DelayMs, UR::DelayToRaw};
inline constexpr Rules kRaw{TR::RawText};  // volumes, damping and the levels on the flow buttons

constexpr ParamRange WholeRange(Encoding encoding) {
    switch (encoding) {
        case Encoding::S7:
        case Encoding::S7Star: return {0, 127};
        case Encoding::W15: return {0, 32767};
        case Encoding::B2:
        case Encoding::MTR: return {0, 255};
        case Encoding::RAW: break;
    }
    return {0, 65535};
}

constexpr ParamInfo Row(std::string_view name, int block, int index, Encoding encoding, Rules rules = {}) {
    return {name, {static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(index)}, std::nullopt,
            encoding, rules.text, rules.unit, WholeRange(encoding)};
}

// A parameter whose control allows less than its encoding carries.
constexpr ParamInfo Limited(ParamInfo info, int min, int max) {
    info.range = {min, max};
    return info;
}

// Narrower ranges, from the controls that edit them.
inline constexpr int kSwitchMax = 1;        // check boxes: on or off
inline constexpr int kEchoTypeMax = kEchoTypeCount - 1;  // the echo program list
inline constexpr int kReverbPresetMax = 18; // the reverb program list; 0 = off
inline constexpr int kPitchMin = 56;        // the pitch slider: 64 = no shift, eight steps either way
inline constexpr int kPitchMax = 72;
inline constexpr int kOutputVolumeMax = 49; // the centre and sub volume sliders (49 = 0 dB)
inline constexpr int kPhaseMax = 71;        // the phase slider, 5 degrees a step
inline constexpr int kDelayMax = 8190;      // the delay-time slider's 4095 steps, sent doubled

// Music channel: one name for the left value at `index` and the right at index + 16.
constexpr ParamInfo Stereo(std::string_view name, int index, Encoding encoding, Rules rules = {}) {
    ParamInfo info = Row(name, 4, index, encoding, rules);
    info.twin = ParamAddress{4, static_cast<std::uint8_t>(index + 16)};
    return info;
}

// Main outputs: one name for block 5 and the same index of block 6.
constexpr ParamInfo BothMains(std::string_view name, int index, Encoding encoding, Rules rules = {}) {
    ParamInfo info = Row(name, 5, index, encoding, rules);
    info.twin = ParamAddress{6, static_cast<std::uint8_t>(index)};
    return info;
}

using enum Encoding;

inline constexpr std::array kParamRows = {
    // Block 1: microphone channel.
    Row("MicMeter", 1, 0, MTR),
    Row("MicSpare1", 1, 1, RAW),
    Row("MicGateThreshold", 1, 2, S7, {TR::GateText}),
    Limited(Row("MicCompEnable", 1, 3, B2), 0, kSwitchMax),
    Row("MicCompAttack", 1, 4, S7, {TR::AttackText}),
    Row("MicCompRelease", 1, 5, S7, {TR::ReleaseText}),
    Row("MicCompThreshold", 1, 6, S7, {TR::CompThresholdText}),
    Row("MicCompRatio", 1, 7, S7, {TR::RatioText}),
    Row("MicEqEnable", 1, 8, B2),
    Row("MicLowShelfGain", 1, 9, W15, kShelfGain),
    Row("MicLowShelfFreq", 1, 10, W15, {TR::Freq1kText, UR::Freq1kToRaw}),
    Row("MicHighShelfGain", 1, 11, W15, kShelfGain),
    Row("MicHighShelfFreq", 1, 12, W15, {TR::Freq3kText, UR::Freq3kToRaw}),
    Row("MicSpare13", 1, 13, RAW),
    Row("MicPeq1Gain", 1, 14, W15, kPeqGain),
    Row("MicPeq1Q", 1, 15, W15, kPeqQ),
    Row("MicPeq1Freq", 1, 16, W15, kPeqFreq),
    Row("MicPeq2Gain", 1, 17, W15, kPeqGain),
    Row("MicPeq2Q", 1, 18, W15, kPeqQ),
    Row("MicPeq2Freq", 1, 19, W15, kPeqFreq),
    Row("MicLowPassFreq", 1, 20, W15, {TR::MicLowPassText, UR::MicLowPassToRaw}),
    Row("MicHighPassFreq", 1, 21, S7, {TR::MicHighPassText, UR::MicHighPassToRaw}),
    Limited(Row("MicShiftEnable", 1, 22, B2), 0, kSwitchMax),
    Row("MicShiftAmount", 1, 23, S7, {TR::ShiftText}),
    Row("MicVolume", 1, 24, S7, kRaw),
    Row("MicSpare25", 1, 25, RAW),

    // Block 2: microphone bands 3 and 4, echo, multi-tap, effect and direct volumes.
    Row("Block2Spare0", 2, 0, RAW),
    Row("MicPeq3Gain", 2, 1, W15, kPeqGain),
    Row("MicPeq3Q", 2, 2, W15, kPeqQ),
    Row("MicPeq3Freq", 2, 3, W15, kPeqFreq),
    Row("MicPeq4Gain", 2, 4, W15, kPeqGain),
    Row("MicPeq4Q", 2, 5, W15, kPeqQ),
    Row("MicPeq4Freq", 2, 6, W15, kPeqFreq),
    Limited(Row("EchoType", 2, 7, B2), 0, kEchoTypeMax),
    Row("EchoHighPassFreq", 2, 8, W15, {TR::EchoCutText, UR::EchoCutToRaw}),
    Row("EchoShelfGain", 2, 9, W15, kShelfGain),
    Row("EchoShelfFreq", 2, 10, W15, {TR::ShelfFreqText, UR::ShelfFreqToRaw}),
    Row("EchoInputGain", 2, 11, S7, kLevel),
    Row("EchoOutputGain", 2, 12, S7, kLevel),
    Row("EchoTime", 2, 13, S7Star, {TR::TimeText}),
    Row("EchoFeedback", 2, 14, S7, {TR::FeedbackText}),
    Row("EchoHighDamp", 2, 15, S7, kRaw),
    Row("TapMainLevel", 2, 16, S7, kLevel),
    Row("Tap1Level", 2, 17, S7, kLevel),
    Row("Tap2Level", 2, 18, S7, kLevel),
    Row("Tap3Level", 2, 19, S7, kLevel),
    Row("Tap1Delay", 2, 20, S7, {TR::PercentText}),
    Row("Tap2Delay", 2, 21, S7, {TR::PercentText}),
    Row("Tap3Delay", 2, 22, S7, {TR::PercentText}),
    Row("ReverbInputGain", 2, 23, S7, kLevel),
    Row("EffectVolume", 2, 24, S7, kRaw),
    Row("MicDirectVolume", 2, 25, S7, kRaw),
    Row("EchoMidGain", 2, 26, W15, kShelfGain),
    Row("EchoMidFreq", 2, 27, W15, {TR::Freq1kText, UR::Freq1kToRaw}),

    // Block 3: reverb.
    Limited(Row("ReverbPreset", 3, 0, B2), 0, kReverbPresetMax),
    Row("ReverbLevel", 3, 1, S7, kLevel),
    Row("ReverbDirect", 3, 2, S7, kLevel),
    Row("EchoToReverb", 3, 3, S7, kLevel),
    Row("ReverbShelfGain", 3, 4, W15, {TR::Gain6Text, UR::GainToRaw6}),
    Row("ReverbShelfFreq", 3, 5, W15, {TR::ShelfFreqText, UR::ShelfFreqToRaw}),
    Row("ReverbHighPassFreq", 3, 6, W15, {TR::ReverbCutText, UR::ReverbCutToRaw}),
    Row("ReverbTime", 3, 7, S7, {TR::TimeText}),
    Row("ReverbFeedback", 3, 8, S7, {TR::FeedbackText}),
    Row("ReverbHighDamp", 3, 9, S7, kRaw),
    Row("ReverbGate", 3, 10, S7, {TR::ReverbGateText}),
    Row("ReverbPreDelay", 3, 11, S7, {TR::PreDelayText}),

    // Block 4: music channel, left at 0..15 with the right twin at +16; the
    // meters are the one pair that keeps a name per side.
    Row("MusicMeterL", 4, 0, MTR),
    Stereo("MusicGateThreshold", 1, S7, {TR::GateText}),
    Stereo("MusicVolume", 2, S7, kRaw),
    Stereo("MusicSpare3", 3, RAW),
    Stereo("MusicLowShelfGain", 4, W15, kShelfGain),
    Stereo("MusicLowShelfFreq", 5, W15, {TR::Freq1kText, UR::Freq1kToRaw}),
    Stereo("MusicHighShelfGain", 6, W15, kShelfGain),
    Stereo("MusicHighShelfFreq", 7, W15, {TR::Freq3kText, UR::Freq3kToRaw}),
    Stereo("MusicEqEnable", 8, B2),
    Stereo("MusicPeq1Gain", 9, W15, kPeqGain),
    Stereo("MusicPeq1Q", 10, W15, kPeqQ),
    Stereo("MusicPeq1Freq", 11, W15, kPeqFreq),
    Stereo("MusicPeq2Gain", 12, W15, kPeqGain),
    Stereo("MusicPeq2Q", 13, W15, kPeqQ),
    Stereo("MusicPeq2Freq", 14, W15, kPeqFreq),
    Stereo("MusicHighPassFreq", 15, W15, {TR::HighPassText, UR::HighPassToRaw}),
    Row("MusicMeterR", 4, 16, MTR),
    Row("RearRouteA", 4, 32, S7),
    Row("RearRouteB", 4, 33, S7),

    // Block 5: main output left; 0..20 shared with block 6, 21..24 left only.
    Limited(BothMains("PitchEnable", 0, B2), 0, kSwitchMax),
    Limited(BothMains("PitchShift", 1, S7, {TR::PitchText}), kPitchMin, kPitchMax),
    BothMains("MainSpare2", 2, RAW),
    BothMains("MainSpare3", 3, RAW),
    BothMains("MainEqEnable", 4, B2),
    BothMains("MainMicPeq1Gain", 5, W15, kPeqGain),
    BothMains("MainMicPeq1Q", 6, W15, kPeqQ),
    BothMains("MainMicPeq1Freq", 7, W15, kPeqFreq),
    BothMains("MainMicPeq2Gain", 8, W15, kPeqGain),
    BothMains("MainMicPeq2Q", 9, W15, kPeqQ),
    BothMains("MainMicPeq2Freq", 10, W15, kPeqFreq),
    BothMains("MainSpare11", 11, RAW),
    BothMains("MainMusicPeq1Gain", 12, W15, kPeqGain),
    BothMains("MainMusicPeq1Q", 13, W15, kPeqQ),
    BothMains("MainMusicPeq1Freq", 14, W15, kPeqFreq),
    BothMains("MainMusicPeq2Gain", 15, W15, kPeqGain),
    BothMains("MainMusicPeq2Q", 16, W15, kPeqQ),
    BothMains("MainMusicPeq2Freq", 17, W15, kPeqFreq),
    BothMains("MainMicLevel", 18, S7, kRaw),
    BothMains("MainEffectLevel", 19, S7, kRaw),
    BothMains("MainMusicLevel", 20, S7, kRaw),
    Row("MainLDirectLevel", 5, 21, S7, kRaw),
    Row("MainLDelayLevel", 5, 22, S7, kRaw),
    Row("MainLOutLevel", 5, 23, S7, kRaw),
    Limited(Row("MainLDelay", 5, 24, W15, kDelay), 0, kDelayMax),

    // Block 6: main output right, only the per-side values.
    Row("MainRDirectLevel", 6, 21, S7, kRaw),
    Row("MainRDelayLevel", 6, 22, S7, kRaw),
    Row("MainROutLevel", 6, 23, S7, kRaw),
    Limited(Row("MainRDelay", 6, 24, W15, kDelay), 0, kDelayMax),

    // Block 7: subwoofer output.
    Row("SubEqAEnable", 7, 0, B2),
    Row("SubPeqA1Gain", 7, 1, W15, kPeqGain),
    Row("SubPeqA1Q", 7, 2, W15, kPeqQ),
    Row("SubPeqA1Freq", 7, 3, W15, kPeqFreq),
    Row("SubPeqA2Gain", 7, 4, W15, kPeqGain),
    Row("SubPeqA2Q", 7, 5, W15, kPeqQ),
    Row("SubPeqA2Freq", 7, 6, W15, kPeqFreq),
    Row("SubEqBEnable", 7, 7, B2),
    Row("SubPeqB1Gain", 7, 8, W15, kPeqGain),
    Row("SubPeqB1Q", 7, 9, W15, kPeqQ),
    Row("SubPeqB1Freq", 7, 10, W15, kPeqFreq),
    Row("SubPeqB2Gain", 7, 11, W15, kPeqGain),
    Row("SubPeqB2Q", 7, 12, W15, kPeqQ),
    Row("SubPeqB2Freq", 7, 13, W15, kPeqFreq),
    Row("SubEffectLevel", 7, 14, S7, kRaw),
    Row("SubMicLevel", 7, 15, S7, kRaw),
    Row("SubMusicLevel", 7, 16, S7, kRaw),
    Row("SubDirectLevel", 7, 17, S7, kRaw),
    Row("SubDelayLevel", 7, 18, S7, kRaw),
    Row("SubSpare19", 7, 19, RAW),
    Row("SubLowPassFreq", 7, 20, W15, {TR::LowPassText, UR::LowPassToRaw}),
    Row("SubHighPassFreq", 7, 21, W15, {TR::HighPassText, UR::HighPassToRaw}),
    Limited(Row("SubVolume", 7, 22, B2, kRaw), 0, kOutputVolumeMax),
    Row("SubOutLevel", 7, 23, S7, kRaw),
    Limited(Row("SubDelay", 7, 24, W15, kDelay), 0, kDelayMax),
    Limited(Row("SubPhase", 7, 25, B2, {TR::PhaseText}), 0, kPhaseMax),

    // Block 8: centre output, same layout as block 7.
    Row("CenterEqAEnable", 8, 0, B2),
    Row("CenterPeqA1Gain", 8, 1, W15, kPeqGain),
    Row("CenterPeqA1Q", 8, 2, W15, kPeqQ),
    Row("CenterPeqA1Freq", 8, 3, W15, kPeqFreq),
    Row("CenterPeqA2Gain", 8, 4, W15, kPeqGain),
    Row("CenterPeqA2Q", 8, 5, W15, kPeqQ),
    Row("CenterPeqA2Freq", 8, 6, W15, kPeqFreq),
    Row("CenterEqBEnable", 8, 7, B2),
    Row("CenterPeqB1Gain", 8, 8, W15, kPeqGain),
    Row("CenterPeqB1Q", 8, 9, W15, kPeqQ),
    Row("CenterPeqB1Freq", 8, 10, W15, kPeqFreq),
    Row("CenterPeqB2Gain", 8, 11, W15, kPeqGain),
    Row("CenterPeqB2Q", 8, 12, W15, kPeqQ),
    Row("CenterPeqB2Freq", 8, 13, W15, kPeqFreq),
    Row("CenterEffectLevel", 8, 14, S7, kRaw),
    Row("CenterMicLevel", 8, 15, S7, kRaw),
    Row("CenterMusicLevel", 8, 16, S7, kRaw),
    Row("CenterDirectLevel", 8, 17, S7, kRaw),
    Row("CenterDelayLevel", 8, 18, S7, kRaw),
    Row("CenterSpare19", 8, 19, RAW),
    Row("CenterLowPassFreq", 8, 20, W15, {TR::LowPassText, UR::LowPassToRaw}),
    Row("CenterHighPassFreq", 8, 21, W15, {TR::HighPassText, UR::HighPassToRaw}),
    Limited(Row("CenterVolume", 8, 22, B2, kRaw), 0, kOutputVolumeMax),
    Row("CenterOutLevel", 8, 23, S7, kRaw),
    Limited(Row("CenterDelay", 8, 24, W15, kDelay), 0, kDelayMax),
    Row("CenterPhase", 8, 25, B2),
};

}  // namespace sonoria::parameter_rows
