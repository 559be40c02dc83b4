// Named addresses of the parameters the code reaches by name, each computed
// at compile time from its row of the parameter table: a name that is not in
// the table stops compilation. Add a line here for any further one.
#pragma once

#include <string_view>

#include "state/ParameterRows.h"
#include "state/ParameterTable.h"

namespace sonoria {

// The address of the parameter `name`.
consteval ParamAddress AddressOf(std::string_view name) {
    for (const ParamInfo& row : parameter_rows::kParamRows) {
        if (row.name == name) return row.address;
    }
    throw "no parameter of that name in the table";  // not a constant expression
}

// The second address of the parameter `name`: the right channel of a music
// parameter, block 6 of a main-output one.
consteval ParamAddress TwinOf(std::string_view name) {
    for (const ParamInfo& row : parameter_rows::kParamRows) {
        if (row.name == name && row.twin) return *row.twin;
    }
    throw "no parameter of that name with a twin in the table";  // not a constant expression
}

// Block 1: microphone channel.
inline constexpr ParamAddress kMicMeter = AddressOf("MicMeter");
inline constexpr ParamAddress kMicGateThreshold = AddressOf("MicGateThreshold");
inline constexpr ParamAddress kMicPeq1Gain = AddressOf("MicPeq1Gain");
inline constexpr ParamAddress kMicPeq2Gain = AddressOf("MicPeq2Gain");
inline constexpr ParamAddress kMicShiftAmount = AddressOf("MicShiftAmount");
inline constexpr ParamAddress kMicVolume = AddressOf("MicVolume");

// Block 2: microphone bands 3 and 4, echo, multi-tap, effect and direct volumes.
inline constexpr ParamAddress kMicPeq3Gain = AddressOf("MicPeq3Gain");
inline constexpr ParamAddress kMicPeq4Gain = AddressOf("MicPeq4Gain");
inline constexpr ParamAddress kEchoType = AddressOf("EchoType");
inline constexpr ParamAddress kEchoHighPassFreq = AddressOf("EchoHighPassFreq");
inline constexpr ParamAddress kTapMainLevel = AddressOf("TapMainLevel");
inline constexpr ParamAddress kTap3Delay = AddressOf("Tap3Delay");
inline constexpr ParamAddress kReverbInputGain = AddressOf("ReverbInputGain");
inline constexpr ParamAddress kEffectVolume = AddressOf("EffectVolume");
inline constexpr ParamAddress kMicDirectVolume = AddressOf("MicDirectVolume");
inline constexpr ParamAddress kEchoMidGain = AddressOf("EchoMidGain");
inline constexpr ParamAddress kEchoMidFreq = AddressOf("EchoMidFreq");

// Block 3: reverb.
inline constexpr ParamAddress kReverbPreset = AddressOf("ReverbPreset");
inline constexpr ParamAddress kReverbLevel = AddressOf("ReverbLevel");
inline constexpr ParamAddress kEchoToReverb = AddressOf("EchoToReverb");
inline constexpr ParamAddress kReverbShelfGain = AddressOf("ReverbShelfGain");
inline constexpr ParamAddress kReverbShelfFreq = AddressOf("ReverbShelfFreq");
inline constexpr ParamAddress kReverbHighPassFreq = AddressOf("ReverbHighPassFreq");
inline constexpr ParamAddress kReverbTime = AddressOf("ReverbTime");
inline constexpr ParamAddress kReverbGate = AddressOf("ReverbGate");
inline constexpr ParamAddress kReverbPreDelay = AddressOf("ReverbPreDelay");

// Block 4: music channel; the right twin of a left value is 16 further on.
inline constexpr ParamAddress kMusicMeterL = AddressOf("MusicMeterL");
inline constexpr ParamAddress kMusicMeterR = AddressOf("MusicMeterR");
inline constexpr ParamAddress kMusicGateThreshold = AddressOf("MusicGateThreshold");
inline constexpr ParamAddress kMusicVolume = AddressOf("MusicVolume");
inline constexpr ParamAddress kMusicVolumeR = TwinOf("MusicVolume");
inline constexpr ParamAddress kRearRouteA = AddressOf("RearRouteA");
inline constexpr ParamAddress kRearRouteB = AddressOf("RearRouteB");

// Blocks 5 and 6: main outputs (block 5 holds the values both sides share).
inline constexpr ParamAddress kPitchEnable = AddressOf("PitchEnable");
inline constexpr ParamAddress kPitchShift = AddressOf("PitchShift");
inline constexpr ParamAddress kPitchShiftR = TwinOf("PitchShift");
inline constexpr ParamAddress kMainMicPeq1Gain = AddressOf("MainMicPeq1Gain");
inline constexpr ParamAddress kMainMusicPeq1Gain = AddressOf("MainMusicPeq1Gain");
inline constexpr ParamAddress kMainMicLevel = AddressOf("MainMicLevel");
inline constexpr ParamAddress kMainEffectLevel = AddressOf("MainEffectLevel");
inline constexpr ParamAddress kMainMusicLevel = AddressOf("MainMusicLevel");
inline constexpr ParamAddress kMainLDirectLevel = AddressOf("MainLDirectLevel");
inline constexpr ParamAddress kMainLDelayLevel = AddressOf("MainLDelayLevel");
inline constexpr ParamAddress kMainLDelay = AddressOf("MainLDelay");
inline constexpr ParamAddress kMainRDirectLevel = AddressOf("MainRDirectLevel");
inline constexpr ParamAddress kMainRDelayLevel = AddressOf("MainRDelayLevel");
inline constexpr ParamAddress kMainRDelay = AddressOf("MainRDelay");

// Block 7: subwoofer output.
inline constexpr ParamAddress kSubPeqA1Gain = AddressOf("SubPeqA1Gain");
inline constexpr ParamAddress kSubPeqB1Gain = AddressOf("SubPeqB1Gain");
inline constexpr ParamAddress kSubEffectLevel = AddressOf("SubEffectLevel");
inline constexpr ParamAddress kSubMicLevel = AddressOf("SubMicLevel");
inline constexpr ParamAddress kSubMusicLevel = AddressOf("SubMusicLevel");
inline constexpr ParamAddress kSubDirectLevel = AddressOf("SubDirectLevel");
inline constexpr ParamAddress kSubDelayLevel = AddressOf("SubDelayLevel");
inline constexpr ParamAddress kSubVolume = AddressOf("SubVolume");
inline constexpr ParamAddress kSubDelay = AddressOf("SubDelay");
inline constexpr ParamAddress kSubPhase = AddressOf("SubPhase");

// Block 8: centre output.
inline constexpr ParamAddress kCenterPeqA1Gain = AddressOf("CenterPeqA1Gain");
inline constexpr ParamAddress kCenterPeqB1Gain = AddressOf("CenterPeqB1Gain");
inline constexpr ParamAddress kCenterEffectLevel = AddressOf("CenterEffectLevel");
inline constexpr ParamAddress kCenterMicLevel = AddressOf("CenterMicLevel");
inline constexpr ParamAddress kCenterMusicLevel = AddressOf("CenterMusicLevel");
inline constexpr ParamAddress kCenterDirectLevel = AddressOf("CenterDirectLevel");
inline constexpr ParamAddress kCenterDelayLevel = AddressOf("CenterDelayLevel");
inline constexpr ParamAddress kCenterVolume = AddressOf("CenterVolume");
inline constexpr ParamAddress kCenterDelay = AddressOf("CenterDelay");

}  // namespace sonoria
