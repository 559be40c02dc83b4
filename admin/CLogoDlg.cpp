#include "admin/CLogoDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "admin/DarkWindow.h"
#include "admin/DisconnectedNotice.h"
#include "controls/DialogTemplate.h"
#include "link/LinkState.h"
#include "state/LogoText.h"

namespace sonoria {
namespace {

constexpr int kInfoMs = 1200;

const ControlSpec kControls[] = {
    // Two lines, parted where the window would wrap them.
    {-1, ControlKind::Label, "提示：文字长度不能超过7个字符，\n内容只能是大写字母、数字、'-'、与空格符", 6, 5, 160, 16},
    {-1, ControlKind::Label, "LOGO文字:", 23, 31, 45, 8},
    {kLogoEditId, ControlKind::Edit, "", 73, 29, 64, 14},
    {1, ControlKind::PushButton, "确定", 23, 52, 50, 14, kDefault},
    {2, ControlKind::PushButton, "取消", 84, 52, 50, 14},
};
const DialogSpec kTemplate{kLogoDialogId, "开机LOGO修改", 172, 71, kDialogFont8, kControls};

}  // namespace

CLogoDlg::CLogoDlg(QWidget* owner, AdminWindowHooks hooks) : QDialog(owner), hooks_(std::move(hooks)) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    edit_ = FindControlAs<QLineEdit>(this, kLogoEditId);
    edit_->setMaxLength(static_cast<int>(kLogoChars));
    connect(edit_, &QLineEdit::textEdited, this, &CLogoDlg::UpperCaseAsTyped);
    connect(FindControlAs<QPushButton>(this, 1), &QPushButton::clicked, this, &CLogoDlg::OnOk);
    connect(FindControlAs<QPushButton>(this, 2), &QPushButton::clicked, this, &QDialog::reject);
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

void CLogoDlg::UpperCaseAsTyped(const QString& text) {
    const QString upper = QString::fromStdU32String(LogoUpper(text.toStdU32String()));
    if (upper == text) return;
    const int cursor = edit_->cursorPosition();
    edit_->setText(upper);
    edit_->setCursorPosition(cursor);
}

void CLogoDlg::OnOk() {
    if (g_bDeviceOpen.load() == 0) {
        if (hooks_.showInfo) {
            hooks_.showInfo(DisconnectedNotice(), kInfoMs);
        }
        return;
    }
    const LogoTextCheck check = CheckLogoText(edit_->text().toStdU32String());
    if (check.problem != LogoTextProblem::None) {
        if (hooks_.showMessage) {
            hooks_.showMessage(this, QString::fromUtf8(LogoRefusalText(check.problem)),
                               QString::fromUtf8(kLogoRefusalCaption));
        }
        if (check.problem == LogoTextProblem::Empty) edit_->clear();
        return;
    }
    SendLogo(check.bytes);
}

void CLogoDlg::keyPressEvent(QKeyEvent* event) {
    // Enter is the OK button, which never closes the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnOk();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
