// The two procedures that move the whole device state: the read-all fills the
// image from the device, the write-all sends the image back. Neither waits for
// individual answers: the link lets each command go only after the previous
// one was answered, so the answer to one command is stored before the next
// goes out.
#pragma once

#include <array>
#include <vector>

#include "state/DeviceState.h"
#include "state/ParameterTable.h"

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
// Whether the write-all sends the volumes: when the device keeps them with each mode.
bool WriteAllSendsVolumes();
// The parameters WriteAllParameters sends one value each from the image as
// it is now, in its order: the echo's further taps only for the multi-tap
// echo, the sub and centre volumes only with the volumes.
std::vector<ParamAddress> WriteAllAddresses(bool withVolumes);
// With the volumes it also brings these back in steps, each ending at the
// value the image holds.
std::array<ParamAddress, 3> RampedVolumes();

// The value the last write-all sent to each parameter, in its order (taken
// from the image as it began).
struct WrittenParameter {
    int block = 0;
    int index = 0;
    ParamBytes bytes;
};
std::vector<WrittenParameter> LastWriteAllParameters();

// How many of them the image, read back since, does not hold: the
// parameters the device did not take.
int CountParametersNotTaken(const std::vector<WrittenParameter>& written);

// True while the device is open and its link has not been lost.
bool LinkSound();

}  // namespace sonoria
