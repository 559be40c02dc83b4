#include "link/LinkState.h"


#include "link/HostMessages.h"

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

std::atomic<int> g_nUnanswered{0};
// Set when WM_LINK_LOST was posted for the current connection.
std::atomic<bool> g_linkLostPosted{false};
std::mutex g_linkStateMutex;
std::string g_szDevicePath;
std::shared_ptr<HidBackend> g_backend;

}  // namespace

void ResetAnswerAccounting() {
    g_nUnanswered.store(0);
    g_linkLostPosted.store(false);
}

bool CountUnansweredCommand() {
    if (g_nUnanswered.fetch_add(1) + 1 < kUnansweredLimit) return false;
    DeclareLinkLost();
    return true;
}

void CountAnsweredCommand() { g_nUnanswered.store(0); }

int UnansweredInARow() { return g_nUnanswered.load(); }

bool AnswerOutstanding() { return g_bDeviceOpen.load() == 1 && !g_hAnswerEvent.IsSet(); }

bool WaitForAnswer() {
    if (!AnswerOutstanding()) return true;
    // A link that is lost meanwhile sets the event too (DeclareLinkLost).
    return g_hAnswerEvent.WaitUntilSetFor(kAnswerWait) || !AnswerOutstanding();
}

void DeclareLinkLost() {
    g_bSyncIdle.store(0);
    g_bReadThreadEnd.store(1);
    g_hAnswerEvent.Set();  // release a writer waiting for an answer
    if (!g_linkLostPosted.exchange(true)) PostHostMessage(WM_LINK_LOST);
}

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
