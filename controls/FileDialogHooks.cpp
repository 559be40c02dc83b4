#include "controls/FileDialogHooks.h"

namespace sonoria {
namespace {

// Windows live on the UI thread only: no lock.
FileDialogHooks& Hooks() {
    static FileDialogHooks hooks;
    return hooks;
}

}  // namespace

void SetFileDialogHooks(FileDialogHooks hooks) { Hooks() = std::move(hooks); }

QString ChooseFileToOpen(QWidget* owner, const QString& filter) {
    return Hooks().chooseOpen ? Hooks().chooseOpen(owner, filter) : QString();
}

QString ChooseFileToSave(QWidget* owner, const QString& filter) {
    return Hooks().chooseSave ? Hooks().chooseSave(owner, filter) : QString();
}

void WarnAbout(QWidget* owner, const QString& text, const QString& caption) {
    if (Hooks().warn) Hooks().warn(owner, text, caption);
}

bool AskToConfirm(QWidget* owner, const QString& text, const QString& caption) {
    return Hooks().askYesNo && Hooks().askYesNo(owner, text, caption);
}

}  // namespace sonoria
