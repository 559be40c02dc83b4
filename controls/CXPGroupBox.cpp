#include "controls/CXPGroupBox.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace sonoria {
namespace {

// The frame's corners are quarter ellipses this wide and high.
constexpr int kCornerDiameter = 10;
// Frame style: distance of a left or right caption from the frame's side.
constexpr int kFrameCaptionInset = 10;
// Window style: distance of the caption from the band's edges.
constexpr int kWindowCaptionInset = 2;
// Window style: gap between the caption's bottom and the body.
constexpr int kBandBelowCaption = 4;
constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;
constexpr int kPointsPerInch = 72;

QFont::Weight WeightOf(int weight) { return static_cast<QFont::Weight>(weight); }

// Round to nearest, halves away from zero, as the integer scaling of font
// heights does.
int MulDivRounded(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

CXPGroupBox::CXPGroupBox(QWidget* parent)
    : QAbstractButton(parent),
      m_frameColor(palette().color(QPalette::Dark)),
      m_captionFillColor(palette().color(QPalette::Button)),
      m_bodyFillColor(palette().color(QPalette::Button)),
      m_captionColor(palette().color(QPalette::WindowText)),
      m_captionFont(font()) {
    // A frame around other controls: clicks go to what lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

CXPGroupBox::~CXPGroupBox() = default;

CXPGroupBox& CXPGroupBox::SetFrameColor(const QColor& color) {
    m_frameColor = color;
    RedrawBox();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionColor(const QColor& color) {
    m_captionColor = color;
    RedrawBox();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetFillColors(const QColor& captionFill, const QColor& bodyFill) {
    m_captionFillColor = captionFill;
    m_bodyFillColor = bodyFill;
    RedrawBox();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetFillColor(const QColor& fill) { return SetFillColors(fill, fill); }

CXPGroupBox& CXPGroupBox::SetBoxStyle(int style) {
    m_boxStyle = style;
    RedrawBox();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaption(const QString& text) {
    m_caption = QLatin1Char(' ') + text + QLatin1Char(' ');
    RedrawBox();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionBold(bool bold) {
    m_captionFont.setWeight(WeightOf(bold ? kBoldWeight : kNormalWeight));
    CaptionFontChanged();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionFace(const QString& face, int charSet) {
    m_captionFont.setFamilies({face.left(kMaxFaceChars)});
    m_captionCharSet = charSet;
    CaptionFontChanged();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionUnderline(bool underline) {
    m_captionFont.setUnderline(underline);
    CaptionFontChanged();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionItalic(bool italic) {
    m_captionFont.setItalic(italic);
    CaptionFontChanged();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionPointSize(int points) {
    // Only the height changes: a point size on this screen, in pixels.
    m_captionFont.setPixelSize(qMax(1, MulDivRounded(points, logicalDpiY(), kPointsPerInch)));
    CaptionFontChanged();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionFont(const QFont& font) {
    m_captionFont = font;
    CaptionFontChanged();
    return *this;
}

CXPGroupBox& CXPGroupBox::SetCaptionAlignment(int alignment) {
    m_captionAlignment = (alignment == AlignCentre || alignment == AlignRight) ? alignment : AlignLeft;
    RedrawBox();
    return *this;
}

void CXPGroupBox::CaptionFontChanged() {
    m_captionFontSet = true;
    RedrawBox();
}

void CXPGroupBox::RedrawBox() {
    // Repaint now, together with the parent's area under the box, so that a
    // change shows without waiting for the next paint cycle.
    if (QWidget* parent = parentWidget())
        parent->repaint(geometry());
    else
        repaint();
}

void CXPGroupBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && !m_captionFontSet) m_captionFont = font();
    QAbstractButton::changeEvent(event);
}

CXPGroupBox::Layout CXPGroupBox::ComputeLayout() const {
    QString caption = m_caption;
    if (caption.isEmpty() && !text().isEmpty()) caption = QLatin1Char(' ') + text() + QLatin1Char(' ');

    Layout layout;
    // Edges as left/top inclusive, right/bottom exclusive.
    const int left = 1, top = 1, right = width() - 1, bottom = height() - 1;
    layout.inner = QRect(left, top, right - left, bottom - top);

    int cx = 0, cy = 0;
    if (!caption.isEmpty()) {
        const QFontMetrics metrics(m_captionFont, const_cast<CXPGroupBox*>(this));
        cx = metrics.horizontalAdvance(caption);
        cy = metrics.height();
    }
    const int w = right - left;
    const int centredX = left + (w - cx) / 2;

    if (m_boxStyle == FrameStyle) {
        int x = left + kFrameCaptionInset;
        if (m_captionAlignment == AlignCentre) x = centredX;
        if (m_captionAlignment == AlignRight) x = right - kFrameCaptionInset - cx;
        layout.caption = QRect(x, top, cx, cy);
        const int frameTop = top + cy / 2;
        layout.frame = QRect(left, frameTop, w, bottom - frameTop);
    } else {
        layout.frame = layout.inner;
        const int bodyTop = top + cy + kBandBelowCaption;
        layout.body = QRect(left, bodyTop, w, bottom - bodyTop);
        int x = left + kWindowCaptionInset;
        if (m_captionAlignment == AlignCentre) x = centredX;
        if (m_captionAlignment == AlignRight) x = right - kWindowCaptionInset - cx;
        layout.caption = QRect(x, top + kWindowCaptionInset, cx, cy);
    }
    return layout;
}

void CXPGroupBox::paintEvent(QPaintEvent*) {
    // The caption follows the window text once, at the first paint that finds
    // a text; later only SetCaption changes it.
    if (m_caption.isEmpty() && !text().isEmpty()) m_caption = QLatin1Char(' ') + text() + QLatin1Char(' ');
    const Layout layout = ComputeLayout();

    QPainter painter(this);
    painter.setFont(m_captionFont);
    // Qt's outlines cover one pixel more than the rectangle's width.
    auto outline = [](const QRect& r) { return r.adjusted(0, 0, -1, -1); };
    const QPen framePen(m_frameColor, 1);
    const qreal radius = kCornerDiameter / 2.0;

    if (m_boxStyle == FrameStyle) {
        painter.setPen(framePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outline(layout.frame), radius, radius);
        // The caption's fill cuts the frame line behind it.
        painter.setClipRect(layout.caption, Qt::IntersectClip);
        painter.fillRect(layout.caption, m_captionFillColor);
    } else {
        painter.setPen(framePen);
        painter.setBrush(m_captionFillColor);
        painter.drawRoundedRect(outline(layout.frame), radius, radius);
        painter.setBrush(m_bodyFillColor);
        painter.drawRect(outline(layout.body));
    }

    if (m_caption.isEmpty()) return;
    painter.setPen(m_captionColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(layout.caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                     m_caption);
}

}  // namespace sonoria
