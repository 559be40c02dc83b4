// The machine-wide settings record (power-on volumes, ceilings, key locks)
// as the settings window edits and applies it, and the factory reset.
#pragma once

namespace sonoria {

// Bits of KeyLockBits that the program itself honours.
inline constexpr int kLockMicVolumeBit = 0;
inline constexpr int kLockMusicVolumeBit = 1;
inline constexpr int kLockLoadModeBit = 4;
inline constexpr int kLockSaveModeBit = 5;
// KeyLockBits and the power-on bytes: "not set".
inline constexpr int kPowerOnVolumeUnset = 255;

// True while the device copy's locks are in force and that lock bit is set.
bool DeviceKeyLocked(int bit);

// Starts an edit from what the device has.
void CopyDeviceSettingsToEdit();

// Sends the edit copy, all 14 bytes, as command 145. Only a report that was
// written makes it the device copy; false (device copy unchanged) when
// nothing was sent.
bool ApplyMachineSettings();

// The factory reset (command 104 with its key); false when it was not sent.
bool ResetMachine();

}  // namespace sonoria
