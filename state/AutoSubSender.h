// The automatic subwoofer record: restore time (tenths of a second, 0 = off)
// and sub ratio (percent). It is not a block parameter; it travels whole with
// its own command.
#pragma once

namespace sonoria {

// Stores both bytes in the image, then sends them with CMD_AUTOSUB.
// Returns true when the command was written.
bool SetAutoSub(int restoreTime, int ratio);

}  // namespace sonoria
