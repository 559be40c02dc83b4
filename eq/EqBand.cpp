#include "eq/EqBand.h"

#include <cmath>

namespace sonoria {

float LimitValue(float value, float lo, float hi) {
    // A NaN limit compares false below and so does not limit.
    if (std::isnan(value)) {
        if (!std::isnan(lo)) return lo;
        if (!std::isnan(hi)) return hi;
        return 0.0f;
    }
    if (value < lo) value = lo;
    if (value > hi) value = hi;
    return value;
}

void LimitBand(EqBand& band) {
    band.gain = LimitValue(band.gain, band.minGain, band.maxGain);
    band.q = LimitValue(band.q, band.minQ, band.maxQ);
    band.frequency = LimitValue(band.frequency, band.minFrequency, band.maxFrequency);
}

}  // namespace sonoria
