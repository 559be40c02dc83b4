// The compressor curve's key points and grid in a 400 x 300 panel (a plot
// of 370 x 280 pixels), and how the ratio's raw value turns into a slope.
#include <gtest/gtest.h>

#include "eq/DynamicsCurve.h"
#include "state/ValueScaling.h"

namespace sonoria {
namespace {

const DynamicsPlot kPlot(400, 300);

DynamicsCurve CurveFor(float threshold, float ratioSlope) {
    DynamicsSettings settings;
    settings.threshold = threshold;
    settings.ratioSlope = ratioSlope;
    return ComputeDynamicsCurve(kPlot, settings);
}

TEST(DynamicsCurveTest, PlotAreaAndGridSpanFiftyFiveDecibelsOnBothAxes) {
    EXPECT_EQ(kPlot.plotWidth, 370);
    EXPECT_EQ(kPlot.plotHeight, 280);
    // Grid lines every 5 dB: the corners of the plot and the 0 dB lines.
    EXPECT_EQ(kPlot.GridX(0), 25);    // -50 dB in
    EXPECT_EQ(kPlot.GridX(11), 395);  // +5 dB in: the right edge
    EXPECT_EQ(kPlot.GridX(10), 361);  // 0 dB in
    EXPECT_EQ(kPlot.GridY(0), 5);     // +5 dB out
    EXPECT_EQ(kPlot.GridY(1), 30);    // 0 dB out
    EXPECT_EQ(kPlot.GridY(11), 285);  // -50 dB out
    EXPECT_EQ(DynamicsPlot::GridInputDb(11), 5);
    EXPECT_EQ(DynamicsPlot::GridOutputDb(11), -50);
}

TEST(DynamicsCurveTest, InitialValuesGiveTheDiagonalWithTheKneeAtMinusFifteen) {
    const DynamicsCurve curve = CurveFor(-15.0f, 1.0f);
    EXPECT_EQ(curve.knee, (CurvePoint{260, 106}));
    EXPECT_EQ(curve.rightEnd, (CurvePoint{395, 5}));
    // The gate part collapses onto the lower left corner.
    EXPECT_EQ(curve.leftEnd, (CurvePoint{25, 285}));
    EXPECT_EQ(curve.gateKnee, (CurvePoint{25, 285}));
    EXPECT_EQ(curve.bandX, 25);
    EXPECT_EQ(curve.bandWidth, 370);
    EXPECT_EQ(curve.bandTop, 5);
    EXPECT_EQ(curve.bandHeight, 280);
}

TEST(DynamicsCurveTest, ThresholdAndRatioAtTheirTopsGiveAFlatLineFromTheZeroDecibelKnee) {
    const DynamicsCurve curve = CurveFor(CompThresholdDb(127), static_cast<float>(CompRatioCurve(127)));
    EXPECT_EQ(curve.knee, (CurvePoint{361, 30}));
    EXPECT_EQ(curve.rightEnd, (CurvePoint{395, 30}));
    EXPECT_EQ(curve.bandTop, 30);
    EXPECT_EQ(curve.bandHeight, 255);
}

TEST(DynamicsCurveTest, MiddleThresholdAndRatioGiveTheKneeAndTheSlopedEnd) {
    ASSERT_FLOAT_EQ(CompThresholdDb(64), -21.0f);
    ASSERT_DOUBLE_EQ(CompRatioCurve(64), 0.4921875);
    const DynamicsCurve curve = CurveFor(CompThresholdDb(64), static_cast<float>(CompRatioCurve(64)));
    EXPECT_EQ(curve.knee, (CurvePoint{220, 137}));
    EXPECT_EQ(curve.rightEnd, (CurvePoint{395, 72}));
    EXPECT_EQ(curve.bandTop, 72);
    EXPECT_EQ(curve.bandHeight, 285 - 72);
}

TEST(DynamicsCurveTest, LowestThresholdAndRatioEnds) {
    // Raw 0 is -45 dB, raw 1 already -42 dB.
    EXPECT_EQ(CurveFor(CompThresholdDb(0), 1.0f).knee, (CurvePoint{kPlot.X(-45.0f), kPlot.Y(-45.0f)}));
    EXPECT_EQ(CurveFor(CompThresholdDb(1), 1.0f).knee.x, 78);
    // Ratio raw 0 (1:1) ends a little below the diagonal: 101.02 pixels of rise
    // from the knee here, against 101.82 for a slope of 1.
    const DynamicsCurve gentle = CurveFor(-15.0f, static_cast<float>(CompRatioCurve(0)));
    EXPECT_EQ(gentle.rightEnd, (CurvePoint{395, 106 - 101}));
    // From a knee at -45 dB the difference shows in whole pixels.
    EXPECT_EQ(CurveFor(-45.0f, 1.0f).rightEnd.y, 5);
    EXPECT_EQ(CurveFor(-45.0f, static_cast<float>(CompRatioCurve(0))).rightEnd.y, 7);
}

TEST(DynamicsCurveTest, AGateKneeAboveTheCornerLiftsTheLeftEnd) {
    DynamicsSettings settings;
    settings.gateLevel = -40.0f;
    settings.gateSlope = 0.5f;
    const DynamicsCurve curve = ComputeDynamicsCurve(kPlot, settings);
    EXPECT_EQ(curve.gateKnee, (CurvePoint{92, 234}));
    // y(G) + trunc(280 * 10 / 55 * 0.5) = 234 + 25
    EXPECT_EQ(curve.leftEnd, (CurvePoint{25, 259}));
    EXPECT_EQ(curve.bandTop, 5);
    EXPECT_EQ(curve.bandHeight, 254);
}

}  // namespace
}  // namespace sonoria
