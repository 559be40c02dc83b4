// The compressor page's transfer-curve view: a grid of input over output
// level with its labels, the curve through the gate knee and the compressor
// threshold, the band of output levels it covers, and "OFF" over it all while
// the compressor is switched off. It only paints; the page sets its values.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include "eq/DynamicsCurve.h"

namespace sonoria {

class CCompressPanel : public QWidget {
    Q_OBJECT

public:
    explicit CCompressPanel(QWidget* parent = nullptr);

    // Puts a panel in the place of a template's placeholder control, with its id.
    static CCompressPanel* ReplaceControl(QWidget* placeholder);

    // Each setter repaints the panel.
    void SetEnabled(int enabled);
    void SetThreshold(float thresholdDb);
    void SetRatioSlope(float slope);

    int Enabled() const { return m_enabled; }
    const DynamicsSettings& Settings() const { return m_settings; }
    // The curve as the panel draws it at its present size.
    DynamicsCurve Curve() const;

    // The grid with its labels, as cached by the last paint (null before it).
    const QImage& GridCache() const { return m_gridCache; }

    static constexpr QRgb kGridColour = 0xFF006E00;   // RGB(0, 110, 0)
    static constexpr QRgb kLabelColour = 0xFF495A97;  // RGB(73, 90, 151)

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawGrid(QImage& target) const;
    void DrawCurve(QImage& target) const;

    QImage m_gridCache;
    QImage m_canvas;
    int m_enabled = 0;
    DynamicsSettings m_settings;
};

}  // namespace sonoria
