// The main window's openers of the logo, About and firmware windows, and its
// handling of a device that connects in its upgrade mode.
#include <QPointer>

#include "admin/CAboutDlg.h"
#include "admin/CLogoDlg.h"
#include "admin/CUpgradeDlg.h"
#include "admin/CWaitUpDlg.h"
#include "app/CSonoriaDlg.h"
#include "app/MessageService.h"
#include "app/WindowReferences.h"
#include "link/LinkState.h"
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
    if (logo_.isNull()) logo_ = new CLogoDlg(this, MakeAdminHooks());
    ShowAndRaise(logo_);
}

void CSonoriaDlg::ShowAbout(QWidget* owner) {
    QWidget* parent = owner != nullptr ? owner : this;
    // A hidden About is on its way out (its close deletes it); one opened for
    // another owner gives way to one that closes with this owner.
    if (LiveWindow(about_) != nullptr && about_->parentWidget() != parent) CloseAndForget(about_);
    if (about_.isNull()) {
        CAboutDlg::Hooks hooks;
        hooks.levelDetection = [this] { return levelDetection_; };
        hooks.setLevelDetection = [this](bool on) { levelDetection_ = on; };
        CAboutDlg* about = new CAboutDlg(parent, hooks);
        about_ = about;
        // Qt deletes a closed owner later, and its owned windows only after its
        // own destructor: the reference goes, and the window closes, when the
        // owner closes.
        if (auto* dialog = qobject_cast<QDialog*>(owner); dialog != nullptr && owner != this) {
            connect(dialog, &QDialog::finished, about, [this, about] {
                if (about_ == about) CloseAndForget(about_);
            });
        }
    }
    ShowAndRaise(about_);
}

void CSonoriaDlg::ShowFirmwareUpgrade() {
    if (upgrade_.isNull()) {
        CUpgradeDlg::Hooks hooks;
        hooks.common = MakeAdminHooks();
        hooks.setTransferRequest = [this](bool on) { transferRequest2_ = on; };
        hooks.showWaitForUpgrade = [this](const QString& text) { ShowWaitForUpgrade(text); };
        upgrade_ = new CUpgradeDlg(this, hooks);
    }
    ShowAndRaise(upgrade_);
}

void CSonoriaDlg::ShowWaitForUpgrade(const QString& text) {
    if (waitUp_.isNull()) waitUp_ = new CWaitUpDlg(this);
    waitUp_->SetText(text);
    ShowAndRaise(waitUp_);
}

bool CSonoriaDlg::ConnectedInUpgradeMode() {
    const auto backend = CurrentHidBackend();
    g_bUpgradeMode.store(backend && backend->InUpgradeMode() ? 1 : 0);
    // The device is back, in whichever mode: the instruction to restart it is done with.
    if (CWaitUpDlg* wait = waitUp_.data()) {
        waitUp_ = nullptr;
        wait->close();
    }
    if (g_bUpgradeMode.load() != 1) return false;
    if (CUpgradeDlg* upgrade = upgrade_.data()) {
        upgrade->SetUpgradeStatus(true);
        if (transferRequest2_) {
            transferRequest2_ = false;
            upgrade->StartTransfer();
        }
        return true;
    }
    if (AskYesNo(this, QString::fromUtf8("机器已进入升级模式，您需要升级吗?"), QString::fromUtf8("升级"))) {
        ShowFirmwareUpgrade();
        transferRequest2_ = false;
        if (!upgrade_.isNull()) upgrade_->StartUpgrade(false);
    }
    return true;
}

void CSonoriaDlg::OnUpgradeDone(bool sent) {
    // A window destroyed during the transfer leaves nothing to do: no restart, no notice.
    CUpgradeDlg* upgrade = upgrade_.data();
    if (upgrade != nullptr && upgrade->Transferring()) upgrade->FinishUpgrade(sent);
}

void CSonoriaDlg::UpgradeLinkEnded() {
    CUpgradeDlg* upgrade = upgrade_.data();
    if (upgrade == nullptr) return;
    upgrade->SetUpgradeStatus(false);
    // The workers were stopped with the link: a transfer that was running has failed.
    if (upgrade->Transferring() && !FirmwareTransferRunning()) upgrade->FinishUpgrade(false);
}

void CSonoriaDlg::CloseAdminWindows() {
    CloseAndForget(about_);
    // The upgrade window's reference is cleared first too: it is deleted later.
    if (CUpgradeDlg* upgrade = upgrade_.data()) {
        upgrade_ = nullptr;
        upgrade->Destroy();
    }
}

}  // namespace sonoria
