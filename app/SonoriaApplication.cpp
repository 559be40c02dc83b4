#include "app/SonoriaApplication.h"

#include <QEvent>

#include "state/EditHistory.h"

namespace sonoria {
namespace {

enum class Input { None, Press, Release, Single };

Input InputOf(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: return Input::Press;
        case QEvent::MouseButtonRelease: return Input::Release;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel: return Input::Single;
        default: return Input::None;
    }
}

}  // namespace

SonoriaApplication::~SonoriaApplication() {
    if (buttonStep_) EndEditStep();
}

bool SonoriaApplication::notify(QObject* receiver, QEvent* event) {
    const Input input = InputOf(event);
    // An input delivered inside another (to a child, or in a dialog the
    // first one opened) belongs to the outer one's step.
    if (input == Input::None || inputDepth_ > 0) {
        if (input == Input::None) return QApplication::notify(receiver, event);
        ++inputDepth_;
        const bool handled = QApplication::notify(receiver, event);
        --inputDepth_;
        return handled;
    }
    if (input == Input::Press) {
        if (buttonStep_) EndEditStep();  // its release never came
        BeginEditStep();
        buttonStep_ = true;
    }
    const bool single = input == Input::Single && !buttonStep_;
    if (single) BeginEditStep();
    ++inputDepth_;
    const bool handled = QApplication::notify(receiver, event);
    --inputDepth_;
    if (single) EndEditStep();
    if (input == Input::Release && buttonStep_) {
        buttonStep_ = false;
        EndEditStep();
    }
    return handled;
}

}  // namespace sonoria
