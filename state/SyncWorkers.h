// The short-lived workers that move the whole device state in one direction,
// and their bookkeeping: meter polling (g_bSyncIdle) is allowed only while no
// worker runs and the link is sound, and every worker can be stopped and
// joined before the program or a test lets go of the shared state.
#pragma once

#include <chrono>
#include <functional>

namespace sonoria {

// What the worker that posts WM_SYNC_DONE did (its wParam).
enum SyncKind : int {
    kSyncReadAll = 0,
    kSyncWriteAll = 1,
    kSyncRearRouting = 2,
};

// Logs the start and runs the read-all worker: pause 1600 ms, ReadAll,
// message 1002 with 0 and ReadAll's result.
void StartSynchronizeData();

// Runs the write-all worker: WriteAll, message 1002 with 1 and its result.
void StartWriteAll();

// Runs the routing change (SetRearRouting, 1 = to the rear) after a short
// pause that lets the window show its notice: message 1002 with 2 and 1 when
// it ran to its end on a sound link, 0 otherwise.
void StartRearRouting(bool toRear);

// Runs `body` as one more worker of the pool, with the same bookkeeping
// (meter polling paused while it runs, stopped and joined by StopSyncWorkers).
// Workers run one at a time, in the order they were started: a read-all, a
// write-all, the routing change and the firmware transfer never interleave.
void StartPooledWorker(std::function<void()> body);

// True while any worker runs.
bool SyncWorkersRunning();

// Waits until no worker runs (at most `timeout`); true when none is left.
bool WaitForSyncWorkers(std::chrono::milliseconds timeout);

// Makes running workers give up at their next step (their pauses end at once,
// no further command is sent, no message is posted) and joins them. Call it
// before the program exits; new workers may start again afterwards.
void StopSyncWorkers();

// For the synchronisation procedures: pauses unless the workers are being
// stopped; false when they are.
bool SyncPause(std::chrono::milliseconds duration);
bool SyncStopping();

// Makes the synchronisation procedures give up at their next step, on any
// thread, until cleared (a write-all still brings its volumes back). Safe to
// call from a signal handler.
void InterruptSynchronisation();
bool SynchronisationInterrupted();
void ClearSynchronisationInterrupt();

}  // namespace sonoria
