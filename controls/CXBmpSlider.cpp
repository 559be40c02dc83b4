#include "controls/CXBmpSlider.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QtMath>

#include <cmath>
#include <limits>

#include "controls/ImageLoader.h"

namespace sonoria {
namespace {

// Truncates toward zero, saturating at the int limits; NaN (a zero span
// divided by zero) gives 0.
int TruncToInt(long double value) {
    if (std::isnan(value)) return 0;
    if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

QPoint PixelOf(const QPointF& point) { return {qFloor(point.x()), qFloor(point.y())}; }

}  // namespace

CXBmpSlider::CXBmpSlider(QWidget* parent) : QWidget(parent) {
    // Focus comes only from a click on the slider, so Tab passes it by.
    setFocusPolicy(Qt::NoFocus);
}

void CXBmpSlider::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

void CXBmpSlider::SetPos(int value) {
    MoveTo(value);
}

void CXBmpSlider::SetMargins(int left, int right, int top, int bottom) {
    m_leftMargin = left;
    m_rightMargin = right;
    m_topMargin = top;
    m_bottomMargin = bottom;
    update();
}

int CXBmpSlider::SetTrackImages() {
    QImage track;
    QImage fill;
    LoadPngImage(kTrackImageId, track);
    LoadPngImage(kFillImageId, fill);
    return SetTrackImages(track, fill);
}

int CXBmpSlider::SetTrackImages(const QImage& track, const QImage& fill) {
    m_track = QPixmap::fromImage(track);
    m_fill = QPixmap::fromImage(fill);
    m_trackWidth = qRound(track.deviceIndependentSize().width());
    m_trackHeight = qRound(track.deviceIndependentSize().height());
    updateGeometry();
    update();
    return 1;
}

int CXBmpSlider::SetThumbImages(int disabledId) {
    QImage thumb;
    QImage focused;
    QImage disabled;
    LoadPngImage(kThumbImageId, thumb);
    LoadPngImage(kFocusedThumbImageId, focused);
    LoadPngImage(disabledId == 0 ? kThumbImageId : disabledId, disabled);
    return SetThumbImages(thumb, focused, disabled);
}

int CXBmpSlider::SetThumbImages(const QImage& thumb, const QImage& focused, const QImage& disabled) {
    m_thumb = QPixmap::fromImage(thumb);
    m_focusedThumb = QPixmap::fromImage(focused);
    m_disabledThumb = QPixmap::fromImage(disabled);
    m_thumbWidth = qRound(thumb.deviceIndependentSize().width());
    m_thumbHeight = qRound(thumb.deviceIndependentSize().height());
    update();
    return 1;
}

void CXBmpSlider::SetBackgroundColor(QRgb argb) {
    m_background = argb;
    update();
}

void CXBmpSlider::SetVertical(bool vertical) {
    m_vertical = vertical;
    update();
}

void CXBmpSlider::SetSliderEnabled(bool enabled) {
    m_enabled = enabled;
    update();
}

int CXBmpSlider::ValueToPixel(int value) const {
    const long long range = static_cast<long long>(m_maximum) - m_minimum;
    if (!m_vertical) {
        const long double span = static_cast<long double>(m_trackWidth) - m_thumbWidth -
                                 m_rightMargin - m_leftMargin;
        // A range without width has nowhere to go: the thumb rests at the start.
        if (range == 0) return m_leftMargin;
        return TruncToInt(span / range * (static_cast<long long>(value) - m_minimum) +
                          m_leftMargin);
    }
    const long double span = static_cast<long double>(m_trackHeight) - m_thumbHeight -
                             m_bottomMargin - m_topMargin;
    // The start of a vertical slider is its bottom end, where the minimum sits.
    if (range == 0) return TruncToInt(span + m_topMargin);
    return TruncToInt(span / range * (static_cast<long long>(m_maximum) - value) + m_topMargin);
}

int CXBmpSlider::PixelToValue(int pixel) const {
    const long long range = static_cast<long long>(m_maximum) - m_minimum;
    if (range == 0) return m_minimum;
    const long double span =
        m_vertical ? static_cast<long double>(m_trackHeight) - m_thumbHeight - m_bottomMargin -
                         m_topMargin
                   : static_cast<long double>(m_trackWidth) - m_thumbWidth - m_rightMargin -
                         m_leftMargin;
    // The step is kept in single precision, so the last pixel of the travel
    // lands one short of the maximum: the thumb must be dragged one pixel on.
    const float step = static_cast<float>(span / range);
    const long long offset =
        static_cast<long long>(pixel) - (m_vertical ? m_topMargin : m_leftMargin);
    const int steps = TruncToInt(static_cast<double>(offset) / static_cast<double>(step));
    const long long value = m_vertical ? static_cast<long long>(m_maximum) - steps
                                       : static_cast<long long>(m_minimum) + steps;
    return TruncToInt(static_cast<long double>(value));
}

QRect CXBmpSlider::ThumbRect() const {
    const int d = ValueToPixel(m_position);
    if (m_vertical) return {m_leftMargin, d, m_thumbWidth, m_thumbHeight};
    return {d, m_topMargin, m_thumbWidth, m_thumbHeight};
}

QSize CXBmpSlider::sizeHint() const {
    if (m_trackWidth > 0 && m_trackHeight > 0) return {m_trackWidth, m_trackHeight};
    return QWidget::sizeHint();
}

void CXBmpSlider::MoveTo(long long value) {
    // Two separate tests, so that a reversed range still gives a defined value.
    if (value < m_minimum) value = m_minimum;
    if (value > m_maximum) value = m_maximum;
    m_position = static_cast<int>(value);
    update();
}

void CXBmpSlider::Notify() {
    if (parentWidget()) emit sliderChanged(m_controlId, m_position);
}

const QPixmap& CXBmpSlider::CurrentThumb() const {
    if (!IsSliderEnabled()) return m_disabledThumb;
    return m_focused ? m_focusedThumb : m_thumb;
}

void CXBmpSlider::paintEvent(QPaintEvent*) {
    // Only the track rectangle is ours; the owner's background shows elsewhere.
    if (m_trackWidth <= 0 || m_trackHeight <= 0) return;
    const qreal ratio = devicePixelRatioF();
    QPixmap buffer(QSize(m_trackWidth, m_trackHeight) * ratio);
    buffer.setDevicePixelRatio(ratio);
    buffer.fill(QColor::fromRgba(m_background));
    {
        QPainter painter(&buffer);
        painter.drawPixmap(0, 0, m_track);
        const int d = ValueToPixel(m_position);
        // The fill shows from the minimum end up to the thumb.
        const QRect filled = m_vertical ? QRect(0, d, m_trackWidth, m_trackHeight - d)
                                        : QRect(0, 0, d, m_trackHeight);
        const QRect shown = filled & QRect(QPoint(0, 0), m_fill.deviceIndependentSize().toSize());
        // The source rectangle counts the fill's own pixels, which may be denser.
        const qreal density = m_fill.devicePixelRatio();
        const QRectF source(QPointF(shown.topLeft()) * density, QSizeF(shown.size()) * density);
        if (!shown.isEmpty()) painter.drawPixmap(QRectF(shown), m_fill, source);
        const QPixmap& thumb = CurrentThumb();
        if (!thumb.isNull()) painter.drawPixmap(ThumbRect(), thumb);
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

void CXBmpSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The click is the slider's even when it is disabled: it goes nowhere else.
    event->accept();
    if (!IsSliderEnabled()) return;
    setFocus(Qt::MouseFocusReason);

    const QPoint point = PixelOf(event->position());
    const QRect thumb = ThumbRect();
    if (thumb.contains(point)) {
        m_dragging = true;
    } else if (m_vertical) {
        MoveTo(static_cast<long long>(m_position) +
               (point.y() > thumb.top() + m_thumbHeight / 2 ? -1 : 1));
    } else {
        MoveTo(static_cast<long long>(m_position) +
               (point.x() <= thumb.left() + m_thumbWidth / 2 ? -1 : 1));
    }
    Notify();
    update();
}

void CXBmpSlider::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press that came with the double click has already stepped.
    event->accept();
}

void CXBmpSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const QPoint point = PixelOf(event->position());
    const int pixel = m_vertical ? point.y() - m_thumbHeight / 2 : point.x() - m_thumbWidth / 2;
    MoveTo(PixelToValue(pixel));
    Notify();
    update();
}

void CXBmpSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    m_dragging = false;
    event->accept();
}

void CXBmpSlider::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    // A sideways wheel is not the slider's; nor is any wheel while disabled.
    if (!IsSliderEnabled() || (delta.y() == 0 && delta.x() != 0)) {
        event->ignore();
        return;
    }
    event->accept();
    const int change = delta.y() < 0 ? -1 : (delta.y() > 0 ? 1 : 0);
    MoveTo(static_cast<long long>(m_position) + change);
    Notify();
}

void CXBmpSlider::keyPressEvent(QKeyEvent* event) {
    if (!IsSliderEnabled()) {
        QWidget::keyPressEvent(event);
        return;
    }
    int change = 0;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Right:
            change = 1;
            break;
        case Qt::Key_Left:
        case Qt::Key_Down:
            change = -1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    MoveTo(static_cast<long long>(m_position) + change);
    Notify();
}

void CXBmpSlider::focusInEvent(QFocusEvent* event) {
    m_focused = true;
    update();
    QWidget::focusInEvent(event);
}

void CXBmpSlider::focusOutEvent(QFocusEvent* event) {
    m_focused = false;
    update();
    QWidget::focusOutEvent(event);
}

void CXBmpSlider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

}  // namespace sonoria
