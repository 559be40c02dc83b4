// Slider pictures: the empty and the filled groove (173 x 19) and the round
// knob in its normal, focused and dimmed forms (16 x 17).
//
// The slider draws the knob with its top edge one pixel below the groove's
// top, so the knob's centre (8, 8.5) lands on the groove's centre line
// (y = 9.5). The knob's left edge runs from x = 5 to x = 153, so the groove
// spans x = 4 .. 169 and the knob always sits on it.

#include "draw_common.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace draw {
namespace {

constexpr int kTrackWidth = 173;
constexpr int kTrackHeight = 19;
constexpr int kThumbWidth = 16;
constexpr int kThumbHeight = 17;

const QRectF kGroove(4.0, 6.0, 165.0, 7.0);

QImage grooveImage(bool filled) {
    QImage image = canvas(kTrackWidth, kTrackHeight);
    const QPainterPath groove = pillPath(kGroove);
    {
        QPainter p(&image);
        prepare(p);
        // Light lip below the groove: reads as a cut into the panel on dark
        // and on light backgrounds alike.
        p.fillPath(pillPath(kGroove.adjusted(-0.5, 0.0, 0.5, 1.5)), QColor(255, 255, 255, 34));
        QLinearGradient body(0, kGroove.top(), 0, kGroove.bottom());
        body.setColorAt(0.0, QColor(4, 4, 5));
        body.setColorAt(1.0, QColor(26, 27, 29));
        p.fillPath(groove, body);
        // Inner shadow along the top edge.
        p.save();
        p.setClipPath(groove);
        QLinearGradient shade(0, kGroove.top(), 0, kGroove.top() + 3.5);
        shade.setColorAt(0.0, QColor(0, 0, 0, 190));
        shade.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.fillRect(kGroove, shade);
        p.restore();
        p.setPen(QPen(QColor(0, 0, 0, 210), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(pillPath(kGroove.adjusted(0.5, 0.5, -0.5, -0.5)));
    }
    if (!filled) return image;

    // The lit line inside the groove, with a soft blue bloom around it.
    const QRectF line = kGroove.adjusted(1.5, 1.8, -1.5, -1.8);
    paintGlow(image, pillPath(line), QColor(0, 140, 255), 4, 0.9);
    QPainter p(&image);
    prepare(p);
    QLinearGradient along(line.left(), 0, line.right(), 0);
    along.setColorAt(0.0, QColor(0, 92, 210));
    along.setColorAt(1.0, QColor(30, 170, 255));
    p.fillPath(pillPath(line), along);
    QLinearGradient across(0, line.top(), 0, line.bottom());
    across.setColorAt(0.0, QColor(200, 235, 255, 150));
    across.setColorAt(0.45, QColor(120, 200, 255, 30));
    across.setColorAt(1.0, QColor(0, 40, 120, 60));
    p.fillPath(pillPath(line), across);
    return image;
}

enum class Knob { Normal, Focused, Dimmed };

QImage knobImage(Knob kind) {
    QImage image = canvas(kThumbWidth, kThumbHeight);
    const QPointF centre(8.0, 8.5);
    const double radius = 6.4;
    QPainterPath disc;
    disc.addEllipse(centre, radius, radius);

    // Drop shadow, or the focus bloom.
    if (kind == Knob::Focused)
        paintGlow(image, disc, QColor(0, 150, 255), 3, 1.4);
    else
        paintGlow(image, disc, QColor(0, 0, 0), 2, 0.8, QPointF(0.0, 1.0));

    QPainter p(&image);
    prepare(p);
    const bool dim = kind == Knob::Dimmed;
    QLinearGradient body(0, centre.y() - radius, 0, centre.y() + radius);
    body.setColorAt(0.0, dim ? QColor(118, 118, 120) : QColor(246, 246, 248));
    body.setColorAt(0.55, dim ? QColor(82, 82, 84) : QColor(178, 179, 184));
    body.setColorAt(1.0, dim ? QColor(52, 52, 54) : QColor(104, 105, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(centre, radius, radius);

    // Dished centre: the gradient runs the other way.
    const double inner = 4.1;
    QLinearGradient dish(0, centre.y() - inner, 0, centre.y() + inner);
    dish.setColorAt(0.0, dim ? QColor(62, 62, 64) : QColor(140, 141, 147));
    dish.setColorAt(1.0, dim ? QColor(100, 100, 102) : QColor(232, 232, 236));
    p.setBrush(dish);
    p.drawEllipse(centre, inner, inner);

    // Specular spot, top left.
    if (!dim) {
        QRadialGradient spot(centre + QPointF(-2.2, -3.2), 3.2);
        spot.setColorAt(0.0, QColor(255, 255, 255, 200));
        spot.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(spot);
        p.drawEllipse(centre + QPointF(-2.2, -3.2), 3.2, 3.2);
    }

    // Centre mark.
    const QColor mark = kind == Knob::Focused ? QColor(0, 170, 255) : (dim ? QColor(40, 40, 42) : QColor(64, 66, 72));
    p.setBrush(mark);
    p.drawEllipse(centre, 1.4, 1.4);

    // Rim.
    p.setBrush(Qt::NoBrush);
    if (kind == Knob::Focused) {
        p.setPen(QPen(QColor(40, 175, 255), 1.2));
        p.drawEllipse(centre, radius - 0.3, radius - 0.3);
    } else {
        p.setPen(QPen(QColor(0, 0, 0, dim ? 200 : 170), 1.0));
        p.drawEllipse(centre, radius - 0.2, radius - 0.2);
    }
    return image;
}

}  // namespace

void drawSliders(Gallery& gallery) {
    const QImage empty = grooveImage(false);
    gallery.add(300, empty, QStringLiteral("slider placeholder (the empty groove)"));
    gallery.add(301, knobImage(Knob::Normal), QStringLiteral("slider knob: round brushed-grey knob with a dished centre"));
    gallery.add(303, knobImage(Knob::Dimmed), QStringLiteral("slider knob, disabled: the same knob, darker, no shine"));
    gallery.add(310, grooveImage(true), QStringLiteral("slider groove, filled: dark groove with a lit blue line"));
    gallery.add(311, empty, QStringLiteral("slider groove, empty: dark recessed groove with a light lip"));
    gallery.add(313, knobImage(Knob::Focused), QStringLiteral("slider knob, focused: blue rim, blue centre mark, blue halo"));
}

}  // namespace draw
