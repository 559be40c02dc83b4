// How the windows outside app/ ask for a file name and tell of a failure: the
// application shell installs its own file dialogs and message boxes here, so
// that these windows show the same boxes (and tests answer them the same way).
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace sonoria {

struct FileDialogHooks {
    // A file to open, or to save to; empty when the user cancelled.
    std::function<QString(QWidget* owner, const QString& filter)> chooseOpen;
    std::function<QString(QWidget* owner, const QString& filter)> chooseSave;
    // A modal box with the warning icon and an OK button.
    std::function<void(QWidget* owner, const QString& text, const QString& caption)> warn;
    // A modal question; true for Yes.
    std::function<bool(QWidget* owner, const QString& text, const QString& caption)> askYesNo;
};

// Installed once by the application shell.
void SetFileDialogHooks(FileDialogHooks hooks);

// Each answers as the user would who cancels, while no hook is installed.
QString ChooseFileToOpen(QWidget* owner, const QString& filter);
QString ChooseFileToSave(QWidget* owner, const QString& filter);
void WarnAbout(QWidget* owner, const QString& text, const QString& caption);
bool AskToConfirm(QWidget* owner, const QString& text, const QString& caption);

}  // namespace sonoria
