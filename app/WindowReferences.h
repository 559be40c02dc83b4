// The main window's references to its sub-windows.
#pragma once

#include <QPointer>
#include <QWidget>

namespace sonoria {

// Clears the reference, then closes the window. Qt deletes a closed window
// later, so a reference cleared only at its deletion would still point at it
// when the next opener looks.
template <typename Window>
void CloseAndForget(QPointer<Window>& reference) {
    Window* window = reference.data();
    reference.clear();
    if (window != nullptr) window->close();
}

// The window behind the reference, unless it is already closing (hidden for
// good and waiting for its deletion); a closing window's reference is cleared.
template <typename Window>
Window* LiveWindow(QPointer<Window>& reference) {
    if (!reference.isNull() && !reference->isVisible()) reference.clear();
    return reference.data();
}

}  // namespace sonoria
