// The EQ graph: a black plot with a logarithmic frequency grid and a decibel
// grid, the summed response of its bands as one green curve, the selected
// band's own response shaded, and one marker per band that the user drags
// with the mouse (left: frequency and gain, right: Q), nudges with the keys
// or the wheel. It knows nothing of the device: it reports every change the
// user makes to its owner, which converts the values and sends them. Values
// the owner writes in are never reported back.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

#include "eq/EqBand.h"
#include "eq/EqLayouts.h"
#include "eq/EqValues.h"
#include "state/ScalingRules.h"

class QColor;
class QPainter;

namespace sonoria {

class CEqPanel : public QWidget {
    Q_OBJECT
    // Set by the window builder; the panel reports it with every band it hands out.
    Q_PROPERTY(int controlId READ controlId WRITE setControlId)

public:
    static constexpr int kMaxBands = kEqMaxBands;

    // Plot margins inside the panel: the plot starts 36 pixels from the left
    // and 20 from the top, and leaves 6 on the right and 20 at the bottom for
    // the frequency labels.
    static constexpr int kPlotLeft = 36;
    static constexpr int kPlotTop = 20;
    static constexpr int kPlotRightMargin = 6;
    static constexpr int kPlotBottomMargin = 20;

    explicit CEqPanel(QWidget* parent = nullptr);

    // Puts a new panel in the place of `placeholder` (a control of a window
    // built from its template): same parent, rectangle, visibility, stacking
    // and control id. The placeholder is hidden and deleted later. Returns the
    // panel, or null when the placeholder has no parent.
    static CEqPanel* ReplaceControl(QWidget* placeholder);

    void setControlId(int id) { m_controlId = id; }
    int controlId() const { return m_controlId; }

    // Chooses the view (0 to 12, see EqLayout): the bands in use, their
    // shapes, limits and locks. Clears the selection and the hover; when
    // `repaint` is set the panel is redrawn. Reports nothing; an unknown
    // layout number changes nothing. Returns whether the layout was applied.
    bool SetLayout(int layout, bool repaint = true);
    int GetLayout() const { return m_layout; }
    int GetBandCount() const { return m_bandCount; }

    // One band record (0 to kMaxBands - 1); out of range gives an `Off` band.
    const EqBand& GetBand(int index) const;

    // Writes one value of a band as the device holds it (not limited, since
    // the device may hold values the user cannot drag to), recomputes the
    // band and redraws. Reports nothing. A value that is not finite or an
    // index out of range is refused.
    bool SetBandValue(int index, EqField field, float value);
    // Fills one value from its parameter's raw value: the number its display
    // text shows; a frequency or Q that reads 0 is left as it was. Recomputes
    // and redraws. Reports nothing. Returns whether the band took the value.
    bool FillBandValue(int index, EqField field, TextRule text, int raw);

    // The band the keys and the wheel act on, or -1.
    int GetSelectedBand() const { return m_selectedBand; }
    // Selects a band in use that the user could pick (not `Off`, not locked),
    // or -1 for none. Reports nothing. Returns whether the selection was taken.
    bool SetSelectedBand(int index);
    // The band under the mouse (locked ones included), or -1.
    int GetHoverBand() const { return m_hoverBand; }
    bool IsLeftDragging() const { return m_leftDragging; }
    bool IsRightDragging() const { return m_rightDragging; }

    // The plot shows only "OFF" (the EQ is switched off on the device); the
    // bands can still be picked where they were last drawn.
    void SetShowOff(bool showOff);
    bool IsShowOff() const { return m_showOff; }

    // A curve to compare the bands with (the target of a filter file being
    // imported), drawn dashed over the plot in a colour of its own; one
    // value in decibels per response column. Reports nothing.
    void SetTargetCurve(const std::array<float, kEqColumns>& target);
    void ClearTargetCurve();
    bool HasTargetCurve() const { return m_target.has_value(); }

    // Language of the info line: English, or Chinese.
    void SetEnglish(bool english);
    bool IsEnglish() const { return m_english; }

    // Plot width and height; at or below 0 nothing is plotted or dragged.
    int PlotWidth() const { return width() - kPlotLeft - kPlotRightMargin; }
    int PlotHeight() const { return height() - kPlotTop - kPlotBottomMargin; }

    // The texts the panel draws for a band.
    // The marker's label: "3", "1: HP", "10 HP", or the bare shape when locked.
    static QString MarkerLabel(const EqBand& band);
    // Frequency beside the active marker: "1000Hz", or "OFF".
    static QString FrequencyText(const EqBand& band, int layout);
    // The info line up to the gain, in English or Chinese.
    static QString InfoLineText(const EqBand& band, bool english);
    // Whether the info line ends with the gain, and its text and colour.
    static bool InfoLineShowsGain(const EqBand& band);
    static QString InfoGainText(const EqBand& band);
    static QColor InfoGainColour(float gain);

signals:
    // A left or right press landed on a band the user can edit. The record is
    // the panel's own and valid during the call only.
    void bandPicked(const sonoria::EqBand& band, int controlId);
    // The user changed a band: every drag move, key and wheel step, and once
    // more when a drag's button is released.
    void bandChanged(const sonoria::EqBand& band, int controlId);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Report { Picked, Changed };

    bool PlotUsable() const { return PlotWidth() > 0 && PlotHeight() > 0; }
    bool InUse(int index) const { return index >= 0 && index < m_bandCount; }
    // The first band in use whose stored marker is within reach of the
    // pointer offset (dx, dy); `editableOnly` leaves out locked bands.
    int BandAt(int dx, int dy, bool editableOnly) const;
    void PressAt(const QPoint& point, bool left);
    void KeyPressed(const QKeyEvent& key);
    // Recomputes the selected band, reports it and redraws at once. Returns
    // false when the panel was deleted by the owner during the report.
    bool SelectedBandChanged();
    // Hands a band to the owner when there is one. Returns false when the
    // owner deleted the panel meanwhile.
    bool ReportBand(Report report, const EqBand& band);

    // Painting (CEqPanelPainting.cpp).
    void PaintPanel(QPainter& painter);
    void BuildGridCache();
    void DrawReferenceNote(QPainter& painter) const;
    void DrawOff(QPainter& painter) const;
    void DrawSelectedArea(QPainter& painter) const;
    void DrawTotalCurve(QPainter& painter) const;
    void DrawTargetCurve(QPainter& painter) const;
    void DrawMarkers(QPainter& painter);
    void DrawActiveBandTexts(QPainter& painter) const;

    std::array<EqBand, kMaxBands> m_bands{};
    int m_bandCount = 0;
    int m_layout = kEqLayoutMic;
    int m_selectedBand = -1;
    int m_hoverBand = -1;
    bool m_leftDragging = false;
    bool m_rightDragging = false;
    int m_anchorX = 0;
    int m_anchorY = 0;
    bool m_showOff = false;
    bool m_english = true;
    int m_controlId = 0;
    std::optional<std::array<float, kEqColumns>> m_target;
    // Background and grid, drawn once per size.
    QImage m_gridCache;
};

}  // namespace sonoria
