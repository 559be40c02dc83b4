#include "state/RearRouting.h"

#include <atomic>
#include <chrono>

#include "state/DeviceState.h"
#include "state/EqResets.h"
#include "state/ParameterAddresses.h"
#include "state/ParamSender.h"
#include "state/Senders.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

// Volumes below this are set at once; from it upwards they are ramped.
constexpr int kRampThreshold = 18;
constexpr int kRampStart = 15;
constexpr int kRampEnd = 49;  // 0 dB
constexpr auto kRampStep = std::chrono::milliseconds(40);
constexpr auto kSlowRampStep = std::chrono::milliseconds(20);

std::atomic<int> g_bFirstRearRouting{1};

// `volume` is SubVolume or CenterVolume.
int Volume(ParamAddress volume) { return GetParam(volume).second; }
int W15(ParamAddress at) {
    const ParamBytes bytes = GetParam(at);
    return bytes.first << 8 | bytes.second;
}

void SendVolume(ParamAddress volume, int value) { SendRawBytes(volume, (value >> 8) & 0x7F, value & 0xFF); }

// The change runs on a worker: its pauses end early, and it stops, when the
// workers are being stopped (removal, a lost link, the program's end).
bool Pause(std::chrono::milliseconds duration) { return SyncPause(duration); }
bool Stopped() { return SyncStopping(); }

// Both outputs from 15 up to the centre volume, read again before each step.
bool RampBothToCenter() {
    for (int j = kRampStart; j <= Volume(kCenterVolume); ++j) {
        SendVolume(kSubVolume, j);
        SendVolume(kCenterVolume, j);
        if (!Pause(kRampStep)) return false;
    }
    return true;
}

// One band of an EQ set as its three values, and the senders of a set.
struct BandValues {
    int gain, freq, q;
};
struct EqSetSenders {
    void (*gain)(int band, int value);
    void (*freq)(int band, int value);
    void (*q)(int band, int value);
};
constexpr EqSetSenders kSubA{SetSubPeqAGain, SetSubPeqAFreq, SetSubPeqAQ};
constexpr EqSetSenders kSubB{SetSubPeqBGain, SetSubPeqBFreq, SetSubPeqBQ};
constexpr EqSetSenders kCenterA{SetCenterPeqAGain, SetCenterPeqAFreq, SetCenterPeqAQ};
constexpr EqSetSenders kCenterB{SetCenterPeqBGain, SetCenterPeqBFreq, SetCenterPeqBQ};

void SendSetBand(const EqSetSenders& set, int band, BandValues values) {
    set.gain(band, values.gain);
    set.freq(band, values.freq);
    set.q(band, values.q);
}

// The twelve EQ values of one band: sub sets A and B, then centre sets A and B.
void SendRearBand(int band, BandValues a, BandValues b, BandValues centerA, BandValues centerB) {
    SendSetBand(kSubA, band, a);
    SendSetBand(kSubB, band, b);
    SendSetBand(kCenterA, band, centerA);
    SendSetBand(kCenterB, band, centerB);
}

// Band k of an EQ set whose bands are gain, Q, frequency from its first band's gain on.
BandValues StoredBand(ParamAddress firstGain, int band) {
    const auto at = [firstGain, band](int offset) {
        return ParamAddress{firstGain.block, static_cast<std::uint8_t>(firstGain.index + 3 * band + offset)};
    };
    return {W15(at(0)), W15(at(2)), W15(at(1))};
}

void SendRearEq(bool copyFromMain) {
    for (int band = 0; band < 2; ++band) {
        if (copyFromMain) {
            const BandValues mic = StoredBand(kMainMicPeq1Gain, band);
            const BandValues music = StoredBand(kMainMusicPeq1Gain, band);
            SendRearBand(band, mic, music, mic, music);
        } else {
            SendRearBand(band, StoredBand(kSubPeqA1Gain, band), StoredBand(kSubPeqB1Gain, band),
                         StoredBand(kCenterPeqA1Gain, band), StoredBand(kCenterPeqB1Gain, band));
        }
    }
}

// The stored direct and delayed-path levels and delays of the sub and the centre, sent again.
void ResendDirectAndDelays() {
    ResendS7(kSubDirectLevel);
    ResendS7(kSubDelayLevel);
    SetSubDelay(W15(kSubDelay));
    ResendS7(kCenterDirectLevel);
    ResendS7(kCenterDelayLevel);
    SetCenterDelay(W15(kCenterDelay));
}

bool RouteToRear() {
    SendEncoded(kRearRouteA, Encoding::S7, 0);
    SendEncoded(kRearRouteB, Encoding::S7, 127);
    if (Stopped()) return false;

    int effect = GetParam(kCenterEffectLevel).first;
    if (effect == 0) effect = GetParam(kCenterMicLevel).first;
    SetSubEffectLevel(effect);
    SetCenterEffectLevel(effect);

    SetParamFirst(kSubMicLevel, GetParam(kCenterMicLevel).first);
    ResendS7(kSubMicLevel);
    ResendS7(kSubMusicLevel);
    ResendS7(kCenterMicLevel);
    SetParamFirst(kCenterMusicLevel, GetParam(kSubMusicLevel).first);
    ResendS7(kCenterMusicLevel);

    ResendDirectAndDelays();
    if (Stopped()) return false;

    SendRearEq(g_bFirstRearRouting.exchange(0) == 1);
    ResetCenterFilters();
    ResetSubFilters();
    if (Stopped()) return false;

    const int sub = Volume(kSubVolume);
    const int center = Volume(kCenterVolume);
    if (sub > center) {
        if (center >= kRampThreshold) return RampBothToCenter();
        SetParamSecond(kSubVolume, static_cast<std::uint8_t>(center));
        SendVolume(kSubVolume, center);
        SendVolume(kCenterVolume, center);
    } else if (sub < kRampThreshold) {
        SendVolume(kSubVolume, sub);
        SetParamSecond(kCenterVolume, static_cast<std::uint8_t>(sub));
        SendVolume(kCenterVolume, sub);
    } else {
        return RampBothToCenter();
    }
    return true;
}

bool RouteToFront() {
    SendEncoded(kRearRouteA, Encoding::S7, 64);
    SendEncoded(kRearRouteB, Encoding::S7, 64);
    if (Stopped()) return false;

    for (ParamAddress at : {kSubEffectLevel, kSubMicLevel, kSubMusicLevel,
                            kCenterEffectLevel, kCenterMicLevel, kCenterMusicLevel}) {
        ResendS7(at);
    }
    ResendDirectAndDelays();
    if (Stopped()) return false;

    SendRearEq(false);
    ResetCenterFilters();
    ResetSubFilters();
    if (Stopped()) return false;

    const int sub = Volume(kSubVolume);
    const int center = Volume(kCenterVolume);
    if (sub < kRampThreshold && center < kRampThreshold) {
        SendVolume(kSubVolume, sub);
        SendVolume(kCenterVolume, center);
    } else if (sub > kRampStart && center > kRampStart) {
        for (int j = kRampStart; j <= kRampEnd; ++j) {
            if (j <= Volume(kSubVolume)) SendVolume(kSubVolume, j);
            if (j <= Volume(kCenterVolume)) SendVolume(kCenterVolume, j);
            if (!Pause(kRampStep)) return false;
        }
    } else {
        for (int j = 0; j <= kRampEnd; ++j) {
            if (j <= sub) {
                SendVolume(kSubVolume, j);
                if (!Pause(kSlowRampStep)) return false;
            }
            if (j <= center) {
                SendVolume(kCenterVolume, j);
                if (!Pause(kSlowRampStep)) return false;
            }
        }
    }
    return true;
}

}  // namespace

bool SetRearRouting(int on) {
    g_Device.rearRouting.store(on != 0 ? 1 : 0, std::memory_order_relaxed);
    // Both outputs silent while they are reconfigured; the stored volumes stay.
    SendVolume(kSubVolume, 0);
    SendVolume(kCenterVolume, 0);
    return on != 0 ? RouteToRear() : RouteToFront();
}

void ResetRearRoutingFirstTime() { g_bFirstRearRouting.store(1); }

}  // namespace sonoria
