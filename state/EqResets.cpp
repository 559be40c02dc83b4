#include "state/EqResets.h"

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "state/DeviceState.h"
#include "state/EchoType.h"
#include "state/ParameterAddresses.h"
#include "state/Senders.h"

namespace sonoria {
namespace {

// Raw forms of the factory curve.
constexpr int kFlatGain = 16384;          // 0 dB
constexpr int kDefaultQ = 16384;
constexpr int kTopFirstByteOnly = 127 << 8;  // shelf frequency at its top: 127, 0
constexpr int kMicLowPassOpen = 0x7FFF;   // 127, 255
constexpr int kSubLowPass = 533;          // 2, 21
constexpr int kSubHighPass = 88;          // 0, 88
constexpr int kShelfFreqTop = 0x7FFF;     // 127, 255: the high shelf at 2000 Hz
constexpr int kEchoMidFreq40Hz = 1311;    // 5, 31

using BandSender = void (*)(int band, int value);

// Flat gain and default Q on every band, then the band frequencies.
template <std::size_t N>
void ResetBands(BandSender gain, BandSender q, BandSender freq, const int (&frequencies)[N]) {
    for (int band = 0; band < static_cast<int>(N); ++band) {
        gain(band, kFlatGain);
        q(band, kDefaultQ);
    }
    for (int band = 0; band < static_cast<int>(N); ++band) freq(band, frequencies[band]);
}

constexpr int kMicBandFreqs[] = {102, 187, 494, 1072};   // about 60, 111, 294 and 638 Hz
constexpr int kMainBandFreqs[] = {425, 1593};            // about 253 and 948 Hz
constexpr int kSubBandFreqs[] = {84, 252};               // about 50 and 150 Hz
constexpr int kCenterBandFreqs[] = {420, 1679};          // about 250 and 999 Hz

void Reread(ParamAddress at) { SendCommand(CMD_GET_PARAM, {at.block, at.index, kEndOfArguments}); }

}  // namespace

void ResetMicEq() {
    SetMicLowShelfGain(kFlatGain);
    SetMicLowShelfFreq(0);
    SetMicHighShelfGain(kFlatGain);
    SetMicHighShelfFreq(kTopFirstByteOnly);
    ResetBands(SetMicPeqGain, SetMicPeqQ, SetMicPeqFreq, kMicBandFreqs);
    SetMicLowPassFreq(kMicLowPassOpen);
    SetMicHighPassFreq(0);
}

void ResetMusicEq() {
    ResetBands(SetMusicPeqGain, SetMusicPeqQ, SetMusicPeqFreq, kMainBandFreqs);
    SetMusicLowShelfGain(kFlatGain);
    SetMusicLowShelfFreq(0);
    SetMusicHighShelfGain(kFlatGain);
    SetMusicHighShelfFreq(kTopFirstByteOnly);
    SetMusicHighPassFreq(0);
}

void ResetMainMicEq() { ResetBands(SetMainMicPeqGain, SetMainMicPeqQ, SetMainMicPeqFreq, kMainBandFreqs); }
void ResetMainMusicEq() { ResetBands(SetMainMusicPeqGain, SetMainMusicPeqQ, SetMainMusicPeqFreq, kMainBandFreqs); }
void ResetSubEqA() { ResetBands(SetSubPeqAGain, SetSubPeqAQ, SetSubPeqAFreq, kSubBandFreqs); }
void ResetSubEqB() { ResetBands(SetSubPeqBGain, SetSubPeqBQ, SetSubPeqBFreq, kSubBandFreqs); }
void ResetCenterEqA() { ResetBands(SetCenterPeqAGain, SetCenterPeqAQ, SetCenterPeqAFreq, kCenterBandFreqs); }
void ResetCenterEqB() { ResetBands(SetCenterPeqBGain, SetCenterPeqBQ, SetCenterPeqBFreq, kCenterBandFreqs); }

void ResetSubFilters() {
    const bool rear = RearCopyActive();
    SetSubLowPassFreq(rear ? 0 : kSubLowPass);
    SetSubHighPassFreq(rear ? 0 : kSubHighPass);
}

void ResetCenterFilters() {
    SetCenterLowPassFreq(0);
    SetCenterHighPassFreq(0);
}

void ResetReverbEq() {
    SetReverbHighPassFreq(0);
    SetReverbShelfGain(kFlatGain);
    SetReverbShelfFreq(kShelfFreqTop);
}

void ResetEchoEq() {
    SetEchoHighPassFreq(0);
    SetEchoShelfGain(kFlatGain);
    SetEchoShelfFreq(kShelfFreqTop);
    if (g_Device.extendedEcho.load(std::memory_order_relaxed) != 1) return;
    SetEchoMidGain(kFlatGain);
    SetEchoMidFreq(kEchoMidFreq40Hz);
}

void RereadReverb() {
    for (ParamAddress at : {kReverbLevel, kReverbShelfGain, kReverbShelfFreq, kReverbHighPassFreq, kReverbTime,
                            kReverbGate, kReverbPreDelay}) {
        Reread(at);
    }
    Reread(kReverbInputGain);
}

void RereadEcho() {
    Reread(kEchoToReverb);
    // The echo's values from its high-pass filter to the last tap; the taps only for the multi-tap echo.
    const bool multiTap = GetParam(kEchoType).second == RawValue(EchoType::MultiTap);
    for (int index = kEchoHighPassFreq.index; index <= kTap3Delay.index; ++index) {
        if (index >= kTapMainLevel.index && !multiTap) continue;
        Reread({kEchoType.block, static_cast<std::uint8_t>(index)});
    }
    Reread(kEchoMidGain);
    Reread(kEchoMidFreq);
}

}  // namespace sonoria
