// The echo programs, by the raw value of the EchoType parameter (the echo
// window's list shows them in this order).
#pragma once

#include <cstdint>

namespace sonoria {

enum class EchoType : std::uint8_t {
    Off = 0,
    Mono = 1,
    Stereo = 2,
    Triplet = 3,
    MultiTap = 4,  // the only one that uses the three further taps
};

// The raw value the device stores for `type`.
constexpr int RawValue(EchoType type) { return static_cast<int>(type); }

// Raw values 0 .. kEchoTypeCount - 1 name an echo type.
inline constexpr int kEchoTypeCount = RawValue(EchoType::MultiTap) + 1;

}  // namespace sonoria
