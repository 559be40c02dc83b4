// Command codes the host sends and report codes the device answers with
// (both use the same numbering).
#pragma once

#include <cstdint>

namespace sonoria {

enum CommandCode : std::uint8_t {
    CMD_BLOCK = 1,
    CMD_PIECE = 2,
    CMD_SELECT_MODE = 3,
    CMD_SAVE_MODE = 4,
    CMD_LOAD_MODE = 5,
    CMD_DEFAULT_MODE = 6,
    CMD_GET_MODE = 7,
    CMD_GET_METERS = 8,
    CMD_SET_PARAM = 9,
    CMD_GET_PARAM = 10,
    CMD_GET_VOLUMES = 12,
    CMD_AUTOSUB = 16,
    CMD_GET_AUTOSUB = 17,
    CMD_WMIC_SET = 18,
    CMD_WMIC_GET = 19,
    CMD_GET_LIGHT_RECORD = 82,
    CMD_GET_LIGHT_BYTE = 84,
    CMD_LEARN_KEY = 96,
    CMD_END_LEARN = 97,
    CMD_GET_REMOTE = 98,
    CMD_SET_REMOTE = 99,
    CMD_RESET_MACHINE = 104,
    CMD_GET_SUBVERSION = 127,
    CMD_GET_NAME = 128,
    CMD_GET_HWVERSION = 129,
    CMD_BYE = 138,
    CMD_SET_MACHINE = 145,
    CMD_GET_MACHINE = 146,
    CMD_GET_RECORD_LAYOUT = 149,
    CMD_SET_LOGO = 193,
    CMD_ENTER_LOADER = 209,
};

// Reports that only the device sends (no command of that code is answered by them).
enum ReportCode : std::uint8_t {
    RPT_PARAM_ALT = 11,       // same payload as report 10
    RPT_WMIC_STATUS = 161,    // wireless-microphone status, on the device's own initiative
};

// First argument of the block command that opens a firmware transfer and of
// the piece that closes it.
inline constexpr std::uint8_t kTransferMarker = 228;
// The third bytes of those two commands (after the marker and a 0).
inline constexpr std::uint8_t kOpeningBlockArgument = 32;
inline constexpr std::uint8_t kClosingPieceLength = 3;

// Argument that makes CMD_RESET_MACHINE take effect.
inline constexpr std::uint8_t kResetMachineKey = 170;

// USB identity of the device.
inline constexpr std::uint16_t kVendorId = 0x2010;
inline constexpr std::uint16_t kProductId = 0x1031;

}  // namespace sonoria
