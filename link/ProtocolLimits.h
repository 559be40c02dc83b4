// Sizes of the fields that reports fill: the device's parameter blocks and
// records. Both the host's image and the virtual device are laid out by them.
#pragma once

#include <array>
#include <cstddef>

namespace sonoria {

inline constexpr int kFirstBlock = 1;
inline constexpr int kLastBlock = 8;
// Values per block, indexed by block number (block 0 is never stored).
inline constexpr std::array<int, 9> kBlockSizes = {0, 26, 28, 12, 34, 32, 32, 28, 28};
inline constexpr int kMaxBlockSize = 34;

// Blocks that exist twice: normal and rear copy.
inline constexpr int kSubBlock = 7;
inline constexpr int kCenterBlock = 8;

inline constexpr bool IsParamAddress(int block, int index) {
    return block >= kFirstBlock && block <= kLastBlock && index >= 0 && index < kBlockSizes[block];
}
inline constexpr bool HasRearCopy(int block) { return block == kSubBlock || block == kCenterBlock; }

inline constexpr std::size_t kModeCount = 4;
inline constexpr std::size_t kAutoSubRecordSize = 2;
inline constexpr std::size_t kRemoteBlockSize = 16;      // byte 0 remote code, 1..15 keys
inline constexpr std::size_t kLightRecordCount = 4;
inline constexpr std::size_t kLightRecordSize = 17;
inline constexpr std::size_t kLightTableSize = 3;
inline constexpr std::size_t kMachineRecordSize = 14;
inline constexpr std::size_t kMachineRecordSizeShort = 11;  // layout flag clear
inline constexpr std::size_t kWirelessMicCount = 2;
inline constexpr std::size_t kMachineNameChars = 30;      // with terminator
inline constexpr std::size_t kHardwareVersionChars = 11;  // with terminator
inline constexpr std::size_t kVersionTextChars = 3;       // with terminator
inline constexpr std::size_t kLogoChars = 7;

// Wireless-microphone items of commands 18 and 19.
inline constexpr int kWmicItemGate = 30;
inline constexpr int kWmicItemChannel = 64;
inline constexpr int kWmicItemVolume = 65;
inline constexpr int kWmicItemPower = 66;
inline constexpr int kWmicItemPairing = 69;
inline constexpr int kWmicMaxChannel = 62;
// Groups of command 18, and the request that starts pairing a microphone.
inline constexpr int kWmicGroupRadio = 16;
inline constexpr int kWmicGroupGate = 9;
inline constexpr int kWmicGroupPairing = 20;
inline constexpr int kWmicItemStartPairing = 96;
inline constexpr int kWmicStartPairingValue = 240;

// Block 0 index 2 answered with these bytes marks the three-point echo EQ.
inline constexpr int kExtendedEchoIndex = 2;
inline constexpr int kExtendedEchoFirst = 7;
inline constexpr int kExtendedEchoSecond = 220;

}  // namespace sonoria
