// What the level, mix, delay and automatic-sub windows share: their sliders'
// images and margins, their grounds and text colours, and the keys they obey
// (Enter does nothing, Escape closes).
#pragma once

#include <QColor>
#include <QDialog>
#include <QRgb>

namespace sonoria {

class CXBmpSlider;

inline constexpr QColor kPopupGround(199, 199, 199);
inline constexpr QRgb kPopupSliderGround = 0xFFC7C7C7;
inline constexpr QColor kPopupText(26, 11, 172);
inline constexpr QColor kDarkGround(32, 32, 32);
inline constexpr QRgb kDarkSliderGround = 0xFF202020;
inline constexpr QColor kSectionFrame(0, 144, 120);

// The standard thumb, highlighted thumb and margins, the range and the ground.
void PrepareLevelSlider(CXBmpSlider* slider, int minimum, int maximum, QRgb ground);

// Fills the window's client area with `ground`.
void FillGround(QWidget* window, const QColor& ground);

// Text in `text` over the parent's ground.
void SetTextColour(QWidget* control, const QColor& text);

// The thin border of a popup without a caption, drawn inside its edge.
void DrawThinBorder(QWidget* popup);

// Moves the slider to `value` kept within its range, without telling anyone.
void SetSliderClamped(CXBmpSlider* slider, int value);

// A modeless window that deletes itself when closed; Escape and its close box
// close it, Enter does nothing.
class CLevelWindow : public QDialog {
    Q_OBJECT
public:
    CLevelWindow(QWidget* owner, Qt::WindowFlags flags);

public slots:
    void accept() override {}
    void reject() override { close(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Closing needs no answer from anyone (the dialog's own handling would
    // reject, which closes again).
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace sonoria
