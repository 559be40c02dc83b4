// Button faces. The buttons stretch these over their own size and draw their
// captions on top, so the faces carry no lettering (except the mode labels,
// whose letters are the face). Every pill of one family shares the same body
// geometry, so swapping the normal face for the glowing "selected" face keeps
// the button's outline in place; the transparent margin holds the shadow or
// the glow.

#include "draw_common.h"

#include <QLinearGradient>

#include <optional>

namespace draw {
namespace {

struct Palette {
    QColor light;  // top of the body
    QColor base;   // middle
    QColor dark;   // bottom
    QColor edge;   // outline
    std::optional<QColor> glow;  // halo and rim colour of the glowing faces
};

enum class Outline { Pill, Rounded };

QImage face(int width, int height, int margin, Outline outline, const Palette& pal) {
    QImage image = canvas(width, height);
    const QRectF body(margin, margin, width - 2.0 * margin, height - 2.0 * margin);
    const double radius = outline == Outline::Pill ? body.height() / 2.0 : body.height() * 0.26;
    const QPainterPath shape = roundPath(body, radius);

    if (pal.glow)
        paintGlow(image, shape, *pal.glow, margin + 1, 1.7);
    else
        paintGlow(image, shape, QColor(0, 0, 0), margin - 1, 0.85, QPointF(0.0, 1.5));

    QPainter p(&image);
    prepare(p);
    QLinearGradient fill(0, body.top(), 0, body.bottom());
    fill.setColorAt(0.0, pal.light);
    fill.setColorAt(0.5, pal.base);
    fill.setColorAt(1.0, pal.dark);
    p.fillPath(shape, fill);

    p.save();
    p.setClipPath(shape);
    // Soft light returning from below.
    QLinearGradient under(0, body.top() + body.height() * 0.6, 0, body.bottom());
    under.setColorAt(0.0, withAlpha(pal.light, 0));
    under.setColorAt(1.0, withAlpha(pal.light, 70));
    p.fillRect(body, under);
    // Inner glow along the rim of the glowing faces.
    if (pal.glow) {
        p.setPen(QPen(withAlpha(*pal.glow, 110), 5.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    }
    // Gloss over the upper half.
    const QRectF glossRect(body.left() + 2.5, body.top() + 1.5, body.width() - 5.0, body.height() * 0.47);
    QLinearGradient gloss(0, glossRect.top(), 0, glossRect.bottom());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 92));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 14));
    p.fillPath(roundPath(glossRect, std::max(0.0, radius - 2.0)), gloss);
    p.restore();

    // Crisp top highlight and outline.
    p.save();
    p.setClipRect(QRectF(0, 0, width, body.top() + body.height() * 0.42));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundPath(body.adjusted(1.5, 1.5, -1.5, -1.5), std::max(0.0, radius - 1.5)));
    p.restore();
    p.setBrush(Qt::NoBrush);
    if (pal.glow)
        p.setPen(QPen(mix(*pal.glow, QColor(255, 255, 255), 0.25), 1.3));
    else
        p.setPen(QPen(pal.edge, 1.0));
    p.drawPath(roundPath(body.adjusted(0.5, 0.5, -0.5, -0.5), std::max(0.0, radius - 0.5)));
    return image;
}

// Body colours of the button family.
const Palette kTeal{QColor(52, 176, 170), QColor(0, 118, 116), QColor(0, 60, 62), QColor(0, 30, 32), {}};
const Palette kBlue{QColor(84, 150, 238), QColor(28, 92, 196), QColor(10, 44, 112), QColor(4, 20, 60), {}};
const Palette kDarkBlue{QColor(70, 88, 146), QColor(32, 46, 98), QColor(14, 22, 54), QColor(4, 8, 26), {}};
const Palette kGreen{QColor(92, 196, 100), QColor(32, 136, 52), QColor(10, 70, 26), QColor(4, 34, 10), {}};
const Palette kYellowGlow{QColor(255, 214, 92), QColor(214, 150, 14), QColor(132, 82, 0), QColor(80, 48, 0),
                          QColor(255, 200, 30)};
const Palette kGreenGlow{QColor(62, 104, 66), QColor(28, 60, 34), QColor(12, 30, 16), QColor(0, 0, 0),
                         QColor(70, 230, 60)};
const Palette kRedGlow{QColor(236, 92, 76), QColor(176, 28, 20), QColor(92, 8, 6), QColor(50, 0, 0),
                       QColor(255, 52, 30)};

// The mode labels "M1" .. "M4": a dark key, or the same key lit in amber.
QImage modeLabel(int number, bool lit) {
    constexpr int kWidth = 38;
    constexpr int kHeight = 24;
    QImage image = canvas(kWidth, kHeight);
    const QRectF body(1.0, 1.0, kWidth - 2.0, kHeight - 2.0);
    const double radius = 5.0;
    const QPainterPath shape = roundPath(body, radius);
    const QPainterPath letters =
        textPath(QStringLiteral("M%1").arg(number), uiFont(12.5, QFont::Bold), body.center() + QPointF(0.0, 0.2));

    if (lit) paintGlow(image, shape, QColor(255, 190, 20), 2, 1.2);

    QPainter p(&image);
    prepare(p);
    QLinearGradient fill(0, body.top(), 0, body.bottom());
    if (lit) {
        fill.setColorAt(0.0, QColor(120, 86, 8));
        fill.setColorAt(0.5, QColor(74, 50, 2));
        fill.setColorAt(1.0, QColor(44, 28, 0));
    } else {
        fill.setColorAt(0.0, QColor(74, 76, 80));
        fill.setColorAt(0.5, QColor(44, 45, 48));
        fill.setColorAt(1.0, QColor(26, 27, 29));
    }
    p.fillPath(shape, fill);
    p.save();
    p.setClipPath(shape);
    if (lit) {
        p.setPen(QPen(QColor(255, 190, 30, 120), 4.0));
        p.drawPath(shape);
    }
    QLinearGradient gloss(0, body.top(), 0, body.center().y());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 60));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 8));
    p.fillPath(roundPath(QRectF(body.left() + 1.5, body.top() + 1.0, body.width() - 3.0, body.height() * 0.46), 3.5),
               gloss);
    p.restore();

    // Lettering: a dark shadow one pixel down, then the letters.
    p.setPen(Qt::NoPen);
    p.fillPath(letters.translated(0.0, 1.0), QColor(0, 0, 0, 150));
    p.fillPath(letters, lit ? QColor(255, 232, 140) : QColor(196, 198, 204));

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, lit ? 120 : 70), 1.0));
    p.save();
    p.setClipRect(QRectF(0, 0, kWidth, body.top() + 6.0));
    p.drawPath(roundPath(body.adjusted(1.0, 1.0, -1.0, -1.0), radius - 1.0));
    p.restore();
    p.setPen(QPen(lit ? QColor(255, 206, 60) : QColor(0, 0, 0, 220), 1.0));
    p.drawPath(roundPath(body.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5));
    return image;
}

}  // namespace

void drawButtons(Gallery& gallery) {
    gallery.add(247, face(107, 39, 4, Outline::Rounded, kBlue), QStringLiteral("blue rounded key"));
    gallery.add(268, face(108, 45, 5, Outline::Pill, kRedGlow), QStringLiteral("red pill with a red glow"));
    gallery.add(291, face(150, 45, 5, Outline::Pill, kTeal), QStringLiteral("teal pill"));
    gallery.add(292, face(150, 45, 5, Outline::Pill, kBlue), QStringLiteral("blue pill"));
    gallery.add(293, face(150, 45, 5, Outline::Pill, kDarkBlue), QStringLiteral("dark blue pill"));
    gallery.add(294, face(150, 45, 5, Outline::Pill, kYellowGlow),
                QStringLiteral("yellow pill with a yellow glow (selected block)"));
    gallery.add(295, face(150, 45, 5, Outline::Pill, kGreen), QStringLiteral("green pill"));
    gallery.add(296, face(150, 45, 5, Outline::Pill, kGreenGlow),
                QStringLiteral("dark pill with a glowing green rim"));
    gallery.add(309, face(107, 39, 4, Outline::Rounded, kYellowGlow),
                QStringLiteral("yellow rounded key with a glow (selected form of 247)"));
    for (int n = 1; n <= 4; ++n) {
        const int plain = 330 + 2 * (n - 1);
        gallery.add(plain, modeLabel(n, false), QStringLiteral("mode label \"M%1\", plain: dark key, grey letters").arg(n));
        gallery.add(plain + 1, modeLabel(n, true),
                    QStringLiteral("mode label \"M%1\", highlighted: amber-lit key, light letters").arg(n));
    }
}

}  // namespace draw
