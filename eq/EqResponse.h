// The magnitude response of one EQ band as the graph draws it. Every band is
// designed as a biquad centred at a quarter of the sampling rate and sampled
// at 513 angles around that centre; the samples are then laid onto the
// logarithmic display axis centred on the band's own frequency, so the shape
// stays the same at every frequency and only its position moves.
#pragma once

#include <array>

#include "eq/EqBand.h"

namespace sonoria {

// Samples of a band's shape; sample 256 sits on the band's own frequency.
inline constexpr int kEqSamples = 513;
using EqSamples = std::array<float, kEqSamples>;

// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2), each coefficient
// computed in double and kept in single precision.
struct EqCoefficients {
    float a0 = 1.0f;
    float a1 = 0.0f;
    float a2 = 0.0f;
    float b0 = 1.0f;
    float b1 = 0.0f;
    float b2 = 0.0f;
};

// One section of `type` at w0 = pi/2. The peak's Q is widened by 2.8 before
// use; the numerators of the pass filters and shelves carry the gain factor
// 10^(gain/20), which the sampling takes off again so that their drawn shape
// does not move with the gain. Shelves take `q` as a slope parameter limited
// to 0.4..2. `Off` gives the flat section 1/1.
EqCoefficients ComputeCoefficients(EqBandType type, float gain, float q);

// |H(e^jw)| in decibels at the angle `w` (radians, 0..pi), in double.
double MagnitudeDb(const EqCoefficients& coefficients, double w);

// The 513 samples of a band's shape. Pass filters and shelves are sampled on
// a grid that is stretched around the centre, and the pass filters' stop-band
// tails continue as straight lines. A high-pass below 19.7 Hz is off: all
// samples 0. `Off` gives all samples 0 as well.
void ComputeBandSamples(EqBandType type, float frequency, float gain, float q, EqSamples& samples);

// Lays the samples onto the columns, sample 256 on `centreColumn`; columns
// beyond either end of the shape take its first or last placed sample
// (samples 0 and 511; sample 512 is never placed).
void PlaceBandSamples(const EqSamples& samples, int centreColumn, std::array<float, kEqColumns>& response);

// Fills `band.response` from its type, frequency, gain and Q. A band that
// describes no filter keeps its previous response: type `Off`, a frequency
// at or below 0, a value that is not finite, or a Q at or below 0 for a peak
// or a pass filter.
void ComputeBandResponse(EqBand& band);

}  // namespace sonoria
