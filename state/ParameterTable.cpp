#include "state/ParameterTable.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "link/ProtocolLimits.h"

namespace sonoria {
namespace {

constexpr ParamInfo Row(std::string_view name, int block, int index, Encoding encoding) {
    return {name, {static_cast<std::uint8_t>(block), static_cast<std::uint8_t>(index)}, std::nullopt,
            encoding};
}

// Music channel: one name for the left value at `index` and the right at index + 16.
constexpr ParamInfo Stereo(std::string_view name, int index, Encoding encoding) {
    ParamInfo info = Row(name, 4, index, encoding);
    info.twin = ParamAddress{4, static_cast<std::uint8_t>(index + 16)};
    return info;
}

// Main outputs: one name for block 5 and the same index of block 6.
constexpr ParamInfo BothMains(std::string_view name, int index, Encoding encoding) {
    ParamInfo info = Row(name, 5, index, encoding);
    info.twin = ParamAddress{6, static_cast<std::uint8_t>(index)};
    return info;
}

using enum Encoding;

constexpr std::array kParams = {
    // Block 1: microphone channel.
    Row("MicMeter", 1, 0, MTR),
    Row("MicSpare1", 1, 1, RAW),
    Row("MicGateThreshold", 1, 2, S7),
    Row("MicCompEnable", 1, 3, B2),
    Row("MicCompAttack", 1, 4, S7),
    Row("MicCompRelease", 1, 5, S7),
    Row("MicCompThreshold", 1, 6, S7),
    Row("MicCompRatio", 1, 7, S7),
    Row("MicEqEnable", 1, 8, B2),
    Row("MicLowShelfGain", 1, 9, W15),
    Row("MicLowShelfFreq", 1, 10, W15),
    Row("MicHighShelfGain", 1, 11, W15),
    Row("MicHighShelfFreq", 1, 12, W15),
    Row("MicSpare13", 1, 13, RAW),
    Row("MicPeq1Gain", 1, 14, W15),
    Row("MicPeq1Q", 1, 15, W15),
    Row("MicPeq1Freq", 1, 16, W15),
    Row("MicPeq2Gain", 1, 17, W15),
    Row("MicPeq2Q", 1, 18, W15),
    Row("MicPeq2Freq", 1, 19, W15),
    Row("MicLowPassFreq", 1, 20, W15),
    Row("MicHighPassFreq", 1, 21, S7),
    Row("MicShiftEnable", 1, 22, B2),
    Row("MicShiftAmount", 1, 23, S7),
    Row("MicVolume", 1, 24, S7),
    Row("MicSpare25", 1, 25, RAW),

    // Block 2: microphone bands 3 and 4, echo, multi-tap, effect and direct volumes.
    Row("Block2Spare0", 2, 0, RAW),
    Row("MicPeq3Gain", 2, 1, W15),
    Row("MicPeq3Q", 2, 2, W15),
    Row("MicPeq3Freq", 2, 3, W15),
    Row("MicPeq4Gain", 2, 4, W15),
    Row("MicPeq4Q", 2, 5, W15),
    Row("MicPeq4Freq", 2, 6, W15),
    Row("EchoType", 2, 7, B2),
    Row("EchoHighPassFreq", 2, 8, W15),
    Row("EchoShelfGain", 2, 9, W15),
    Row("EchoShelfFreq", 2, 10, W15),
    Row("EchoInputGain", 2, 11, S7),
    Row("EchoOutputGain", 2, 12, S7),
    Row("EchoTime", 2, 13, S7Star),
    Row("EchoFeedback", 2, 14, S7),
    Row("EchoHighDamp", 2, 15, S7),
    Row("TapMainLevel", 2, 16, S7),
    Row("Tap1Level", 2, 17, S7),
    Row("Tap2Level", 2, 18, S7),
    Row("Tap3Level", 2, 19, S7),
    Row("Tap1Delay", 2, 20, S7),
    Row("Tap2Delay", 2, 21, S7),
    Row("Tap3Delay", 2, 22, S7),
    Row("ReverbInputGain", 2, 23, S7),
    Row("EffectVolume", 2, 24, S7),
    Row("MicDirectVolume", 2, 25, S7),
    Row("EchoMidGain", 2, 26, W15),
    Row("EchoMidFreq", 2, 27, W15),

    // Block 3: reverb.
    Row("ReverbPreset", 3, 0, B2),
    Row("ReverbLevel", 3, 1, S7),
    Row("ReverbDirect", 3, 2, S7),
    Row("EchoToReverb", 3, 3, S7),
    Row("ReverbShelfGain", 3, 4, W15),
    Row("ReverbShelfFreq", 3, 5, W15),
    Row("ReverbHighPassFreq", 3, 6, W15),
    Row("ReverbTime", 3, 7, S7),
    Row("ReverbFeedback", 3, 8, S7),
    Row("ReverbHighDamp", 3, 9, S7),
    Row("ReverbGate", 3, 10, S7),
    Row("ReverbPreDelay", 3, 11, S7),

    // Block 4: music channel, left at 0..15 with the right twin at +16; the
    // meters are the one pair that keeps a name per side.
    Row("MusicMeterL", 4, 0, MTR),
    Stereo("MusicGateThreshold", 1, S7),
    Stereo("MusicVolume", 2, S7),
    Stereo("MusicSpare3", 3, RAW),
    Stereo("MusicLowShelfGain", 4, W15),
    Stereo("MusicLowShelfFreq", 5, W15),
    Stereo("MusicHighShelfGain", 6, W15),
    Stereo("MusicHighShelfFreq", 7, W15),
    Stereo("MusicEqEnable", 8, B2),
    Stereo("MusicPeq1Gain", 9, W15),
    Stereo("MusicPeq1Q", 10, W15),
    Stereo("MusicPeq1Freq", 11, W15),
    Stereo("MusicPeq2Gain", 12, W15),
    Stereo("MusicPeq2Q", 13, W15),
    Stereo("MusicPeq2Freq", 14, W15),
    Stereo("MusicHighPassFreq", 15, W15),
    Row("MusicMeterR", 4, 16, MTR),
    Row("RearRouteA", 4, 32, S7),
    Row("RearRouteB", 4, 33, S7),

    // Block 5: main output left; 0..20 shared with block 6, 21..24 left only.
    BothMains("PitchEnable", 0, B2),
    BothMains("PitchShift", 1, S7),
    BothMains("MainSpare2", 2, RAW),
    BothMains("MainSpare3", 3, RAW),
    BothMains("MainEqEnable", 4, B2),
    BothMains("MainMicPeq1Gain", 5, W15),
    BothMains("MainMicPeq1Q", 6, W15),
    BothMains("MainMicPeq1Freq", 7, W15),
    BothMains("MainMicPeq2Gain", 8, W15),
    BothMains("MainMicPeq2Q", 9, W15),
    BothMains("MainMicPeq2Freq", 10, W15),
    BothMains("MainSpare11", 11, RAW),
    BothMains("MainMusicPeq1Gain", 12, W15),
    BothMains("MainMusicPeq1Q", 13, W15),
    BothMains("MainMusicPeq1Freq", 14, W15),
    BothMains("MainMusicPeq2Gain", 15, W15),
    BothMains("MainMusicPeq2Q", 16, W15),
    BothMains("MainMusicPeq2Freq", 17, W15),
    BothMains("MainMicLevel", 18, S7),
    BothMains("MainEffectLevel", 19, S7),
    BothMains("MainMusicLevel", 20, S7),
    Row("MainLDirectLevel", 5, 21, S7),
    Row("MainLDelayLevel", 5, 22, S7),
    Row("MainLOutLevel", 5, 23, S7),
    Row("MainLDelay", 5, 24, W15),

    // Block 6: main output right, only the per-side values.
    Row("MainRDirectLevel", 6, 21, S7),
    Row("MainRDelayLevel", 6, 22, S7),
    Row("MainROutLevel", 6, 23, S7),
    Row("MainRDelay", 6, 24, W15),

    // Block 7: subwoofer output.
    Row("SubEqAEnable", 7, 0, B2),
    Row("SubPeqA1Gain", 7, 1, W15),
    Row("SubPeqA1Q", 7, 2, W15),
    Row("SubPeqA1Freq", 7, 3, W15),
    Row("SubPeqA2Gain", 7, 4, W15),
    Row("SubPeqA2Q", 7, 5, W15),
    Row("SubPeqA2Freq", 7, 6, W15),
    Row("SubEqBEnable", 7, 7, B2),
    Row("SubPeqB1Gain", 7, 8, W15),
    Row("SubPeqB1Q", 7, 9, W15),
    Row("SubPeqB1Freq", 7, 10, W15),
    Row("SubPeqB2Gain", 7, 11, W15),
    Row("SubPeqB2Q", 7, 12, W15),
    Row("SubPeqB2Freq", 7, 13, W15),
    Row("SubEffectLevel", 7, 14, S7),
    Row("SubMicLevel", 7, 15, S7),
    Row("SubMusicLevel", 7, 16, S7),
    Row("SubDirectLevel", 7, 17, S7),
    Row("SubDelayLevel", 7, 18, S7),
    Row("SubSpare19", 7, 19, RAW),
    Row("SubLowPassFreq", 7, 20, W15),
    Row("SubHighPassFreq", 7, 21, W15),
    Row("SubVolume", 7, 22, B2),
    Row("SubOutLevel", 7, 23, S7),
    Row("SubDelay", 7, 24, W15),
    Row("SubPhase", 7, 25, B2),

    // Block 8: centre output, same layout as block 7.
    Row("CenterEqAEnable", 8, 0, B2),
    Row("CenterPeqA1Gain", 8, 1, W15),
    Row("CenterPeqA1Q", 8, 2, W15),
    Row("CenterPeqA1Freq", 8, 3, W15),
    Row("CenterPeqA2Gain", 8, 4, W15),
    Row("CenterPeqA2Q", 8, 5, W15),
    Row("CenterPeqA2Freq", 8, 6, W15),
    Row("CenterEqBEnable", 8, 7, B2),
    Row("CenterPeqB1Gain", 8, 8, W15),
    Row("CenterPeqB1Q", 8, 9, W15),
    Row("CenterPeqB1Freq", 8, 10, W15),
    Row("CenterPeqB2Gain", 8, 11, W15),
    Row("CenterPeqB2Q", 8, 12, W15),
    Row("CenterPeqB2Freq", 8, 13, W15),
    Row("CenterEffectLevel", 8, 14, S7),
    Row("CenterMicLevel", 8, 15, S7),
    Row("CenterMusicLevel", 8, 16, S7),
    Row("CenterDirectLevel", 8, 17, S7),
    Row("CenterDelayLevel", 8, 18, S7),
    Row("CenterSpare19", 8, 19, RAW),
    Row("CenterLowPassFreq", 8, 20, W15),
    Row("CenterHighPassFreq", 8, 21, W15),
    Row("CenterVolume", 8, 22, B2),
    Row("CenterOutLevel", 8, 23, S7),
    Row("CenterDelay", 8, 24, W15),
    Row("CenterPhase", 8, 25, B2),
};

constexpr std::size_t kCount = kParams.size();
constexpr std::int16_t kNoParam = -1;

constexpr bool AddressBefore(ParamAddress a, ParamAddress b) {
    return a.block != b.block ? a.block < b.block : a.index < b.index;
}

static_assert(std::ranges::is_sorted(kParams, AddressBefore, &ParamInfo::address),
              "rows must stay in block and index order");

// Table position of the entry at each (block, index), via its address or twin.
// Claiming a slot twice stops compilation (a throw is not a constant expression).
constexpr auto kSlotOwner = [] {
    std::array<std::array<std::int16_t, kMaxBlockSize>, kLastBlock + 1> grid{};
    for (auto& row : grid) row.fill(kNoParam);
    auto claim = [&grid](ParamAddress at, std::size_t owner) {
        if (!IsParamAddress(at.block, at.index)) throw "address outside its block";
        auto& slot = grid[at.block][at.index];
        if (slot != kNoParam) throw "two parameters at one address";
        slot = static_cast<std::int16_t>(owner);
    };
    for (std::size_t i = 0; i < kCount; ++i) {
        claim(kParams[i].address, i);
        if (kParams[i].twin) claim(*kParams[i].twin, i);
    }
    return grid;
}();

// Table positions ordered by name, for binary search; duplicate names stop compilation.
constexpr auto kByName = [] {
    std::array<std::int16_t, kCount> order{};
    for (std::size_t i = 0; i < kCount; ++i) order[i] = static_cast<std::int16_t>(i);
    std::ranges::sort(order, {}, [](std::int16_t i) { return kParams[i].name; });
    for (std::size_t i = 1; i < kCount; ++i) {
        if (kParams[order[i - 1]].name == kParams[order[i]].name) throw "duplicate parameter name";
    }
    return order;
}();

}  // namespace

std::string_view EncodingName(Encoding encoding) {
    switch (encoding) {
        case S7: return "S7";
        case S7Star: return "S7*";
        case W15: return "W15";
        case B2: return "B2";
        case MTR: return "MTR";
        case RAW: return "RAW";
    }
    return "?";
}

std::span<const ParamInfo> AllParams() { return kParams; }

const ParamInfo* FindParam(std::string_view name) {
    auto it = std::ranges::lower_bound(kByName, name, {}, [](std::int16_t i) { return kParams[i].name; });
    if (it == kByName.end() || kParams[*it].name != name) return nullptr;
    return &kParams[*it];
}

const ParamInfo* ParamAt(int block, int index) {
    if (!IsParamAddress(block, index)) return nullptr;
    const std::int16_t owner = kSlotOwner[block][index];
    return owner == kNoParam ? nullptr : &kParams[owner];
}

int DecodeValue(Encoding encoding, std::uint8_t first, std::uint8_t second) {
    switch (encoding) {
        case S7:
        case S7Star: return first;
        case B2:
        case MTR: return second;
        case W15:
        case RAW: break;
    }
    return (first << 8) | second;
}

}  // namespace sonoria
