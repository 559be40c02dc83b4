// How the EQ graph is drawn: the grid once per size into a cache, then per
// frame the shaded area of the selected band, the total curve, the markers
// and the texts of the active band, all through one off-screen picture.
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QLineF>
#include <QPolygonF>
#include <QPen>
#include <QStringList>
#include <QVector>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "controls/CMemGdiPlusDC.h"
#include "controls/DialogTemplateFonts.h"
#include "eq/EqAxes.h"
#include "eq/EqTotal.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/CPanelFonts.h"

namespace sonoria {
namespace {

// Grid.
const QColor kGridTextColour(73, 90, 151);
const QColor kOuterLevelLine(120, 120, 120);
const QColor kMajorGridLine(60, 60, 60);
const QColor kMinorLevelLine(20, 20, 20);
constexpr int kLevelLines = 31;  // -15 dB to +15 dB
constexpr int kLabelledEvery = 3;
constexpr int kLevelLabelGap = 5;
constexpr int kFrequencyLabelDrop = 6;
constexpr std::array<int, 29> kFrequencyLines{10,   20,   30,   40,   50,   60,   70,    80,   90,   100,
                                              200,  300,  400,  500,  600,  700,  800,   900,  1000, 2000,
                                              3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000};
struct FrequencyLabel {
    int hz;
    const char* text;
};
constexpr std::array<FrequencyLabel, 10> kFrequencyLabels{{{20, "20Hz"},
                                                           {50, "50Hz"},
                                                           {100, "100Hz"},
                                                           {200, "200Hz"},
                                                           {500, "500Hz"},
                                                           {1000, "1kHz"},
                                                           {2000, "2kHz"},
                                                           {5000, "5kHz"},
                                                           {10000, "10kHz"},
                                                           {20000, "20kHz"}}};

// Curves.
const QColor kCurveColour(0, 255, 102);
constexpr qreal kCurveWidth = 1.6;
// The target of a file being imported: dashed, in a colour no band marker has.
const QColor kTargetColour(255, 190, 40);
constexpr qreal kTargetWidth = 1.4;
const QColor kAreaOutline(60, 60, 60, 200);
const QColor kAreaFill(40, 40, 40, 100);
// Cardinal splines are drawn with this tension, as smooth as a Catmull-Rom curve.
constexpr qreal kSplineTension = 0.5;

// Markers.
constexpr std::array<QRgb, CEqPanel::kMaxBands> kBandColours{
    qRgb(20, 102, 31),  qRgb(176, 48, 96),  qRgb(255, 99, 71),  qRgb(120, 56, 48),  qRgb(120, 32, 180),
    qRgb(255, 0, 255),  qRgb(255, 97, 3),   qRgb(255, 69, 0),   qRgb(230, 23, 140), qRgb(0, 50, 100),
    qRgb(255, 80, 255), qRgb(250, 120, 80), qRgb(250, 250, 250), qRgb(255, 255, 100), qRgb(255, 180, 20),
    qRgb(80, 255, 255), qRgb(20, 100, 180)};
const QColor kLockedColour(96, 96, 96);
constexpr int kMarkerRadius = 13;
constexpr int kLockedMarkerRadius = 9;
constexpr int kBoxInset = 2;
constexpr int kBoxAlpha = 175;
constexpr int kArcAlpha = 160;
constexpr qreal kArcWidth = 2.0;
const QColor kFilterLine(0, 60, 60, 160);
constexpr int kFilterLineBottomGap = 10;

// Texts.
const QColor kPrefixColour(0, 120, 180);
const QColor kValueColour(20, 250, 20);
const QColor kInfoColour(0, 240, 0);
const QColor kNoteColour(255, 255, 0);
const QColor kOffColour(0, 150, 255);
constexpr int kInfoLeft = 36;
constexpr int kInfoTop = 2;
constexpr int kNoteRightGap = 10;
constexpr int kNoteTop = 2;

struct PanelFonts {
    QFont label = PanelCellFont("Tahoma", 13);
    QFont note = PanelCellFont("宋体", 12);
    QFont off = PanelCellFont("黑体", 72);
    QFont info = PanelEmFont("宋体", PointsToPixels(9));
    // Arial Black is a heavy face of its own; a stand-in is made heavy.
    QFont peakMarker = PanelEmFont("Arial Black", PointsToPixels(12), QFont::Black);
    QFont filterMarker = PanelEmFont("Arial", PointsToPixels(7));
    QFont lockedFilterMarker = PanelEmFont("Arial", PointsToPixels(6));
};

const PanelFonts& Fonts() {
    static const PanelFonts fonts;
    return fonts;
}

// Truncation toward zero for pixel positions; far-off values (a band's tail
// dropping hundreds of decibels) are held where they still draw correctly.
int TruncPixel(double value) {
    constexpr double kFar = 1'000'000.0;
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::trunc(std::clamp(value, -kFar, kFar)));
}

int RoundPixel(double value) {
    if (std::isnan(value)) return 0;
    return TruncPixel(std::round(value));
}

// Text placed by its top-left corner, as GDI writes it.
void DrawTextAt(QPainter& painter, qreal x, qreal y, const QString& text) {
    painter.drawText(QPointF(x, y + painter.fontMetrics().ascent()), text);
}

// A GDI line: from the first point up to, not including, the last.
void DrawGdiLine(QPainter& painter, int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;
    const int stepX = x2 > x1 ? -1 : (x2 < x1 ? 1 : 0);
    const int stepY = y2 > y1 ? -1 : (y2 < y1 ? 1 : 0);
    painter.drawLine(x1, y1, x2 + stepX, y2 + stepY);
}

// A smooth curve through every point: an open cardinal spline, flattened
// here into short lines. The points lie a pixel or two apart, so a few lines
// per piece keep the curve's shape, and lines stroke much faster than curves.
QPolygonF CardinalSpline(const std::vector<QPointF>& points) {
    QPolygonF curve;
    if (points.empty()) return curve;
    const std::size_t n = points.size();
    curve.reserve(static_cast<qsizetype>(n * 3));
    curve.append(points.front());
    const qreal k = kSplineTension / 3;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const QPointF& p0 = points[i];
        const QPointF& p3 = points[i + 1];
        const QPointF c1 = p0 + (p3 - points[i == 0 ? 0 : i - 1]) * k;
        const QPointF c2 = p3 - (points[std::min(i + 2, n - 1)] - p0) * k;
        // One line per two pixels of the control polygon, at most 32.
        const qreal reach = QLineF(p0, c1).length() + QLineF(c1, c2).length() + QLineF(c2, p3).length();
        const int steps = std::clamp(static_cast<int>(std::ceil(reach / 2)), 1, 32);
        for (int s = 1; s < steps; ++s) {
            const qreal t = static_cast<qreal>(s) / steps;
            const qreal u = 1 - t;
            curve.append(p0 * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + p3 * (t * t * t));
        }
        curve.append(p3);
    }
    return curve;
}

// A peak's marker: two arcs of the circle of radius `r` with gaps at the
// left and the right, drawn once per colour and radius. Stroking arcs costs
// more than the rest of a frame; a copy of the picture costs next to nothing.
constexpr int kRingMargin = 2;

const QImage& RingImage(const QColor& colour, int r, qreal ratio) {
    static QHash<quint64, QImage> rings;
    const quint64 key = (static_cast<quint64>(colour.rgba()) << 32) | (static_cast<quint64>(r) << 16) |
                        static_cast<quint64>(qRound(ratio * 100) & 0xFFFF);
    auto found = rings.constFind(key);
    if (found != rings.constEnd()) return *found;
    const int side = 2 * r + 2 * kRingMargin;
    QImage ring(QSize(side, side) * ratio, QImage::Format_ARGB32_Premultiplied);
    ring.setDevicePixelRatio(ratio);
    ring.fill(Qt::transparent);
    QPainter painter(&ring);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(0.5, 0.5);
    painter.setPen(QPen(colour, kArcWidth));
    // Angles run clockwise from 3 o'clock: the lower arc, then the upper one.
    const QRect circle(kRingMargin, kRingMargin, 2 * r, 2 * r);
    painter.drawArc(circle, -15 * 16, -150 * 16);
    painter.drawArc(circle, -195 * 16, -150 * 16);
    painter.end();
    return *rings.insert(key, ring);
}

bool IsPassFilter(EqBandType type) { return type == EqBandType::LowPass || type == EqBandType::HighPass; }
bool IsShelf(EqBandType type) { return type == EqBandType::LowShelf || type == EqBandType::HighShelf; }

const char* ShortName(EqBandType type) {
    switch (type) {
        case EqBandType::Peak: return "P";
        case EqBandType::LowPass: return "LP";
        case EqBandType::HighPass: return "HP";
        case EqBandType::LowShelf: return "LS";
        case EqBandType::HighShelf: return "HS";
        case EqBandType::Off: break;
    }
    return "";
}

// The plot's frame in panel pixels, and where values land in it.
struct Plot {
    int x0;
    int y0;
    int w;
    int h;

    int ColumnX(int column) const { return TruncPixel(column * w * 0.001953125 + x0); }
    int LevelY(double db) const { return TruncPixel(h * 15.0 / 30.0 + y0 - h * db / 30.0); }
    int ZeroY() const { return TruncPixel(y0 + h * 15.0 / 30.0); }
    double MarkerX(const EqBand& band) const { return FrequencyOffset(band.frequency, w) + x0; }
    double MarkerY(const EqBand& band) const { return y0 + h * 15.0 / 30.0 - band.gain * h / 30.0; }
};

Plot PlotOf(const CEqPanel& panel) {
    return {CEqPanel::kPlotLeft, CEqPanel::kPlotTop, panel.PlotWidth(), panel.PlotHeight()};
}

}  // namespace

QString CEqPanel::MarkerLabel(const EqBand& band) {
    const char* name = ShortName(band.type);
    if (band.locked) return QString::fromLatin1(name);
    const int number = band.index + 1;
    if (band.type == EqBandType::Peak) return QString::number(number);
    // Two-digit numbers leave out the colon to keep the label inside the marker.
    return QString::asprintf(number >= 10 ? "%d %s" : "%d: %s", number, name);
}

QString CEqPanel::FrequencyText(const EqBand& band, int layout) {
    const bool outputLowPassOff = (layout == kEqLayoutCentreFilters || layout == kEqLayoutSubFilters) &&
                                  band.type == EqBandType::LowPass && band.frequency > 15200.0f;
    if (!(band.frequency >= 20.0f && band.frequency <= 20000.0f) || outputLowPassOff) return QStringLiteral("OFF");
    return QString::asprintf("%.0fHz", band.frequency);
}

QString CEqPanel::InfoLineText(const EqBand& band, bool english) {
    const int number = band.index + 1;
    const double hz = band.frequency;
    if (IsPassFilter(band.type)) {
        if (hz < 20) return english ? QString::asprintf("Index=%d Frequency=OFF ", number)
                                    : QString::asprintf("控制号=%d 频率=OFF ", number);
        return english ? QString::asprintf("Index=%d Frequency=%.0fHz ", number, hz)
                       : QString::asprintf("控制号=%d 频率=%.0fHz ", number, hz);
    }
    if (IsShelf(band.type)) {
        return english ? QString::asprintf("Index=%d Frequency=%.0fHz Gain=", number, hz)
                       : QString::asprintf("控制号=%d 频率=%.0fHz 增益=", number, hz);
    }
    const double q = band.q;
    return english ? QString::asprintf("Index=%d Frequency=%.0fHz Q=%.3f  Gain=", number, hz, q)
                   : QString::asprintf("控制号=%d 频率=%.0fHz Q值=%.3f(右键选中左右移动)  增益=", number, hz, q);
}

bool CEqPanel::InfoLineShowsGain(const EqBand& band) {
    return band.type == EqBandType::Peak || IsShelf(band.type);
}

QString CEqPanel::InfoGainText(const EqBand& band) {
    return QString::asprintf("%+-.1fdB ", static_cast<double>(band.gain));
}

QColor CEqPanel::InfoGainColour(float gain) {
    // By the whole decibels: 6.9 dB still counts as 6.
    const double whole = std::trunc(static_cast<double>(gain));
    return std::abs(whole) <= 6 ? QColor(123, 209, 0) : QColor(200, 160, 0);
}

void CEqPanel::paintEvent(QPaintEvent*) {
    if (width() <= 0 || height() <= 0) return;
    QPainter target(this);
    CMemGdiPlusDC dc(&target, rect());
    QPainter* painter = dc.painter();
    if (painter == nullptr || !painter->isActive()) return;
    PaintPanel(*painter);
}

void CEqPanel::PaintPanel(QPainter& painter) {
    // Without width or height there is no scale: only the background.
    if (!PlotUsable()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (m_gridCache.isNull() || m_gridCache.deviceIndependentSize().toSize() != size()) BuildGridCache();
    painter.drawImage(QPoint(0, 0), m_gridCache);
    DrawReferenceNote(painter);
    if (m_showOff) {
        DrawOff(painter);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Whole-number positions are pixel centres here, so that thin lines stay sharp.
    painter.translate(0.5, 0.5);
    DrawSelectedArea(painter);
    DrawTotalCurve(painter);
    DrawTargetCurve(painter);
    DrawMarkers(painter);
    painter.restore();
    DrawActiveBandTexts(painter);
}

void CEqPanel::BuildGridCache() {
    const qreal ratio = devicePixelRatioF();
    m_gridCache = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_gridCache.setDevicePixelRatio(ratio);
    m_gridCache.fill(Qt::black);
    QPainter painter(&m_gridCache);
    const Plot plot = PlotOf(*this);
    painter.setFont(Fonts().label);
    const QFontMetrics metrics = painter.fontMetrics();

    QColor lastLevelPen;
    for (int i = 0; i < kLevelLines; ++i) {
        const int level = i - 15;
        const int y = TruncPixel(plot.y0 + (level + 15) * static_cast<double>(plot.h) / 30);
        const bool outer = i == 0 || i == kLevelLines - 1;
        const bool major = i % kLabelledEvery == 0;
        lastLevelPen = outer ? kOuterLevelLine : (major ? kMajorGridLine : kMinorLevelLine);
        painter.setPen(QPen(lastLevelPen, 1));
        DrawGdiLine(painter, plot.x0, y, plot.x0 + plot.w, y);
        if (major) {
            // The top line is +15: the labels count the other way from the lines.
            const QString label = QString::asprintf("%+-.0fdb", static_cast<double>(-level));
            painter.setPen(kGridTextColour);
            DrawTextAt(painter, plot.x0 - metrics.horizontalAdvance(label) - kLevelLabelGap,
                       y - metrics.height() / 2, label);
        }
    }
    // A closing line just below the plot.
    painter.setPen(QPen(lastLevelPen, 1));
    const int bottom = plot.y0 + plot.h + 1;
    DrawGdiLine(painter, plot.x0, bottom, plot.x0 + plot.w, bottom);

    painter.setPen(QPen(kMajorGridLine, 1));
    for (int hz : kFrequencyLines) {
        const int x = TruncPixel(FrequencyOffset(hz, plot.w) + plot.x0);
        DrawGdiLine(painter, x, plot.y0 + 1, x, plot.y0 + plot.h);
    }
    painter.setPen(kGridTextColour);
    for (const FrequencyLabel& label : kFrequencyLabels) {
        const QString text = QString::fromLatin1(label.text);
        const int x = TruncPixel(FrequencyOffset(label.hz, plot.w) + plot.x0);
        DrawTextAt(painter, x - metrics.horizontalAdvance(text) / 2, plot.y0 + plot.h + kFrequencyLabelDrop, text);
    }
}

void CEqPanel::DrawReferenceNote(QPainter& painter) const {
    QString note;
    switch (m_layout) {
        case kEqLayoutMainMic:
        case kEqLayoutMainMusic: note = QString::fromUtf8("该PEQ与前端EQ进行叠加"); break;
        case kEqLayoutCentreMic:
        case kEqLayoutCentreMusic:
        case kEqLayoutSubMic:
        case kEqLayoutSubMusic: note = QString::fromUtf8("该PEQ与前端EQ和后端EQ进行叠加显示"); break;
        default: return;
    }
    painter.save();
    painter.setFont(Fonts().note);
    painter.setPen(kNoteColour);
    DrawTextAt(painter, width() - painter.fontMetrics().horizontalAdvance(note) - kNoteRightGap, kNoteTop, note);
    painter.restore();
}

void CEqPanel::DrawOff(QPainter& painter) const {
    painter.save();
    painter.setFont(Fonts().off);
    painter.setPen(kOffColour);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("OFF"));
    painter.restore();
}

void CEqPanel::DrawSelectedArea(QPainter& painter) const {
    if (!InUse(m_selectedBand)) return;
    const EqBand& band = m_bands[static_cast<std::size_t>(m_selectedBand)];
    if (!ShowsSelectedArea(band, m_layout)) return;
    const Plot plot = PlotOf(*this);
    // From the zero line at the left edge along the response, back to the zero line at the right.
    std::vector<QPointF> points;
    points.reserve(kEqColumns + 2);
    points.emplace_back(plot.x0, plot.ZeroY());
    for (int i = 1; i <= kEqColumns; ++i) {
        points.emplace_back(plot.ColumnX(i), plot.LevelY(band.response[static_cast<std::size_t>(i - 1)]));
    }
    points.emplace_back(plot.x0 + plot.w, plot.ZeroY());
    const QPolygonF outline = CardinalSpline(points);
    painter.setPen(QPen(kAreaOutline, 1));
    painter.drawPolyline(outline);
    // Filled as a region of whole pixels, without smoothing; the open outline
    // closes along the zero line.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAreaFill);
    painter.drawPolygon(outline, Qt::OddEvenFill);
    painter.restore();
}

void CEqPanel::DrawTotalCurve(QPainter& painter) const {
    const Plot plot = PlotOf(*this);
    const auto sum = TotalResponse(std::span<const EqBand>(m_bands.data(), static_cast<std::size_t>(m_bandCount)),
                                   m_layout);
    std::vector<QPointF> points;
    points.reserve(kEqColumns);
    for (int i = 0; i < kEqColumns; ++i) {
        points.emplace_back(plot.ColumnX(i), plot.LevelY(sum[static_cast<std::size_t>(i)]));
    }
    // Stroked as separate short lines: one wide polyline costs the stroker
    // several times more, and the opaque colour hides where the lines overlap.
    const QPolygonF curve = CardinalSpline(points);
    QVector<QLineF> lines;
    lines.reserve(curve.size());
    for (qsizetype i = 0; i + 1 < curve.size(); ++i) lines.append(QLineF(curve[i], curve[i + 1]));
    QPen pen(kCurveColour, kCurveWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLines(lines);
}

void CEqPanel::DrawTargetCurve(QPainter& painter) const {
    if (!m_target) return;
    const Plot plot = PlotOf(*this);
    QPolygonF curve;
    curve.reserve(kEqColumns);
    for (int i = 0; i < kEqColumns; ++i) {
        curve.append(QPointF(plot.ColumnX(i), plot.LevelY((*m_target)[static_cast<std::size_t>(i)])));
    }
    painter.save();
    // A file may ask for more than the grid shows: the dashes stay on the plot.
    painter.setClipRect(QRect(plot.x0, plot.y0, plot.w + 1, plot.h + 1));
    QPen pen(kTargetColour, kTargetWidth);
    pen.setDashPattern({4, 3});
    painter.setPen(pen);
    painter.drawPolyline(curve);
    painter.restore();
}

void CEqPanel::DrawMarkers(QPainter& painter) {
    const Plot plot = PlotOf(*this);
    const PanelFonts& fonts = Fonts();
    for (int i = 0; i < m_bandCount; ++i) {
        EqBand& band = m_bands[static_cast<std::size_t>(i)];
        if (band.type == EqBandType::Off) continue;
        const double px = plot.MarkerX(band);
        const double py = plot.MarkerY(band);
        // Picking goes by where the marker was drawn.
        band.x = TruncPixel(px - plot.x0);
        band.y = TruncPixel(py - plot.y0);

        const QColor colour = band.locked ? kLockedColour : QColor(kBandColours[static_cast<std::size_t>(i)]);
        const int r = band.locked ? kLockedMarkerRadius : kMarkerRadius;
        const QRect box(TruncPixel(px - r) + kBoxInset, TruncPixel(py - r) + kBoxInset, 2 * r - 4, 2 * r - 4);
        if (band.type == EqBandType::Peak) {
            QColor arc = colour;
            arc.setAlpha(kArcAlpha);
            const QImage& ring = RingImage(arc, r, devicePixelRatioF());
            // The painter's half-pixel shift is already in the picture.
            painter.drawImage(QPointF(TruncPixel(px) - r - kRingMargin - 0.5, TruncPixel(py) - r - kRingMargin - 0.5),
                              ring);
        } else {
            QColor dashed = colour;
            dashed.setAlpha(kBoxAlpha);
            QPen pen(dashed, 1);
            pen.setDashPattern({3, 1});
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
            if (i == m_selectedBand && IsPassFilter(band.type)) {
                QPen line(kFilterLine, 1);
                line.setDashPattern({3, 1});
                painter.setPen(line);
                painter.drawLine(QPointF(TruncPixel(px), plot.y0), QPointF(TruncPixel(px), height() - kFilterLineBottomGap));
            }
        }
        const QFont& font = band.type == EqBandType::Peak ? fonts.peakMarker
                            : band.locked                  ? fonts.lockedFilterMarker
                                                           : fonts.filterMarker;
        painter.setFont(font);
        painter.setPen(colour);
        const QPointF centre(box.x() + box.width() / 2.0, box.y() + box.height() / 2.0);
        const QRectF around(centre.x() - 50, centre.y() - 25, 100, 50);
        painter.drawText(around, Qt::AlignCenter, MarkerLabel(band));
    }
}

void CEqPanel::DrawActiveBandTexts(QPainter& painter) const {
    const bool dragging = m_leftDragging || m_rightDragging;
    const int active = m_hoverBand != -1 && !dragging ? m_hoverBand : m_selectedBand;
    if (!InUse(active)) return;
    const EqBand& band = m_bands[static_cast<std::size_t>(active)];
    if (band.type == EqBandType::Off) return;
    const Plot plot = PlotOf(*this);
    const double px = plot.MarkerX(band);
    const double py = plot.MarkerY(band);
    const int tx = RoundPixel(px - (band.index + 1 >= 10 ? 7 : 4));
    const int ty = RoundPixel(py - 4);
    // Bands cut below 0 dB carry their values above the marker.
    const bool above = band.gain < -0.01f;

    painter.save();
    painter.setFont(Fonts().label);
    // One value line: its prefix and its text, placed by the text's length.
    auto valueLine = [&](const char* prefix, const QString& text, int y, bool withPrefix) {
        const int n = 3 * static_cast<int>(text.size()) + 6;
        if (withPrefix) {
            painter.setPen(kPrefixColour);
            DrawTextAt(painter, tx - n + 1, y, QString::fromLatin1(prefix));
        }
        painter.setPen(kValueColour);
        DrawTextAt(painter, tx - n + 13, y, text);
    };
    valueLine("F:", FrequencyText(band, m_layout), above ? ty - 42 : ty + 18, band.frequency >= 20.0f);
    if (band.type == EqBandType::Peak || IsShelf(band.type)) {
        valueLine("G:", QString::asprintf("%+-.1fdB", static_cast<double>(band.gain)), above ? ty - 33 : ty + 27,
                  true);
    }
    if (band.type == EqBandType::Peak) {
        valueLine("Q:", QString::asprintf("%.3f", static_cast<double>(band.q)), above ? ty - 24 : ty + 36, true);
    }

    painter.setFont(Fonts().info);
    painter.setPen(kInfoColour);
    const QString info = InfoLineText(band, m_english);
    DrawTextAt(painter, kInfoLeft, kInfoTop, info);
    if (InfoLineShowsGain(band)) {
        painter.setPen(InfoGainColour(band.gain));
        DrawTextAt(painter, kInfoLeft + painter.fontMetrics().horizontalAdvance(info), kInfoTop, InfoGainText(band));
    }
    painter.restore();
}

}  // namespace sonoria
