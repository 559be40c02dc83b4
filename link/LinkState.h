// Process-wide state of the device link: the flags every part consults, the
// flow-control objects and the backend in use. One device at a time.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>

#include "link/AutoResetEvent.h"
#include "link/HidBackend.h"
#include "link/TimedLock.h"

namespace sonoria {

// 1 while the device is open and the read thread is meant to run.
extern std::atomic<int> g_bDeviceOpen;
// 1 once the link is lost: a read failed (the read thread then ends) or the
// device left kUnansweredLimit commands in a row unanswered. Writes then
// return at once until the next connection.
extern std::atomic<int> g_bReadThreadEnd;
// 1 when no synchronisation worker runs and the link is sound; meters are polled only then.
extern std::atomic<int> g_bSyncIdle;
// 1 while the connected device is in its upgrade mode.
extern std::atomic<int> g_bUpgradeMode;
// Progress of the current chunked transfer, 0..100.
extern std::atomic<int> g_nTransferPercent;

// Serialises report writes; a writer waits for it at most kWriteLockWait.
extern TimedLock g_hWriteMutex;
// Set after the read thread handled an answer; consumed by each write.
extern AutoResetEvent g_hAnswerEvent;
// Set when the read thread ends.
extern AutoResetEvent g_hReadThreadExited;

inline constexpr std::chrono::milliseconds kWriteLockWait{800};
inline constexpr std::chrono::milliseconds kAnswerWait{1500};
inline constexpr std::chrono::milliseconds kReadThreadExitWait{1000};
// Commands in a row left unanswered after which the device counts as gone.
inline constexpr int kUnansweredLimit = 3;
// How long one read waits before the read thread looks at g_bDeviceOpen again.
inline constexpr int kReadPollMs = 50;

// Flow-control bookkeeping of the open link. A write records whether the
// answer to the previous command came within kAnswerWait; kUnansweredLimit
// misses in a row declare the link lost.
void ResetAnswerAccounting();
// Returns true when this miss declared the link lost.
bool CountUnansweredCommand();
void CountAnsweredCommand();
int UnansweredInARow();
// True while the device owes the answer to the last command written.
bool AnswerOutstanding();
// Waits, at most kAnswerWait, until the device has answered the last command
// written; false when it has not by then. Does not take the answer from the
// next write.
bool WaitForAnswer();
// Marks the link lost (writes stop at once, meter polling stays off) and tells
// the main window with WM_LINK_LOST, once per connection. Any thread.
void DeclareLinkLost();

// Path of the opened device, used to recognise its removal. Empty when none.
std::string DevicePath();
void SetDevicePath(std::string path);
void ClearDevicePath();

// The backend the next connection uses (hidapi or the virtual device).
void SetHidBackend(std::shared_ptr<HidBackend> backend);
std::shared_ptr<HidBackend> CurrentHidBackend();

}  // namespace sonoria
