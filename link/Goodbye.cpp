#include "link/Goodbye.h"

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/LinkState.h"

namespace sonoria {
namespace {

// Command 3's arguments that take a device out of its upgrade mode.
constexpr int kLeaveUpgradeMode[] = {0, 0, 1};

}  // namespace

int SayGoodbye() {
    if (g_bUpgradeMode.load() == 1) {
        return SendCommand(CMD_SELECT_MODE,
                           {kLeaveUpgradeMode[0], kLeaveUpgradeMode[1], kLeaveUpgradeMode[2], kEndOfArguments});
    }
    return SendCommand(CMD_BYE);
}

}  // namespace sonoria
