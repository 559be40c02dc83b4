// The compressor's static transfer curve as the compressor page draws it:
// output level over input level, both axes from -50 dB to +5 dB, in pixels of
// a plot area inset in the panel. Pure arithmetic, no drawing.
#pragma once

#include <array>

namespace sonoria {

struct CurvePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const CurvePoint&, const CurvePoint&) = default;
};

// The settings the curve is drawn from.
struct DynamicsSettings {
    float threshold = -15.0f;   // compressor threshold in dB: the knee
    float ratioSlope = 1.0f;    // output dB per input dB above the knee
    float gateLevel = -50.0f;   // gate knee in dB
    float gateSlope = 1.0f;     // slope factor below the gate knee
};

// Where the plot lies in a panel of the given client size.
struct DynamicsPlot {
    static constexpr int kLeft = 25;
    static constexpr int kTop = 5;
    static constexpr int kRightGap = 5;
    static constexpr int kLabelBottomGap = 13;  // the input labels' top above the bottom edge
    static constexpr int kLeftLabelRight = 23;  // the output labels' right edge
    static constexpr float kLowDb = -50.0f;
    static constexpr float kHighDb = 5.0f;
    static constexpr float kSpanDb = 55.0f;
    static constexpr int kGridLines = 12;  // every 5 dB on both axes

    DynamicsPlot(int clientWidth, int clientHeight);

    int width;        // client width
    int height;       // client height
    int plotWidth;    // W = width - 30
    int plotHeight;   // H = height - 20

    // Input level (dB) to x and output level (dB) to y, truncated toward zero.
    int X(float inputDb) const;
    int Y(float outputDb) const;
    // The grid's positions, with the scale factors kept in single precision:
    // line i (0..11) is at input -50 + 5 i dB and at output +5 - 5 i dB.
    int GridX(int line) const;
    int GridY(int line) const;
    static int GridInputDb(int line) { return -50 + 5 * line; }
    static int GridOutputDb(int line) { return 5 - 5 * line; }
};

// The curve's key points and the shaded band of output levels it covers.
struct DynamicsCurve {
    CurvePoint leftEnd;    // A: the curve's start at the plot's left edge
    CurvePoint gateKnee;   // P
    CurvePoint knee;       // K: the compressor threshold
    CurvePoint rightEnd;   // B: at the right edge of the panel, less its gap
    // The band: x, width, top y and height.
    int bandX = 0;
    int bandWidth = 0;
    int bandTop = 0;
    int bandHeight = 0;
};

DynamicsCurve ComputeDynamicsCurve(const DynamicsPlot& plot, const DynamicsSettings& settings);

}  // namespace sonoria
