// The views of the EQ graph: which bands each of its thirteen layouts shows,
// of which shape, where they start, the limits the user may move them in, and
// which of them are locked reference copies of another EQ.
#pragma once

#include <span>

#include "eq/EqBand.h"

namespace sonoria {

// Bands one graph can hold, and the layouts it knows (0 to 12).
inline constexpr int kEqMaxBands = 17;
inline constexpr int kEqLayoutCount = 13;

// The layouts by the view that uses them.
enum EqLayout : int {
    kEqLayoutMic = 0,             // mic EQ
    kEqLayoutReverb = 1,          // effect window, reverb EQ
    kEqLayoutEcho = 2,            // effect window, echo EQ (two points)
    kEqLayoutMainMic = 3,         // main output, mic path
    kEqLayoutMusic = 4,           // music EQ
    kEqLayoutCentreMic = 5,       // centre output, mic path
    kEqLayoutCentreMusic = 6,     // centre output, music path
    kEqLayoutSubMic = 7,          // sub output, mic path
    kEqLayoutSubMusic = 8,        // sub output, music path
    kEqLayoutCentreFilters = 9,   // centre output's own filters
    kEqLayoutSubFilters = 10,     // sub output's own filters
    kEqLayoutMainMusic = 11,      // main output, music path
    kEqLayoutEchoThreePoint = 12, // effect window, echo EQ (three points)
};

// Number of bands in use in `layout`, 0 for a number that is no layout.
int EqLayoutBandCount(int layout);

// Writes the bands of `layout` into the first records of `bands`: type,
// starting frequency, limits, locked flag and index; a fixed Q where the
// shape has one, and gain 0 for pass filters (whose gain nobody edits, so
// their markers sit on the 0 dB line). Peak gains and Qs and shelf gains keep
// what they held: the owner fills them from the device next. Every band in
// use gets its response computed. Returns the band count; an unknown layout
// changes nothing and returns 0.
int ApplyEqLayout(int layout, std::span<EqBand, kEqMaxBands> bands);

}  // namespace sonoria
