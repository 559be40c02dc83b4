#include "state/RemoteKeys.h"

#include <array>
#include <charconv>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/Transport.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

constexpr std::array<std::string_view, kRemoteKeyCount + 1> kKeyFunctions = {
    "remote code",          "load mode 1",       "load mode 2",         "load mode 3",
    "load mode 4",          "mic volume up",     "mic volume down",     "music volume up",
    "music volume down",    "mute",              "pitch up",            "pitch reset",
    "pitch down",           "music input source", "effect volume up",   "effect volume down",
};

}  // namespace

bool StartKeyLearning(int key) {
    if (key < 1 || key > kRemoteKeyCount) return false;
    return SendCommand(CMD_LEARN_KEY, {key, kEndOfArguments}) > 0;
}

bool StopKeyLearning() { return SendCommand(CMD_END_LEARN) > 0; }

bool SendRemoteBlock() {
    Report report{};
    report[0] = kOutputReportId;
    report[1] = CMD_SET_REMOTE;
    for (std::size_t i = 0; i < kRemoteBlockSize; ++i) report[2 + i] = g_Device.remote[i].load();
    return WriteUsbData(report) > 0;
}

bool SendRemoteCodes(std::span<const std::uint8_t> codes) {
    for (std::size_t i = 0; i < codes.size() && i < kRemoteBlockSize; ++i) g_Device.remote[i].store(codes[i]);
    return SendRemoteBlock();
}

std::string_view RemoteKeyFunction(int key) {
    if (key < 0 || key > kRemoteKeyCount) return {};
    return kKeyFunctions[static_cast<std::size_t>(key)];
}

std::optional<int> ParseRemoteKey(std::string_view text) {
    int key = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), key);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    if (key < 1 || key > kRemoteKeyCount) return std::nullopt;
    return key;
}

}  // namespace sonoria
