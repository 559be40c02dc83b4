#include "link/LinkState.h"

namespace sonoria {

std::atomic<int> g_bDeviceOpen{0};
std::atomic<int> g_bReadThreadEnd{0};
std::atomic<int> g_bSyncIdle{1};
std::atomic<int> g_bUpgradeMode{0};
std::atomic<int> g_nTransferPercent{0};

TimedLock g_hWriteMutex;
AutoResetEvent g_hAnswerEvent{true};
AutoResetEvent g_hReadThreadExited{false};

namespace {

std::mutex g_linkStateMutex;
std::string g_szDevicePath;
std::shared_ptr<HidBackend> g_backend;

}  // namespace

std::string DevicePath() {
    std::lock_guard lock(g_linkStateMutex);
    return g_szDevicePath;
}

void SetDevicePath(std::string path) {
    std::lock_guard lock(g_linkStateMutex);
    g_szDevicePath = std::move(path);
}

void ClearDevicePath() { SetDevicePath({}); }

void SetHidBackend(std::shared_ptr<HidBackend> backend) {
    std::lock_guard lock(g_linkStateMutex);
    g_backend = std::move(backend);
}

std::shared_ptr<HidBackend> CurrentHidBackend() {
    std::lock_guard lock(g_linkStateMutex);
    return g_backend;
}

}  // namespace sonoria
