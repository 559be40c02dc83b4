// What the administration windows need from the main window, handed to them
// when they are made: admin/ never reaches into app/.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace sonoria {

struct AdminWindowHooks {
    // The timed information window.
    std::function<void(const QString& text, int milliseconds)> showInfo;
    // A modal question with Yes and No and the question icon; true for Yes.
    std::function<bool(QWidget* owner, const QString& text, const QString& caption)> askYesNo;
    // A modal box with an OK button and no icon.
    std::function<void(QWidget* owner, const QString& text, const QString& caption)> showMessage;
};

}  // namespace sonoria
