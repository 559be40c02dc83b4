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
    if (event->type() != QEvent::KeyRelease) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat() || (actions_.synchronising && actions_.synchronising())) return false;
    if (key->key() == Qt::Key_F7) return Run(f7Guard_, actions_.openMachineSettings);
    if (key->key() == Qt::Key_F6 && (key->modifiers() & Qt::ControlModifier)) {
        return Run(ctrlF6Guard_, actions_.openLogo);
    }
    return false;
}

}  // namespace sonoria
