// A signalled/unsignalled flag that wakes one waiter and resets itself, as
// the link's flow control needs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace sonoria {

class AutoResetEvent {
public:
    explicit AutoResetEvent(bool signalled = false) : signalled_(signalled) {}

    void Set() {
        {
            std::lock_guard lock(mutex_);
            signalled_ = true;
        }
        // Everyone looks: one waiter takes the signal, watchers only see it.
        cv_.notify_all();
    }

    void Reset() {
        std::lock_guard lock(mutex_);
        signalled_ = false;
    }

    bool IsSet() {
        std::lock_guard lock(mutex_);
        return signalled_;
    }
    // Waits until signalled or the timeout passes; consumes the signal.
    bool WaitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        ++waiting_;
        ++waits_;
        const bool signalled = cv_.wait_for(lock, timeout, [this] { return signalled_; });
        --waiting_;
        if (!signalled) return false;
        signalled_ = false;
        return true;
    }
    // Waits until signalled or the timeout passes; leaves the signal for the next WaitFor.
    bool WaitUntilSetFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, timeout, [this] { return signalled_; });
    }
    // How many threads are inside WaitFor, and how many waits began so far
    // (tests see by these whether a writer waits for an answer).
    int Waiting() {
        std::lock_guard lock(mutex_);
        return waiting_;
    }
    std::uint64_t Waits() {
        std::lock_guard lock(mutex_);
        return waits_;
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_;
    int waiting_ = 0;
    std::uint64_t waits_ = 0;
};

}  // namespace sonoria
