#include "admin/DarkWindow.h"

#include <QEvent>
#include <QPixmap>
#include <QWidget>

#include "controls/CGdipButton.h"
#include "controls/DialogTemplate.h"
#include "state/Language.h"

namespace sonoria {

namespace {

// Gives the window's image buttons their ground when the window is first
// shown, when the buttons have their final places, then goes.
class FirstShowBackground : public QObject {
public:
    explicit FirstShowBackground(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent()) {
            auto* window = static_cast<QWidget*>(watched);
            window->removeEventFilter(this);
            GiveButtonsDarkBackground(window);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

void MakeDark(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kAdminBackground);
    palette.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setStyleSheet(QStringLiteral("QLabel, QCheckBox { color: white; background: transparent; }"));
    new FirstShowBackground(window);
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
