// The senders of every parameter the user edits. Each stores the new raw value
// in the image and sends it to the device at once; windows call these and
// never build a parameter command themselves.
#pragma once

#include <functional>
#include <string_view>

namespace sonoria {

// Senders named after the one parameter (or left/right pair) they write.
#define SONORIA_PLAIN_SENDERS(X)                                                                 \
    X(MicGateThreshold) X(MicCompAttack) X(MicCompRelease) X(MicCompThreshold) X(MicCompRatio)     \
    X(MicCompEnable) X(MicLowShelfGain) X(MicLowShelfFreq) X(MicHighShelfGain) X(MicHighShelfFreq) \
    X(MicLowPassFreq) X(MicHighPassFreq) X(MicShiftEnable) X(MicShiftAmount) X(MicVolume)          \
    X(EchoType) X(EchoHighPassFreq) X(EchoShelfGain) X(EchoShelfFreq) X(EchoMidGain) X(EchoMidFreq) \
    X(EchoInputGain) X(EchoOutputGain) X(EchoTime) X(EchoFeedback) X(EchoHighDamp)                 \
    X(TapMainLevel) X(Tap1Level) X(Tap2Level) X(Tap3Level) X(Tap1Delay) X(Tap2Delay) X(Tap3Delay)  \
    X(ReverbInputGain) X(EffectVolume) X(MicDirectVolume)                                          \
    X(ReverbPreset) X(ReverbLevel) X(ReverbDirect) X(EchoToReverb) X(ReverbShelfGain)              \
    X(ReverbShelfFreq) X(ReverbHighPassFreq) X(ReverbTime) X(ReverbFeedback) X(ReverbHighDamp)     \
    X(ReverbGate) X(ReverbPreDelay)                                                                \
    X(MusicGateThreshold) X(MusicVolume) X(MusicLowShelfGain) X(MusicLowShelfFreq)                 \
    X(MusicHighShelfGain) X(MusicHighShelfFreq) X(MusicHighPassFreq)                               \
    X(PitchEnable)                                                                                 \
    X(MainLDirectLevel) X(MainRDirectLevel) X(MainLDelayLevel) X(MainRDelayLevel)                  \
    X(MainLOutLevel) X(MainROutLevel) X(MainLDelay) X(MainRDelay)                                  \
    X(SubEffectLevel) X(SubMicLevel) X(SubMusicLevel) X(SubDirectLevel) X(SubDelayLevel)           \
    X(SubLowPassFreq) X(SubHighPassFreq) X(SubVolume) X(SubOutLevel) X(SubDelay) X(SubPhase)       \
    X(CenterEffectLevel) X(CenterMicLevel) X(CenterMusicLevel) X(CenterDirectLevel)                \
    X(CenterDelayLevel) X(CenterLowPassFreq) X(CenterHighPassFreq) X(CenterVolume)                 \
    X(CenterOutLevel) X(CenterDelay)

// Senders of one band of an EQ set, by band number (k = 0 for band 1).
#define SONORIA_BAND_SENDERS(X)                                                              \
    X(MicPeqGain) X(MicPeqQ) X(MicPeqFreq) X(MusicPeqGain) X(MusicPeqQ) X(MusicPeqFreq)        \
    X(MainMicPeqGain) X(MainMicPeqQ) X(MainMicPeqFreq)                                         \
    X(MainMusicPeqGain) X(MainMusicPeqQ) X(MainMusicPeqFreq)                                   \
    X(SubPeqAGain) X(SubPeqAQ) X(SubPeqAFreq) X(SubPeqBGain) X(SubPeqBQ) X(SubPeqBFreq)        \
    X(CenterPeqAGain) X(CenterPeqAQ) X(CenterPeqAFreq)                                         \
    X(CenterPeqBGain) X(CenterPeqBQ) X(CenterPeqBFreq)

// Mixing levels of the main outputs, set per side.
#define SONORIA_SIDE_SENDERS(X) X(MainMicLevel) X(MainEffectLevel) X(MainMusicLevel)

#define SONORIA_DECLARE_PLAIN(name) void Set##name(int value);
#define SONORIA_DECLARE_BAND(name) void Set##name(int band, int value);
#define SONORIA_DECLARE_SIDE(name) void Set##name##L(int value); void Set##name##R(int value);
SONORIA_PLAIN_SENDERS(SONORIA_DECLARE_PLAIN)
SONORIA_BAND_SENDERS(SONORIA_DECLARE_BAND)
SONORIA_SIDE_SENDERS(SONORIA_DECLARE_SIDE)
#undef SONORIA_DECLARE_PLAIN
#undef SONORIA_DECLARE_BAND
#undef SONORIA_DECLARE_SIDE

// Music pitch shift (both main blocks), then switches the pitch shifter on
// for any shift and off for none.
void SetPitchShift(int value);

// Sets or clears bit n (0..7) of the key locks in the edit copy of the machine
// settings; nothing is sent until the settings are applied.
void SetKeyLockBit(int bit, bool on);

// The sender that edits the named parameter, for tools that work by name;
// null for parameters no sender edits. A left/right pair's name sets both sides.
using ParamSenderFn = std::function<void(int value)>;
ParamSenderFn FindSender(std::string_view paramName);

}  // namespace sonoria
