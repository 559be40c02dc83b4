#include "link/Goodbye.h"

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/LinkState.h"

namespace sonoria {

int SayGoodbye() {
    // Command 3 with 0, 0, 1 takes a device out of its upgrade mode.
    if (g_bUpgradeMode.load() == 1) return SendCommand(CMD_SELECT_MODE, {0, 0, 1, kEndOfArguments});
    return SendCommand(CMD_BYE);
}

}  // namespace sonoria
