#include "eq/ui/CEqPanel.h"

#include <QColor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>
#include <QtMath>

#include <cmath>
#include <cstdlib>

#include "controls/DialogTemplate.h"
#include "controls/TemplateControls.h"
#include "eq/EqAxes.h"
#include "eq/EqResponse.h"

namespace sonoria {
namespace {

// The pointer is measured from 36 pixels right and 16 down of the panel's
// corner, four pixels above the plot origin, so that the reach of a marker
// extends further above its centre than below.
constexpr int kPointerLeft = 36;
constexpr int kPointerTop = 16;
// A marker is in reach when both offsets are below this.
constexpr int kPickReach = 16;

// Steps of the keys and the wheel.
constexpr double kFrequencyStepHz = 1.0;
constexpr double kGainStepDb = 0.1;
constexpr double kQStep = 0.1;
// Pixels of a right drag per unit of Q: pass filters move half as fast.
constexpr double kQPixelsPeak = 40.0;
constexpr double kQPixelsPass = 80.0;

bool IsPassFilter(const EqBand& band) {
    return band.type == EqBandType::LowPass || band.type == EqBandType::HighPass;
}

QPoint PixelOf(const QPointF& point) { return {qFloor(point.x()), qFloor(point.y())}; }

const EqBand& OffBand() {
    static const EqBand off = [] {
        EqBand band;
        band.type = EqBandType::Off;
        return band;
    }();
    return off;
}

}  // namespace

CEqPanel::CEqPanel(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted, from the off-screen picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The hover needs every move, also without a button held.
    setMouseTracking(true);
    // Focus comes only from a left press on the panel; Tab passes it by.
    setFocusPolicy(Qt::NoFocus);
    SetLayout(kEqLayoutMic, false);
}

CEqPanel* CEqPanel::ReplaceControl(QWidget* placeholder) {
    if (placeholder == nullptr || placeholder->parentWidget() == nullptr) return nullptr;
    auto* panel = new CEqPanel(placeholder->parentWidget());
    TakePlaceOf(placeholder, panel);
    return panel;
}

bool CEqPanel::SetLayout(int layout, bool repaint) {
    const int count = ApplyEqLayout(layout, m_bands);
    if (count == 0) return false;
    m_layout = layout;
    m_bandCount = count;
    // Records of the last view are no longer where the pointer was.
    m_selectedBand = -1;
    m_hoverBand = -1;
    if (repaint) update();
    return true;
}

const EqBand& CEqPanel::GetBand(int index) const {
    if (index < 0 || index >= kMaxBands) return OffBand();
    return m_bands[static_cast<std::size_t>(index)];
}

bool CEqPanel::SetBandValue(int index, EqField field, float value) {
    if (index < 0 || index >= kMaxBands || !std::isfinite(value)) return false;
    EqBand& band = m_bands[static_cast<std::size_t>(index)];
    switch (field) {
        case EqField::Frequency: band.frequency = value; break;
        case EqField::Gain: band.gain = value; break;
        case EqField::Q: band.q = value; break;
    }
    ComputeBandResponse(band);
    update();
    return true;
}

bool CEqPanel::FillBandValue(int index, EqField field, TextRule text, int raw) {
    if (index < 0 || index >= kMaxBands) return false;
    EqBand& band = m_bands[static_cast<std::size_t>(index)];
    if (!sonoria::FillBandValue(band, field, text, raw)) return false;
    ComputeBandResponse(band);
    update();
    return true;
}

bool CEqPanel::SetSelectedBand(int index) {
    if (index != -1) {
        if (!InUse(index)) return false;
        const EqBand& band = m_bands[static_cast<std::size_t>(index)];
        if (band.type == EqBandType::Off || band.locked) return false;
    }
    m_selectedBand = index;
    update();
    return true;
}

void CEqPanel::SetShowOff(bool showOff) {
    m_showOff = showOff;
    update();
}

void CEqPanel::SetTargetCurve(const std::array<float, kEqColumns>& target) {
    m_target = target;
    update();
}

void CEqPanel::ClearTargetCurve() {
    m_target.reset();
    update();
}

void CEqPanel::SetEnglish(bool english) {
    m_english = english;
    update();
}

int CEqPanel::BandAt(int dx, int dy, bool editableOnly) const {
    for (int i = 0; i < m_bandCount; ++i) {
        const EqBand& band = m_bands[static_cast<std::size_t>(i)];
        if (band.type == EqBandType::Off || (editableOnly && band.locked)) continue;
        // In 64 bits: stored positions of a far-off band can be near the int limits.
        if (std::llabs(static_cast<long long>(band.x) - dx) < kPickReach &&
            std::llabs(static_cast<long long>(band.y) - dy) < kPickReach) {
            return i;
        }
    }
    return -1;
}

bool CEqPanel::ReportBand(Report report, const EqBand& band) {
    // A panel without an owner has nobody to tell.
    if (parentWidget() == nullptr) return true;
    // The owner may close the window, and with it the panel, while it handles this.
    const QPointer<CEqPanel> self(this);
    if (report == Report::Picked) {
        emit bandPicked(band, m_controlId);
    } else {
        emit bandChanged(band, m_controlId);
    }
    return !self.isNull();
}

bool CEqPanel::SelectedBandChanged() {
    EqBand& band = m_bands[static_cast<std::size_t>(m_selectedBand)];
    ComputeBandResponse(band);
    if (!ReportBand(Report::Changed, band)) return false;
    repaint();
    return true;
}

void CEqPanel::PressAt(const QPoint& point, bool left) {
    // Every press starts afresh: a press beside every marker leaves nothing selected.
    m_selectedBand = -1;
    const int dx = point.x() - kPointerLeft;
    const int dy = point.y() - kPointerTop;
    const int picked = BandAt(dx, dy, true);
    if (picked != -1) {
        const EqBand& band = m_bands[static_cast<std::size_t>(picked)];
        m_selectedBand = picked;
        if (left) {
            // Where the pointer holds the marker, so that the marker does not jump.
            m_anchorX = dx - band.x;
            m_anchorY = dy - band.y;
        } else {
            // A right drag counts the pixels moved since the last move.
            m_anchorX = dx;
        }
        if (!ReportBand(Report::Picked, band)) return;
    }
    update();
}

void CEqPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint point = PixelOf(event->position());
    if (event->button() == Qt::LeftButton) {
        event->accept();
        setFocus(Qt::MouseFocusReason);
        m_leftDragging = true;
        PressAt(point, true);
    } else if (event->button() == Qt::RightButton) {
        event->accept();
        m_rightDragging = true;
        PressAt(point, false);
    } else {
        QWidget::mousePressEvent(event);
    }
}

void CEqPanel::mouseReleaseEvent(QMouseEvent* event) {
    bool* dragging = nullptr;
    if (event->button() == Qt::LeftButton) dragging = &m_leftDragging;
    if (event->button() == Qt::RightButton) dragging = &m_rightDragging;
    if (dragging == nullptr) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const bool wasDragging = *dragging;
    *dragging = false;
    // The selection stays, so that the keys go on working on the band.
    if (wasDragging && m_selectedBand != -1) {
        if (!ReportBand(Report::Changed, m_bands[static_cast<std::size_t>(m_selectedBand)])) return;
    }
    update();
}

void CEqPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    // The press that came with it has done all there is to do.
    event->accept();
}

void CEqPanel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint point = PixelOf(event->position());
    const int dx = point.x() - kPointerLeft;
    const int dy = point.y() - kPointerTop;
    m_hoverBand = BandAt(dx, dy, false);

    // A plot without width or height has no scale to drag along.
    if (PlotUsable() && m_leftDragging && m_selectedBand != -1) {
        EqBand& band = m_bands[static_cast<std::size_t>(m_selectedBand)];
        band.frequency = static_cast<float>(FrequencyAtOffset(dx - m_anchorX, PlotWidth()));
        // Pass filters have no gain to edit: their markers stay on the 0 dB line.
        band.gain = IsPassFilter(band) ? 0.0f : static_cast<float>(LevelAtRow(dy - m_anchorY, PlotHeight()));
        band.gain = LimitValue(band.gain, band.minGain, band.maxGain);
        band.frequency = LimitValue(band.frequency, band.minFrequency, band.maxFrequency);
        if (!SelectedBandChanged()) return;
    }
    if (PlotUsable() && m_rightDragging && m_selectedBand != -1) {
        EqBand& band = m_bands[static_cast<std::size_t>(m_selectedBand)];
        const double pixelsPerQ = IsPassFilter(band) ? kQPixelsPass : kQPixelsPeak;
        band.q = static_cast<float>(band.q + (dx - m_anchorX) / pixelsPerQ);
        band.q = LimitValue(band.q, band.minQ, band.maxQ);
        m_anchorX = dx;
        if (!SelectedBandChanged()) return;
    }
    repaint();
}

void CEqPanel::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    // A sideways wheel is not ours, nor is any wheel while nothing is selected.
    if (m_selectedBand == -1 || delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    EqBand& band = m_bands[static_cast<std::size_t>(m_selectedBand)];
    if (!IsPassFilter(band)) {
        band.gain = static_cast<float>(band.gain + (delta < 0 ? -kGainStepDb : kGainStepDb));
    }
    band.gain = LimitValue(band.gain, band.minGain, band.maxGain);
    SelectedBandChanged();
}

bool CEqPanel::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // While the panel has the focus every key is its own: no shortcut of
            // the window fires.
            event->accept();
            return true;
        case QEvent::KeyPress:
            // Consumed whatever it is, Tab and Escape included, with or without a selection.
            KeyPressed(*static_cast<QKeyEvent*>(event));
            event->accept();
            return true;
        default: return QWidget::event(event);
    }
}

void CEqPanel::KeyPressed(const QKeyEvent& key) {
    if (m_selectedBand == -1) return;
    EqBand& band = m_bands[static_cast<std::size_t>(m_selectedBand)];
    const bool keypad = key.modifiers().testFlag(Qt::KeypadModifier);
    double frequency = band.frequency;
    double gain = band.gain;
    double q = band.q;
    switch (key.key()) {
        case Qt::Key_Left: frequency -= kFrequencyStepHz; break;
        case Qt::Key_Right: frequency += kFrequencyStepHz; break;
        // Pass filters have no gain to edit.
        case Qt::Key_Up:
            if (!IsPassFilter(band)) gain += kGainStepDb;
            break;
        case Qt::Key_Down:
            if (!IsPassFilter(band)) gain -= kGainStepDb;
            break;
        // The number pad's plus and minus only.
        case Qt::Key_Plus:
            if (!keypad) return;
            q += kQStep;
            break;
        case Qt::Key_Minus:
            if (!keypad) return;
            q -= kQStep;
            break;
        default: return;
    }
    band.frequency = static_cast<float>(frequency);
    band.gain = static_cast<float>(gain);
    band.q = static_cast<float>(q);
    LimitBand(band);
    SelectedBandChanged();
}

void CEqPanel::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void CEqPanel::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void CEqPanel::resizeEvent(QResizeEvent* event) {
    // The grid is drawn for one size.
    m_gridCache = QImage();
    update();
    QWidget::resizeEvent(event);
}

}  // namespace sonoria
