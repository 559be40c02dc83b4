// The main window's openers of the administration windows (Function, machine
// settings) and the services it lends them.
#include "admin/CDlgFunction.h"
#include "admin/COtherDlg.h"
#include "app/CSonoriaDlg.h"
#include "app/MessageService.h"
#include "app/ModeFileDialogs.h"
#include "files/ModeFile.h"

namespace sonoria {
namespace {

// Qt deletes a closed window later: the reference goes as soon as it is
// closed, so that the next opening makes a new window instead of showing one
// on its way out.
template <typename Window>
void ForgetWhenFinished(QPointer<Window>& reference) {
    Window* window = reference.data();
    QObject::connect(window, &QDialog::finished, window, [&reference, window] {
        if (reference == window) reference = nullptr;
    });
}

}  // namespace

void CSonoriaDlg::ShowFunction() {
    QPointer<CDlgFunction>& function = windows_.Ref<CDlgFunction>();
    if (function.isNull()) {
        CDlgFunction::Hooks hooks;
        hooks.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
        hooks.runSyncProgress = [this](SyncKind kind) { session_->BulkStarted(kind); };
        hooks.refreshModeButtons = [this] { RefreshModeButtons(); };
        hooks.setPendingModeSlot = [this](int slot) { session_->SetPendingModeSlot(slot); };
        hooks.askYesNo = [](QWidget* owner, const QString& text, const QString& caption) {
            return AskYesNo(owner, text, caption);
        };
        hooks.showWarning = [](QWidget* owner, const QString& text, const QString& caption) {
            ShowMessageBox(owner, text, caption, MessageIcon::Warning);
        };
        hooks.chooseFileToOpen = [](QWidget* owner, const QString& filter) { return ChooseOpenFileName(owner, filter); };
        hooks.saveModeFile = [](QWidget* owner) { SaveModeFileDialog(owner, BuildModeFile()); };
        hooks.showAbout = [this](QWidget* owner) { ShowAbout(owner); };
        hooks.showRemoteLearning = [this](QWidget* owner) { ShowRemoteLearning(owner); };
        hooks.showAutoSub = [this](QWidget* owner) { ShowAutoSub(owner); };
        hooks.showWirelessMics = [this](QWidget*) { ShowWirelessMics(); };  // the main window keeps it
        hooks.showFirmwareUpgrade = [this] { ShowFirmwareUpgrade(); };
        hooks.toggleLanguage = [this] { ToggleLanguage(); };
        function = new CDlgFunction(this, std::move(hooks));
        ForgetWhenFinished(function);
    }
    function->show();
    function->raise();
}

void CSonoriaDlg::ShowMachineSettings() {
    QPointer<COtherDlg>& settings = windows_.Ref<COtherDlg>();
    if (settings.isNull()) {
        COtherDlg::Hooks hooks;
        hooks.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
        hooks.refreshVolumeStrip = [this] { RefreshVolumeStrip(); };
        settings = new COtherDlg(this, std::move(hooks));
        ForgetWhenFinished(settings);
    }
    settings->show();
    settings->raise();
}

}  // namespace sonoria
