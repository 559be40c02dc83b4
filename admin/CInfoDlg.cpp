#include "admin/CInfoDlg.h"

#include <QKeyEvent>
#include <QLabel>

#include "controls/DialogTemplate.h"
#include "controls/FittedText.h"
#include "state/Language.h"

namespace sonoria {
namespace {

constexpr int kMessageFontPixels = 25;
// A notice too long for the label is set up to this much smaller before it is elided.
constexpr int kMessageMaxShrink = 3;

const ControlSpec kControls[] = {
    {-1, ControlKind::Picture, "210", 1, 0, 344, 68},
    {kInfoTextId, ControlKind::Label, "", 51, 19, 265, 18, kCentered},
    {2, ControlKind::PushButton, "关闭", 148, 51, 50, 14, kHidden},
};
const DialogSpec kTemplate{kInfoDialogId, "", 345, 67, kDialogFont8, kControls};

}  // namespace

CInfoDlg::CInfoDlg(QWidget* owner) : QDialog(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    setWindowTitle(IsEnglish() ? QStringLiteral("Information") : QString::fromUtf8("信息"));
    if (auto* picture = qobject_cast<QLabel*>(children().first())) picture->setScaledContents(true);
    text_ = FindControlAs<QLabel>(this, kInfoTextId);
    messageFont_ = TemplateFont(kSongFace, kMessageFontPixels);
    text_->setFont(messageFont_);
    text_->setAlignment(Qt::AlignCenter);
    text_->setAttribute(Qt::WA_TranslucentBackground);
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &QDialog::close);
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

void CInfoDlg::ShowText(const QString& text, int milliseconds) {
    message_ = text;
    const int room = text_->contentsRect().width();
    const FittedText fitted =
        FitText(text, messageFont_, kMessageMaxShrink, [room](int width) { return width <= room; }, text_);
    text_->setFont(fitted.font);
    text_->setText(fitted.text);
    show();
    text_->update();
    closeTimer_.start(milliseconds);
}

QString CInfoDlg::Text() const { return message_; }

void CInfoDlg::keyPressEvent(QKeyEvent* event) {
    // Escape closes it; Enter does nothing.
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
