#include "state/RearRouting.h"

#include <atomic>
#include <chrono>

#include "state/DeviceState.h"
#include "state/EqResets.h"
#include "state/ParamSender.h"
#include "state/Senders.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

constexpr int kMusicBlock = 4;
constexpr int kMainLeftBlock = 5;
constexpr int kVolumeIndex = 22;
constexpr int kEffectLevelIndex = 14;
constexpr int kMicLevelIndex = 15;
constexpr int kMusicLevelIndex = 16;
constexpr int kDirectLevelIndex = 17;
constexpr int kDelayLevelIndex = 18;
constexpr int kDelayIndex = 24;
// Volumes below this are set at once; from it upwards they are ramped.
constexpr int kRampThreshold = 18;
constexpr int kRampStart = 15;
constexpr int kRampEnd = 49;  // 0 dB
constexpr auto kRampStep = std::chrono::milliseconds(40);
constexpr auto kSlowRampStep = std::chrono::milliseconds(20);

std::atomic<int> g_bFirstRearRouting{1};

int Volume(int block) { return GetParam(block, kVolumeIndex).second; }
int W15(int block, int index) {
    const ParamBytes bytes = GetParam(block, index);
    return bytes.first << 8 | bytes.second;
}

void SendVolume(int block, int value) { SendRawBytes(block, kVolumeIndex, (value >> 8) & 0x7F, value & 0xFF); }

// The change runs on a worker: its pauses end early, and it stops, when the
// workers are being stopped (removal, a lost link, the program's end).
bool Pause(std::chrono::milliseconds duration) { return SyncPause(duration); }
bool Stopped() { return SyncStopping(); }

// Both outputs from 15 up to the centre volume, read again before each step.
bool RampBothToCenter() {
    for (int j = kRampStart; j <= Volume(kCenterBlock); ++j) {
        SendVolume(kSubBlock, j);
        SendVolume(kCenterBlock, j);
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

// Band k of an EQ set whose bands are gain, Q, frequency from `firstIndex` on.
BandValues StoredBand(int block, int firstIndex, int band) {
    const int gainIndex = firstIndex + 3 * band;
    return {W15(block, gainIndex), W15(block, gainIndex + 2), W15(block, gainIndex + 1)};
}

void SendRearEq(bool copyFromMain) {
    constexpr int kSetA = 1, kSetB = 8, kMainMic = 5, kMainMusic = 12;
    for (int band = 0; band < 2; ++band) {
        if (copyFromMain) {
            const BandValues mic = StoredBand(kMainLeftBlock, kMainMic, band);
            const BandValues music = StoredBand(kMainLeftBlock, kMainMusic, band);
            SendRearBand(band, mic, music, mic, music);
        } else {
            SendRearBand(band, StoredBand(kSubBlock, kSetA, band), StoredBand(kSubBlock, kSetB, band),
                         StoredBand(kCenterBlock, kSetA, band), StoredBand(kCenterBlock, kSetB, band));
        }
    }
}

bool RouteToRear() {
    SendEncoded({kMusicBlock, 32}, Encoding::S7, 0);    // RearRouteA
    SendEncoded({kMusicBlock, 33}, Encoding::S7, 127);  // RearRouteB
    if (Stopped()) return false;

    int effect = GetParam(kCenterBlock, kEffectLevelIndex).first;
    if (effect == 0) effect = GetParam(kCenterBlock, kMicLevelIndex).first;
    SetSubEffectLevel(effect);
    SetCenterEffectLevel(effect);

    SetParamFirst(kSubBlock, kMicLevelIndex, GetParam(kCenterBlock, kMicLevelIndex).first);
    ResendS7(kSubBlock, kMicLevelIndex);
    ResendS7(kSubBlock, kMusicLevelIndex);
    ResendS7(kCenterBlock, kMicLevelIndex);
    SetParamFirst(kCenterBlock, kMusicLevelIndex, GetParam(kSubBlock, kMusicLevelIndex).first);
    ResendS7(kCenterBlock, kMusicLevelIndex);

    ResendS7(kSubBlock, kDirectLevelIndex);
    ResendS7(kSubBlock, kDelayLevelIndex);
    SetSubDelay(W15(kSubBlock, kDelayIndex));
    ResendS7(kCenterBlock, kDirectLevelIndex);
    ResendS7(kCenterBlock, kDelayLevelIndex);
    SetCenterDelay(W15(kCenterBlock, kDelayIndex));
    if (Stopped()) return false;

    SendRearEq(g_bFirstRearRouting.exchange(0) == 1);
    ResetCenterFilters();
    ResetSubFilters();
    if (Stopped()) return false;

    const int sub = Volume(kSubBlock);
    const int center = Volume(kCenterBlock);
    if (sub > center) {
        if (center >= kRampThreshold) return RampBothToCenter();
        SetParamSecond(kSubBlock, kVolumeIndex, static_cast<std::uint8_t>(center));
        SendVolume(kSubBlock, center);
        SendVolume(kCenterBlock, center);
    } else if (sub < kRampThreshold) {
        SendVolume(kSubBlock, sub);
        SetParamSecond(kCenterBlock, kVolumeIndex, static_cast<std::uint8_t>(sub));
        SendVolume(kCenterBlock, sub);
    } else {
        return RampBothToCenter();
    }
    return true;
}

bool RouteToFront() {
    SendEncoded({kMusicBlock, 32}, Encoding::S7, 64);
    SendEncoded({kMusicBlock, 33}, Encoding::S7, 64);
    if (Stopped()) return false;

    for (int block : {kSubBlock, kCenterBlock}) {
        for (int index : {kEffectLevelIndex, kMicLevelIndex, kMusicLevelIndex}) ResendS7(block, index);
    }
    ResendS7(kSubBlock, kDirectLevelIndex);
    ResendS7(kSubBlock, kDelayLevelIndex);
    SetSubDelay(W15(kSubBlock, kDelayIndex));
    ResendS7(kCenterBlock, kDirectLevelIndex);
    ResendS7(kCenterBlock, kDelayLevelIndex);
    SetCenterDelay(W15(kCenterBlock, kDelayIndex));
    if (Stopped()) return false;

    SendRearEq(false);
    ResetCenterFilters();
    ResetSubFilters();
    if (Stopped()) return false;

    const int sub = Volume(kSubBlock);
    const int center = Volume(kCenterBlock);
    if (sub < kRampThreshold && center < kRampThreshold) {
        SendVolume(kSubBlock, sub);
        SendVolume(kCenterBlock, center);
    } else if (sub > kRampStart && center > kRampStart) {
        for (int j = kRampStart; j <= kRampEnd; ++j) {
            if (j <= Volume(kSubBlock)) SendVolume(kSubBlock, j);
            if (j <= Volume(kCenterBlock)) SendVolume(kCenterBlock, j);
            if (!Pause(kRampStep)) return false;
        }
    } else {
        for (int j = 0; j <= kRampEnd; ++j) {
            if (j <= sub) {
                SendVolume(kSubBlock, j);
                if (!Pause(kSlowRampStep)) return false;
            }
            if (j <= center) {
                SendVolume(kCenterBlock, j);
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
    SendVolume(kSubBlock, 0);
    SendVolume(kCenterBlock, 0);
    return on != 0 ? RouteToRear() : RouteToFront();
}

void ResetRearRoutingFirstTime() { g_bFirstRearRouting.store(1); }

}  // namespace sonoria
