// Pictures that sit behind or beside the controls of the smaller windows:
// the automatic-sub sketch, the delay-section backdrops, the remote control
// of the learning window and the wireless pairing guide.
//
// Each picture is drawn at the pixel size of its picture control (dialog
// units converted with the 9-point dialog font). Where controls lie on top
// of a picture, the picture keeps those places plain.

#include "draw_common.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace draw {
namespace {

const QColor kMusic(64, 150, 255);
const QColor kDelayed(238, 162, 40);
const QColor kGreen(60, 230, 80);

void arrowHead(QPainter& p, const QPointF& from, const QPointF& tip, const QColor& colour, double size = 6.0) {
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    QPolygonF head;
    head << tip << tip - u * size + n * (size * 0.55) << tip - u * (size * 0.75) << tip - u * size - n * (size * 0.55);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

// ---------------------------------------------------------------- auto sub

// The sub level ducks while the voice is present and climbs back over the
// restore time (amber span).
QImage autoSubSketch() {
    QImage image = canvas(175, 34, panelColour());
    QPainterPath level;
    level.moveTo(4, 6);
    level.lineTo(30, 6);
    level.lineTo(35, 15);
    level.lineTo(80, 15);
    level.lineTo(150, 6);
    level.lineTo(171, 6);
    const QPainterPath levelStroke = QPainterPathStroker(QPen(Qt::black, 1.8)).createStroke(level);
    paintGlow(image, levelStroke, kMusic, 3, 1.0);

    QPainter p(&image);
    prepare(p);
    // Area under the level line.
    QPainterPath area = level;
    area.lineTo(171, 17);
    area.lineTo(4, 17);
    area.closeSubpath();
    QLinearGradient under(0, 6, 0, 17);
    under.setColorAt(0.0, withAlpha(kMusic, 70));
    under.setColorAt(1.0, withAlpha(kMusic, 0));
    p.fillPath(area, under);
    p.setPen(QPen(kMusic.lighter(130), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(level);

    // The voice: a short waveform burst.
    p.setPen(QPen(kGreen, 1.4, Qt::SolidLine, Qt::RoundCap));
    const double swing[] = {0.35, 0.7, 0.5, 1.0, 0.8, 0.45, 0.9, 0.6, 1.0, 0.7, 0.4, 0.85, 0.55, 0.75, 0.3, 0.5};
    for (int i = 0; i < 16; ++i) {
        const double x = 33.5 + 3.0 * i;
        const double envelope = std::sin((i + 0.5) / 16.0 * M_PI);
        const double h = 0.8 + 6.0 * envelope * swing[i];
        p.drawLine(QPointF(x, 25 - h), QPointF(x, 25 + h));
    }

    // Restore span.
    p.setPen(QPen(withAlpha(kDelayed, 150), 1.0, Qt::DotLine));
    p.drawLine(QPointF(80.5, 16), QPointF(80.5, 31));
    p.drawLine(QPointF(150.5, 7), QPointF(150.5, 31));
    p.setPen(QPen(kDelayed, 1.4));
    p.drawLine(QPointF(86, 26.5), QPointF(145, 26.5));
    arrowHead(p, QPointF(100, 26.5), QPointF(81.5, 26.5), kDelayed, 5.5);
    arrowHead(p, QPointF(130, 26.5), QPointF(149.5, 26.5), kDelayed, 5.5);
    return image;
}

// ------------------------------------------------------------ delay backdrops

// A loudspeaker, optionally with a channel letter on a badge.
void speaker(QPainter& p, const QPointF& c, const QString& letter) {
    QPainterPath box;
    box.addRoundedRect(QRectF(c.x() - 11, c.y() - 15, 22, 30), 3, 3);
    QLinearGradient cab(0, c.y() - 15, 0, c.y() + 15);
    cab.setColorAt(0.0, QColor(84, 86, 92));
    cab.setColorAt(1.0, QColor(30, 31, 34));
    p.setPen(QPen(QColor(0, 0, 0, 220), 1.0));
    p.setBrush(cab);
    p.drawPath(box);
    auto cone = [&](const QPointF& at, double r) {
        QRadialGradient g(at + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
        g.setColorAt(0.0, QColor(120, 122, 128));
        g.setColorAt(1.0, QColor(14, 14, 16));
        p.setPen(QPen(QColor(150, 152, 158), 0.8));
        p.setBrush(g);
        p.drawEllipse(at, r, r);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 172, 178));
        p.drawEllipse(at, r * 0.28, r * 0.28);
    };
    cone(c + QPointF(0, -8), 4.2);
    cone(c + QPointF(0, 5), 7.0);
    if (letter.isEmpty()) return;
    const QPointF badge = c + QPointF(11, 13);
    p.setPen(QPen(QColor(0, 0, 0, 200), 1.0));
    p.setBrush(QColor(0, 144, 120));
    p.drawEllipse(badge, 7.5, 7.5);
    p.setPen(Qt::NoPen);
    p.fillPath(textPath(letter, uiFont(10.5, QFont::Bold), badge), QColor(245, 245, 245));
}

// Backdrop of one delay section (567 x 118): the controls occupy two
// framed rows from x = 47; the picture shows the speaker of the section at
// the left, a sketch of the direct and delayed paths top right and the
// echo taps bottom right.
QImage delayBackdrop(const QString& letter) {
    QImage image = canvas(567, 118, panelColour());
    QPainter p(&image);
    prepare(p);

    p.save();
    p.translate(19, 56);
    p.scale(1.35, 1.35);
    speaker(p, QPointF(0, 0), letter);
    p.restore();

    // Flow sketch: in -> direct (blue) and delayed (amber) -> sum -> out.
    const double y = 27.0;
    const double top = 13.0;
    const double bottom = 41.0;
    const QColor grey(196, 198, 204);
    auto line = [&](const std::vector<QPointF>& pts, const QColor& c) {
        QPolygonF poly;
        for (const QPointF& q : pts) poly << q;
        p.setPen(QPen(c, 1.8, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(poly);
    };
    line({{300, y}, {318, y}}, grey);
    line({{318, y}, {318, top}, {470, top}, {488, y - 4}}, kMusic);
    line({{318, y}, {318, bottom}, {380, bottom}}, kDelayed);
    line({{432, bottom}, {470, bottom}, {488, y + 4}}, kDelayed);
    arrowHead(p, QPointF(360, bottom), QPointF(380, bottom), kDelayed);
    p.setPen(Qt::NoPen);
    p.setBrush(grey);
    p.drawEllipse(QPointF(300, y), 3.0, 3.0);
    p.setBrush(grey);
    p.drawEllipse(QPointF(318, y), 2.4, 2.4);
    // Delay block with a clock face.
    const QRectF block(380, bottom - 10, 52, 20);
    QLinearGradient blockFill(0, block.top(), 0, block.bottom());
    blockFill.setColorAt(0.0, QColor(90, 66, 20));
    blockFill.setColorAt(1.0, QColor(46, 32, 6));
    p.setPen(QPen(kDelayed, 1.0));
    p.setBrush(blockFill);
    p.drawRoundedRect(block.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    const QPointF clock = block.center();
    p.setPen(QPen(kDelayed.lighter(130), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(clock, 6.5, 6.5);
    p.drawLine(clock, clock + QPointF(0, -4.5));
    p.drawLine(clock, clock + QPointF(3.5, 0));
    // Summing node and output.
    const QPointF sum(496, y);
    p.setPen(QPen(grey, 1.6));
    p.setBrush(QColor(44, 45, 48));
    p.drawEllipse(sum, 8.5, 8.5);
    p.drawLine(sum + QPointF(-4.5, 0), sum + QPointF(4.5, 0));
    p.drawLine(sum + QPointF(0, -4.5), sum + QPointF(0, 4.5));
    line({{504.5, y}, {540, y}}, grey);
    arrowHead(p, QPointF(530, y), QPointF(548, y), grey);

    // Echo taps: the direct sound and its delayed repeats, fading.
    const double base = 108.0;
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    p.drawLine(QPointF(508, base + 0.5), QPointF(565, base + 0.5));
    for (int i = 0; i < 5; ++i) {
        const double x = 512 + 12.0 * i;
        const double h = i == 0 ? 40.0 : 34.0 * std::pow(0.68, i - 1);
        const QColor c = i == 0 ? kMusic : withAlpha(kDelayed, 255 - 35 * i);
        QLinearGradient bar(0, base - h, 0, base);
        bar.setColorAt(0.0, c.lighter(130));
        bar.setColorAt(1.0, c.darker(160));
        p.setPen(Qt::NoPen);
        p.setBrush(bar);
        p.drawRoundedRect(QRectF(x - 3, base - h, 6, h), 2, 2);
    }
    return image;
}

// ------------------------------------------------------------------ remote

// The remote control of the learning window (247 x 553). The keys are
// placed where the window's invisible key areas lie.
class Remote {
public:
    Remote() : image_(canvas(247, 553)) {}

    static double x(double du) { return du * 247.0 / 141.0; }
    static double y(double du) { return du * 553.0 / 295.0; }
    static QRectF r(double dx, double dy, double dw, double dh) { return QRectF(x(dx), y(dy), x(dw), y(dh)); }

    QImage draw() {
        body();
        QPainter p(&image_);
        prepare(p);
        // IR window and lamp.
        QRectF ir(x(52), y(9), x(37), y(8));
        QLinearGradient irFill(0, ir.top(), 0, ir.bottom());
        irFill.setColorAt(0.0, QColor(110, 20, 24));
        irFill.setColorAt(1.0, QColor(40, 4, 6));
        p.setPen(QPen(QColor(0, 0, 0), 1.0));
        p.setBrush(irFill);
        p.drawRoundedRect(ir, 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawRoundedRect(QRectF(ir.left() + 4, ir.top() + 2, ir.width() - 8, 3), 1.5, 1.5);

        // Nav ring behind the volume keys.
        const QPointF ringCentre(x(72), y(164));
        QRadialGradient ring(ringCentre, 80);
        ring.setColorAt(0.0, QColor(26, 27, 30));
        ring.setColorAt(0.86, QColor(40, 41, 45));
        ring.setColorAt(1.0, QColor(20, 20, 22));
        p.setPen(QPen(QColor(0, 0, 0, 200), 1.2));
        p.setBrush(ring);
        p.drawEllipse(ringCentre, 78, 78);
        p.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(ringCentre.x() - 79, ringCentre.y() - 79, 158, 158), 200 * 16, 140 * 16);

        // Section captions.
        caption(p, QStringLiteral("KEY"), 70, 79);
        caption(p, QStringLiteral("MIC"), 36, 125);
        caption(p, QStringLiteral("MUSIC"), 108, 125);
        caption(p, QStringLiteral("ECHO"), 70, 208);
        caption(p, QStringLiteral("MODE"), 33, 207);
        caption(p, QStringLiteral("MODE"), 109, 206);

        // Keys.
        key(p, r(24, 28, 23, 14), QStringLiteral("SRC"), QColor(200, 200, 206), 9);
        key(p, r(23, 86, 20, 14), QStringLiteral("\u266d"), kDelayed.lighter(115), 21);
        key(p, r(60, 86, 20, 14), QStringLiteral("\u266e"), kDelayed.lighter(115), 21);
        key(p, r(96, 86, 20, 14), QStringLiteral("\u266f"), kDelayed.lighter(115), 21);
        key(p, r(26, 132, 20, 16), QStringLiteral("+"), QColor(235, 235, 240), 17);
        key(p, r(26, 182, 20, 16), QStringLiteral("\u2212"), QColor(235, 235, 240), 17);
        key(p, r(98, 132, 20, 16), QStringLiteral("+"), QColor(235, 235, 240), 17);
        key(p, r(98, 182, 20, 16), QStringLiteral("\u2212"), QColor(235, 235, 240), 17);
        muteKey(p, r(60, 156, 20, 16));
        key(p, r(23, 214, 20, 16), QStringLiteral("M1"), QColor(0, 210, 170), 11);
        key(p, r(99, 213, 20, 16), QStringLiteral("M2"), QColor(0, 210, 170), 11);
        key(p, r(23, 238, 20, 16), QStringLiteral("M3"), QColor(0, 210, 170), 11);
        key(p, r(99, 237, 20, 16), QStringLiteral("M4"), QColor(0, 210, 170), 11);
        key(p, r(56, 214, 27, 14), QStringLiteral("+"), kMusic.lighter(130), 16);
        key(p, r(56, 234, 27, 14), QStringLiteral("\u2212"), kMusic.lighter(130), 16);

        // Small mic and note marks between the volume keys.
        micGlyph(p, QPointF(x(36), y(164)));
        noteGlyph(p, QPointF(x(108), y(164)));

        // Grip lines at the bottom.
        p.setPen(QPen(QColor(0, 0, 0, 150), 1.0));
        for (int i = 0; i < 4; ++i) {
            const double gy = y(265) + i * 6.0;
            p.drawLine(QPointF(x(50), gy + 0.5), QPointF(x(91), gy + 0.5));
        }
        p.setPen(QPen(QColor(255, 255, 255, 26), 1.0));
        for (int i = 0; i < 4; ++i) {
            const double gy = y(265) + i * 6.0 + 1.0;
            p.drawLine(QPointF(x(50), gy + 0.5), QPointF(x(91), gy + 0.5));
        }
        return image_;
    }

private:
    void body() {
        const QRectF outline(x(8), y(3), x(125), y(289));
        const QPainterPath shape = roundPath(outline, 34);
        paintGlow(image_, shape, QColor(0, 0, 0), 6, 0.9, QPointF(2, 4));
        QPainter p(&image_);
        prepare(p);
        QLinearGradient across(outline.left(), 0, outline.right(), 0);
        across.setColorAt(0.0, QColor(30, 31, 34));
        across.setColorAt(0.18, QColor(66, 68, 74));
        across.setColorAt(0.5, QColor(48, 50, 54));
        across.setColorAt(1.0, QColor(22, 23, 25));
        p.fillPath(shape, across);
        p.save();
        p.setClipPath(shape);
        QLinearGradient sheen(0, outline.top(), 0, outline.bottom());
        sheen.setColorAt(0.0, QColor(255, 255, 255, 36));
        sheen.setColorAt(0.3, QColor(255, 255, 255, 0));
        sheen.setColorAt(1.0, QColor(0, 0, 0, 60));
        p.fillRect(outline, sheen);
        p.restore();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 50), 1.0));
        p.drawPath(roundPath(outline.adjusted(1.5, 1.5, -1.5, -1.5), 32.5));
        p.setPen(QPen(QColor(0, 0, 0, 230), 1.0));
        p.drawPath(roundPath(outline.adjusted(0.5, 0.5, -0.5, -0.5), 33.5));
    }

    static void caption(QPainter& p, const QString& text, double cxDu, double cyDu) {
        p.setPen(Qt::NoPen);
        p.fillPath(textPath(text, uiFont(8.5, QFont::Bold), QPointF(x(cxDu), y(cyDu))), QColor(150, 152, 160));
    }

    static void keyFace(QPainter& p, const QRectF& area) {
        const QRectF k = area.adjusted(1.0, 1.0, -1.0, -1.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        p.drawRoundedRect(k.translated(0, 1.5), 6, 6);
        QLinearGradient fill(0, k.top(), 0, k.bottom());
        fill.setColorAt(0.0, QColor(96, 98, 106));
        fill.setColorAt(0.5, QColor(60, 62, 68));
        fill.setColorAt(1.0, QColor(38, 39, 43));
        p.setPen(QPen(QColor(0, 0, 0, 230), 1.0));
        p.setBrush(fill);
        p.drawRoundedRect(k.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(QPen(QColor(255, 255, 255, 70), 1.0));
        p.setBrush(Qt::NoBrush);
        p.save();
        p.setClipRect(QRectF(k.left(), k.top(), k.width(), k.height() * 0.4));
        p.drawRoundedRect(k.adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
        p.restore();
    }

    static void key(QPainter& p, const QRectF& area, const QString& glyph, const QColor& colour, double size) {
        keyFace(p, area);
        p.setPen(Qt::NoPen);
        p.fillPath(textPath(glyph, uiFont(size, QFont::Bold), area.center()), colour);
    }

    static void muteKey(QPainter& p, const QRectF& area) {
        keyFace(p, area);
        const QPointF c = area.center() + QPointF(-2, 0);
        QPainterPath cone;
        cone.moveTo(c + QPointF(-7, -3));
        cone.lineTo(c + QPointF(-3, -3));
        cone.lineTo(c + QPointF(2, -8));
        cone.lineTo(c + QPointF(2, 8));
        cone.lineTo(c + QPointF(-3, 3));
        cone.lineTo(c + QPointF(-7, 3));
        cone.closeSubpath();
        p.setPen(Qt::NoPen);
        p.fillPath(cone, QColor(235, 235, 240));
        p.setPen(QPen(QColor(255, 70, 60), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(5, -4), c + QPointF(12, 4));
        p.drawLine(c + QPointF(12, -4), c + QPointF(5, 4));
    }

    static void micGlyph(QPainter& p, const QPointF& c) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 196, 156));
        p.drawRoundedRect(QRectF(c.x() - 3.5, c.y() - 11, 7, 13), 3.5, 3.5);
        p.setPen(QPen(QColor(0, 196, 156), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - 6, c.y() - 9, 12, 13), 200 * 16, 140 * 16);
        p.drawLine(c + QPointF(0, 4.5), c + QPointF(0, 9));
        p.drawLine(c + QPointF(-4, 9), c + QPointF(4, 9));
    }

    static void noteGlyph(QPainter& p, const QPointF& c) {
        p.setPen(Qt::NoPen);
        p.fillPath(textPath(QStringLiteral("\u266b"), uiFont(19, QFont::Normal), c), kMusic);
    }

    QImage image_;
};

// ------------------------------------------------------------ pairing guide

// Pairing guide (679 x 246) on the wireless window's RGB(20,20,20): two
// rows, one per microphone: step number, microphone, radio link, receiver,
// and an arrow towards the pair button that the window places at the right.
QImage pairingGuide() {
    QImage image = canvas(679, 246, QColor(20, 20, 20));
    const double rows[2] = {76.0, 200.0};
    const double buttonY[2] = {88.0, 217.0};
    {
        QPainter p(&image);
        prepare(p);
        p.setPen(QPen(QColor(255, 255, 255, 30), 1.0, Qt::DotLine));
        p.drawLine(QPointF(10, 122.5), QPointF(510, 122.5));
    }
    for (int i = 0; i < 2; ++i) {
        const double cy = rows[i];
        QPainter p(&image);
        prepare(p);
        // Step number.
        const QPointF step(30, cy);
        p.setPen(QPen(QColor(0, 0, 0), 1.0));
        QLinearGradient stepFill(0, cy - 15, 0, cy + 15);
        stepFill.setColorAt(0.0, QColor(0, 170, 140));
        stepFill.setColorAt(1.0, QColor(0, 90, 74));
        p.setBrush(stepFill);
        p.drawEllipse(step, 15, 15);
        p.setPen(Qt::NoPen);
        p.fillPath(textPath(QString::number(i + 1), uiFont(17, QFont::Bold), step), QColor(245, 245, 245));
        // Microphone.
        p.drawImage(QPointF(58, cy - 40), handheldMic(i + 1, true, 1.4));
        // Radio link: waves and a dashed beam to the receiver.
        p.setPen(QPen(withAlpha(kGreen, 150), 1.6, Qt::DashLine, Qt::RoundCap));
        p.drawLine(QPointF(142, cy - 12), QPointF(262, cy - 12));
        p.setBrush(Qt::NoBrush);
        for (int w = 0; w < 3; ++w) {
            const double r = 8.0 + 7.0 * w;
            p.setPen(QPen(withAlpha(kGreen, 230 - 60 * w), 2.0, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(268 - r, cy - 12 - r, 2 * r, 2 * r), 140 * 16, 80 * 16);
        }
        // Receiver.
        const QRectF rx(272, cy - 22, 150, 40);
        p.end();
        paintGlow(image, roundPath(rx, 7), QColor(0, 0, 0), 4, 0.9, QPointF(0, 2));
        p.begin(&image);
        prepare(p);
        QLinearGradient rxFill(0, rx.top(), 0, rx.bottom());
        rxFill.setColorAt(0.0, QColor(88, 90, 98));
        rxFill.setColorAt(0.5, QColor(52, 54, 58));
        rxFill.setColorAt(1.0, QColor(30, 31, 34));
        p.setPen(QPen(QColor(0, 0, 0), 1.0));
        p.setBrush(rxFill);
        p.drawRoundedRect(rx.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
        // Antennas.
        p.setPen(QPen(QColor(130, 132, 138), 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(rx.left() + 14, rx.top()), QPointF(rx.left() + 6, rx.top() - 20));
        p.drawLine(QPointF(rx.right() - 14, rx.top()), QPointF(rx.right() - 6, rx.top() - 20));
        // Display window with the band.
        const QRectF display(rx.left() + 28, rx.top() + 9, 62, 20);
        p.setPen(QPen(QColor(0, 0, 0), 1.0));
        p.setBrush(QColor(8, 24, 18));
        p.drawRoundedRect(display, 3, 3);
        p.setPen(Qt::NoPen);
        p.fillPath(textPath(QStringLiteral("2.4G"), uiFont(12, QFont::Bold), display.center()), kGreen);
        // Two channel lamps; this row's one is lit.
        for (int l = 0; l < 2; ++l) {
            const QPointF lamp(rx.left() + 106 + 16 * l, rx.center().y());
            const bool lit = l == i;
            QRadialGradient g(lamp + QPointF(-1, -1), 5);
            g.setColorAt(0.0, lit ? QColor(200, 255, 200) : QColor(70, 72, 76));
            g.setColorAt(1.0, lit ? QColor(30, 170, 50) : QColor(24, 24, 26));
            p.setPen(QPen(QColor(0, 0, 0), 1.0));
            p.setBrush(g);
            p.drawEllipse(lamp, 4.5, 4.5);
            p.setPen(Qt::NoPen);
            p.fillPath(textPath(QString::number(l + 1), uiFont(8, QFont::Bold), lamp + QPointF(0, 10.5)),
                       QColor(160, 162, 168));
        }
        // Arrow towards the pair button.
        const QColor arrow(255, 200, 40);
        QPolygonF path;
        path << QPointF(432, cy) << QPointF(470, cy) << QPointF(488, buttonY[i]) << QPointF(508, buttonY[i]);
        p.setPen(QPen(arrow, 2.2, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(path);
        arrowHead(p, QPointF(500, buttonY[i]), QPointF(516, buttonY[i]), arrow, 9.0);
    }
    return image;
}

}  // namespace

void drawWindowPictures(Gallery& gallery) {
    gallery.add(207, Remote().draw(),
                QStringLiteral("remote control: graphite remote with IR window, pitch, volume, mute, mode and "
                               "echo keys placed on the learning window's key areas"));
    gallery.add(323, autoSubSketch(),
                QStringLiteral("automatic sub: sub level (blue) ducking under a voice burst (green) and "
                               "climbing back over the restore time (amber span)"));
    gallery.add(349, delayBackdrop(QString()),
                QStringLiteral("delay section backdrop, single channel: speaker, direct/delayed path sketch, "
                               "echo taps"));
    gallery.add(358, delayBackdrop(QStringLiteral("R")),
                QStringLiteral("delay section backdrop, lower (right) section: as 349 with an R badge"));
    gallery.add(360, delayBackdrop(QStringLiteral("L")),
                QStringLiteral("delay section backdrop, upper (left) section of a pair: as 349 with an L badge"));
    gallery.add(369, pairingGuide(),
                QStringLiteral("wireless pairing guide: per microphone a step number, the microphone, the "
                               "radio link, the 2.4G receiver and an arrow to the pair button"));
}

}  // namespace draw
