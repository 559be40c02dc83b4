// The last command the program sends before it closes the link.
#pragma once

namespace sonoria {

// Leaves the upgrade mode (command 3 with 0, 0, 1) when the device is in it,
// else says bye (command 138). Returns what SendCommand returns: 61, or 0
// when nothing was sent. The caller closes the link afterwards.
int SayGoodbye();

}  // namespace sonoria
