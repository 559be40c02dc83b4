// The main window's openers of the logo, About and firmware windows, and the
// upgrade window's part when the device connects in its upgrade mode.
#include <QPointer>

#include "admin/CAboutDlg.h"
#include "admin/CLogoDlg.h"
#include "admin/CUpgradeDlg.h"
#include "admin/CWaitUpDlg.h"
#include "app/CSonoriaDlg.h"
#include "app/MessageService.h"
#include "app/WindowReferences.h"
#include "state/FirmwareTransfer.h"

namespace sonoria {
namespace {

// Brings a window that already exists to the front.
void ShowAndRaise(QWidget* window) {
    window->show();
    window->activateWindow();
}

}  // namespace

AdminWindowHooks CSonoriaDlg::MakeAdminHooks() {
    AdminWindowHooks hooks;
    hooks.showInfo = [this](const QString& text, int ms) { ShowInfo(text, ms); };
    hooks.askYesNo = [](QWidget* owner, const QString& text, const QString& caption) {
        return AskYesNo(owner, text, caption);
    };
    hooks.showMessage = [](QWidget* owner, const QString& text, const QString& caption) {
        ShowMessageBox(owner, text, caption, MessageIcon::None);
    };
    return hooks;
}

void CSonoriaDlg::ShowLogo() {
    QPointer<CLogoDlg>& logo = windows_.Ref<CLogoDlg>();
    if (logo.isNull()) logo = new CLogoDlg(this, MakeAdminHooks());
    ShowAndRaise(logo);
}

void CSonoriaDlg::ShowAbout(QWidget* owner) {
    QWidget* parent = owner != nullptr ? owner : this;
    QPointer<CAboutDlg>& reference = windows_.Ref<CAboutDlg>();
    // A hidden About is on its way out (its close deletes it); one opened for
    // another owner gives way to one that closes with this owner.
    if (LiveWindow(reference) != nullptr && reference->parentWidget() != parent) CloseAndForget(reference);
    if (reference.isNull()) {
        CAboutDlg::Hooks hooks;
        hooks.levelDetection = [this] { return session_->LevelDetection(); };
        hooks.setLevelDetection = [this](bool on) { session_->SetLevelDetection(on); };
        CAboutDlg* about = new CAboutDlg(parent, hooks);
        reference = about;
        // Qt deletes a closed owner later, and its owned windows only after its
        // own destructor: the reference goes, and the window closes, when the
        // owner closes.
        if (auto* dialog = qobject_cast<QDialog*>(owner); dialog != nullptr && owner != this) {
            connect(dialog, &QDialog::finished, about, [this, about] {
                if (AboutWindow() == about) windows_.CloseAndForget<CAboutDlg>();
            });
        }
    }
    ShowAndRaise(reference);
}

void CSonoriaDlg::ShowFirmwareUpgrade() {
    QPointer<CUpgradeDlg>& upgrade = windows_.Ref<CUpgradeDlg>();
    if (upgrade.isNull()) {
        CUpgradeDlg::Hooks hooks;
        hooks.common = MakeAdminHooks();
        hooks.setTransferRequest = [this](bool on) { session_->SetTransferRequest(on); };
        hooks.showWaitForUpgrade = [this](const QString& text) { ShowWaitForUpgrade(text); };
        upgrade = new CUpgradeDlg(this, hooks);
    }
    ShowAndRaise(upgrade);
}

void CSonoriaDlg::ShowWaitForUpgrade(const QString& text) {
    QPointer<CWaitUpDlg>& wait = windows_.Ref<CWaitUpDlg>();
    if (wait.isNull()) wait = new CWaitUpDlg(this);
    wait->SetText(text);
    ShowAndRaise(wait);
}

void CSonoriaDlg::CloseWaitForUpgrade() { windows_.CloseAndForget<CWaitUpDlg>(); }

void CSonoriaDlg::OnUpgradeModeEntered() {
    if (CUpgradeDlg* upgrade = UpgradeWindow()) {
        upgrade->SetUpgradeStatus(true);
        if (session_->TransferRequested()) {
            session_->SetTransferRequest(false);
            upgrade->StartTransfer();
        }
        return;
    }
    if (AskYesNo(this, QString::fromUtf8("机器已进入升级模式，您需要升级吗?"), QString::fromUtf8("升级"))) {
        ShowFirmwareUpgrade();
        session_->SetTransferRequest(false);
        if (CUpgradeDlg* upgrade = UpgradeWindow()) upgrade->StartUpgrade(false);
    }
}

void CSonoriaDlg::OnUpgradeDone(bool sent) {
    // A window destroyed during the transfer leaves nothing to do: no restart, no notice.
    CUpgradeDlg* upgrade = UpgradeWindow();
    if (upgrade != nullptr && upgrade->Transferring()) upgrade->FinishUpgrade(sent);
}

void CSonoriaDlg::UpgradeLinkEnded() {
    CUpgradeDlg* upgrade = UpgradeWindow();
    if (upgrade == nullptr) return;
    upgrade->SetUpgradeStatus(false);
    // The workers were stopped with the link: a transfer that was running has failed.
    if (upgrade->Transferring() && !FirmwareTransferRunning()) upgrade->FinishUpgrade(false);
}

void CSonoriaDlg::CloseAdminWindows() {
    windows_.CloseAndForget<CAboutDlg>();
    // The upgrade window's reference is cleared first too: it is deleted later.
    if (CUpgradeDlg* upgrade = windows_.Take<CUpgradeDlg>()) upgrade->Destroy();
}

}  // namespace sonoria
