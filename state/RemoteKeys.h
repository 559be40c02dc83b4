// Teaching the device the codes of an infrared remote control, one key at a
// time: the device listens for the key after the learn command and reports
// the code it heard on its own (report 96); the stop command ends listening.
// The whole remote-code block goes to the device with command 99.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace sonoria {

// Keys 1..15 of the remote-code block; byte 0 is the remote's own code.
inline constexpr int kRemoteKeyCount = 15;

// Command 96 with the key; false when the key is outside 1..15 (nothing is
// sent) or the command could not be written.
bool StartKeyLearning(int key);

// Command 97: the device stops listening. False when it could not be written.
bool StopKeyLearning();

// Sends the image's 16-byte remote-code block with command 99; false when the
// command could not be written.
bool SendRemoteBlock();

// Puts `codes` at the start of the image's remote-code block (a shorter list
// leaves the rest, bytes past 16 are ignored), then sends the whole block as
// SendRemoteBlock does.
bool SendRemoteCodes(std::span<const std::uint8_t> codes);

// What key `key` does on the device, in English ("load mode 1"); key 0 is
// the remote's own code. Empty outside 0..15.
std::string_view RemoteKeyFunction(int key);

// A key number 1..15 from its decimal text; nullopt for anything else.
std::optional<int> ParseRemoteKey(std::string_view text);

}  // namespace sonoria
