// The user's edits, one step per action, to take back and do again. A step
// is opened around each user input on the window thread (a mouse button from
// press to release, a key, a wheel notch); every parameter sent while it is
// open is kept with its raw value before and after, and so are the edits
// that are not parameter writes (the machine settings, the routing) as their
// own undo and redo. Undo sends the old values through the same senders, in
// the order the step first sent them; redo the new ones.
#pragma once

#include <cstddef>
#include <functional>

#include "state/ParameterTable.h"

namespace sonoria {

inline constexpr std::size_t kEditHistoryLimit = 200;

// Opens and closes a step on the calling thread; nested steps belong to the
// outermost. A step that changed nothing is not kept.
void BeginEditStep();
void EndEditStep();

// The senders report here. Kept only inside a step on the thread that opened
// it, and never while a step is being undone or redone.
void RecordParamEdit(ParamAddress address, Encoding encoding, int before, int after);
void RecordEditAction(std::function<void()> undo, std::function<void()> redo);

// False when there is nothing to undo or redo.
bool UndoEdit();
bool RedoEdit();
bool CanUndoEdit();
bool CanRedoEdit();
std::size_t EditStepCount();

// Forgets every step (the device now holds what was read).
void ClearEditHistory();

}  // namespace sonoria
