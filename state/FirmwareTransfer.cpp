#include "state/FirmwareTransfer.h"

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/HostMessages.h"
#include "link/LinkState.h"
#include "link/Transport.h"
#include "state/DeviceState.h"
#include "state/SyncWorkers.h"

namespace sonoria {
namespace {

constexpr auto kTransferStartPause = std::chrono::milliseconds(500);
constexpr auto kAfterVersionPause = std::chrono::milliseconds(50);
// Command 3 with these bytes asks a device in upgrade mode for its transfer header.
constexpr int kHeaderRequest[] = {0, 1, 2};

std::mutex g_sourceMutex;
FirmwareImageSource g_source;

// One transfer at a time in the whole process.
std::atomic<bool> g_transferRunning{false};
std::atomic<std::uint64_t> g_transferConnection{0};

bool SameLinkAs(std::uint64_t connection) {
    return g_bDeviceOpen.load() == 1 && g_bReadThreadEnd.load() == 0 && ConnectionNumber() == connection;
}

}  // namespace

FirmwareImageSource SetFirmwareImageSource(FirmwareImageSource source) {
    std::lock_guard lock(g_sourceMutex);
    std::swap(g_source, source);
    return source;
}

std::optional<FirmwareImage> LoadFirmwareImage() {
    FirmwareImageSource source;
    {
        std::lock_guard lock(g_sourceMutex);
        source = g_source;
    }
    if (!source) return std::nullopt;
    return source();
}

bool FirmwareImageSizeAcceptable(std::size_t size) {
    return size >= kMinFirmwareBytes && size <= kMaxFirmwareBytes;
}

void ClearTransferIdentity() {
    for (auto& byte : g_Device.transferHeader) byte.store(0, std::memory_order_relaxed);
    g_Device.versionText.Set("");
    g_Device.firmwareV1.store(0, std::memory_order_relaxed);
}

bool TransferFirmware(const FirmwareImage& image, const std::function<bool()>& keepGoing) {
    if (!FirmwareImageSizeAcceptable(image.size())) return false;
    const auto going = [&keepGoing] { return !keepGoing || keepGoing(); };
    ClearTransferIdentity();
    if (SendCommand(CMD_SELECT_MODE, {kHeaderRequest[0], kHeaderRequest[1], kHeaderRequest[2], kEndOfArguments}) == 0) {
        return false;
    }
    // Without arguments, command 16 asks for the firmware version.
    if (SendCommand(CMD_AUTOSUB) == 0) return false;
    std::this_thread::sleep_for(kAfterVersionPause);
    if (!going()) return false;
    g_nTransferPercent.store(0);
    if (SendCommand(CMD_BLOCK, {kTransferMarker, 0, kOpeningBlockArgument, kEndOfArguments}) == 0) return false;
    // The header arrived with the answer to command 3, which the writes since have waited for.
    const std::array<std::uint8_t, 3> kept{image[0], image[1], image[2]};
    FirmwareImage buffer = image;
    buffer[1] = g_Device.transferHeader[0].load();
    buffer[2] = g_Device.transferHeader[1].load();
    if (!WriteChunkedData(buffer.data(), buffer.size(), going) || !going()) return false;
    return SendCommand(CMD_PIECE, {kTransferMarker, 0, kClosingPieceLength, kept[0], kept[1], kept[2],
                                   kEndOfArguments}) != 0;
}

TransferStart StartFirmwareTransfer(FirmwareImage image) {
    if (!FirmwareImageSizeAcceptable(image.size())) return TransferStart::SizeRefused;
    if (g_bDeviceOpen.load() != 1) return TransferStart::NoDevice;
    bool expected = false;
    if (!g_transferRunning.compare_exchange_strong(expected, true)) return TransferStart::AlreadyRunning;
    const std::uint64_t connection = ConnectionNumber();
    g_transferConnection.store(connection);
    g_nTransferPercent.store(0);
    StartPooledWorker([image = std::move(image), connection] {
        const auto keepGoing = [connection] { return !SyncStopping() && SameLinkAs(connection); };
        const bool sent = SyncPause(kTransferStartPause) && keepGoing() && TransferFirmware(image, keepGoing);
        g_transferRunning.store(false);
        if (!SyncStopping()) PostHostMessage(WM_UPGRADE_DONE, sent ? 1 : 0, 0);
    });
    return TransferStart::Started;
}

bool FirmwareTransferRunning() { return g_transferRunning.load(); }

bool TransferLinkStillOpen() { return SameLinkAs(g_transferConnection.load()); }

int SendEnterUpgradeMode() { return SendCommand(CMD_ENTER_LOADER); }

int SendUpgradeRestart() { return SendCommand(CMD_SAVE_MODE); }

}  // namespace sonoria
