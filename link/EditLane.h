// The lane the user's parameter writes take, so that no edit keeps the window
// waiting for the device. Writes made on the lane's own thread (the window's)
// go out at once while the device owes nothing; while it owes an answer they
// are kept, and a newer edit of the same parameters replaces a kept one. Kept
// edits go out whole, in the order they were first kept, one write per
// answer. Writes from any other thread, and every write while no lane is
// installed (the command-line tool, tests without a window), go straight to
// the link and wait for the device as they always did.
#pragma once

#include <functional>
#include <thread>

#include "link/Report.h"

namespace sonoria {

// Makes `owner` the thread whose parameter writes are coalesced. `wake` is
// called from the read thread when an answer arrives while writes are kept,
// and from `owner` when one is kept; it must not wait (it schedules
// PumpEdits on `owner`). Replaces any lane installed before.
void InstallEditLane(std::thread::id owner, std::function<void()> wake);
void RemoveEditLane();

// The writes made while one of these lives are one edit: kept, replaced and
// sent as a whole, in their order (a band's gain, frequency and Q; a
// parameter and its twin). Nested groups belong to the outermost.
class EditGroup {
public:
    EditGroup();
    ~EditGroup();
    EditGroup(const EditGroup&) = delete;
    EditGroup& operator=(const EditGroup&) = delete;
};

// A parameter write (command 9). True when the lane took it: written at once
// or kept. False when the caller writes it itself (another thread, no lane).
bool TakeParameterWrite(const Report& report);

// On the lane's thread: writes the next kept report when the device has
// answered, or regardless when `overdue` (the answer window passed: the write
// then waits out its own window, so a silent device is found out). True
// when a report was written.
bool PumpEdits(bool overdue = false);
// On the lane's thread: writes every kept report now, each waiting for the
// device as a plain write does. Runs before any other write from that thread,
// before a bulk operation and before the window says goodbye.
void FlushEdits();
// Forgets every kept write (the link they were meant for is gone).
void DropEdits();
// Any thread: whether writes are kept.
bool EditsPending();

// Called by the read thread after it handled an answer.
void NotifyEditLaneOfAnswer();
// The link's own write path, before any report that did not come through the
// lane: on the lane's thread the kept writes go first.
void FlushEditsBeforeOtherWrite();

}  // namespace sonoria
