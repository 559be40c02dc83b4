// The main window's openers of the remote learning and wireless-microphone
// windows, and the device's reports that reach them.
#include "app/CSonoriaDlg.h"
#include "app/RemoteFileDialogs.h"

namespace sonoria {

void CSonoriaDlg::ShowRemoteLearning(QWidget* owner) {
    if (remote_.isNull()) {
        CRemoteDlg::Hooks hooks;
        hooks.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
        hooks.saveFile = [](QWidget* window) { return SaveRemoteFileDialog(window); };
        hooks.loadFile = [](QWidget* window) { return LoadRemoteFileDialog(window); };
        remote_ = new CRemoteDlg(owner != nullptr ? owner : this, std::move(hooks));
    }
    remote_->show();
    remote_->raise();
}

void CSonoriaDlg::ShowWirelessMics() {
    // Owned by this window, so that it outlives the Function window.
    if (wmic_.isNull()) wmic_ = new CWMicDlg(this, [this](const QString& text, int ms) { ShowInfo(text, ms); });
    wmic_->show();
    wmic_->raise();
}

void CSonoriaDlg::OnKeyLearned(int code) {
    if (remote_.isNull()) return;
    if (CRemoteStudyDlg* progress = remote_->Progress()) progress->OnKeyLearned(code);
}

void CSonoriaDlg::OnWirelessStatus() {
    if (!wmic_.isNull()) wmic_->RefreshWirelessStatus();
}

}  // namespace sonoria
