// The two procedures that move the whole device state: the read-all fills the
// image from the device, the write-all sends the image back. Neither waits for
// individual answers: the link lets each command go only after the previous
// one was answered, so the answer to one command is stored before the next
// goes out.
#pragma once

namespace sonoria {

// Identity, records and every synchronised parameter; stops after the two
// identity commands for a model the program does not control.
void ReadAll();
void ReadAllParameters();
void ReadWirelessMics();

// Automatic subwoofer, then every parameter; volumes only when the device
// keeps volumes with each mode.
void WriteAll();
void WriteAllParameters(bool withVolumes);

}  // namespace sonoria
