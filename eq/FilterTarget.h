// What a filter file asks for: the magnitude of its filters as their tools
// define them (the well-known audio-EQ biquads at 48 kHz), summed in decibels
// over the graph's response columns. This is the curve an import aims at; the
// graph's own band math differs from it (see EqResponse.h).
#pragma once

#include <array>
#include <span>

#include "eq/EqBand.h"
#include "eq/FilterFile.h"

namespace sonoria {

inline constexpr double kFilterSampleRate = 48000.0;

// Defaults where a file leaves a value out: Q of the pass filters, the
// corner shelves and the notch, and the slope of a plain LS or HS shelf.
inline constexpr double kDefaultPassQ = 0.7071067811865476;
inline constexpr double kDefaultNotchQ = 30.0;
inline constexpr double kDefaultShelfSlope = 0.9;

// One filter's magnitude in dB at `hz`.
double FileFilterDb(const FileFilter& filter, double hz);

// The sum of the filters' magnitudes at each column's frequency.
std::array<float, kEqColumns> FilterFileTarget(std::span<const FileFilter> filters);

}  // namespace sonoria
