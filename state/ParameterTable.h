// The one place that knows every named parameter: where it lives in the
// image and how its two bytes encode it. Senders, files, the command-line
// tool and the windows look parameters up here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "state/ScalingRules.h"

namespace sonoria {

enum class Encoding : std::uint8_t {
    S7,      // first byte 0..127; a sender writes second byte 255 for 127, else 0
    S7Star,  // as S7 but 254 for 127 (echo time only)
    W15,     // 15-bit value: first byte bits 8..14, second byte bits 0..7
    B2,      // first byte 0, value in the second byte
    MTR,     // meter level in the second byte, written only by report 8
    RAW,     // carried as reported; no window edits it
};

std::string_view EncodingName(Encoding encoding);

struct ParamAddress {
    std::uint8_t block = 0;
    std::uint8_t index = 0;
    friend constexpr bool operator==(ParamAddress, ParamAddress) = default;
};

// The raw values a parameter may take: what its control in the windows can
// set, or what its encoding can carry where no narrower rule applies.
struct ParamRange {
    int min = 0;
    int max = 0;
    constexpr bool Contains(long value) const { return value >= min && value <= max; }
    friend constexpr bool operator==(ParamRange, ParamRange) = default;
};

struct ParamInfo {
    std::string_view name;
    ParamAddress address;
    // The second address a sender writes with the same value: the right-channel
    // twin of a music parameter (index + 16) or the block-6 twin of a main
    // output parameter shared by both sides.
    std::optional<ParamAddress> twin;
    Encoding encoding;
    // How a window shows the raw value, and how a dragged unit becomes one
    // (state/ValueScaling.h); None where no window does.
    TextRule text = TextRule::None;
    UnitRule unit = UnitRule::None;
    // The raw values a user may set.
    ParamRange range;
};

// Every named parameter, in block and index order of `address`.
std::span<const ParamInfo> AllParams();

// Case-sensitive lookup by name; null when unknown.
const ParamInfo* FindParam(std::string_view name);

// The parameter stored at (block, index), whether as its address or as its
// twin; null for an address that has no name.
const ParamInfo* ParamAt(int block, int index);

// Reads the value a parameter's bytes carry under its encoding: the first
// byte for S7, the second for B2 and MTR, (first << 8) | second for W15 and RAW.
int DecodeValue(Encoding encoding, std::uint8_t first, std::uint8_t second);

}  // namespace sonoria
