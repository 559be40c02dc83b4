#include "state/MachineSettings.h"

#include <array>
#include <cstddef>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/LinkState.h"
#include "state/DeviceState.h"
#include "state/EditHistory.h"

namespace sonoria {

bool DeviceKeyLocked(int bit) {
    if (bit < 0 || bit > 7) return false;
    return g_Device.machineDevice[KeyLockEnable].load() != 0 &&
           (g_Device.machineDevice[KeyLockBits].load() & (1u << bit)) != 0;
}

void CopyDeviceSettingsToEdit() {
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) g_Device.machineEdit[i].store(g_Device.machineDevice[i].load());
}

namespace {

void ApplyMachineRecord(const std::array<int, kMachineRecordSize>& record) {
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) g_Device.machineEdit[i].store(static_cast<std::uint8_t>(record[i]));
    ApplyMachineSettings();
}

}  // namespace

bool ApplyMachineSettings() {
    if (g_bDeviceOpen.load() != 1) return false;
    const auto& e = g_Device.machineEdit;
    static_assert(kMachineRecordSize == 14);
    const int written = SendCommand(CMD_SET_MACHINE, {e[0].load(), e[1].load(), e[2].load(), e[3].load(), e[4].load(),
                                                      e[5].load(), e[6].load(), e[7].load(), e[8].load(), e[9].load(),
                                                      e[10].load(), e[11].load(), e[12].load(), e[13].load(),
                                                      kEndOfArguments});
    if (written == 0) return false;
    std::array<int, kMachineRecordSize> before{};
    std::array<int, kMachineRecordSize> after{};
    // What was sent is what the device has now; the main window's locks and ceilings follow it.
    for (std::size_t i = 0; i < kMachineRecordSize; ++i) {
        before[i] = static_cast<int>(g_Device.machineDevice[i].load());
        after[i] = static_cast<int>(e[i].load());
        g_Device.machineDevice[i].store(e[i].load());
    }
    // One APPLY is one step: undone by applying the record the device had.
    RecordEditAction([before] { ApplyMachineRecord(before); }, [after] { ApplyMachineRecord(after); });
    return true;
}

bool ResetMachine() {
    if (g_bDeviceOpen.load() != 1) return false;
    return SendCommand(CMD_RESET_MACHINE, {kResetMachineKey, kEndOfArguments}) != 0;
}

}  // namespace sonoria
