#include "effects/EffectLook.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include "controls/CXBmpSlider.h"

namespace sonoria {
namespace {

const QColor kDark(32, 32, 32);
constexpr QRgb kSliderBackground = 0xFF202020;
constexpr int kSliderMaximum = 127;

}  // namespace

void SetDarkClientArea(QWidget* window) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kDark);
    palette.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void MakeWhiteLabel(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(false);
}

void SetUpEffectSlider(CXBmpSlider* slider, int disabledThumbId) {
    slider->SetRange(0, kSliderMaximum);
    slider->SetTrackImages();
    slider->SetThumbImages(disabledThumbId);
    slider->SetMargins(5, 4, 1, 1);
    slider->SetBackgroundColor(kSliderBackground);
}

void CentreOver(QWidget* window, const QWidget* owner) {
    if (owner == nullptr) return;
    const QRect area = owner->window()->geometry();
    window->move(area.center() - window->rect().center());
}

bool SwallowDialogKey(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    event->accept();
    return true;
}

}  // namespace sonoria
