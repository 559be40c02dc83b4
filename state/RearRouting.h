// Moving the centre and sub outputs to the rear left/right outputs and back.
#pragma once

namespace sonoria {

// Switches routing (1 = to the rear outputs) and reconfigures both outputs:
// levels, delays, EQ and filters are re-sent for the copy now in use, with the
// volumes silenced first and brought back in a ramp. Takes about forty
// commands and up to about two seconds of ramp, so the program runs it on the
// worker pool (StartRearRouting). Returns false when it stopped early because
// the workers were being stopped.
bool SetRearRouting(int on);

// The first switch to the rear in a program run copies the main outputs' EQ
// to both rear outputs; this starts over as if the program had just started.
void ResetRearRoutingFirstTime();

}  // namespace sonoria
