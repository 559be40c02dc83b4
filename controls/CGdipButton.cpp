#include "controls/CGdipButton.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/CMemGdiPlusDC.h"
#include "controls/DialogTemplateFonts.h"

namespace sonoria {
namespace {

constexpr int kCaptionFontHeight = 12;
// The window text is read into a buffer of this many characters.
constexpr int kCaptionMaxChars = 260;

// A caption too long for its face is set up to this much smaller before it is elided.
constexpr int kCaptionMaxShrink = 2;
// Face pixels at least this opaque are the body or its outline; the softer
// ones around them are shadow or glow.
constexpr int kFaceBodyAlpha = 200;

// Hot: each colour component c (0..1) becomes 1.05 c + 0.05.
constexpr double kHotGain = 1.05;
constexpr double kHotOffset = 0.05;
// Grey: luminance weights of red, green and blue.
constexpr double kGreyRed = 0.3;
constexpr double kGreyGreen = 0.59;
constexpr double kGreyBlue = 0.11;

// 宋体's cell height is its em size, so its heights are pixel sizes.
QFont DefaultCaptionFont() { return TemplateFont(kSongFace, kCaptionFontHeight); }

int ClampComponent(double value) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, 255);
}

template <typename Transform>
QImage MapColours(const QImage& source, Transform transform) {
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = transform(line[x]);
    }
    return image;
}

QImage HotImage(const QImage& source) {
    return MapColours(source, [](QRgb p) {
        auto hot = [](int c) { return ClampComponent((kHotGain * c / 255.0 + kHotOffset) * 255.0); };
        return qRgba(hot(qRed(p)), hot(qGreen(p)), hot(qBlue(p)), qAlpha(p));
    });
}

QImage GreyImage(const QImage& source) {
    return MapColours(source, [](QRgb p) {
        const int g = ClampComponent(kGreyRed * qRed(p) + kGreyGreen * qGreen(p) + kGreyBlue * qBlue(p));
        return qRgba(g, g, g, qAlpha(p));
    });
}

int StateIndex(CGdipButton::State state) { return static_cast<int>(state); }

}  // namespace

CGdipButton::CGdipButton(QWidget* parent) : QAbstractButton(parent), m_captionFont(DefaultCaptionFont()) {
    // Hover is noticed from plain mouse moves, as well as from entering.
    setMouseTracking(true);
    connect(this, &QAbstractButton::pressed, this, &CGdipButton::OnPressed);
}

CGdipButton::~CGdipButton() = default;

bool CGdipButton::SetStandardImage(int id) { return m_standardImage.LoadFromResource(id); }

bool CGdipButton::SetStandardImage(const QImage& image) {
    m_standardImage = CGdiPlusBitmapResource();
    m_standardImage.SetImage(image);
    return !m_standardImage.IsEmpty();
}

bool CGdipButton::SetAlternateImage(int id) {
    m_hasAlternateImage = true;
    return m_alternateImage.LoadFromResource(id);
}

bool CGdipButton::SetAlternateImage(const QImage& image) {
    m_hasAlternateImage = true;
    m_alternateImage = CGdiPlusBitmapResource();
    m_alternateImage.SetImage(image);
    return !m_alternateImage.IsEmpty();
}

QRect CGdipButton::RectInParent() const {
    QWidget* parent = parentWidget();
    const QPoint origin = parent ? mapTo(parent, QPoint(0, 0)) : QPoint(0, 0);
    return QRect(origin, size());
}

void CGdipButton::SetBackground(const QPixmap& parentBackground) { SetBackground(parentBackground.toImage()); }

void CGdipButton::SetBackground(const QImage& parentBackground) {
    if (parentBackground.isNull()) return;
    const qreal ratio = parentBackground.devicePixelRatio();
    const QRect area = RectInParent();
    const QRect source(area.topLeft() * ratio, area.size() * ratio);
    // Parts outside the given picture come out transparent, as copy() does.
    m_background = parentBackground.copy(source).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_background.setDevicePixelRatio(ratio);
}

void CGdipButton::TakeBackgroundFromParent() {
    QWidget* parent = parentWidget();
    if (!parent) return;
    const QRect area = RectInParent();
    const qreal ratio = devicePixelRatioF();
    QImage picture(area.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    // Only the parent's own painting: the button itself is what is being built.
    parent->render(&picture, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
    m_background = picture;
}

void CGdipButton::SetCaptionColor(const QColor& color) {
    m_captionColor = color;
    update();
}

void CGdipButton::SetCaptionFont(const QFont& font) {
    m_captionFont = font;
    update();
}

void CGdipButton::ResetCaptionFont() { SetCaptionFont(DefaultCaptionFont()); }

void CGdipButton::SetSelected(bool selected) {
    m_alternateSelected = selected;
    update();
}

void CGdipButton::SetGreyed(bool greyed) {
    m_greyed = greyed;
    update();
}

void CGdipButton::SetToggleMode(bool toggle) { m_toggleMode = toggle; }

QImage CGdipButton::RenderState(const QImage& image, const QRect& destination) const {
    const qreal ratio = devicePixelRatioF();
    QImage state(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    state.setDevicePixelRatio(ratio);
    state.fill(Qt::transparent);
    QPainter target(&state);
    {
        CMemGdiPlusDC dc(&target, rect());
        if (!m_background.isNull()) dc->drawImage(QPoint(0, 0), m_background);
        dc->setRenderHint(QPainter::SmoothPixmapTransform);
        dc->drawImage(QRectF(destination), image, QRectF(image.rect()));
    }
    return state;
}

void CGdipButton::BuildStateImages() {
    if (m_standardImage.IsEmpty() || m_statesBuilt) return;
    if (m_background.isNull()) TakeBackgroundFromParent();

    const QRect whole = rect();
    const QRect shifted = whole.translated(1, 1);
    auto& states = m_states;
    if (states[StateIndex(State::StandardNormal)].isNull()) {
        const QImage& standard = m_standardImage.Image();
        states[StateIndex(State::StandardNormal)] = RenderState(standard, whole);
        states[StateIndex(State::StandardPressed)] = RenderState(standard, shifted);
        states[StateIndex(State::StandardHot)] = RenderState(HotImage(standard), whole);
        states[StateIndex(State::Greyed)] = RenderState(GreyImage(standard), whole);
    }
    if (m_hasAlternateImage && !m_alternateImage.IsEmpty()) {
        const QImage& alternate = m_alternateImage.Image();
        if (states[StateIndex(State::AlternateNormal)].isNull())
            states[StateIndex(State::AlternateNormal)] = RenderState(alternate, whole);
        if (states[StateIndex(State::AlternatePressed)].isNull())
            states[StateIndex(State::AlternatePressed)] = RenderState(alternate, shifted);
        if (states[StateIndex(State::AlternateHot)].isNull())
            states[StateIndex(State::AlternateHot)] = RenderState(HotImage(alternate), whole);
    }
    if (m_currentState == State::None) m_currentState = State::StandardNormal;
    m_statesBuilt = true;
}

const QImage& CGdipButton::StateImage(State state) const {
    static const QImage kNone;
    if (state == State::None) return kNone;
    return m_states[StateIndex(state)];
}

CGdipButton::State CGdipButton::ChooseState(bool greyed, bool pressed, bool hover, bool alternateSelected) {
    if (greyed) return State::Greyed;
    if (pressed) return alternateSelected ? State::AlternatePressed : State::StandardPressed;
    if (hover) return alternateSelected ? State::AlternateHot : State::StandardHot;
    return alternateSelected ? State::AlternateNormal : State::StandardNormal;
}

const QImage& CGdipButton::SurfaceToDraw(State state) const {
    const QImage& built = StateImage(state);
    if (!built.isNull()) return built;
    // A button without an alternate picture shows its standard one.
    switch (state) {
        case State::AlternateNormal: return StateImage(State::StandardNormal);
        case State::AlternatePressed: return StateImage(State::StandardPressed);
        case State::AlternateHot: return StateImage(State::StandardHot);
        default: return built;
    }
}

void CGdipButton::OnPressed() {
    if (m_toggleMode && !m_greyed) m_alternateSelected = !m_alternateSelected;
}

// Button texts read "&&" as a literal "&" and a single "&" as a mnemonic mark.
QString CGdipButton::WithoutMnemonics(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) shown += QLatin1Char('&');
            ++i;
            if (i < text.size() && text[i] != QLatin1Char('&')) shown += text[i];
            continue;
        }
        shown += text[i];
    }
    return shown;
}

bool CGdipButton::CaptionFits(int textWidth) const {
    int left = 0;
    int right = 0;
    if (!m_standardImage.IsEmpty()) {
        // Where the body begins and ends on the face's middle row; the outline is
        // its outermost pixel, and the caption keeps inside it.
        const QImage& face = m_standardImage.Image();
        const int y = face.height() / 2;
        int before = 0;
        while (before < face.width() && qAlpha(face.pixel(before, y)) < kFaceBodyAlpha) ++before;
        int after = 0;
        while (after < face.width() && qAlpha(face.pixel(face.width() - 1 - after, y)) < kFaceBodyAlpha) ++after;
        const double scale = double(width()) / face.width();
        left = int(std::ceil(before * scale)) + 1;
        right = int(std::ceil(after * scale)) + 1;
    }
    const int x = (width() - textWidth) / 2 + 1;
    return x >= left && x + textWidth <= width() - right;
}

FittedText CGdipButton::ShownCaption() const {
    const QString caption = WithoutMnemonics(text()).left(kCaptionMaxChars);
    return FitText(caption, m_captionFont, kCaptionMaxShrink, [this](int w) { return CaptionFits(w); },
                   const_cast<CGdipButton*>(this));
}

void CGdipButton::paintEvent(QPaintEvent*) {
    if (!m_statesBuilt) BuildStateImages();
    m_currentState = ChooseState(m_greyed, isDown(), m_hover, m_alternateSelected);

    QPainter painter(this);
    const QImage& surface = SurfaceToDraw(m_currentState);
    if (!surface.isNull()) {
        painter.drawImage(QPoint(0, 0), surface);
    } else if (!m_background.isNull()) {
        // No picture to show (no standard image): the background alone.
        painter.drawImage(QPoint(0, 0), m_background);
    }

    const FittedText caption = ShownCaption();
    if (caption.text.isEmpty()) return;
    painter.setFont(caption.font);
    painter.setPen(m_captionColor);
    const QFontMetrics metrics(caption.font, this);
    const int x = (width() - metrics.horizontalAdvance(caption.text)) / 2 + 1;
    const int y = (height() - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), caption.text);
}

void CGdipButton::enterEvent(QEnterEvent* event) {
    m_tracking = true;
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CGdipButton::leaveEvent(QEvent* event) {
    m_tracking = false;
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CGdipButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_tracking && rect().contains(event->position().toPoint())) {
        m_tracking = true;
        m_hover = true;
        update();
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CGdipButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A fast second click is a second click, not a double click.
    mousePressEvent(event);
}

QSize CGdipButton::sizeHint() const {
    if (!m_standardImage.IsEmpty()) return m_standardImage.Image().size();
    const QFontMetrics metrics(m_captionFont, this);
    return QSize(metrics.horizontalAdvance(text()) + 8, metrics.height() + 8);
}

}  // namespace sonoria
