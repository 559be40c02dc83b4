#include "eq/ui/CCompressPanel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>

#include "controls/DialogTemplateFonts.h"
#include "controls/TemplateControls.h"
#include "eq/ui/CPanelFonts.h"

namespace sonoria {
namespace {

const QColor kGround(32, 32, 32);
const QColor kCurveColour(0, 207, 255);
const QColor kKneeColour(255, 10, 10, 200);
const QColor kBandColour(120, 120, 120, 65);
const QColor kOffColour(0, 150, 255);
constexpr int kCurvePenWidth = 2;
constexpr int kKneeDiameter = 8;
constexpr int kOutputLabelCell = 10;
constexpr int kInputLabelCell = 11;
constexpr int kOffPoints = 32;

// Output labels top to bottom and input labels left to right, one per grid line.
const char* const kOutputLabels[DynamicsPlot::kGridLines] = {"+5dB",  "0dB",   "-5dB",  "-10dB", "-15dB", "-20dB",
                                                             "-25dB", "-30dB", "-35dB", "-40dB", "-45dB", "-50dB"};
const char* const kInputLabels[DynamicsPlot::kGridLines] = {"-50dB", "-45dB", "-40dB", "-35dB", "-30dB", "-25dB",
                                                            "-20dB", "-15dB", "-10dB", "-5dB",  "0dB",   "5dB"};

QImage Surface(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kGround);
    return image;
}

// Text drawn with its cell's top at `top`, as GDI places it.
void DrawTextAt(QPainter& painter, int left, int top, const QString& text) {
    painter.drawText(left, top + painter.fontMetrics().ascent(), text);
}

}  // namespace

CCompressPanel::CCompressPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CCompressPanel* CCompressPanel::ReplaceControl(QWidget* placeholder) {
    if (placeholder == nullptr || placeholder->parentWidget() == nullptr) return nullptr;
    auto* panel = new CCompressPanel(placeholder->parentWidget());
    TakePlaceOf(placeholder, panel);
    return panel;
}

void CCompressPanel::SetEnabled(int enabled) {
    m_enabled = enabled;
    update();
}

void CCompressPanel::SetThreshold(float thresholdDb) {
    m_settings.threshold = thresholdDb;
    update();
}

void CCompressPanel::SetRatioSlope(float slope) {
    m_settings.ratioSlope = slope;
    update();
}

DynamicsCurve CCompressPanel::Curve() const {
    return ComputeDynamicsCurve(DynamicsPlot(width(), height()), m_settings);
}

void CCompressPanel::paintEvent(QPaintEvent*) {
    const QSize size = this->size();
    if (size.isEmpty()) return;
    // The grid is drawn once, and again only when the panel takes another size.
    if (m_gridCache.size() != size) {
        m_gridCache = Surface(size);
        DrawGrid(m_gridCache);
    }
    m_canvas = m_gridCache.copy();
    DrawCurve(m_canvas);
    QPainter painter(this);
    painter.drawImage(0, 0, m_canvas);
}

void CCompressPanel::DrawGrid(QImage& target) const {
    const DynamicsPlot plot(target.width(), target.height());
    QPainter painter(&target);
    painter.setPen(QPen(QColor::fromRgb(kGridColour), 1));
    const int right = plot.width - DynamicsPlot::kRightGap;
    const int bottom = DynamicsPlot::kTop + plot.plotHeight;
    for (int line = 0; line < DynamicsPlot::kGridLines; ++line) {
        const int y = plot.GridY(line);
        painter.drawLine(DynamicsPlot::kLeft, y, right, y);
        const int x = plot.GridX(line);
        painter.drawLine(x, DynamicsPlot::kTop, x, bottom);
    }

    painter.setPen(QColor::fromRgb(kLabelColour));
    painter.setFont(PanelCellFont(kSongFace, kOutputLabelCell));
    for (int line = 0; line < DynamicsPlot::kGridLines; ++line) {
        const QString text = QString::fromLatin1(kOutputLabels[line]);
        const QFontMetrics metrics = painter.fontMetrics();
        DrawTextAt(painter, DynamicsPlot::kLeftLabelRight - metrics.horizontalAdvance(text),
                   plot.GridY(line) - metrics.height() / 2, text);
    }
    painter.setFont(PanelCellFont("Arial", kInputLabelCell));
    for (int line = 0; line < DynamicsPlot::kGridLines; ++line) {
        const QString text = QString::fromLatin1(kInputLabels[line]);
        DrawTextAt(painter, plot.GridX(line) - painter.fontMetrics().horizontalAdvance(text) / 2,
                   plot.height - DynamicsPlot::kLabelBottomGap, text);
    }
}

void CCompressPanel::DrawCurve(QImage& target) const {
    const DynamicsCurve curve = ComputeDynamicsCurve(DynamicsPlot(target.width(), target.height()), m_settings);
    QPainter painter(&target);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kKneeColour);
    painter.drawEllipse(QRect(curve.knee.x - kKneeDiameter / 2, curve.knee.y - kKneeDiameter / 2, kKneeDiameter,
                              kKneeDiameter));

    painter.setPen(QPen(kCurveColour, kCurvePenWidth));
    painter.setBrush(Qt::NoBrush);
    const auto point = [](CurvePoint p) { return QPoint(p.x, p.y); };
    painter.drawLine(point(curve.leftEnd), point(curve.gateKnee));
    painter.drawLine(point(curve.gateKnee), point(curve.knee));
    painter.drawLine(point(curve.knee), point(curve.rightEnd));

    painter.setPen(Qt::NoPen);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(curve.bandX, curve.bandTop, curve.bandWidth, curve.bandHeight), kBandColour);

    if (m_enabled != 0) return;
    painter.setFont(PanelEmFont("黑体", PointsToPixels(kOffPoints)));
    painter.setPen(kOffColour);
    const QString off = QStringLiteral("OFF");
    const QFontMetrics metrics = painter.fontMetrics();
    DrawTextAt(painter, (target.width() - metrics.horizontalAdvance(off)) / 2,
               (target.height() - metrics.height()) / 2, off);
}

}  // namespace sonoria
