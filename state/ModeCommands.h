// The four commands that work on the device's stored modes.
#pragma once

namespace sonoria {

// Mode numbers are clamped into 0..3 and become the current mode.
void LoadMode(int mode);            // command 5, then a read-all
bool SaveMode(int mode);            // command 4; false when it could not be written
void SelectAndSaveMode(int mode);   // command 3, then command 4
void RecallDefaultMode(int mode);   // command 6, then a read-all

int ClampMode(int mode);

}  // namespace sonoria
