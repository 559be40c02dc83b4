// Sending a firmware image to a device in its upgrade mode: the image comes
// from a replaceable source (the program carries none), goes out from memory
// on one pooled worker at a time, and the worker's end is message 1004 with
// its result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace sonoria {

using FirmwareImage = std::vector<std::uint8_t>;
// Where the image comes from; nullopt when there is none.
using FirmwareImageSource = std::function<std::optional<FirmwareImage>()>;

// Replaces the source (an empty function: no image, as in the program) and
// returns the previous one.
FirmwareImageSource SetFirmwareImageSource(FirmwareImageSource source);
std::optional<FirmwareImage> LoadFirmwareImage();

// The first three bytes are handled apart, and the pieces' offsets are 16-bit.
inline constexpr std::size_t kMinFirmwareBytes = 3;
inline constexpr std::size_t kMaxFirmwareBytes = 65536;
bool FirmwareImageSizeAcceptable(std::size_t size);

// The version image shown beside the upgrade: a fixed date.
inline constexpr int kImageVersionYear = 2012, kImageVersionMonth = 7, kImageVersionDay = 5;

// Forgets the transfer header, the version text and the firmware-v1 flag, so
// that nothing of an earlier device or transfer is taken for this one's.
void ClearTransferIdentity();

// Sends the image: the header and version requests, the opening block, the
// image in pieces (bytes 1 and 2 replaced by the transfer header) and the
// closing piece with the image's own first three bytes. True only when every
// report was written; stops at the first failed write or when `keepGoing`
// says no. An image of a size not acceptable sends nothing.
bool TransferFirmware(const FirmwareImage& image, const std::function<bool()>& keepGoing = {});

enum class TransferStart { Started, AlreadyRunning, SizeRefused, NoDevice };

// Starts the transfer worker: a pause, then TransferFirmware, then message
// 1004 with wParam 1 (every report written) or 0. The worker gives up when
// the link it started on ends or the pool is stopped (no message then).
TransferStart StartFirmwareTransfer(FirmwareImage image);
bool FirmwareTransferRunning();
// True while the link the last transfer ran on is still the open one.
bool TransferLinkStillOpen();

// Asks a device in normal mode to enter its upgrade mode.
int SendEnterUpgradeMode();

// The restart after a transfer to a device whose firmware asks for it: the
// device takes the code of saving a mode as "restart" while upgrading.
int SendUpgradeRestart();

}  // namespace sonoria
