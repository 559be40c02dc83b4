#include "link/EditLane.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "link/LinkState.h"
#include "link/Transport.h"

namespace sonoria {
namespace {

// Byte positions of a parameter write's address.
constexpr std::size_t kBlockByte = 2;
constexpr std::size_t kIndexByte = 3;

using Address = std::pair<std::uint8_t, std::uint8_t>;

// One edit waiting for the device: the addresses it writes (by which a newer
// edit replaces it) and its reports, of which the first `sent` have gone.
struct KeptEdit {
    std::vector<Address> key;
    std::vector<Report> writes;
    std::size_t sent = 0;
};

std::atomic<bool> g_installed{false};
std::atomic<std::thread::id> g_owner{};
std::atomic<bool> g_pending{false};
// Held while `wake` runs, so that removing the lane waits for a wake in progress.
std::mutex g_wakeMutex;
std::function<void()> g_wake;

// The rest is touched on the lane's thread only.
std::deque<KeptEdit> g_kept;
// The edit being made: its writes not sent at once.
KeptEdit g_open;
int g_groupDepth = 0;
// The open edit wrote its first report at once; what follows is kept.
bool g_openStarted = false;
// The lane itself is writing: the write path must not flush into it.
bool g_writing = false;

bool OnLaneThread() { return g_installed.load() && g_owner.load() == std::this_thread::get_id(); }

void Wake() {
    std::lock_guard lock(g_wakeMutex);
    if (g_wake) g_wake();
}

void UpdatePending() { g_pending.store(!g_kept.empty() || !g_open.writes.empty()); }

void Write(const Report& report) {
    g_writing = true;
    WriteUsbData(report);
    g_writing = false;
}

// Keeps the open edit's remaining writes, in place of a kept edit of the same
// parameters that has not begun to go out, or after the others.
void KeepOpenEdit() {
    if (g_open.writes.empty()) return;
    KeptEdit edit = std::exchange(g_open, KeptEdit{});
    const auto same = std::find_if(g_kept.begin(), g_kept.end(),
                                   [&](const KeptEdit& kept) { return kept.sent == 0 && kept.key == edit.key; });
    if (same != g_kept.end()) {
        *same = std::move(edit);
    } else {
        g_kept.push_back(std::move(edit));
    }
    UpdatePending();
    Wake();
}

void EndGroup() {
    if (--g_groupDepth > 0) return;
    g_groupDepth = 0;
    KeepOpenEdit();
    g_openStarted = false;
}

}  // namespace

void InstallEditLane(std::thread::id owner, std::function<void()> wake) {
    RemoveEditLane();
    std::lock_guard lock(g_wakeMutex);
    g_wake = std::move(wake);
    g_owner.store(owner);
    g_installed.store(true);
}

void RemoveEditLane() {
    std::lock_guard lock(g_wakeMutex);
    g_installed.store(false);
    g_wake = nullptr;
    g_kept.clear();
    g_open = KeptEdit{};
    g_groupDepth = 0;
    g_openStarted = false;
    g_writing = false;
    g_pending.store(false);
}

EditGroup::EditGroup() {
    if (OnLaneThread()) ++g_groupDepth;
}

EditGroup::~EditGroup() {
    if (OnLaneThread() && g_groupDepth > 0) EndGroup();
}

bool TakeParameterWrite(const Report& report) {
    if (!OnLaneThread() || g_bDeviceOpen.load() != 1) return false;
    const bool single = g_groupDepth == 0;
    if (single) ++g_groupDepth;
    // The first write of an edit goes at once when nothing is kept and the
    // device owes nothing; the rest of that edit follows as answers come.
    if (!g_openStarted && g_open.writes.empty() && g_kept.empty() && !AnswerOutstanding()) {
        g_openStarted = true;
        Write(report);
    } else {
        g_open.key.emplace_back(report[kBlockByte], report[kIndexByte]);
        g_open.writes.push_back(report);
        UpdatePending();
    }
    if (single) EndGroup();
    return true;
}

bool PumpEdits(bool overdue) {
    if (!OnLaneThread() || g_kept.empty()) return false;
    if (g_bDeviceOpen.load() != 1) {
        DropEdits();
        return false;
    }
    if (!overdue && AnswerOutstanding()) return false;
    KeptEdit& front = g_kept.front();
    const Report report = front.writes[front.sent++];
    if (front.sent == front.writes.size()) g_kept.pop_front();
    UpdatePending();
    Write(report);
    return true;
}

void FlushEdits() {
    if (!OnLaneThread()) return;
    // What the open edit has kept so far belongs before whatever comes next.
    if (!g_open.writes.empty()) {
        g_kept.push_back(std::exchange(g_open, KeptEdit{}));
        g_openStarted = g_groupDepth > 0;
    }
    while (!g_kept.empty()) PumpEdits(true);
    UpdatePending();
}

void DropEdits() {
    if (!OnLaneThread()) return;
    g_kept.clear();
    g_open = KeptEdit{};
    UpdatePending();
}

bool EditsPending() { return g_pending.load(); }

void NotifyEditLaneOfAnswer() {
    if (g_pending.load()) Wake();
}

void FlushEditsBeforeOtherWrite() {
    // The lane's own flags are read on its thread only.
    if (OnLaneThread() && !g_writing && g_pending.load()) FlushEdits();
}

}  // namespace sonoria
