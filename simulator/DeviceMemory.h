// The virtual device's own memory (working parameters, four stored modes,
// identity and records) and how it answers one command. Pure and
// single-threaded: VirtualDevice adds the timing, the locking and the wire.
// The types live in sonoria::sim so they never meet the host's image types.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/CommandCodes.h"
#include "link/ProtocolLimits.h"
#include "link/Report.h"

namespace sonoria::sim {

struct ParamBytes {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    friend constexpr bool operator==(ParamBytes, ParamBytes) = default;
};

// One complete parameter set, blocks 1..8. Only addresses inside a block's
// size are stored; everything else reads as 0, 0 and ignores writes.
class ParamSet {
public:
    ParamBytes Get(int block, int index) const;
    // False (and nothing stored) outside the blocks.
    bool Set(int block, int index, ParamBytes value);
    friend bool operator==(const ParamSet&, const ParamSet&) = default;

private:
    std::array<std::array<ParamBytes, kMaxBlockSize>, kLastBlock + 1> values_{};
};

using MachineRecord = std::array<std::uint8_t, kMachineRecordSize>;
using RemoteBlock = std::array<std::uint8_t, kRemoteBlockSize>;
using LightRecord = std::array<std::uint8_t, kLightRecordSize>;
using LightTable = std::array<std::uint8_t, kLightTableSize>;
using AutoSubRecord = std::array<std::uint8_t, kAutoSubRecordSize>;

struct WirelessMic {
    std::uint8_t volume = 0;
    std::uint8_t gate = 0;
    std::uint8_t channel = 0;
    std::uint8_t power = 0;
    std::uint8_t pairing = 0;
    friend constexpr bool operator==(WirelessMic, WirelessMic) = default;
};

// The own code of the remote control the device comes with.
inline constexpr std::uint8_t kFactoryRemoteCode = 0xFF;

// Pairing status bits of a wireless microphone.
inline constexpr std::uint8_t kPairingInProgress = 0x02;
inline constexpr std::uint8_t kPaired = 0x05;

// Everything the device remembers. One copy of every block: the rear copies
// of the sub and centre blocks exist only in the host's image.
struct DeviceMemory {
    ParamSet working;
    std::array<ParamSet, kModeCount> stored;
    int currentMode = 0;

    MachineRecord machine{};
    RemoteBlock remote{};
    std::array<LightRecord, kLightRecordCount> lights{};
    LightTable lightTable{};
    AutoSubRecord autoSub{};
    std::array<WirelessMic, kWirelessMicCount> mics{};

    std::string model;
    std::string hardwareVersion = "2019-06-20";
    std::uint8_t subVersion = 3;
    std::array<char, 2> versionText{'v', '2'};
    bool recordLayout14 = true;
    bool extendedEcho = true;
    std::array<std::uint8_t, 2> transferHeader{0x5A, 0xA5};

    std::string logo;
    bool upgradeMode = false;
    // Firmware pieces as received, placed at their offsets.
    std::vector<std::uint8_t> firmware;
};

// The parameter set the device restores for mode `mode` (0..3); the modes
// differ only in their volumes.
ParamSet FactoryParams(int mode);
MachineRecord FactoryMachineRecord();
// Only the model with the wireless receiver has non-zero microphone fields.
bool HasWirelessReceiver(const std::string& model);
std::array<WirelessMic, kWirelessMicCount> FactoryWirelessMics(const std::string& model);
// A device fresh from the factory: every stored mode at its defaults,
// working memory = mode 0.
DeviceMemory FactoryMemory(std::string model);

// What the outside world contributes to an answer.
struct CommandContext {
    std::chrono::milliseconds sinceStart{0};  // drives the meters
    std::chrono::milliseconds learnDelay{0};  // until a remote key or a microphone is heard
    std::uint8_t learnedRemoteCode = 0;       // the remote control's own code
    std::uint8_t learnedKeyCode = 0;          // the key code the remote sends
};

struct DeviceReply {
    Report report{};
    // Empty for the answer to the command (it keeps command order and comes
    // after the answer delay); set for a report the device sends on its own
    // this long after the command.
    std::optional<std::chrono::milliseconds> ownInitiativeAfter;
    // Applied to the memory when the report becomes due (what the device
    // learned meanwhile).
    std::function<void(DeviceMemory&)> onDue;
};

// Applies one output report to the memory and returns the reports the device
// sends for it (none for a report whose id is not the output report id).
std::vector<DeviceReply> HandleCommand(DeviceMemory& memory, const Report& command,
                                       const CommandContext& context);

}  // namespace sonoria::sim
