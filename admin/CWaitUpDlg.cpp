#include "admin/CWaitUpDlg.h"

#include <QKeyEvent>
#include <QLabel>

#include "admin/DarkWindow.h"
#include "controls/CGdipButton.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"

namespace sonoria {
namespace {

constexpr int kCloseImage = 295;
constexpr int kTextFontPixels = 18;
constexpr int kTextFontWeight = 500;
constexpr int kCaptionFontPixels = 12;

const ControlSpec kControls[] = {
    {kWaitUpTextId, ControlKind::Label, "请您按住音乐按键别放，重开关电源进入升级模式！", 1, 12, 310, 20, kCentered},
    {2, ControlKind::ImageButton, "关闭", 133, 37, 50, 14},
};
const DialogSpec kTemplate{kWaitUpDialogId, "信息", 316, 54, kDialogFont8, kControls};

}  // namespace

CWaitUpDlg::CWaitUpDlg(QWidget* owner) : QDialog(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildDialog(this, kTemplate);
    MakeDark(this);
    text_ = FindControlAs<QLabel>(this, kWaitUpTextId);
    QFont font = TemplateFont(kSongFace, kTextFontPixels);
    font.setWeight(static_cast<QFont::Weight>(kTextFontWeight));
    text_->setFont(font);
    text_->setAlignment(Qt::AlignCenter);
    if (auto* close = PrepareImageButton(this, 2, kCloseImage)) {
        close->SetCaptionFont(TemplateFont(kSongFace, kCaptionFontPixels));
        connect(close, &QAbstractButton::clicked, this, &QDialog::close);
    }
    ApplyWindowLanguageTexts(this, kWaitUpDialogId);
    if (owner != nullptr) move(owner->geometry().center() - rect().center());
}

void CWaitUpDlg::SetText(const QString& text) {
    if (!text.isEmpty()) text_->setText(text);
}

QString CWaitUpDlg::Text() const { return text_->text(); }

void CWaitUpDlg::keyPressEvent(QKeyEvent* event) {
    // Enter does nothing; Escape closes as the button does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria
