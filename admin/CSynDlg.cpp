#include "admin/CSynDlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include "controls/DialogTemplate.h"

namespace sonoria {
namespace {

constexpr int kMessageId = 1218;
constexpr int kBarId = 1217;
constexpr int kBarStep = 10;

const ControlSpec kControls[] = {
    {kMessageId, ControlKind::Label, "当前正在与机器同步数据,请稍后......", 19, 10, 207, 8},
    {kBarId, ControlKind::ProgressBar, "", 17, 24, 213, 10},
};
const DialogSpec kTemplate{kSyncDialogId, "同步过程", 262, 46, kDialogFont8, kControls};

}  // namespace

CSynDlg::CSynDlg(QWidget* owner, Hooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    BuildDialog(this, kTemplate);
    setModal(true);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QDialog { background: rgb(32,32,32); } QLabel { color: white; background: transparent; }"));
    setCursor(Qt::WaitCursor);
    bar_ = FindControlAs<QProgressBar>(this, kBarId);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    giveUpTimer_.setSingleShot(true);
    connect(&giveUpTimer_, &QTimer::timeout, this, &CSynDlg::GiveUp);
    connect(&stepTimer_, &QTimer::timeout, this, [this] {
        // An activity display: it starts over after passing the end.
        const int next = bar_->value() + kBarStep;
        bar_->setValue(next > bar_->maximum() ? 0 : next);
    });
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

void CSynDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (ending_ || giveUpTimer_.isActive()) return;
    if (hooks_.setSynchronising) hooks_.setSynchronising(true);
    giveUpTimer_.start(hooks_.giveUpMs);
    stepTimer_.start(kSyncStepMs);
}

int CSynDlg::Progress() const { return bar_->value(); }

void CSynDlg::Stop() {
    giveUpTimer_.stop();
    stepTimer_.stop();
    if (hooks_.setSynchronising) hooks_.setSynchronising(false);
    ending_ = true;
}

void CSynDlg::CloseSyncProgress() {
    Stop();
    reject();
}

void CSynDlg::GiveUp() {
    Stop();
    reject();
    // The synchronisation itself goes on; its end finds no progress window.
    if (hooks_.showInfo) hooks_.showInfo(QString::fromUtf8(kSyncGiveUpText), kSyncGiveUpInfoMs);
}

void CSynDlg::keyPressEvent(QKeyEvent* event) {
    // Neither Escape nor Enter ends the wait.
    event->accept();
}

void CSynDlg::closeEvent(QCloseEvent* event) {
    // Only the end of the synchronisation or the time-out closes it, not the user.
    if (!ending_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace sonoria
