#include "state/AutoSubSender.h"

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {
constexpr int kStoreRecord = 1;  // the command's first argument: store, not query
}  // namespace

bool SetAutoSub(int restoreTime, int ratio) {
    const auto time = static_cast<std::uint8_t>(restoreTime & 0xFF);
    const auto share = static_cast<std::uint8_t>(ratio & 0xFF);
    g_Device.autoSub[0].store(time, std::memory_order_relaxed);
    g_Device.autoSub[1].store(share, std::memory_order_relaxed);
    return SendCommand(CMD_AUTOSUB, {kStoreRecord, time, share, kEndOfArguments}) > 0;
}

}  // namespace sonoria
