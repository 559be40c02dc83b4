#include "admin/CRemoteStudyDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "controls/CGdipButton.h"
#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "state/Language.h"
#include "state/RemoteKeys.h"

namespace sonoria {
namespace {

constexpr QColor kBackground(32, 32, 32);

const ControlSpec kControls[] = {
    {kStudyPromptId, ControlKind::Label, "您当前学习的按键是:", 23, 15, 165, 8},
    {1107, ControlKind::Label, "请您按下遥控器上的对应的按键", 17, 31, 117, 8, kRightAligned},
    {kStudyCodeId, ControlKind::Edit, "", 141, 28, 40, 14, kDisabled},
    {kStudyNoticeId, ControlKind::Label, "", 23, 47, 220, 8},
    {kStudyCancelId, ControlKind::ImageButton, "放弃学习", 96, 61, 50, 14},
    {kStudyCloseId, ControlKind::ImageButton, "关闭", 96, 61, 50, 14, kDefault | kHidden},
};
const DialogSpec kTemplate{kRemoteStudyDialogId, "键码学习中...", 257, 82, kDialogFont8, kControls};

}  // namespace

CRemoteStudyDlg::CRemoteStudyDlg(QWidget* owner) : QDialog(owner) {
    BuildDialog(this, kTemplate);
    setModal(true);
    setStyleSheet(QStringLiteral("QLabel { color: white; background: transparent; }"));
    FindControlAs<QLineEdit>(this, kStudyCodeId)->setAlignment(Qt::AlignCenter);
    const struct {
        int id, image;
    } buttons[] = {{kStudyCloseId, 292}, {kStudyCancelId, 293}};
    for (const auto& b : buttons) {
        auto* button = FindControlAs<CGdipButton>(this, b.id);
        button->SetStandardImage(b.image);
        button->SetCaptionColor(Qt::white);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(FindControlAs<CGdipButton>(this, kStudyCancelId), &QAbstractButton::clicked, this,
            &CRemoteStudyDlg::CancelLearning);
    connect(FindControlAs<CGdipButton>(this, kStudyCloseId), &QAbstractButton::clicked, this, &QDialog::accept);
    // The texts first: the prompt set afterwards must not be replaced.
    ApplyWindowLanguageTexts(this, kRemoteStudyDialogId);
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &QDialog::accept);
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

CRemoteStudyDlg::~CRemoteStudyDlg() {
    // Destroyed with its owner while still listening: the device stops too.
    StopListening();
}

void CRemoteStudyDlg::SetPrompt(const QString& prompt) {
    SetControlText(FindControl(this, kStudyPromptId), prompt);
}

QString CRemoteStudyDlg::Prompt() const { return ControlText(FindControl(this, kStudyPromptId)); }

QString CRemoteStudyDlg::CodeText() const { return FindControlAs<QLineEdit>(this, kStudyCodeId)->text(); }

void CRemoteStudyDlg::OnKeyLearned(int code) {
    codeArrived_ = true;
    const QString hex = QStringLiteral("%1").arg(code & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
    FindControlAs<QLineEdit>(this, kStudyCodeId)->setText(hex);
    FindControl(this, kStudyCancelId)->hide();
    FindControl(this, kStudyCloseId)->show();
    SetControlText(FindControl(this, kStudyNoticeId),
                   IsEnglish() ? QStringLiteral("Window will be closed!") : QString::fromUtf8("窗口将自动关闭"));
    closeTimer_.start(kStudyCloseDelayMs);
}

void CRemoteStudyDlg::CancelLearning() {
    StopListening();
    reject();
}

void CRemoteStudyDlg::StopListening() {
    if (codeArrived_ || stopSent_) return;
    stopSent_ = true;
    StopKeyLearning();
}

void CRemoteStudyDlg::done(int result) {
    // Escape, the close box and Cancel all end here.
    closeTimer_.stop();
    StopListening();
    QDialog::done(result);
}

void CRemoteStudyDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Only Close ends it with Enter; while waiting Enter does nothing.
        if (codeArrived_) accept();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CRemoteStudyDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

}  // namespace sonoria
