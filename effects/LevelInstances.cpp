#include "effects/LevelInstances.h"

#include <array>

#include "state/DeviceState.h"
#include "state/ParameterAddresses.h"
#include "state/Senders.h"

namespace sonoria {
namespace {

constexpr int kLevelMax = 127;
constexpr int kPitchMin = 56;
constexpr int kPitchMax = 72;
constexpr int kNoPitchShift = 64;  // a stored 0 means no shift as well
constexpr int kPhaseMax = 71;

template <ParamAddress At>
int First() {
    return GetParam(At).first;
}

template <ParamAddress At>
int Second() {
    return GetParam(At).second;
}

int PitchPosition() {
    const int stored = GetParam(kPitchShift).first;
    return stored == 0 ? kNoPitchShift : stored;
}

bool Rear() { return RearCopyActive(); }

constexpr LevelSlider Level(LevelWrite write, LevelRead read) { return {0, kLevelMax, write, read}; }

const std::array kLevelInstances = {
    LevelInstance{2200, Level(SetMicGateThreshold, First<kMicGateThreshold>)},
    LevelInstance{2201, Level(SetMicShiftAmount, First<kMicShiftAmount>)},
    LevelInstance{2203, Level(SetMicDirectVolume, First<kMicDirectVolume>)},
    LevelInstance{2204, Level(SetMusicGateThreshold, First<kMusicGateThreshold>)},
    LevelInstance{2205, {kPitchMin, kPitchMax, SetPitchShift, PitchPosition}},
    LevelInstance{2213, {0, kPhaseMax, SetSubPhase, Second<kSubPhase>}},
    LevelInstance{2224, Level(SetEffectVolume, First<kEffectVolume>)},
    // Centre and sub effect levels: their buttons are never shown.
    LevelInstance{2225, Level(SetCenterEffectLevel, First<kCenterEffectLevel>)},
    LevelInstance{2228, Level(SetSubEffectLevel, First<kSubEffectLevel>)},
    // While routed to the rear the centre and sub are the rear pair: both follow.
    LevelInstance{2227, Level(
                            [](int p) {
                                SetCenterMusicLevel(p);
                                if (Rear()) SetSubMusicLevel(p);
                            },
                            First<kCenterMusicLevel>)},
    LevelInstance{2230, Level(
                            [](int p) {
                                SetSubMusicLevel(p);
                                if (Rear()) SetCenterMusicLevel(p);
                            },
                            First<kSubMusicLevel>)},
    LevelInstance{2240, Level(
                            [](int p) {
                                SetMainMusicLevelL(p);
                                SetMainMusicLevelR(p);
                            },
                            First<kMainMusicLevel>)},
};

const char* const kDirect[] = {"直达声", "Direct"};
const char* const kEffect[] = {"效果", "EFX"};
const char* const kDelayed[] = {"延时声", "Delay"};

const std::array kMixInstances = {
    MixInstance{2226, kDirect[0], kDirect[1], Level(
                                                  [](int p) {
                                                      SetCenterMicLevel(p);
                                                      if (Rear()) SetSubMicLevel(p);
                                                  },
                                                  First<kCenterMicLevel>),
                kEffect[0], kEffect[1], Level(
                                            [](int p) {
                                                SetCenterEffectLevel(p);
                                                if (Rear()) SetSubEffectLevel(p);
                                            },
                                            First<kCenterEffectLevel>)},
    MixInstance{2229, kDirect[0], kDirect[1], Level(
                                                  [](int p) {
                                                      SetSubMicLevel(p);
                                                      if (Rear()) SetCenterMicLevel(p);
                                                  },
                                                  First<kSubMicLevel>),
                kEffect[0], kEffect[1], Level(
                                            [](int p) {
                                                SetSubEffectLevel(p);
                                                if (Rear()) SetCenterEffectLevel(p);
                                            },
                                            First<kSubEffectLevel>)},
    // Main left and right: their buttons are never shown.
    MixInstance{2234, kDirect[0], kDirect[1], Level(SetMainLDirectLevel, First<kMainLDirectLevel>),
                kDelayed[0], kDelayed[1], Level(SetMainLDelayLevel, First<kMainLDelayLevel>)},
    MixInstance{2235, kDirect[0], kDirect[1], Level(SetMainRDirectLevel, First<kMainRDirectLevel>),
                kDelayed[0], kDelayed[1], Level(SetMainRDelayLevel, First<kMainRDelayLevel>)},
    // Right side first; the sliders show the left side.
    MixInstance{2239, kDirect[0], kDirect[1], Level(
                                                  [](int p) {
                                                      SetMainMicLevelR(p);
                                                      SetMainMicLevelL(p);
                                                  },
                                                  First<kMainMicLevel>),
                kEffect[0], kEffect[1], Level(
                                            [](int p) {
                                                SetMainEffectLevelR(p);
                                                SetMainEffectLevelL(p);
                                            },
                                            First<kMainEffectLevel>)},
};

constexpr DelaySection kMainLeft{kMainLDirectLevel, kMainLDelayLevel, kMainLDelay,
                                 SetMainLDirectLevel, SetMainLDelayLevel, SetMainLDelay};
constexpr DelaySection kMainRight{kMainRDirectLevel, kMainRDelayLevel, kMainRDelay,
                                  SetMainRDirectLevel, SetMainRDelayLevel, SetMainRDelay};
constexpr DelaySection kSub{kSubDirectLevel, kSubDelayLevel, kSubDelay,
                            SetSubDirectLevel, SetSubDelayLevel, SetSubDelay};
constexpr DelaySection kCenter{kCenterDirectLevel, kCenterDelayLevel, kCenterDelay,
                               SetCenterDirectLevel, SetCenterDelayLevel, SetCenterDelay};

constexpr int kTwoSectionPicture = 360;
constexpr int kOneSectionPicture = 349;

const std::array kDelayInstances = {
    DelayInstance{2215, "主输出音乐延时调整", "Main Music Delay", "主输出音乐延时调整", "Main Music Delay",
                  kTwoSectionPicture, kTwoSectionPicture, &kMainLeft, &kMainRight, &kMainRight, false},
    DelayInstance{2216, "中置音乐延时调整", "Center Music Delay", "中置音乐延时调整", "Center Music Delay",
                  kOneSectionPicture, kOneSectionPicture, &kCenter, nullptr, nullptr, true},
    // Unless routed to the rear, the hidden bottom section writes the sub as well.
    DelayInstance{2217, "超低音乐延时调整", "Sub Music Delay", "后置音乐延时调整", "Rear Music Delay",
                  kOneSectionPicture, kTwoSectionPicture, &kSub, &kSub, &kCenter, true},
    // Main right alone: its button is never shown.
    DelayInstance{2231, "主输出音乐延时调整", "Main Music Delay", "主输出音乐延时调整", "Main Music Delay",
                  kTwoSectionPicture, kTwoSectionPicture, &kMainRight, nullptr, nullptr, false},
};

template <typename Table>
auto Find(const Table& table, int buttonId) -> decltype(&table[0]) {
    for (const auto& instance : table) {
        if (instance.buttonId == buttonId) return &instance;
    }
    return nullptr;
}

}  // namespace

const LevelInstance* FindLevelInstance(int buttonId) { return Find(kLevelInstances, buttonId); }
const MixInstance* FindMixInstance(int buttonId) { return Find(kMixInstances, buttonId); }
const DelayInstance* FindDelayInstance(int buttonId) { return Find(kDelayInstances, buttonId); }

}  // namespace sonoria
