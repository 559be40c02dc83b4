#include "controls/CPeakMeterCtrl.h"

#include <QPaintEvent>
#include <QResizeEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPixmap>

#include <algorithm>

namespace sonoria {
namespace {

// Grid lines are a shade darker than the background, peak lines darker still.
constexpr int kGridShade = 15;
constexpr int kPeakLineShade = 60;
// With one segment or none the scale is split into tenths instead.
constexpr int kTenthsPercent = 10;
constexpr int kPercent = 100;
// A lone segment's peak falls by this much per tick.
constexpr int kSingleSegmentPeakStep = 5;

QColor Darkened(const QColor& color, int amount) {
    return QColor(std::max(color.red() - amount, 0), std::max(color.green() - amount, 0),
                  std::max(color.blue() - amount, 0));
}

bool IsDrawable(const QRect& rect) { return rect.width() > 0 && rect.height() > 0; }

}  // namespace

CPeakMeterCtrl::CPeakMeterCtrl(QWidget* parent) : QWidget(parent) {
    m_background = palette().color(QPalette::Button);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPeakMeterCtrl::DecayStep);
    ResetChannels();
}

CPeakMeterCtrl::~CPeakMeterCtrl() {
    StopDecayTimer();
    m_channelList.clear();
}

void CPeakMeterCtrl::Restyle() {
    m_scale = QPixmap();
    update();
}

void CPeakMeterCtrl::resizeEvent(QResizeEvent* event) {
    m_scale = QPixmap();
    QWidget::resizeEvent(event);
}

void CPeakMeterCtrl::SetHorizontal(bool horizontal) {
    m_horizontal = horizontal;
    Restyle();
}

void CPeakMeterCtrl::SetBackgroundColor(const QColor& color) {
    m_background = color;
    Restyle();
}

void CPeakMeterCtrl::SetColorsNormal(const QColor& low, const QColor& mid, const QColor& high) {
    m_low = low;
    m_mid = mid;
    m_high = high;
    Restyle();
}

void CPeakMeterCtrl::SetColorsBack(const QColor& low, const QColor& mid, const QColor& high) {
    m_dimLow = low;
    m_dimMid = mid;
    m_dimHigh = high;
    Restyle();
}

void CPeakMeterCtrl::SetRanges(int lowMid, int midHigh, int maximum) {
    m_lowMid = lowMid;
    m_midHigh = midHigh;
    m_maximum = maximum;
    Restyle();
}

void CPeakMeterCtrl::SetMeterBands(int channels, int segments) {
    m_channels = channels;
    m_segments = segments;
    Restyle();
}

void CPeakMeterCtrl::SetPeakHold(int ticks) { m_peakHold = ticks; }

void CPeakMeterCtrl::ShowGrid(bool show) {
    m_grid = show;
    Restyle();
}

void CPeakMeterCtrl::ShowPeakLine(bool show) {
    m_peakLine = show;
    Restyle();
}

void CPeakMeterCtrl::ResetChannels() {
    m_channelList.assign(static_cast<size_t>(std::max(m_channels, 0)),
                         Channel{m_maximum, m_maximum, m_peakHold});
    Restyle();
}

bool CPeakMeterCtrl::SetData(int channel, std::span<const int> values) {
    if (values.empty()) return false;
    const bool exists = channel >= 0 && static_cast<size_t>(channel) < m_channelList.size();
    if (exists && static_cast<size_t>(channel) >= values.size()) return false;

    // The timer is held while the channel changes, and its period starts anew.
    m_timer.stop();
    if (exists) {
        int value = values[static_cast<size_t>(channel)];
        if (value < 0) value = 0;
        if (value > m_maximum) value = m_maximum;
        Channel& entry = m_channelList[static_cast<size_t>(channel)];
        if (entry.peak < value) {
            entry.peak = value;
            entry.hold = m_peakHold;
        }
        entry.level = value;
    }
    UpdateIfShownChanged();
    if (!m_decayStarted) return true;
    m_timer.start(m_timerPeriod);
    return m_timer.isActive();
}

bool CPeakMeterCtrl::StartDecayTimer(int periodMs) {
    if (periodMs <= 0) return false;
    m_timerPeriod = periodMs;
    m_decayStarted = true;
    m_timer.start(m_timerPeriod);
    return m_timer.isActive();
}

void CPeakMeterCtrl::StopDecayTimer() {
    m_decayStarted = false;
    m_timer.stop();
}

int CPeakMeterCtrl::LevelStep() const {
    const int step = m_segments > 1 ? m_maximum / m_segments : m_maximum * kTenthsPercent / kPercent;
    // A step of zero would leave the level lit and the timer running forever.
    return std::max(step, 1);
}

int CPeakMeterCtrl::PeakStep() const {
    const int step = m_segments > 1 ? (m_maximum / m_segments) / 2 : kSingleSegmentPeakStep;
    return std::max(step, 1);
}

void CPeakMeterCtrl::DecayStep() {
    bool busy = false;
    for (Channel& entry : m_channelList) {
        if (entry.level > 0) {
            entry.level = std::max(entry.level - LevelStep(), 0);
            busy = true;
        }
        if (entry.hold > 0) {
            --entry.hold;
            busy = true;
        }
        if (entry.hold <= 0 && entry.peak > 0) {
            entry.peak = std::max(entry.peak - PeakStep(), 0);
            busy = true;
        }
    }
    UpdateIfShownChanged();
    // At rest; the next SetData starts the timer again.
    if (!busy) m_timer.stop();
}

std::vector<int> CPeakMeterCtrl::ShownState() const {
    const bool peakLine = !m_horizontal && m_peakLine && m_maximum > 0;
    std::vector<int> shown;
    shown.reserve(m_channelList.size() * 2);
    for (int channel = 0; channel < static_cast<int>(m_channelList.size()); ++channel) {
        shown.push_back(m_maximum > 0 ? ColouredCount(channel, Pass::Lit) : 0);
        if (peakLine) shown.push_back(static_cast<int>(static_cast<long long>(GetPeak(channel)) * height() / m_maximum));
    }
    return shown;
}

void CPeakMeterCtrl::UpdateIfShownChanged() {
    std::vector<int> shown = ShownState();
    if (shown == m_shown) return;
    m_shown = std::move(shown);
    update();
}

int CPeakMeterCtrl::GetLevel(int channel) const {
    if (channel < 0 || static_cast<size_t>(channel) >= m_channelList.size()) return 0;
    return m_channelList[static_cast<size_t>(channel)].level;
}

int CPeakMeterCtrl::GetPeak(int channel) const {
    if (channel < 0 || static_cast<size_t>(channel) >= m_channelList.size()) return 0;
    return m_channelList[static_cast<size_t>(channel)].peak;
}

int CPeakMeterCtrl::GetHoldCount(int channel) const {
    if (channel < 0 || static_cast<size_t>(channel) >= m_channelList.size()) return 0;
    return m_channelList[static_cast<size_t>(channel)].hold;
}

int CPeakMeterCtrl::ScaleSegments() const {
    return m_segments > 1 ? m_segments : m_maximum * kTenthsPercent / kPercent;
}

int CPeakMeterCtrl::ColouredCount(int channel, Pass pass) const {
    const int segments = ScaleSegments();
    if (pass == Pass::Background) return segments;
    if (channel < 0 || static_cast<size_t>(channel) >= m_channelList.size()) return 0;
    const long long level = m_channelList[static_cast<size_t>(channel)].level;
    return static_cast<int>(level * segments / m_maximum);
}

QColor CPeakMeterCtrl::SegmentColor(int segment, int colouredCount, Pass pass) const {
    if (segment >= colouredCount) return m_grid ? Darkened(m_background, kGridShade) : m_background;
    const int segments = ScaleSegments();
    const int lowEnd = static_cast<int>(static_cast<long long>(segments) * m_lowMid / m_maximum);
    const int midEnd = static_cast<int>(static_cast<long long>(segments) * m_midHigh / m_maximum);
    const bool lit = pass == Pass::Lit;
    if (segment < lowEnd) return lit ? m_low : m_dimLow;
    if (segment < midEnd) return lit ? m_mid : m_dimMid;
    return lit ? m_high : m_dimHigh;
}

void CPeakMeterCtrl::DrawHorizontal(QPainter& painter, Pass pass) const {
    const int segments = ScaleSegments();
    const int segmentWidth = width() / segments;
    const int rowHeight = height() / m_channels;
    // The rows sit at the bottom; the remainder stays above them.
    const int firstRow = height() - m_channels * rowHeight;
    const int lowEnd = static_cast<int>(static_cast<long long>(segments) * m_lowMid / m_maximum);
    const bool lit = pass == Pass::Lit;
    for (int row = 0; row < m_channels; ++row) {
        const int top = firstRow + row * rowHeight;
        const int coloured = ColouredCount(row, pass);
        for (int k = 0; k < segments; ++k) {
            const int left = k * segmentWidth;
            if (m_grid && (k == lowEnd || k == segments - 1)) {
                painter.setPen(Darkened(m_background, kGridShade));
                const int middle = left + segmentWidth / 2;
                painter.drawLine(middle, top - 1, middle, top + rowHeight);
            }
            // Lit segments leave a one-pixel edge of the dim scale showing.
            QRect rect(QPoint(left, top), QPoint(left + segmentWidth - 1, top + rowHeight - 1));
            if (lit) rect.adjust(segments > 1 ? 1 : 0, m_channels > 1 ? 1 : 0, 0, m_channels > 1 ? -1 : 0);
            if (IsDrawable(rect)) painter.fillRect(rect, SegmentColor(k, coloured, pass));
        }
    }
}

void CPeakMeterCtrl::DrawVertical(QPainter& painter, Pass pass) const {
    const int segments = ScaleSegments();
    const int columnWidth = width() / m_channels;
    const int segmentHeight = height() / segments;
    const int lowEnd = static_cast<int>(static_cast<long long>(segments) * m_lowMid / m_maximum);
    const bool lit = pass == Pass::Lit;
    for (int column = 0; column < m_channels; ++column) {
        const int left = column * columnWidth;
        const int coloured = ColouredCount(column, pass);
        for (int k = 0; k < segments; ++k) {
            const int bottom = height() - k * segmentHeight;
            const int top = bottom - segmentHeight;
            if (m_grid && (k == lowEnd || k == segments - 1)) {
                painter.setPen(Darkened(m_background, kGridShade));
                const int middle = (top + bottom) / 2;
                painter.drawLine(left - 1, middle, left + columnWidth, middle);
            }
            QRect rect(QPoint(left, top), QPoint(left + columnWidth - 1, bottom - 1));
            if (lit) {
                const int side = m_channels > 1 ? 1 : 0;
                rect.adjust(side, segments > 1 ? 1 : 0, -side, 0);
            }
            if (IsDrawable(rect)) painter.fillRect(rect, SegmentColor(k, coloured, pass));
        }
        if (lit && m_peakLine) {
            const long long peak = GetPeak(column);
            const int y = height() - static_cast<int>(peak * height() / m_maximum);
            painter.setPen(Darkened(m_background, kPeakLineShade));
            painter.drawLine(left, y, left + columnWidth - 1, y);
        }
    }
}

void CPeakMeterCtrl::paintEvent(QPaintEvent*) {
    m_shown = ShownState();
    const qreal ratio = devicePixelRatioF();
    // The dim scale changes only with the size or the style: drawn once, then
    // copied under the lit segments at every repaint.
    if (m_scale.isNull() || m_scale.devicePixelRatio() != ratio) {
        m_scale = QPixmap(size() * ratio);
        if (m_scale.isNull()) return;
        m_scale.setDevicePixelRatio(ratio);
        m_scale.fill(m_background);
        QPainter painter(&m_scale);
        if (Drawable()) Draw(painter, Pass::Background);
    }
    // The widget's own backing store is the off-screen surface the lit pass goes to.
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_scale);
    if (Drawable()) Draw(painter, Pass::Lit);
}

// A meter without segments, channels or scale shows its background only.
bool CPeakMeterCtrl::Drawable() const { return ScaleSegments() > 0 && m_channels > 0 && m_maximum > 0; }

void CPeakMeterCtrl::Draw(QPainter& painter, Pass pass) const {
    if (m_horizontal) {
        DrawHorizontal(painter, pass);
    } else {
        DrawVertical(painter, pass);
    }
}

}  // namespace sonoria
