// The two procedures that move the whole device state: the read-all fills the
// image from the device, the write-all sends the image back. Neither waits for
// individual answers: the link lets each command go only after the previous
// one was answered, so the answer to one command is stored before the next
// goes out.
#pragma once

namespace sonoria {

// Identity, records and every synchronised parameter; stops after the two
// identity commands for a model the program does not control. Returns false
// when the image cannot be trusted: the device never reported its name, the
// link was lost on the way, or the workers were stopped.
bool ReadAll();
void ReadAllParameters();
void ReadWirelessMics();

// Automatic subwoofer, then every parameter; volumes only when the device
// keeps volumes with each mode. Returns false when it could not run to its end
// on a sound link; the stored volumes are restored then where the link allows.
bool WriteAll();
bool WriteAllParameters(bool withVolumes);

// True while the device is open and its link has not been lost.
bool LinkSound();

}  // namespace sonoria
