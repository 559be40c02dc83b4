// Sequences that put an EQ section back to its factory curve, and the
// re-reads of the effect sections after the device changed program.
#pragma once

namespace sonoria {

void ResetMicEq();
void ResetMusicEq();
void ResetMainMicEq();
void ResetMainMusicEq();
void ResetSubEqA();
void ResetSubEqB();
void ResetCenterEqA();
void ResetCenterEqB();
// Sub: full range while routed to the rear, else its crossover (low-pass 533, high-pass 88).
void ResetSubFilters();
void ResetCenterFilters();
// The effect unit's small EQs: high-pass off, high shelf flat at its top
// frequency; the echo's low shelf (only while the device has it) flat at 40 Hz.
void ResetReverbEq();
void ResetEchoEq();

// Ask the device for the values it chose for a new reverb or echo program.
void RereadReverb();
void RereadEcho();

}  // namespace sonoria
