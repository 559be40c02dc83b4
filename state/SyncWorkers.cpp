#include "state/SyncWorkers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "link/DebugLog.h"
#include "link/EditLane.h"
#include "link/HostMessages.h"
#include "link/LinkState.h"
#include "state/RearRouting.h"
#include "state/Synchronize.h"

namespace sonoria {
namespace {

constexpr auto kReadAllPause = std::chrono::milliseconds(1600);
constexpr auto kRoutingSettle = std::chrono::milliseconds(100);
constexpr auto kInterruptPoll = std::chrono::milliseconds(20);

// Set from a signal handler: only a lock-free atomic may be touched there.
std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

class WorkerPool {
public:
    ~WorkerPool() { StopAll(); }

    void Start(std::function<void()> body) {
        // The user's kept edits go first: a bulk operation never interleaves with them.
        FlushEdits();
        std::lock_guard lock(mutex_);
        ReapFinished();
        ++running_;
        g_bSyncIdle.store(0);
        auto worker = std::make_shared<Worker>();
        worker->ticket = nextTicket_++;
        worker->thread = std::thread([this, worker, body = std::move(body)] {
            // One bulk operation at a time, in the order they were asked for:
            // two of them never interleave their commands.
            if (AwaitTurn(*worker)) body();
            Finish(*worker);
        });
        workers_.push_back(std::move(worker));
    }

    bool Running() {
        std::lock_guard lock(mutex_);
        return running_ > 0;
    }

    bool WaitIdle(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, timeout, [this] { return running_ == 0; });
    }

    bool Pause(std::chrono::milliseconds duration) {
        // Short steps, so that an interruption from a signal handler (which
        // cannot notify) is seen soon.
        const auto until = std::chrono::steady_clock::now() + duration;
        std::unique_lock lock(mutex_);
        while (!stopping_ && !g_interrupted.load()) {
            const auto now = std::chrono::steady_clock::now();
            if (now >= until) return true;
            cv_.wait_for(lock, std::min<std::chrono::steady_clock::duration>(until - now, kInterruptPoll));
        }
        return false;
    }

    bool Stopping() {
        std::lock_guard lock(mutex_);
        return stopping_ || g_interrupted.load();
    }

    void StopAll() {
        std::list<std::shared_ptr<Worker>> workers;
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            workers.swap(workers_);
        }
        cv_.notify_all();
        for (auto& worker : workers) {
            if (worker->thread.joinable()) worker->thread.join();
        }
        std::lock_guard lock(mutex_);
        stopping_ = false;
        serving_ = nextTicket_;
    }

private:
    struct Worker {
        std::thread thread;
        std::uint64_t ticket = 0;
        bool done = false;
    };

    // Waits until the workers asked for before this one have ended; false
    // when the pool is being stopped meanwhile (the body is then not run).
    bool AwaitTurn(const Worker& worker) {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [&] { return stopping_ || serving_ == worker.ticket; });
        return !stopping_;
    }

    void Finish(Worker& worker) {
        {
            std::lock_guard lock(mutex_);
            worker.done = true;
            serving_ = std::max(serving_, worker.ticket + 1);
            // A broken link keeps meter polling off until the next connection.
            if (--running_ == 0 && g_bReadThreadEnd.load() == 0) g_bSyncIdle.store(1);
        }
        cv_.notify_all();
    }

    // Joins workers that have finished; called with the lock held.
    void ReapFinished() {
        for (auto it = workers_.begin(); it != workers_.end();) {
            if ((*it)->done) {
                (*it)->thread.join();
                it = workers_.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable cv_;
    std::list<std::shared_ptr<Worker>> workers_;
    int running_ = 0;
    bool stopping_ = false;
    std::uint64_t nextTicket_ = 0;
    std::uint64_t serving_ = 0;  // the ticket whose worker may run now
};

WorkerPool& Pool() {
    static WorkerPool pool;
    return pool;
}

void PostSyncDone(SyncKind kind, bool succeeded) {
    if (!SyncStopping()) {
        PostHostMessage(WM_SYNC_DONE, static_cast<std::uintptr_t>(kind), succeeded ? 1 : 0);
    }
}

}  // namespace

void StartSynchronizeData() {
    DebugLog("Start thread:SynchronizeData\n");
    Pool().Start([] {
        // Gives the device time to finish loading or recalling a mode.
        const bool read = SyncPause(kReadAllPause) && ReadAll();
        PostSyncDone(kSyncReadAll, read);
    });
}

void StartWriteAll() {
    Pool().Start([] { PostSyncDone(kSyncWriteAll, WriteAll()); });
}

void StartRearRouting(bool toRear) {
    Pool().Start([toRear] {
        const bool ran = SyncPause(kRoutingSettle) && SetRearRouting(toRear ? 1 : 0);
        PostSyncDone(kSyncRearRouting, ran && LinkSound());
    });
}

void StartPooledWorker(std::function<void()> body) { Pool().Start(std::move(body)); }

bool SyncWorkersRunning() { return Pool().Running(); }
bool WaitForSyncWorkers(std::chrono::milliseconds timeout) { return Pool().WaitIdle(timeout); }
void StopSyncWorkers() { Pool().StopAll(); }
bool SyncPause(std::chrono::milliseconds duration) { return Pool().Pause(duration); }
bool SyncStopping() { return Pool().Stopping(); }
void InterruptSynchronisation() { g_interrupted.store(true); }
bool SynchronisationInterrupted() { return g_interrupted.load(); }
void ClearSynchronisationInterrupt() { g_interrupted.store(false); }

}  // namespace sonoria
