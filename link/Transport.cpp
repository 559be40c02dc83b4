#include "link/Transport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

#include "link/CommandCodes.h"
#include "link/CommandSender.h"
#include "link/DebugLog.h"
#include "link/DeviceLock.h"
#include "link/EditLane.h"
#include "link/LinkState.h"

namespace sonoria {
namespace {

constexpr int kMaxInterfacesExamined = 10;

// The opened device. Writers take a reference under the mutex, so closing
// never pulls the device from under a write in progress.
std::mutex g_deviceMutex;
std::shared_ptr<HidDevice> g_hDevice;
// Held while the device is open, when its backend is shared with other programs.
std::unique_ptr<DeviceLock> g_deviceLock;
// Set by a connection attempt that found the device in use.
std::optional<long> g_refusedBy;
// Held for the duration of each device write, so that two writes never use the
// device at once even when one went ahead without the write lock.
std::mutex g_deviceWriteMutex;
// Start, join and replace of the read thread.
std::mutex g_readThreadMutex;
std::thread g_readThread;
// Bumped at each connection. A read thread serves only its own connection, so
// that one left behind by a close that could not wait for it stays harmless.
std::atomic<std::uint64_t> g_connection{0};

void ReadUntilClosed(std::uint64_t connection) {
    DebugLog("start thread: ReadUsbThreadProc \n");
    const auto current = [connection] { return g_connection.load() == connection; };
    while (g_bDeviceOpen.load() == 1 && current()) {
        if (!ReadOneReport()) {
            if (current()) DeclareLinkLost();
            break;
        }
    }
    if (current()) g_hReadThreadExited.Set();
}

std::mutex g_traceMutex;
ReportTrace g_trace;

std::atomic<ReportHandler> g_reportHandler{nullptr};

void Trace(bool written, const std::uint8_t* bytes) {
    std::lock_guard lock(g_traceMutex);
    if (!g_trace) return;
    Report report{};
    std::copy_n(bytes, kReportSize, report.begin());
    g_trace(written, report);
}

std::shared_ptr<HidDevice> CurrentDevice() {
    std::lock_guard lock(g_deviceMutex);
    return g_hDevice;
}

void SetCurrentDevice(std::shared_ptr<HidDevice> device, std::unique_ptr<DeviceLock> deviceLock = nullptr) {
    std::unique_ptr<DeviceLock> released;
    std::shared_ptr<HidDevice> closed;
    {
        std::lock_guard lock(g_deviceMutex);
        closed = std::exchange(g_hDevice, std::move(device));
        released = std::exchange(g_deviceLock, std::move(deviceLock));
    }
    // The device closes before its lock is let go.
    closed.reset();
    released.reset();
}

// Resets the flow-control objects to their starting states: the answer event
// signalled, so the first write after connecting goes at once.
void CreateLinkObjects() {
    g_hAnswerEvent.Set();
    g_hReadThreadExited.Reset();
    ResetAnswerAccounting();
}

// The common path of every report write.
int WriteReportBytes(const std::uint8_t* bytes) {
    // The user's kept edits were made before this write was asked for.
    FlushEditsBeforeOtherWrite();
    std::unique_lock writeLock(g_hWriteMutex, std::defer_lock);
    // When the wait runs out the write goes ahead without the lock.
    (void)writeLock.try_lock_for(kWriteLockWait);

    if (g_bDeviceOpen.load() == 0) return 0;
    if (g_bReadThreadEnd.load() == 1) {
        DebugLog("g_bReadThreadEnd == TRUE ,WriteUsbData return \n");
        return 0;
    }
    // Wait for the answer to the previous report. One miss only slows us down;
    // a device that misses several in a row is gone.
    if (g_hAnswerEvent.WaitFor(kAnswerWait)) {
        CountAnsweredCommand();
    } else if (CountUnansweredCommand()) {
        DebugLog("g_bReadThreadEnd == TRUE ,WriteUsbData return \n");
        return 0;
    }
    if (g_bReadThreadEnd.load() == 1) return 0;  // lost while we waited

    int written = 0;
    if (auto device = CurrentDevice()) {
        std::lock_guard deviceLock(g_deviceWriteMutex);
        // Traced before it goes, so that its answer can never be traced first.
        Trace(true, bytes);
        written = std::max(0, device->Write(bytes, kReportSize));
    }
    if (written < static_cast<int>(kReportSize)) {
        DebugLog("usb数据写入失败");
        written = 0;
    }
    return written;
}

// Progress of a chunked transfer: offset / (count / 100), and for counts below
// 100 (where that divisor is 0) offset * 100 / count; never above 100.
int TransferPercent(std::size_t offset, std::size_t count) {
    const std::size_t percent = count >= 100 ? offset / (count / 100) : offset * 100 / count;
    return static_cast<int>(std::min<std::size_t>(percent, 100));
}

}  // namespace

ReportHandler SetReportHandler(ReportHandler handler) { return g_reportHandler.exchange(handler); }

int ConnectDevice(HostMessageSink* mainWindow, const std::function<void()>& onFound) {
    if (g_bDeviceOpen.load() == 1) return 0;
    g_hMainWnd.store(mainWindow);
    CreateLinkObjects();
    if (!FindAndOpenDevice()) return 0;
    g_bUpgradeMode.store(0);
    if (onFound) onFound();

    std::lock_guard lock(g_readThreadMutex);
    if (g_readThread.joinable()) g_readThread.join();  // a thread that ended on its own
    g_bReadThreadEnd.store(0);
    g_hReadThreadExited.Reset();
    g_bDeviceOpen.store(1);
    g_readThread = std::thread(ReadUntilClosed, g_connection.fetch_add(1) + 1);
    return 1;
}

std::optional<long> ConnectionRefusedBy() {
    std::lock_guard lock(g_deviceMutex);
    return g_refusedBy;
}

bool FindAndOpenDevice() {
    auto backend = CurrentHidBackend();
    if (!backend) {
        DebugLog("获取Hid设备信息失败");
        return false;
    }
    if (!backend->RegisterDeviceNotification()) {
        DebugLog("注册Guid错误，可能不能捕捉设备的连接或移除\n");
        return false;
    }
    {
        std::lock_guard lock(g_deviceMutex);
        g_refusedBy.reset();
    }
    const auto interfaces = backend->Enumerate();
    if (!interfaces) {
        DebugLog("获取Hid设备信息失败");
        return false;
    }
    DebugLog("开始枚举usb设备");
    for (int member = 0; member < kMaxInterfacesExamined; ++member) {
        if (member >= static_cast<int>(interfaces->size())) {
            DebugLog("枚举usb设备出错,usb设备接口可能枚举完成了");
            break;
        }
        DebugLog("枚举usb设备成功");
        const HidInterfaceInfo& info = (*interfaces)[member];
        if (info.flags != kInterfaceActive) continue;
        std::unique_ptr<DeviceLock> deviceLock;
        if (backend->SharedWithOtherPrograms()) {
            std::optional<long> holder;
            deviceLock = DeviceLock::Acquire(info.path, &holder);
            if (!deviceLock) {
                DebugLogFormat(300, "device %s is in use by process %ld\n", info.path.c_str(), holder.value_or(0));
                std::lock_guard lock(g_deviceMutex);
                g_refusedBy = holder.value_or(0);
                continue;
            }
        }
        if (auto device = OpenDeviceInterface(*backend, info)) {
            SetCurrentDevice(std::move(device), std::move(deviceLock));
            DebugLog("连接目标设备成功!");
            return true;
        }
    }
    DebugLog("连接目标设备失败，没有找到目标设备");
    return false;
}

std::unique_ptr<HidDevice> OpenDeviceInterface(HidBackend& backend, const HidInterfaceInfo& info) {
    if (info.path.empty()) {
        DebugLog("查找设备路径时出错!");
        return nullptr;
    }
    DebugLogFormat(260, "设备路径:\r\n%s", info.path.c_str());
    DebugLog("尝试打开通信端口....");
    auto device = backend.Open(info.path);
    if (!device) {
        DebugLog("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n");
        return nullptr;
    }
    DebugLog("打开通信端口成功!\n");
    DebugLog("正在读取设备的标识...\n");
    const auto attributes = device->GetAttributes();
    if (!attributes) {
        DebugLog("查询设备信息出错!\n");
        return nullptr;
    }
    if (attributes->vendorId != kVendorId || attributes->productId != kProductId) return nullptr;
    SetDevicePath(info.path);
    return device;
}

void ReadUsbThreadProc() { ReadUntilClosed(g_connection.load()); }

bool ReadOneReport() {
    auto device = CurrentDevice();
    if (!device) return false;
    Report report{};
    const int received = device->Read(report.data(), report.size(), kReadPollMs);
    if (received < 0) return false;
    if (received == 0) return true;
    DebugLogFormat(255, "<Read: %d %d %d %d %d %d %d %d %d %d \n", report[0], report[1], report[2],
                   report[3], report[4], report[5], report[6], report[7], report[8], report[9]);
    Trace(false, report.data());
    const ReportHandler handler = g_reportHandler.load();
    // Without a handler every report counts as an answer, so writes keep flowing.
    if (!handler || handler(report)) {
        g_hAnswerEvent.Set();
        NotifyEditLaneOfAnswer();
    }
    return true;
}

int WriteUsbData(const Report& report) { return WriteReportBytes(report.data()); }

bool WriteChunkedData(const std::uint8_t* data, std::size_t count, const std::function<bool()>& keepGoing) {
    if (count > kMaxChunkedBytes) return false;
    if (count == 0) return true;
    Report piece{};
    piece[0] = kOutputReportId;
    piece[1] = CMD_PIECE;
    std::size_t nextBlock = 0;
    for (std::size_t offset = 0; offset < count; offset += kPieceSize) {
        if (keepGoing && !keepGoing()) return false;
        const std::size_t n = std::min(kPieceSize, count - offset);
        if (nextBlock < count && nextBlock <= offset + n) {
            const int blockHigh = static_cast<int>((nextBlock >> 8) & 0xFF);
            const int blockLow = static_cast<int>(nextBlock & 0xFF);
            if (SendCommand(CMD_BLOCK, {blockHigh, blockLow, kEndOfArguments}) == 0) return false;
            nextBlock += kChunkBlockSize;
        }
        g_nTransferPercent.store(TransferPercent(offset, count));
        piece[2] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
        piece[3] = static_cast<std::uint8_t>(offset & 0xFF);
        piece[4] = static_cast<std::uint8_t>(n);
        // Bytes after the data keep what an earlier piece left; the device reads byte 4.
        std::copy_n(data + offset, n, piece.begin() + 5);
        if (WriteUsbData(piece) == 0) return false;
    }
    return true;
}

ReportTrace SetReportTrace(ReportTrace trace) {
    std::lock_guard lock(g_traceMutex);
    return std::exchange(g_trace, std::move(trace));
}

std::uint64_t ConnectionNumber() { return g_connection.load(); }

int DisconnectDevice() {
    if (g_bDeviceOpen.load() == 0) return 1;
    CloseLink();
    return 1;
}

void CloseLink() {
    g_bDeviceOpen.store(0);
    const bool exited = g_hReadThreadExited.WaitFor(kReadThreadExitWait);
    if (!exited) DebugLog("wait read thread exited time out !\n");
    {
        std::lock_guard lock(g_readThreadMutex);
        if (g_readThread.joinable()) {
            // A thread stuck in a read that ignores its timeout is left to end
            // on its own: it belongs to this connection only and keeps the
            // device it reads alive. The read thread itself cannot join itself.
            if (!exited || g_readThread.get_id() == std::this_thread::get_id()) {
                g_readThread.detach();
            } else {
                g_readThread.join();
            }
        }
    }
    ++g_connection;
    SetCurrentDevice(nullptr);
    ClearDevicePath();
}

}  // namespace sonoria
