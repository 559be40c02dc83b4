#include "controls/ClassicCheckStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QStyleOption>

namespace sonoria {
namespace {

constexpr int kIndicatorSize = 13;
constexpr int kLabelSpacing = 4;

const QColor kField(255, 255, 255);
const QColor kDisabledField(212, 208, 200);
const QColor kShadow(128, 128, 128);
const QColor kDarkShadow(64, 64, 64);
const QColor kLight(255, 255, 255);
const QColor kFace(212, 208, 200);
const QColor kMark(0, 0, 0);
const QColor kDisabledMark(128, 128, 128);

// Two-pixel sunken edge around `r`, then the field inside it.
void DrawSunkenField(QPainter* painter, const QRect& r, bool enabled) {
    painter->fillRect(r, kLight);
    painter->fillRect(r.adjusted(0, 0, -1, -1), kShadow);
    painter->fillRect(r.adjusted(1, 1, -1, -1), kFace);
    painter->fillRect(r.adjusted(1, 1, -2, -2), kDarkShadow);
    painter->fillRect(r.adjusted(2, 2, -2, -2), enabled ? kField : kDisabledField);
}

// A tick of three-pixel thickness: down from the left, then up to the right.
void DrawTick(QPainter* painter, const QRect& field, const QColor& colour) {
    const QPoint left(field.left() + 1, field.top() + field.height() / 2 - 1);
    const QPoint bottom(field.left() + field.width() / 2 - 1, field.bottom() - 2);
    const QPoint right(field.right() - 1, field.top() + 1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(colour, 1));
    for (int dy = 0; dy < 3; ++dy) {
        painter->drawLine(left + QPoint(0, dy), bottom + QPoint(0, dy));
        painter->drawLine(bottom + QPoint(0, dy), right + QPoint(0, dy));
    }
    painter->restore();
}

}  // namespace

ClassicCheckStyle::ClassicCheckStyle() = default;

int ClassicCheckStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight: return kIndicatorSize;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing: return kLabelSpacing;
        default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void ClassicCheckStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                      const QWidget* widget) const {
    const bool enabled = option->state & State_Enabled;
    const QRect box(option->rect.topLeft(), QSize(kIndicatorSize, kIndicatorSize));
    const QRect square = box.translated(0, (option->rect.height() - kIndicatorSize) / 2);
    if (element == PE_IndicatorCheckBox) {
        DrawSunkenField(painter, square, enabled);
        if (option->state & (State_On | State_NoChange))
            DrawTick(painter, square.adjusted(2, 2, -2, -2), enabled ? kMark : kDisabledMark);
        return;
    }
    if (element == PE_IndicatorRadioButton) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        const QRectF ring = QRectF(square).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->setPen(QPen(kShadow, 1));
        painter->setBrush(enabled ? kField : kDisabledField);
        painter->drawEllipse(ring);
        painter->setPen(QPen(kDarkShadow, 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(ring.adjusted(1, 1, -1, -1));
        if (option->state & State_On) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(enabled ? kMark : kDisabledMark);
            painter->drawEllipse(QRectF(square).center(), 2.0, 2.0);
        }
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QStyle* ClassicCheckStyleInstance() {
    static QPointer<ClassicCheckStyle> style;
    if (style.isNull()) {
        style = new ClassicCheckStyle;
        style->setParent(qApp);
    }
    return style;
}

}  // namespace sonoria
