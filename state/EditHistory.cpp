#include "state/EditHistory.h"

#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "link/EditLane.h"
#include "state/ParamSender.h"

namespace sonoria {
namespace {

// A parameter written (its raw value before and after), or an edit that is
// not a parameter write, with its own undo and redo.
struct Change {
    ParamAddress address{};
    Encoding encoding = Encoding::RAW;
    int before = 0;
    int after = 0;
    std::function<void()> undo;
    std::function<void()> redo;

    bool IsAction() const { return undo || redo; }
};

using Step = std::vector<Change>;

struct History {
    std::mutex mutex;
    std::deque<Step> done;
    std::vector<Step> undone;  // newest last
};

History& TheHistory() {
    static History history;
    return history;
}

// The step being recorded belongs to one thread.
thread_local int t_depth = 0;
thread_local Step t_open;
thread_local bool t_replaying = false;

bool Recording() { return t_depth > 0 && !t_replaying; }

// Sends one side of a step with recording off: the old values for undo, the new for redo.
void Replay(const Step& step, bool undo) {
    t_replaying = true;
    {
        const EditGroup edit;  // the step's writes go out together
        for (const Change& change : step) {
            if (!change.IsAction()) {
                SendEncoded(change.address, change.encoding, undo ? change.before : change.after);
            } else if (const auto& action = undo ? change.undo : change.redo) {
                action();
            }
        }
    }
    t_replaying = false;
}

// Takes the newest step off one list for the other, then replays it.
bool Move(bool undo) {
    History& history = TheHistory();
    std::optional<Step> step;
    {
        std::lock_guard lock(history.mutex);
        if (undo && !history.done.empty()) {
            step = std::move(history.done.back());
            history.done.pop_back();
        } else if (!undo && !history.undone.empty()) {
            step = std::move(history.undone.back());
            history.undone.pop_back();
        }
    }
    if (!step) return false;
    Replay(*step, undo);
    std::lock_guard lock(history.mutex);
    if (undo) {
        history.undone.push_back(std::move(*step));
    } else {
        history.done.push_back(std::move(*step));
    }
    return true;
}

}  // namespace

void BeginEditStep() {
    if (t_depth++ == 0) t_open.clear();
}

void EndEditStep() {
    if (t_depth == 0 || --t_depth > 0) return;
    Step step = std::move(t_open);
    t_open.clear();
    // Values that came back to where they were changed nothing.
    std::erase_if(step, [](const Change& change) { return !change.IsAction() && change.before == change.after; });
    if (step.empty()) return;
    History& history = TheHistory();
    std::lock_guard lock(history.mutex);
    history.undone.clear();
    history.done.push_back(std::move(step));
    while (history.done.size() > kEditHistoryLimit) history.done.pop_front();
}

void RecordParamEdit(ParamAddress address, Encoding encoding, int before, int after) {
    if (!Recording()) return;
    for (Change& change : t_open) {
        if (!change.IsAction() && change.address == address) {
            change.after = after;  // a drag: the first value before, the last after
            return;
        }
    }
    t_open.push_back(Change{address, encoding, before, after, {}, {}});
}

void RecordEditAction(std::function<void()> undo, std::function<void()> redo) {
    if (!Recording()) return;
    t_open.push_back(Change{{}, Encoding::RAW, 0, 0, std::move(undo), std::move(redo)});
}

bool UndoEdit() { return Move(true); }
bool RedoEdit() { return Move(false); }

bool CanUndoEdit() {
    std::lock_guard lock(TheHistory().mutex);
    return !TheHistory().done.empty();
}

bool CanRedoEdit() {
    std::lock_guard lock(TheHistory().mutex);
    return !TheHistory().undone.empty();
}

std::size_t EditStepCount() {
    std::lock_guard lock(TheHistory().mutex);
    return TheHistory().done.size();
}

void ClearEditHistory() {
    History& history = TheHistory();
    std::lock_guard lock(history.mutex);
    history.done.clear();
    history.undone.clear();
}

}  // namespace sonoria
