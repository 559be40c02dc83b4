// The program's QApplication: every user input is delivered inside one edit
// step, so that what it sends can be undone as one. A mouse button's step
// lasts from its press to the end of its release (a drag, a click and what
// the click asks, confirmations included); a key or a wheel notch is a step
// of its own unless a button is held.
#pragma once

#include <QApplication>

namespace sonoria {

class SonoriaApplication : public QApplication {
public:
    using QApplication::QApplication;
    ~SonoriaApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    int inputDepth_ = 0;       // input events being delivered, nested ones included
    bool buttonStep_ = false;  // a press opened the step that its release closes
};

}  // namespace sonoria
