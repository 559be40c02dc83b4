// The program's slider: a track drawn from images, filled up to a thumb that
// moves along it. Clicks step by one, the thumb can be dragged, the wheel and
// the arrow keys step by one; every such input reports the position to the
// owner through sliderChanged.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRgb>
#include <QWidget>

namespace sonoria {

class CXBmpSlider : public QWidget {
    Q_OBJECT
    // Set by the window builder; the slider reports it with every change.
    Q_PROPERTY(int controlId READ controlId WRITE setControlId)

public:
    // The images every window uses with the slider.
    static constexpr int kTrackImageId = 311;         // empty groove, 173 x 19
    static constexpr int kFillImageId = 310;          // filled groove, 173 x 19
    static constexpr int kThumbImageId = 301;         // knob, 16 x 17
    static constexpr int kFocusedThumbImageId = 313;  // knob while focused
    static constexpr int kDarkThumbImageId = 303;     // darker knob, a disabled look
    static constexpr QRgb kDefaultBackground = 0xFFC7C7C7;
    static constexpr int kDefaultMaximum = 127;

    explicit CXBmpSlider(QWidget* parent = nullptr);

    void setControlId(int id) { m_controlId = id; }
    int controlId() const { return m_controlId; }

    // Stores the range as given; the position is not touched until it next moves.
    void SetRange(int minimum, int maximum);
    int GetRangeMin() const { return m_minimum; }
    int GetRangeMax() const { return m_maximum; }

    // Moves the thumb without telling the owner.
    void SetPos(int value);
    int GetPos() const { return m_position; }

    void SetMargins(int left, int right, int top, int bottom);

    // Loads the standard track and fill images. Returns 1.
    int SetTrackImages();
    int SetTrackImages(const QImage& track, const QImage& fill);
    // Loads the standard thumb and focused thumb and `disabledId` (0: the
    // standard thumb) as the disabled thumb. Returns 1.
    int SetThumbImages(int disabledId = 0);
    int SetThumbImages(const QImage& thumb, const QImage& focused, const QImage& disabled);

    void SetBackgroundColor(QRgb argb);
    QRgb GetBackgroundColor() const { return m_background; }

    // Vertical sliders have their maximum at the top.
    void SetVertical(bool vertical);
    bool IsVertical() const { return m_vertical; }

    // A disabled slider ignores clicks, keys and the wheel and shows the
    // disabled thumb. Disabling the widget itself has the same effect.
    void SetSliderEnabled(bool enabled);
    bool IsSliderEnabled() const { return m_enabled && isEnabled(); }

    bool IsDragging() const { return m_dragging; }

    // Thumb edge (left, or top when vertical) at which `value` is drawn.
    int ValueToPixel(int value) const;
    // The value whose thumb edge is at `pixel`, before clamping.
    int PixelToValue(int pixel) const;
    // Where the thumb is drawn now.
    QRect ThumbRect() const;

    QSize sizeHint() const override;

signals:
    // After every click, drag move, wheel turn and arrow key, also when the
    // position did not change. Only sliders placed in a window report.
    void sliderChanged(int controlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Sets the position kept within the range.
    void MoveTo(long long value);
    void Notify();
    const QPixmap& CurrentThumb() const;

    int m_controlId = 0;
    int m_maximum = kDefaultMaximum;
    int m_minimum = 0;
    int m_position = 0;
    int m_leftMargin = 0;
    int m_rightMargin = 0;
    int m_topMargin = 0;
    int m_bottomMargin = 0;
    bool m_dragging = false;
    bool m_vertical = false;
    bool m_enabled = true;
    bool m_focused = false;

    QPixmap m_track;
    QPixmap m_fill;
    QPixmap m_thumb;
    QPixmap m_focusedThumb;
    QPixmap m_disabledThumb;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    int m_trackWidth = 0;
    int m_trackHeight = 0;
    QRgb m_background = kDefaultBackground;
};

}  // namespace sonoria
