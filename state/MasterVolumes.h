// What the device's machine settings allow the four master volumes: the
// front-panel key locks of the microphone and music volumes, and a ceiling
// for each. Read from the device copy of the record, as the main window does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "state/DeviceState.h"

namespace sonoria {

struct MasterVolume {
    std::string_view param;                // the parameter's name: MicVolume, MusicVolume, ...
    std::optional<std::uint8_t> lockBit;   // its bit of KeyLockBits; none for centre and sub
    std::string_view lockName;             // the lock's label in the machine settings
    MachineRecordByte ceiling;             // MaxMicVolume ...
    std::string_view ceilingName;
};

// The master volume that is this parameter; null for any other parameter.
const MasterVolume* FindMasterVolume(std::string_view paramName);

// True while the device's key locks are in force and this volume's lock is on.
bool MasterVolumeLocked(const MasterVolume& volume);

// The highest value the device allows this volume (its slider's end).
int MasterVolumeCeiling(const MasterVolume& volume);

}  // namespace sonoria
