#include "admin/DarkWindow.h"

#include <QPixmap>
#include <QWidget>

#include "controls/CGdipButton.h"
#include "controls/DialogTemplate.h"
#include "state/Language.h"

namespace sonoria {

void MakeDark(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kAdminBackground);
    palette.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setStyleSheet(QStringLiteral("QLabel, QCheckBox { color: white; background: transparent; }"));
}

CGdipButton* PrepareImageButton(QWidget* window, int id, int imageId) {
    auto* button = FindControlAs<CGdipButton>(window, id);
    if (button == nullptr) return nullptr;
    button->SetStandardImage(imageId);
    button->SetCaptionColor(Qt::white);
    return button;
}

void GiveButtonsDarkBackground(QWidget* window) {
    QPixmap ground(window->size());
    ground.fill(kAdminBackground);
    for (CGdipButton* button : window->findChildren<CGdipButton*>()) button->SetBackground(ground);
}

const char* ByLanguage(const char* chinese, const char* english) { return IsEnglish() ? english : chinese; }

}  // namespace sonoria
