// The main window's openers of the remote learning and wireless-microphone
// windows, and the device's reports that reach them.
#include "app/CSonoriaDlg.h"
#include "app/RemoteFileDialogs.h"

namespace sonoria {

void CSonoriaDlg::ShowRemoteLearning(QWidget* owner) {
    QPointer<CRemoteDlg>& remote = windows_.Ref<CRemoteDlg>();
    if (remote.isNull()) {
        CRemoteDlg::Hooks hooks;
        hooks.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
        hooks.saveFile = [](QWidget* window) { return SaveRemoteFileDialog(window); };
        hooks.loadFile = [](QWidget* window) { return LoadRemoteFileDialog(window); };
        remote = new CRemoteDlg(owner != nullptr ? owner : this, std::move(hooks));
    }
    remote->show();
    remote->raise();
}

void CSonoriaDlg::ShowWirelessMics() {
    // Owned by this window, so that it outlives the Function window.
    QPointer<CWMicDlg>& wireless = windows_.Ref<CWMicDlg>();
    if (wireless.isNull()) wireless = new CWMicDlg(this, [this](const QString& text, int ms) { ShowInfo(text, ms); });
    wireless->show();
    wireless->raise();
}

void CSonoriaDlg::OnKeyLearned(int code) {
    CRemoteDlg* remote = RemoteWindow();
    if (remote == nullptr) return;
    if (CRemoteStudyDlg* progress = remote->Progress()) progress->OnKeyLearned(code);
}

void CSonoriaDlg::OnWirelessStatus() {
    if (CWMicDlg* wireless = WirelessWindow()) wireless->RefreshWirelessStatus();
}

}  // namespace sonoria
