// The signal-flow diagrams behind the main window's block buttons: one for
// the normal routing (main, centre and sub outputs) and one for the centre
// and sub outputs routed to the rear pair.
//
// The picture is stretched over the diagram area of the main window, which
// spans x 65..450 and y 29..140 in dialog units. The wires are laid out in
// those dialog units, from the block buttons' rectangles, so that each wire
// ends at the edge of the button that sits on top of it. Colours: microphone
// teal-green, effect amber, music blue, mixed outputs light grey. A wire
// crossing over another cuts a small gap into it.

#include "draw_common.h"

#include <QPolygonF>

#include <cmath>
#include <vector>

namespace draw {
namespace {

// The diagram area in dialog units, and the picture's size in pixels.
constexpr double kAreaX = 65.0;
constexpr double kAreaY = 29.0;
constexpr double kAreaW = 385.0;
constexpr double kAreaH = 111.0;
constexpr int kWidth = 674;   // 385 du * 7/4, rounded
constexpr int kHeight = 208;  // 111 du * 15/8, rounded

const QColor kMic(0, 196, 156);
const QColor kEffect(238, 162, 40);
const QColor kMusic(64, 150, 255);
const QColor kMixed(196, 198, 204);

// A block button's rectangle in dialog units.
struct Block {
    double x, y, w, h;
    double cy() const { return y + h / 2.0; }
    double left() const { return x + 0.8; }  // where a wire meets the face
    double right() const { return x + w - 0.8; }
};

// Buttons of the panel (positions of the main window's template).
constexpr Block kShift{76, 40, 50, 16};        // 2201 frequency shifter
constexpr Block kMicEq{136, 40, 34, 16};       // 2202
constexpr Block kDirect{187, 40, 46, 16};      // 2203 direct volume
constexpr Block kEffectVol{147, 62, 46, 16};   // 2224
constexpr Block kEffectBlock{199, 62, 34, 16}; // 2208
constexpr Block kPitch{76, 84, 50, 16};        // 2205
constexpr Block kMusicEq{136, 84, 34, 16};     // 2206
constexpr Block kMainMic{257, 33, 39, 14};     // 2239
constexpr Block kMainMusic{257, 48, 39, 14};   // 2240
constexpr Block kCentreMic{257, 70, 39, 14};   // 2226
constexpr Block kCentreMusic{257, 85, 39, 14}; // 2227
constexpr Block kSubMic{257, 106, 39, 14};     // 2229
constexpr Block kSubMusic{257, 121, 39, 14};   // 2230
constexpr Block kMainDelay{307, 48, 47, 14};   // 2215
constexpr Block kCentreDelay{307, 85, 47, 14}; // 2216
constexpr Block kSubDelay{306, 121, 47, 14};   // 2217
constexpr Block kMainMicEq{363, 33, 34, 14};   // 2218
constexpr Block kMainMusicEq{363, 49, 34, 14}; // 2219
constexpr Block kCentreMicEq{363, 70, 34, 14}; // 2220
constexpr Block kCentreMusicEq{363, 85, 34, 14}; // 2221
constexpr Block kSubMicEq{363, 106, 34, 14};   // 2222
constexpr Block kSubMusicEq{363, 121, 34, 14}; // 2223
constexpr Block kCentreEq{408, 76, 34, 16};    // 2212
constexpr Block kSubEq{408, 114, 34, 16};      // 2214

// Columns of the three feeds into the mixer buttons, and of the summing bars.
constexpr double kMicBus = 239.0;
constexpr double kEffectBus = 245.0;
constexpr double kMusicBus = 251.0;
constexpr double kSumBar = 402.0;
constexpr double kEdge = kAreaX + kAreaW;  // right edge, where the output labels start
constexpr double kTapSplit = 1.7;          // the mic and effect feeds enter a mixer side by side

class Diagram {
public:
    Diagram() : image_(canvas(kWidth, kHeight, panelColour())) {}

    static QPointF at(double x, double y) {
        return QPointF((x - kAreaX) * kWidth / kAreaW, (y - kAreaY) * kHeight / kAreaH);
    }

    // A wire through dialog-unit points; `arrow` puts a head on its end.
    void wire(const std::vector<QPointF>& du, const QColor& colour, bool arrow = true) {
        QPolygonF line;
        for (const QPointF& q : du) line << at(q.x(), q.y());
        QPainter p(&image_);
        prepare(p);
        // Gap cut into whatever lies below, but not at the wire's ends, where
        // it joins a bus or a button.
        const QPolygonF inner = trimmed(line, 4.5);
        if (inner.size() >= 2) {
            p.setPen(QPen(panelColour(), 6.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
            p.drawPolyline(inner);
        }
        QPolygonF shaft = line;
        if (arrow) shaft = trimmed(line, 0.0, 5.0);
        p.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.drawPolyline(shaft);
        if (arrow) arrowHead(p, line[line.size() - 2], line.back(), colour);
    }

    void dot(double x, double y, const QColor& colour) {
        QPainter p(&image_);
        prepare(p);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(at(x, y), 2.6, 2.6);
    }

    // A faint dotted rule separating two output groups.
    void separator(double y, double x0, double x1) {
        QPainter p(&image_);
        prepare(p);
        QPen pen(QColor(255, 255, 255, 34), 1.0, Qt::DotLine);
        p.setPen(pen);
        const QPointF a = at(x0, y);
        const QPointF b = at(x1, y);
        p.drawLine(QPointF(a.x(), std::floor(a.y()) + 0.5), QPointF(b.x(), std::floor(b.y()) + 0.5));
    }

    const QImage& image() const { return image_; }

private:
    static QPolygonF trimmed(const QPolygonF& line, double head, double tail = -1.0) {
        if (tail < 0) tail = head;
        QPolygonF out = line;
        auto cut = [](QPointF& from, const QPointF& toward, double by) {
            const QPointF d = toward - from;
            const double len = std::hypot(d.x(), d.y());
            if (len <= by) return false;
            from += d * (by / len);
            return true;
        };
        if (head > 0 && (out.size() < 2 || !cut(out[0], out[1], head))) return {};
        if (tail > 0 && (out.size() < 2 || !cut(out[out.size() - 1], out[out.size() - 2], tail))) return {};
        return out;
    }

    static void arrowHead(QPainter& p, const QPointF& from, const QPointF& tip, const QColor& colour) {
        const QPointF d = tip - from;
        const double len = std::hypot(d.x(), d.y());
        const QPointF u = d / len;
        const QPointF n(-u.y(), u.x());
        const double length = 6.5;
        const double half = 3.4;
        QPolygonF head;
        head << tip << tip - u * length + n * half << tip - u * (length - 1.5) << tip - u * length - n * half;
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPolygon(head);
    }

    QImage image_;
};

QImage routing(bool rear) {
    Diagram d;

    // Dividers between the output groups.
    d.separator(66.5, 254, 430);
    if (!rear) d.separator(102.5, 254, 400);

    // Microphone chain.
    d.wire({{kAreaX, 48}, {kShift.left(), 48}}, kMic);
    d.wire({{kShift.right(), 48}, {kMicEq.left(), 48}}, kMic);
    d.wire({{kMicEq.right(), 48}, {kDirect.left(), 48}}, kMic);
    d.wire({{178, 48}, {178, kEffectVol.y + 1.2}}, kMic);
    d.dot(178, 48, kMic);
    d.wire({{kEffectVol.right(), kEffectBlock.cy()}, {kEffectBlock.left(), kEffectBlock.cy()}}, kMic);

    // Music chain.
    d.wire({{kAreaX, 92}, {kPitch.left(), 92}}, kMusic);
    d.wire({{kPitch.right(), 92}, {kMusicEq.left(), 92}}, kMusic);

    // Feeds: vertical buses with taps into the mixer blocks.
    const std::vector<Block> micMixers = rear ? std::vector<Block>{kMainMic, kSubMic}
                                              : std::vector<Block>{kMainMic, kCentreMic, kSubMic};
    const std::vector<Block> musicMixers = rear ? std::vector<Block>{kMainMusic, kSubMusic}
                                                : std::vector<Block>{kMainMusic, kCentreMusic, kSubMusic};
    const double micTop = kMainMic.cy() - kTapSplit;
    const double micBottom = kSubMic.cy() - kTapSplit;
    const double fxTop = kMainMic.cy() + kTapSplit;
    const double fxBottom = kSubMic.cy() + kTapSplit;
    d.wire({{kMicBus, micTop}, {kMicBus, micBottom}}, kMic, false);
    d.wire({{kEffectBus, fxTop}, {kEffectBus, fxBottom}}, kEffect, false);
    d.wire({{kMusicBus, kMainMusic.cy()}, {kMusicBus, kSubMusic.cy()}}, kMusic, false);

    d.wire({{kDirect.right(), 48}, {kMicBus, 48}}, kMic, false);
    d.dot(kMicBus, 48, kMic);
    d.wire({{kEffectBlock.right(), kEffectBlock.cy()}, {kEffectBus, kEffectBlock.cy()}}, kEffect, false);
    d.dot(kEffectBus, kEffectBlock.cy(), kEffect);
    d.wire({{kMusicEq.right(), 92}, {kMusicBus, 92}}, kMusic, false);
    d.dot(kMusicBus, 92, kMusic);

    for (const Block& b : musicMixers) {
        d.wire({{kMusicBus, b.cy()}, {b.left(), b.cy()}}, kMusic);
        if (b.y != kMainMusic.y && b.y != kSubMusic.y) d.dot(kMusicBus, b.cy(), kMusic);
    }
    for (const Block& b : micMixers) {
        d.wire({{kEffectBus, b.cy() + kTapSplit}, {b.left(), b.cy() + kTapSplit}}, kEffect);
        d.wire({{kMicBus, b.cy() - kTapSplit}, {b.left(), b.cy() - kTapSplit}}, kMic);
        if (b.y == kCentreMic.y) {
            d.dot(kEffectBus, b.cy() + kTapSplit, kEffect);
            d.dot(kMicBus, b.cy() - kTapSplit, kMic);
        }
    }

    // Main outputs: microphone and (delayed) music mixed into left and right.
    const double mainL = 39.5;
    const double mainR = 56.5;
    d.wire({{kMainMic.right(), mainL}, {kMainMicEq.left(), mainL}}, kMic);
    d.wire({{kMainMusic.right(), 55.5}, {kMainDelay.left(), 55.5}}, kMusic);
    d.wire({{kMainDelay.right(), 55.5}, {kMainMusicEq.left(), 55.5}}, kMusic);
    d.wire({{kMainMicEq.right(), mainL}, {kSumBar, mainL}}, kMic, false);
    d.wire({{kMainMusicEq.right(), mainR}, {kSumBar, mainR}}, kMusic, false);
    d.wire({{kSumBar, mainL}, {kSumBar, mainR}}, kMixed, false);
    d.wire({{kSumBar, mainL}, {kEdge, mainL}}, kMixed);
    d.wire({{kSumBar, mainR}, {kEdge, mainR}}, kMixed);
    d.dot(kSumBar, mainL, kMixed);
    d.dot(kSumBar, mainR, kMixed);

    if (!rear) {
        // Centre output: both paths through their EQs, summed, output EQ.
        d.wire({{kCentreMic.right(), kCentreMic.cy()}, {kCentreMicEq.left(), kCentreMic.cy()}}, kMic);
        d.wire({{kCentreMusic.right(), 92}, {kCentreDelay.left(), 92}}, kMusic);
        d.wire({{kCentreDelay.right(), 92}, {kCentreMusicEq.left(), 92}}, kMusic);
        d.wire({{kCentreMicEq.right(), kCentreMicEq.cy()}, {kSumBar, kCentreMicEq.cy()}}, kMic, false);
        d.wire({{kCentreMusicEq.right(), kCentreMusicEq.cy()}, {kSumBar, kCentreMusicEq.cy()}}, kMusic, false);
        d.wire({{kSumBar, kCentreMicEq.cy()}, {kSumBar, kCentreMusicEq.cy()}}, kMixed, false);
        d.wire({{kSumBar, kCentreEq.cy()}, {kCentreEq.left(), kCentreEq.cy()}}, kMixed);
        d.dot(kSumBar, kCentreEq.cy(), kMixed);
        d.wire({{kCentreEq.right(), kCentreEq.cy()}, {kEdge, kCentreEq.cy()}}, kMixed);

        // Sub output: the same, then the phase block right of the area.
        d.wire({{kSubMic.right(), kSubMic.cy()}, {kSubMicEq.left(), kSubMic.cy()}}, kMic);
        d.wire({{kSubMusic.right(), kSubMusic.cy()}, {kSubDelay.left(), kSubMusic.cy()}}, kMusic);
        d.wire({{kSubDelay.right(), kSubMusic.cy()}, {kSubMusicEq.left(), kSubMusic.cy()}}, kMusic);
        d.wire({{kSubMicEq.right(), kSubMicEq.cy()}, {kSumBar, kSubMicEq.cy()}}, kMic, false);
        d.wire({{kSubMusicEq.right(), kSubMusicEq.cy()}, {kSumBar, kSubMusicEq.cy()}}, kMusic, false);
        d.wire({{kSumBar, kSubMicEq.cy()}, {kSumBar, kSubMusicEq.cy()}}, kMixed, false);
        d.wire({{kSumBar, kSubEq.cy()}, {kSubEq.left(), kSubEq.cy()}}, kMixed);
        d.dot(kSumBar, kSubEq.cy(), kMixed);
        d.wire({{kSubEq.right(), kSubEq.cy()}, {446, kSubEq.cy()}, {446, 129}, {kEdge, 129}}, kMixed);
    } else {
        // Rear pair: the sub-path blocks feed both rear outputs.
        const double rearL = 112.5;
        const double rearR = 128.5;
        d.wire({{kSubMic.right(), rearL}, {kSubMicEq.left(), rearL}}, kMic);
        d.wire({{kSubMusic.right(), rearR}, {kSubDelay.left(), rearR}}, kMusic);
        d.wire({{kSubDelay.right(), rearR}, {kSubMusicEq.left(), rearR}}, kMusic);
        d.wire({{kSubMicEq.right(), rearL}, {kSumBar, rearL}}, kMic, false);
        d.wire({{kSubMusicEq.right(), rearR}, {kSumBar, rearR}}, kMusic, false);
        d.wire({{kSumBar, rearL}, {kSumBar, rearR}}, kMixed, false);
        d.wire({{kSumBar, rearL}, {kEdge, rearL}}, kMixed);
        d.wire({{kSumBar, rearR}, {kEdge, rearR}}, kMixed);
        d.dot(kSumBar, rearL, kMixed);
        d.dot(kSumBar, rearR, kMixed);
    }
    return d.image();
}

}  // namespace

void drawRouting(Gallery& gallery) {
    gallery.add(283, routing(false),
                QStringLiteral("signal-flow diagram, normal routing: mic and music chains, feeds to the main, "
                               "centre and sub mixers, delays, EQs and summing bars to the outputs"));
    gallery.add(352, routing(true),
                QStringLiteral("signal-flow diagram, rear routing: as 283 without the centre row; the sub-path "
                               "blocks feed both rear outputs"));
}

}  // namespace draw
