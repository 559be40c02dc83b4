// One EQ band as the graph panel holds it: its shape, its values in hertz,
// decibels and Q, the limits the user may move them in, and its response
// over the display's frequency columns.
#pragma once

#include <array>
#include <cstdint>

namespace sonoria {

// Display columns of a band's response, across the whole frequency axis.
inline constexpr int kEqColumns = 512;

enum class EqBandType : std::int32_t {
    Off = 0,  // not drawn, contributes nothing
    Peak = 1,
    LowPass = 2,
    HighPass = 3,
    LowShelf = 4,
    HighShelf = 5,
};

struct EqBand {
    // Marker position relative to the plot origin, written when the panel draws it.
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Position of the band in its panel.
    std::int32_t index = 0;
    EqBandType type = EqBandType::Peak;
    float frequency = 100.0f;  // Hz
    float gain = 0.0f;         // dB
    float q = 1.414f;          // for shelves: the slope parameter
    // A reference copy of another EQ: shown, never picked or edited.
    bool locked = false;
    // Decibels per display column (ComputeBandResponse).
    std::array<float, kEqColumns> response{};
    float minFrequency = 20.0f;
    float maxFrequency = 20000.0f;
    float minGain = -15.0f;
    float maxGain = 15.0f;
    float minQ = 1.0f;
    float maxQ = 20.0f;
};

// `value` limited to lo..hi. A NaN value becomes lo (or hi when lo is NaN too);
// a NaN limit does not limit; with lo above hi the result is hi. Only when the
// value and both limits are NaN is the result 0, so NaN never comes out.
float LimitValue(float value, float lo, float hi);

// Limits the band's gain, Q and frequency to its own limits.
void LimitBand(EqBand& band);

}  // namespace sonoria
