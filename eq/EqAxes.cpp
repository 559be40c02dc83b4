#include "eq/EqAxes.h"

#include <cmath>

namespace sonoria {

float FrequencyPosition(double hz) {
    return static_cast<float>((std::log10(hz) - 1) / kEqDecades);
}

double FrequencyAtPosition(double position) { return std::pow(10.0, 1 + kEqDecades * position); }

double FrequencyAtOffset(double offset, double width) {
    return kEqLowestHz * std::pow(10.0, offset / width * kEqDecades);
}

double FrequencyOffset(double hz, double width) { return (std::log10(hz) - 1) * (width / kEqDecades); }

int CentreColumn(double hz) {
    // The product is taken from the single-precision position. Limited before
    // the conversion so that no frequency, however far off, overflows the int.
    const double scaled = kEqColumns * static_cast<double>(FrequencyPosition(hz));
    const double centre = scaled >= 0 ? std::trunc(scaled + 0.5) : std::trunc(scaled - 0.5);
    constexpr double kLow = -kEqColumns;
    constexpr double kHigh = 2.0 * kEqColumns;
    if (!(centre >= kLow)) return static_cast<int>(kLow);  // NaN too
    if (centre > kHigh) return static_cast<int>(kHigh);
    return static_cast<int>(centre);
}

double LevelFraction(double db) { return (kEqTopDb - db) / kEqSpanDb; }

double LevelRow(double db, double height) {
    return height * kEqTopDb / kEqSpanDb - height * db / kEqSpanDb;
}

double LevelAtRow(double row, double height) { return kEqTopDb - row / height * kEqSpanDb; }

}  // namespace sonoria
