// The machine-wide settings record (power-on volumes, ceilings, key locks)
// as the settings window edits and applies it, and the factory reset.
#pragma once

namespace sonoria {

// Bits of KeyLockBits. The program itself honours the volume and mode locks;
// the others matter to the device only.
inline constexpr int kLockMicVolumeBit = 0;
inline constexpr int kLockMusicVolumeBit = 1;
inline constexpr int kLockMicMenuBit = 2;
inline constexpr int kLockMusicMenuBit = 3;
inline constexpr int kLockLoadModeBit = 4;  // also bars recalling a default mode
inline constexpr int kLockSaveModeBit = 5;
inline constexpr int kLockRemoteBit = 6;
inline constexpr int kLockEffectVolumeBit = 7;
// The power-on bytes: "not set".
inline constexpr int kPowerOnVolumeUnset = 255;
// The highest values the settings take: power-on volumes and the microphone
// and music ceilings, then the centre and sub ceilings.
inline constexpr int kMachineVolumeTop = 127;
inline constexpr int kMachineOutputVolumeTop = 49;

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
