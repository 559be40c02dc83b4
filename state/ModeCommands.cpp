#include "state/ModeCommands.h"

#include <algorithm>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "state/DeviceState.h"
#include "state/SyncWorkers.h"

namespace sonoria {

int ClampMode(int mode) { return std::clamp(mode, 0, static_cast<int>(kModeCount) - 1); }

namespace {

int MakeCurrent(int mode) {
    const int clamped = ClampMode(mode);
    g_Device.currentMode.store(clamped, std::memory_order_relaxed);
    return clamped;
}

}  // namespace

void LoadMode(int mode) {
    SendCommand(CMD_LOAD_MODE, {MakeCurrent(mode), kEndOfArguments});
    StartSynchronizeData();
}

bool SaveMode(int mode) {
    // A save that never reached the device leaves the changes marked unsaved.
    if (SendCommand(CMD_SAVE_MODE, {MakeCurrent(mode), kEndOfArguments}) == 0) return false;
    g_Device.modified.store(0, std::memory_order_relaxed);
    return true;
}

void SelectAndSaveMode(int mode) {
    const int clamped = MakeCurrent(mode);
    SendCommand(CMD_SELECT_MODE, {clamped, kEndOfArguments});
    SendCommand(CMD_SAVE_MODE, {clamped, kEndOfArguments});
}

void RecallDefaultMode(int mode) {
    SendCommand(CMD_DEFAULT_MODE, {MakeCurrent(mode), kEndOfArguments});
    StartSynchronizeData();
}

}  // namespace sonoria
