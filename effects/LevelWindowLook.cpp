#include "effects/LevelWindowLook.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

#include "controls/CXBmpSlider.h"

namespace sonoria {
namespace {
constexpr int kTrackLeft = 5, kTrackRight = 4, kTrackTop = 1, kTrackBottom = 1;
}  // namespace

void PrepareLevelSlider(CXBmpSlider* slider, int minimum, int maximum, QRgb ground) {
    if (slider == nullptr) return;
    slider->SetRange(minimum, maximum);
    slider->SetTrackImages();
    slider->SetThumbImages(CXBmpSlider::kThumbImageId);
    slider->SetMargins(kTrackLeft, kTrackRight, kTrackTop, kTrackBottom);
    slider->SetBackgroundColor(ground);
}

void FillGround(QWidget* window, const QColor& ground) {
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, ground);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void SetTextColour(QWidget* control, const QColor& text) {
    if (control == nullptr) return;
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    control->setPalette(palette);
    control->setAutoFillBackground(false);
}

void DrawThinBorder(QWidget* popup) {
    QPainter painter(popup);
    painter.setPen(QColor(100, 100, 100));
    painter.drawRect(popup->rect().adjusted(0, 0, -1, -1));
}

void SetSliderClamped(CXBmpSlider* slider, int value) {
    if (slider == nullptr) return;
    slider->SetPos(std::clamp(value, slider->GetRangeMin(), slider->GetRangeMax()));
    slider->update();
}

CLevelWindow::CLevelWindow(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void CLevelWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return;
    }
    if (key == Qt::Key_Escape) {
        event->accept();
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CLevelWindow::closeEvent(QCloseEvent* event) { event->accept(); }

}  // namespace sonoria
