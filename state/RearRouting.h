// Moving the centre and sub outputs to the rear left/right outputs and back.
#pragma once

namespace sonoria {

// Switches routing (1 = to the rear outputs) and reconfigures both outputs:
// levels, delays, EQ and filters are re-sent for the copy now in use, with the
// volumes silenced first and brought back in a ramp. Blocks for up to about
// two seconds while it ramps.
void SetRearRouting(int on);

// The first switch to the rear in a program run copies the main outputs' EQ
// to both rear outputs; this starts over as if the program had just started.
void ResetRearRoutingFirstTime();

}  // namespace sonoria
