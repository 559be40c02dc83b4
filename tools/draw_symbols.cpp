// Small symbols: the program icon, the microphone and note marks of the
// input rows, the connection (power) symbols, the upgrade status patches,
// the wireless pairing lamps and microphone pictures, and the banner of the
// information window.
//
// Colour key shared with the routing diagrams: microphone teal-green, music
// blue.

#include "draw_common.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>

namespace draw {
namespace {

const QColor kMicColour(0, 196, 156);
const QColor kMusicColour(64, 150, 255);

// Cylinder shading across a horizontal span: bright stripe left of centre.
QLinearGradient cylinder(double left, double right, const QColor& c) {
    QLinearGradient g(left, 0, right, 0);
    g.setColorAt(0.0, c.darker(150));
    g.setColorAt(0.32, c.lighter(165));
    g.setColorAt(0.55, c);
    g.setColorAt(1.0, c.darker(220));
    return g;
}

// A studio microphone on a yoke and stand, drawn into `box` (any size with
// roughly the 19 : 34 proportions of the row decoration).
void paintStandMic(QPainter& p, const QRectF& box, const QColor& colour) {
    const double sx = box.width() / 19.0;
    const double sy = box.height() / 34.0;
    auto pt = [&](double x, double y) { return QPointF(box.left() + x * sx, box.top() + y * sy); };
    auto rc = [&](double x, double y, double w, double h) { return QRectF(pt(x, y), QSizeF(w * sx, h * sy)); };
    const double stroke = 1.7 * std::min(sx, sy);

    // Yoke and stem.
    QPainterPath yoke;
    yoke.moveTo(pt(2.2, 10.5));
    yoke.cubicTo(pt(2.2, 16.5), pt(5.5, 20.0), pt(9.5, 20.0));
    yoke.cubicTo(pt(13.5, 20.0), pt(16.8, 16.5), pt(16.8, 10.5));
    yoke.moveTo(pt(9.5, 20.0));
    yoke.lineTo(pt(9.5, 28.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.darker(130), stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(yoke);

    // Base.
    const QRectF base = rc(3.5, 28.2, 12.0, 3.6);
    QLinearGradient baseFill(0, base.top(), 0, base.bottom());
    baseFill.setColorAt(0.0, colour.lighter(140));
    baseFill.setColorAt(1.0, colour.darker(200));
    p.setPen(Qt::NoPen);
    p.setBrush(baseFill);
    p.drawRoundedRect(base, 1.5 * sy, 1.5 * sy);

    // Capsule with grille slots.
    const QRectF head = rc(4.5, 0.8, 10.0, 16.4);
    const QPainterPath capsule = pillPath(head);
    p.fillPath(capsule, cylinder(head.left(), head.right(), colour));
    p.save();
    p.setClipPath(capsule);
    p.setPen(QPen(QColor(0, 0, 0, 120), std::max(0.8, 0.9 * sy)));
    for (double y = 5.0; y <= 12.5; y += 2.5) p.drawLine(pt(4.0, y), pt(15.0, y));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.darker(260), std::max(0.8, 0.8 * sx)));
    p.drawPath(pillPath(head.adjusted(0.4, 0.4, -0.4, -0.4)));
}

QImage micMark() {
    QImage image = canvas(19, 34);
    QPainter p(&image);
    prepare(p);
    paintStandMic(p, QRectF(0, 0, 19, 34), kMicColour);
    return image;
}

QImage noteMark() {
    QImage image = canvas(24, 30);
    QPainter p(&image);
    prepare(p);
    // Two beamed eighth notes.
    QPainterPath heads;
    const QPointF headCentres[2] = {QPointF(6.2, 24.6), QPointF(17.6, 21.6)};
    for (const QPointF& c : headCentres) {
        QPainterPath e;
        e.addEllipse(QPointF(0, 0), 4.4, 3.1);
        heads.addPath(QTransform().translate(c.x(), c.y()).rotate(-22).map(e));
    }
    QPainterPath stems;
    stems.addRect(QRectF(9.3, 5.6, 1.8, 19.0));
    stems.addRect(QRectF(20.7, 2.6, 1.8, 19.0));
    QPainterPath beam;
    beam.moveTo(9.3, 5.0);
    beam.lineTo(22.5, 1.6);
    beam.lineTo(22.5, 6.0);
    beam.lineTo(9.3, 9.4);
    beam.closeSubpath();
    QPainterPath note = heads.united(stems).united(beam);

    QLinearGradient fill(0, 0, 24, 30);
    fill.setColorAt(0.0, kMusicColour.lighter(160));
    fill.setColorAt(0.6, kMusicColour);
    fill.setColorAt(1.0, kMusicColour.darker(170));
    p.setPen(QPen(kMusicColour.darker(260), 0.8));
    p.setBrush(fill);
    p.drawPath(note);
    return image;
}

// The connection symbol: a round bezel with the power sign, grey (no
// device) or lit blue (connected).
QImage powerSymbol(bool lit) {
    QImage image = canvas(40, 41);
    const QPointF c(20.0, 20.5);
    const double bezel = 17.5;
    QPainterPath disc;
    disc.addEllipse(c, bezel, bezel);
    paintGlow(image, disc, QColor(0, 0, 0), 3, 0.9, QPointF(0, 1.2));
    if (lit) paintGlow(image, disc, QColor(0, 130, 255), 3, 0.7);

    // The glyph: an open ring with a bar through the gap.
    QPainterPath glyph;
    const double r = 8.6;
    glyph.arcMoveTo(QRectF(c.x() - r, c.y() - r + 1.0, 2 * r, 2 * r), 125);
    glyph.arcTo(QRectF(c.x() - r, c.y() - r + 1.0, 2 * r, 2 * r), 125, 290);
    glyph.moveTo(c.x(), c.y() - 11.0);
    glyph.lineTo(c.x(), c.y() - 1.0);
    const QPen glyphPen(Qt::black, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPainterPath glyphShape = [&] {
        QPainterPathStroker s(glyphPen);
        return s.createStroke(glyph);
    }();

    {
        QPainter p(&image);
        prepare(p);
        // Metal bezel.
        QLinearGradient ring(0, c.y() - bezel, 0, c.y() + bezel);
        ring.setColorAt(0.0, QColor(150, 152, 158));
        ring.setColorAt(0.5, QColor(70, 72, 76));
        ring.setColorAt(1.0, QColor(30, 31, 33));
        p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
        p.setBrush(ring);
        p.drawEllipse(c, bezel - 0.5, bezel - 0.5);
        // Face, recessed: darker at the top.
        const double face = bezel - 3.0;
        QRadialGradient faceFill(c + QPointF(0, 4), face * 1.3);
        faceFill.setColorAt(0.0, lit ? QColor(16, 40, 70) : QColor(44, 45, 48));
        faceFill.setColorAt(1.0, lit ? QColor(4, 10, 22) : QColor(18, 18, 20));
        p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
        p.setBrush(faceFill);
        p.drawEllipse(c, face, face);
        // Gloss on the face.
        QLinearGradient gloss(0, c.y() - face, 0, c.y());
        gloss.setColorAt(0.0, QColor(255, 255, 255, 50));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(gloss);
        p.drawEllipse(QRectF(c.x() - face + 3, c.y() - face + 1, 2 * face - 6, face));
    }
    if (lit) paintGlow(image, glyphShape, QColor(0, 150, 255), 4, 1.6);
    QPainter p(&image);
    prepare(p);
    QLinearGradient glyphFill(0, c.y() - 12, 0, c.y() + 10);
    if (lit) {
        glyphFill.setColorAt(0.0, QColor(170, 225, 255));
        glyphFill.setColorAt(1.0, QColor(20, 140, 255));
    } else {
        glyphFill.setColorAt(0.0, QColor(150, 150, 154));
        glyphFill.setColorAt(1.0, QColor(96, 96, 100));
    }
    p.fillPath(glyphShape, glyphFill);
    return image;
}

QImage solidPatch(const QColor& colour) { return canvas(16, 10, colour); }

// Pairing lamp: red when the microphone is not paired, green when it is.
QImage pairingLamp(bool paired) {
    QImage image = canvas(18, 18);
    const QPointF c(9.0, 9.0);
    const QColor hue = paired ? QColor(40, 230, 70) : QColor(220, 36, 30);
    QPainterPath lens;
    lens.addEllipse(c, 6.0, 6.0);
    paintGlow(image, lens, hue, paired ? 4 : 3, paired ? 1.3 : 0.6);
    QPainter p(&image);
    prepare(p);
    p.setPen(QPen(QColor(0, 0, 0, 230), 1.0));
    QLinearGradient bezel(0, 2, 0, 16);
    bezel.setColorAt(0.0, QColor(120, 122, 126));
    bezel.setColorAt(1.0, QColor(30, 30, 32));
    p.setBrush(bezel);
    p.drawEllipse(c, 7.5, 7.5);
    QRadialGradient body(c + QPointF(-1.0, -1.5), 6.5);
    body.setColorAt(0.0, paired ? hue.lighter(170) : hue.lighter(120));
    body.setColorAt(0.6, hue);
    body.setColorAt(1.0, hue.darker(paired ? 200 : 260));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(c, 5.6, 5.6);
    QRadialGradient spot(c + QPointF(-1.8, -2.4), 2.6);
    spot.setColorAt(0.0, QColor(255, 255, 255, 210));
    spot.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(spot);
    p.drawEllipse(c + QPointF(-1.8, -2.4), 2.6, 2.6);
    return image;
}

}  // namespace

// A handheld wireless microphone with its number on a badge; the active
// form has a lit status ring and radio waves.
QImage handheldMic(int number, bool active, double scale) {
    const int size = static_cast<int>(std::lround(56 * scale));
    QImage image = canvas(size, size);
    const QTransform zoom = QTransform::fromScale(scale, scale);
    const QColor ringColour(40, 230, 70);
    const double cx = 22.0;

    // Handle: tapered body under the grille.
    QPainterPath handle;
    handle.moveTo(cx - 7.5, 21.0);
    handle.lineTo(cx + 7.5, 21.0);
    handle.lineTo(cx + 4.2, 52.0);
    handle.quadTo(cx, 54.5, cx - 4.2, 52.0);
    handle.closeSubpath();
    QPainterPath ball;
    ball.addEllipse(QPointF(cx, 12.5), 10.5, 10.5);
    paintGlow(image, zoom.map(handle.united(ball)), QColor(0, 0, 0), 3, 0.9, QPointF(1.0, 1.5) * scale);

    QPainter p(&image);
    prepare(p);
    p.setTransform(zoom);
    const QColor bodyColour = active ? QColor(70, 74, 82) : QColor(58, 58, 62);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.setBrush(cylinder(cx - 7.5, cx + 7.5, bodyColour));
    p.drawPath(handle);
    // Status ring round the handle's neck.
    const QRectF ring(cx - 7.0, 23.0, 14.0, 3.2);
    if (active) {
        p.end();
        QPainterPath ringPath;
        ringPath.addRoundedRect(ring, 1.2, 1.2);
        paintGlow(image, zoom.map(ringPath), ringColour, static_cast<int>(4 * scale), 1.5);
        p.begin(&image);
        prepare(p);
        p.setTransform(zoom);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(active ? ringColour : QColor(34, 34, 36));
    p.drawRoundedRect(ring, 1.2, 1.2);
    // Grille ball: mesh over a silver sphere.
    QRadialGradient sphere(QPointF(cx - 3.5, 8.5), 13.0);
    sphere.setColorAt(0.0, active ? QColor(236, 238, 242) : QColor(170, 170, 174));
    sphere.setColorAt(0.7, active ? QColor(132, 136, 144) : QColor(96, 96, 100));
    sphere.setColorAt(1.0, QColor(40, 40, 44));
    p.setBrush(sphere);
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.drawPath(ball);
    p.save();
    p.setClipPath(ball);
    p.setPen(QPen(QColor(0, 0, 0, 70), 0.8));
    for (double d = -24; d <= 24; d += 3.0) {
        p.drawLine(QPointF(cx + d - 12, 0.0), QPointF(cx + d + 12, 26.0));
        p.drawLine(QPointF(cx + d + 12, 0.0), QPointF(cx + d - 12, 26.0));
    }
    p.restore();
    // Radio waves to the upper right.
    if (active) {
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 3; ++i) {
            const double r = 5.0 + 4.5 * i;
            p.setPen(QPen(withAlpha(ringColour, 230 - 55 * i), 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(QPointF(cx + 13.0 - r, 12.0 - r), QSizeF(2 * r, 2 * r)), 10 * 16, 70 * 16);
        }
    }
    // Number badge, lower right.
    const QPointF badge(44.0, 44.0);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    QLinearGradient badgeFill(0, badge.y() - 8, 0, badge.y() + 8);
    badgeFill.setColorAt(0.0, active ? QColor(70, 200, 90) : QColor(100, 100, 104));
    badgeFill.setColorAt(1.0, active ? QColor(16, 100, 36) : QColor(44, 44, 48));
    p.setBrush(badgeFill);
    p.drawEllipse(badge, 8.0, 8.0);
    p.setPen(Qt::NoPen);
    p.fillPath(textPath(QString::number(number), uiFont(11.5, QFont::Bold), badge), QColor(250, 250, 250));
    return image;
}

namespace {

// Banner behind the information window's message.
QImage infoBanner() {
    // Notices are written over it in black: the ground stays light everywhere.
    constexpr int kWidth = 516;
    constexpr int kHeight = 110;
    QImage image = canvas(kWidth, kHeight);
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient across(0, 0, kWidth, 0);
        across.setColorAt(0.0, QColor(208, 224, 250));
        across.setColorAt(0.45, QColor(226, 238, 250));
        across.setColorAt(1.0, QColor(214, 244, 222));
        p.fillRect(image.rect(), across);
        QLinearGradient sheen(0, 0, 0, kHeight);
        sheen.setColorAt(0.0, QColor(255, 255, 255, 110));
        sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
        sheen.setColorAt(0.501, QColor(0, 0, 0, 0));
        sheen.setColorAt(1.0, QColor(0, 40, 80, 22));
        p.fillRect(image.rect(), sheen);
        // A soft blue halo behind the bolt.
        QRadialGradient halo(QPointF(44, 55), 52);
        halo.setColorAt(0.0, QColor(90, 150, 230, 110));
        halo.setColorAt(1.0, QColor(90, 150, 230, 0));
        p.fillRect(QRectF(0, 0, 110, kHeight), halo);
        p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
        p.drawLine(QPointF(0, 0.5), QPointF(kWidth, 0.5));
        p.setPen(QPen(QColor(90, 120, 150, 120), 1.0));
        p.drawLine(QPointF(0, kHeight - 0.5), QPointF(kWidth, kHeight - 0.5));
    }
    QPainterPath bolt;
    bolt.moveTo(52, 14);
    bolt.lineTo(28, 60);
    bolt.lineTo(43, 60);
    bolt.lineTo(34, 97);
    bolt.lineTo(63, 46);
    bolt.lineTo(48, 46);
    bolt.lineTo(60, 14);
    bolt.closeSubpath();
    paintGlow(image, bolt, QColor(255, 170, 0), 6, 1.0);
    QPainter p(&image);
    prepare(p);
    QLinearGradient boltFill(0, 14, 0, 97);
    boltFill.setColorAt(0.0, QColor(255, 250, 210));
    boltFill.setColorAt(0.5, QColor(255, 214, 40));
    boltFill.setColorAt(1.0, QColor(240, 150, 0));
    p.setPen(QPen(QColor(150, 80, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(boltFill);
    p.drawPath(bolt);
    return image;
}

// Program icon: a dark rounded tile with a glowing microphone between
// sound waves.
QImage programIcon() {
    constexpr int kSize = 256;
    QImage image = canvas(kSize, kSize);
    const QRectF tile(8, 8, 240, 240);
    const QPainterPath tileShape = roundPath(tile, 52);
    paintGlow(image, tileShape, QColor(0, 0, 0), 8, 0.9, QPointF(0, 4));
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient fill(0, tile.top(), 0, tile.bottom());
        fill.setColorAt(0.0, QColor(62, 66, 72));
        fill.setColorAt(0.5, QColor(34, 36, 40));
        fill.setColorAt(1.0, QColor(18, 19, 21));
        p.fillPath(tileShape, fill);
        p.save();
        p.setClipPath(tileShape);
        QRadialGradient backLight(QPointF(128, 120), 110);
        backLight.setColorAt(0.0, QColor(0, 150, 200, 90));
        backLight.setColorAt(1.0, QColor(0, 150, 200, 0));
        p.fillRect(tile, backLight);
        p.restore();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 70), 2.0));
        p.drawPath(roundPath(tile.adjusted(2, 2, -2, -2), 50));
        p.setPen(QPen(QColor(0, 0, 0, 220), 2.0));
        p.drawPath(roundPath(tile.adjusted(1, 1, -1, -1), 51));
    }
    // Sound waves on both sides.
    QPainterPath waves;
    const QPointF mouth(128, 96);
    for (int i = 0; i < 2; ++i) {
        const double r = 62.0 + 24.0 * i;
        const QRectF arc(mouth.x() - r, mouth.y() - r, 2 * r, 2 * r);
        waves.arcMoveTo(arc, -32);
        waves.arcTo(arc, -32, 64);
        waves.arcMoveTo(arc, 148);
        waves.arcTo(arc, 148, 64);
    }
    const QPainterPath waveShape = QPainterPathStroker(QPen(Qt::black, 11, Qt::SolidLine, Qt::RoundCap)).createStroke(waves);
    paintGlow(image, waveShape, QColor(0, 200, 170), 10, 1.2);
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient waveFill(0, 30, 0, 170);
        waveFill.setColorAt(0.0, QColor(120, 255, 220));
        waveFill.setColorAt(1.0, QColor(0, 160, 140));
        p.fillPath(waveShape, waveFill);
    }
    // The microphone.
    QImage mic = canvas(kSize, kSize);
    {
        QPainter p(&mic);
        prepare(p);
        paintStandMic(p, QRectF(84, 34, 88, 168), QColor(40, 170, 255));
    }
    QImage micGlow = mic;
    blur(micGlow, 10);
    QPainter p(&image);
    p.setOpacity(0.9);
    p.drawImage(0, 0, micGlow);
    p.setOpacity(1.0);
    p.drawImage(0, 0, mic);
    return image;
}

}  // namespace

void drawSymbols(Gallery& gallery) {
    gallery.add(209, programIcon(),
                QStringLiteral("program icon: dark rounded tile, glowing blue studio microphone between teal sound waves"));
    gallery.add(210, infoBanner(),
                QStringLiteral("information banner: light blue to light green gradient with a glowing lightning bolt at the left"));
    gallery.add(234, solidPatch(QColor(230, 28, 28)), QStringLiteral("upgrade status: solid red (no device)"));
    gallery.add(235, solidPatch(QColor(28, 200, 60)), QStringLiteral("upgrade status: solid green (device ready)"));
    gallery.add(280, noteMark(), QStringLiteral("music row mark: two beamed eighth notes in blue"));
    gallery.add(281, micMark(), QStringLiteral("microphone row mark: teal studio microphone on a stand"));
    gallery.add(339, powerSymbol(false), QStringLiteral("disconnected: power sign in grey on a dark round bezel"));
    gallery.add(341, powerSymbol(true), QStringLiteral("connected: power sign lit blue with a glow on the bezel"));
    gallery.add(363, pairingLamp(false), QStringLiteral("pairing lamp, not paired: red lamp"));
    gallery.add(364, pairingLamp(true), QStringLiteral("pairing lamp, paired: lit green lamp with a glow"));
    gallery.add(365, handheldMic(1, false), QStringLiteral("wireless microphone 1, inactive: grey handheld, badge 1"));
    gallery.add(366, handheldMic(2, false), QStringLiteral("wireless microphone 2, inactive: grey handheld, badge 2"));
    gallery.add(367, handheldMic(1, true),
                QStringLiteral("wireless microphone 1, active: lit green ring, radio waves, badge 1"));
    gallery.add(368, handheldMic(2, true),
                QStringLiteral("wireless microphone 2, active: lit green ring, radio waves, badge 2"));
}

}  // namespace draw
