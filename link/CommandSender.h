// Framing of commands: the one way the program says something to the device.
#pragma once

#include <initializer_list>

#include "link/Report.h"

namespace sonoria {

// Ends an argument list; any other value, 255 included, is an ordinary argument.
inline constexpr int kEndOfArguments = -1;
// Code and arguments together fill at most bytes 1..60.
inline constexpr int kMaxCommandArguments = 59;

// Builds the output report of a command: byte 0 the report id, byte 1 the low
// eight bits of `code`, then the low eight bits of each argument up to the
// terminator (or the end of the list), at most 59 of them; the rest zero.
Report BuildCommandReport(int code, std::initializer_list<int> arguments);

// Frames and writes a command, e.g. SendCommand(CMD_SET_PARAM, {1, 24, 0, 0, -1}).
// Returns what WriteUsbData returns: 61, or 0 when nothing was sent.
int SendCommand(int code, std::initializer_list<int> arguments = {kEndOfArguments});

}  // namespace sonoria
