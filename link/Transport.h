// The HID transport: finding and opening the device, the read thread that
// receives every input report, and the two write paths. At most one report is
// outstanding: each write waits for the device's answer to the previous one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "link/HidBackend.h"
#include "link/HostMessages.h"
#include "link/Report.h"

namespace sonoria {

// Receives every report the device sends, on the read thread; returns true
// when the report answers the last command written (the next write may go).
using ReportHandler = bool (*)(const Report& report);
// Returns the handler it replaces.
ReportHandler SetReportHandler(ReportHandler handler);

// Opens the device through the current backend and starts the read thread.
// `onFound` runs once the device is open, before its first report is read.
// Returns 1 when the device was found and opened, 0 otherwise (also when a
// device is already open).
int ConnectDevice(HostMessageSink* mainWindow, const std::function<void()>& onFound = {});

// After ConnectDevice returned 0: the process id of the other program that
// holds the device (it was found but is in use; 0 when that program's id is
// unknown), or nullopt when no device was found or it could not be opened
// for another reason.
std::optional<long> ConnectionRefusedBy();

// Searches the first ten HID interfaces for the device; on success the device
// is the one writes and the read thread use.
bool FindAndOpenDevice();

// Opens one interface and checks its vendor and product; null when it is not
// the device or cannot be opened.
std::unique_ptr<HidDevice> OpenDeviceInterface(HidBackend& backend, const HidInterfaceInfo& info);

// The read thread's body: reads and dispatches reports while the device is open.
void ReadUsbThreadProc();

// Reads one report and hands it to the report handler. Returns false only when
// the read itself failed; a read that times out is not a report and succeeds.
bool ReadOneReport();

// Writes one 61-byte report; returns the number of bytes written (61 or 0).
int WriteUsbData(const Report& report);

// Sends `count` bytes as numbered 56-byte pieces with a block command before
// each 512-byte boundary. Returns true when every piece was written; stops at
// the first failed write, or before a piece when `keepGoing` says no. More
// than kMaxChunkedBytes are refused.
bool WriteChunkedData(const std::uint8_t* data, std::size_t count,
                      const std::function<bool()>& keepGoing = {});
inline constexpr std::size_t kMaxChunkedBytes = 65536;
inline constexpr std::size_t kPieceSize = 56;
inline constexpr std::size_t kChunkBlockSize = 512;

// Sees every report written to and read from the device (for tracing tools).
// Called on the writing and the reading thread; must not block.
using ReportTrace = std::function<void(bool written, const Report& report)>;
// Returns the trace it replaces.
ReportTrace SetReportTrace(ReportTrace trace);

// Counts the links opened; a worker compares it to notice that the link it
// started on has ended, even when a new one has opened since.
std::uint64_t ConnectionNumber();

// Closes the link if it is open; returns 1.
int DisconnectDevice();

// Ends the read thread and closes the device without the open check, for the
// ends of a connection that have already said goodbye to the device.
void CloseLink();

}  // namespace sonoria
