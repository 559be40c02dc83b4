#include "app/HotKeys.h"

#include <QKeyEvent>

namespace sonoria {

HotKeys::HotKeys(Actions actions, QObject* parent) : QObject(parent), actions_(std::move(actions)) {}

bool HotKeys::Run(bool& guard, const std::function<void()>& action) {
    if (!guard || !action) return false;
    guard = false;
    action();
    guard = true;
    return true;
}

bool HotKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) return HistoryKey(static_cast<QKeyEvent*>(event));
    if (event->type() != QEvent::KeyRelease) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() || (actions_.synchronising && actions_.synchronising())) return false;
    if (key->key() == Qt::Key_F7) return Run(f7Guard_, actions_.openMachineSettings);
    if (key->key() == Qt::Key_F6 && (key->modifiers() & Qt::ControlModifier)) {
        return Run(ctrlF6Guard_, actions_.openLogo);
    }
    return false;
}

bool HotKeys::HistoryKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const bool undo = key->key() == Qt::Key_Z && modifiers == Qt::ControlModifier;
    const bool redo = (key->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) ||
                      (key->key() == Qt::Key_Y && modifiers == Qt::ControlModifier);
    if (!undo && !redo) return false;
    // Taken either way, so that no window acts on it too.
    if (actions_.synchronising && actions_.synchronising()) return true;
    Run(historyGuard_, undo ? actions_.undo : actions_.redo);
    return true;
}

}  // namespace sonoria
