// Waiting in window tests without time margins: wait for the thing itself,
// and prove that something did not happen by an event that comes after it.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <functional>
#include <utility>

#include "link/EditLane.h"
#include "link/LinkState.h"
#include "support/TestSupport.h"

namespace sonoria::test {

// kEventTimeout for Qt Test's waits (qWaitForWindowExposed, qWaitForWindowActive).
inline constexpr int kEventTimeoutMs = static_cast<int>(std::chrono::milliseconds(kEventTimeout).count());

// Processes events until `condition` holds; only a failure waits the whole
// kEventTimeout.
template <typename Condition>
[[nodiscard]] bool WaitUntil(Condition condition) {
    return QTest::qWaitFor(condition, kEventTimeoutMs);
}

// Delivers every event already queued, deferred deletes included (Qt deletes
// closed windows and deleteLater'd objects this way).
inline void ProcessQueuedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Proves that the device has nothing more to tell the window: the link's read
// thread has handled every report the device had queued (a key it still
// listens for comes first), and the window has handled what it was told.
[[nodiscard]] inline bool DeviceHasSaidEverything(const VirtualDevice& device) {
    if (!device.WaitUntilHostReadAll(kEventTimeout)) return false;
    ProcessQueuedEvents();
    return true;
}

// Waits until the user's kept edits have all gone to the device and it has
// answered the last of them.
[[nodiscard]] inline bool EditsReachedDevice() {
    return WaitUntil([] { return !EditsPending() && !AnswerOutstanding(); });
}

// Lets every timer of this thread that is due within `time` fire: Qt fires due
// timers in the order they are due, a coarse timer is at most 5% late, so once
// a timer of our own due after that has fired, they have all fired.
[[nodiscard]] inline bool LetTimersDueWithinFire(std::chrono::milliseconds time) {
    QObject guard;  // cancels the timer should the wait fail
    bool fired = false;
    QTimer::singleShot(time + time / 10 + std::chrono::milliseconds(20), Qt::PreciseTimer, &guard,
                       [&] { fired = true; });
    return WaitUntil([&] { return fired; });
}

// Runs `action` once, as soon as `condition` holds: a 0 ms timer looks at
// every turn of the event loop, a modal window's loop included. Use it to act
// in the middle of something (e.g. while the progress window is up) without
// guessing when that is.
class WhenFirst {
public:
    WhenFirst(std::function<bool()> condition, std::function<void()> action) {
        QObject::connect(&timer_, &QTimer::timeout, [this, condition = std::move(condition),
                                                     action = std::move(action)] {
            if (!condition()) return;
            timer_.stop();
            action();
        });
        timer_.start(0);
    }

private:
    QTimer timer_;
};

}  // namespace sonoria::test
