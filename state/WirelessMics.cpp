#include "state/WirelessMics.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/ProtocolLimits.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

constexpr std::array<RoomChannels, kRoomCount> kRooms = {{
    {0, 8}, {16, 24}, {4, 12}, {20, 28}, {48, 56}, {32, 40}, {52, 60}, {36, 44},    // A1..A8
    {2, 10}, {18, 26}, {6, 14}, {22, 30}, {50, 58}, {34, 42}, {54, 62}, {38, 46},  // B1..B8
}};

constexpr int kGroupRadio = kWmicGroupRadio;
constexpr int kGroupGate = kWmicGroupGate;

bool ValidMic(int mic) { return mic >= 0 && static_cast<std::size_t>(mic) < kWirelessMicCount; }

WirelessMicFields& Fields(int mic) { return g_Device.wirelessMics[static_cast<std::size_t>(mic)]; }

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

void Send(int mic, int group, int item, int value) {
    SendCommand(CMD_WMIC_SET, {mic, group, item, value, kEndOfArguments});
}

}  // namespace

RoomChannels ChannelsOfRoom(int room) {
    if (room < 0 || room >= kRoomCount) return kRooms[0];
    return kRooms[static_cast<std::size_t>(room)];
}

std::string RoomName(int room) {
    if (room < 0 || room >= kRoomCount) room = 0;
    return std::string(1, room < 8 ? 'A' : 'B') + std::to_string(room % 8 + 1);
}

std::optional<int> RoomFromName(std::string_view name) {
    if (name.size() != 2) return std::nullopt;
    const char row = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if ((row != 'A' && row != 'B') || name[1] < '1' || name[1] > '8') return std::nullopt;
    return (row == 'B' ? 8 : 0) + (name[1] - '1');
}

int RoomOfChannel(int channel) {
    for (int room = 0; room < kRoomCount; ++room) {
        const RoomChannels& r = kRooms[static_cast<std::size_t>(room)];
        if (r.mic1 == channel || r.mic2 == channel) return room;
    }
    return 0;
}

int ChannelFrequency(int channel) { return 2400 + channel; }

void SetWirelessVolume(int mic, int value) {
    if (!ValidMic(mic)) return;
    Fields(mic).volume.store(Byte(value), std::memory_order_relaxed);
    Send(mic, kGroupRadio, kWmicItemVolume, Byte(value));
}

void SetWirelessGate(int mic, int value) {
    if (!ValidMic(mic)) return;
    Fields(mic).gate.store(Byte(value), std::memory_order_relaxed);
    Send(mic, kGroupGate, kWmicItemGate, Byte(value));
}

void SetWirelessPower(int mic, int value) {
    if (!ValidMic(mic)) return;
    const int power = std::clamp(value, 0, 1);
    Fields(mic).power.store(static_cast<std::uint8_t>(power), std::memory_order_relaxed);
    Send(mic, kGroupRadio, kWmicItemPower, power);
}

void SetWirelessRoom(int mic, int room) {
    if (!ValidMic(mic) || room < 0 || room >= kRoomCount) return;
    const RoomChannels channels = ChannelsOfRoom(room);
    Fields(0).channel.store(static_cast<std::uint8_t>(channels.mic1), std::memory_order_relaxed);
    Fields(1).channel.store(static_cast<std::uint8_t>(channels.mic2), std::memory_order_relaxed);
    Send(mic, kGroupRadio, kWmicItemChannel, mic == 0 ? channels.mic1 : channels.mic2);
}

bool StartWirelessPairing(int mic) {
    if (!ValidMic(mic)) return false;
    return SendCommand(CMD_WMIC_SET, {mic, kWmicGroupPairing, kWmicItemStartPairing, kWmicStartPairingValue, kEndOfArguments}) >
           0;
}

}  // namespace sonoria
