// The wireless-microphone receiver of the model that has one: the rooms that
// fix the two microphones' frequency channels, and the senders of the
// microphone settings (command 18). Each sender stores the value in the image
// first, as the parameter senders do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sonoria {

inline constexpr int kRoomCount = 16;  // A1..A8, B1..B8

// Pairing status bits.
inline constexpr int kMicActive = 0x01;
inline constexpr int kMicPairing = 0x02;
inline constexpr int kMicPaired = 0x04;

struct RoomChannels {
    int mic1;
    int mic2;
};

// The channels of room 0..15 (A1..A8, B1..B8); room A1's outside the range.
RoomChannels ChannelsOfRoom(int room);
// "A1".."B8".
std::string RoomName(int room);
// A room from its name, in either letter case; nullopt for anything else.
std::optional<int> RoomFromName(std::string_view name);
// The first room (scanning A1 mic 1, A1 mic 2, A2 mic 1, ...) with that
// channel; room A1 (0) when none has it.
int RoomOfChannel(int channel);
// The carrier in MHz: 2400 + channel.
int ChannelFrequency(int channel);

// Microphone 0 or 1; others are ignored. Values are clamped into 0..255
// (the transmit power into 0..1).
void SetWirelessVolume(int mic, int value);
void SetWirelessGate(int mic, int value);
void SetWirelessPower(int mic, int value);
// Stores both microphones' channels for the room and sends the channel of
// `mic`, the first half of pairing.
void SetWirelessRoom(int mic, int room);
// Asks the receiver to pair microphone `mic`: the second half, sent a moment
// after the channel. False when it could not be written.
bool StartWirelessPairing(int mic);

// The delay the receiver needs between the channel and the pairing command.
inline constexpr int kPairingPauseMs = 500;

}  // namespace sonoria
