// The EQ graph's two axes: frequency on a logarithmic axis of 3.4 decades from
// 10 Hz (about 10 Hz to 25119 Hz across the 512 response columns), and level
// from +15 dB at the top to -15 dB at the bottom.
#pragma once

#include "eq/EqBand.h"

namespace sonoria {

inline constexpr double kEqLowestHz = 10.0;  // left edge of the axis
inline constexpr double kEqDecades = 3.4;    // decades across the width
inline constexpr double kEqTopDb = 15.0;     // level at the top edge
inline constexpr double kEqSpanDb = 30.0;    // levels from top to bottom

// Relative position 0..1 of a frequency on the axis: (log10 f - 1) / 3.4,
// computed in double and kept in single precision, as the band placement uses it.
float FrequencyPosition(double hz);

// The frequency at a relative position: 10^(1 + 3.4 p).
double FrequencyAtPosition(double position);

// The frequency under a point `offset` pixels right of the plot's left edge,
// in a plot `width` pixels wide: 10 * 10^(offset / width * 3.4). Used by dragging.
double FrequencyAtOffset(double offset, double width);

// The pixel offset of a frequency from the plot's left edge: where a marker is drawn.
double FrequencyOffset(double hz, double width);

// The response column on which a band at `hz` is centred: 512 times its
// position, rounded half away from zero. Computed in double and limited to
// -512..1024 (a centre further out places the band's shape the same way);
// meant for frequencies above 0.
int CentreColumn(double hz);

// Fraction of the plot height from the top at which a level sits: (15 - dB) / 30.
double LevelFraction(double db);

// Pixel offset of a level from the plot's top, in a plot `height` pixels high.
double LevelRow(double db, double height);

// The level under a point `row` pixels below the plot's top: the inverse of LevelRow.
double LevelAtRow(double row, double height);

}  // namespace sonoria
