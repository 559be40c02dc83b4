// A lock that can be waited for with a time limit. Built on a plain mutex and
// condition variable rather than std::timed_mutex, whose timed wait the thread
// sanitizer of our toolchain does not see (it then reports every unlock).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace sonoria {

class TimedLock {
public:
    bool try_lock_for(std::chrono::milliseconds timeout) {
        std::unique_lock guard(mutex_);
        if (!cv_.wait_for(guard, timeout, [this] { return !held_; })) return false;
        held_ = true;
        return true;
    }

    void lock() {
        std::unique_lock guard(mutex_);
        cv_.wait(guard, [this] { return !held_; });
        held_ = true;
    }

    bool try_lock() {
        std::lock_guard guard(mutex_);
        if (held_) return false;
        held_ = true;
        return true;
    }

    void unlock() {
        {
            std::lock_guard guard(mutex_);
            held_ = false;
        }
        cv_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool held_ = false;
};

}  // namespace sonoria
