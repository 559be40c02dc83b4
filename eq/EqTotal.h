// The combined response of an EQ graph: the sum of the responses of the
// bands that take part, and which bands those are in each panel layout.
#pragma once

#include <array>
#include <span>

#include "eq/EqBand.h"

namespace sonoria {

// A band takes part in the total curve when it is not `Off`, its frequency
// lies in 20..20000 Hz, and it is not a low-pass above 15200 Hz (an output
// low-pass that is switched off) in the layouts that show the output filters
// (5 to 10).
bool TakesPartInTotal(const EqBand& band, int layout);

// The selected band's own response is shaded when the band is not `Off`, its
// frequency is at most 19200 Hz, and it is not a low-pass above 15200 Hz in
// the output-filter layouts 9 and 10.
bool ShowsSelectedArea(const EqBand& band, int layout);

// Column by column, the sum of the responses of the bands in use (the span)
// that take part in the total curve, added in index order.
std::array<float, kEqColumns> TotalResponse(std::span<const EqBand> bands, int layout);

}  // namespace sonoria
