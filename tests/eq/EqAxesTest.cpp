// The graph's frequency and level axes, worked out by hand: 3.4 decades from
// 10 Hz over the width, +15 dB at the top to -15 dB at the bottom.
#include "eq/EqAxes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sonoria {
namespace {

TEST(EqAxesTest, FrequencyPositionAndItsInverse) {
    EXPECT_EQ(FrequencyPosition(10.0), 0.0f);
    EXPECT_FLOAT_EQ(FrequencyPosition(std::pow(10.0, 4.4)), 1.0f);  // about 25119 Hz
    EXPECT_EQ(FrequencyPosition(1000.0), static_cast<float>(2 / 3.4));
    EXPECT_EQ(FrequencyPosition(100.0), static_cast<float>(1 / 3.4));

    EXPECT_DOUBLE_EQ(FrequencyAtPosition(0.0), 10.0);
    EXPECT_NEAR(FrequencyAtPosition(1.0), 25118.864, 1e-3);
    for (double hz : {20.0, 440.0, 1000.0, 19200.0}) {
        // The position is kept in single precision: good to about 1e-7 of a decade span.
        EXPECT_NEAR(FrequencyAtPosition(FrequencyPosition(hz)), hz, hz * 1e-6) << hz;
    }
}

TEST(EqAxesTest, DraggedOffsetsBecomeFrequencies) {
    const double width = 1036;  // the panel's plot width at its template size
    EXPECT_DOUBLE_EQ(FrequencyAtOffset(0, width), 10.0);
    EXPECT_NEAR(FrequencyAtOffset(width, width), 25118.864, 1e-3);
    EXPECT_NEAR(FrequencyAtOffset(width * 2 / 3.4, width), 1000.0, 1e-9);
    // Left of the plot the frequency keeps falling; the band's limits stop it.
    EXPECT_NEAR(FrequencyAtOffset(-width / 3.4, width), 1.0, 1e-12);

    EXPECT_DOUBLE_EQ(FrequencyOffset(10.0, width), 0.0);
    EXPECT_NEAR(FrequencyOffset(1000.0, width), width * 2 / 3.4, 1e-9);
    EXPECT_NEAR(FrequencyAtOffset(FrequencyOffset(3150.0, width), width), 3150.0, 1e-9);
}

TEST(EqAxesTest, CentreColumnRoundsTheScaledPosition) {
    EXPECT_EQ(CentreColumn(10.0), 0);
    EXPECT_EQ(CentreColumn(1000.0), 301);  // 512 * 2 / 3.4 = 301.18
    EXPECT_EQ(CentreColumn(100.0), 151);   // 150.59
    EXPECT_EQ(CentreColumn(20.0), 45);     // 45.33
    EXPECT_EQ(CentreColumn(24800.0), 511);
    EXPECT_EQ(CentreColumn(25000.0), 512);
    EXPECT_EQ(CentreColumn(1.0), -151);  // one decade below the axis, rounded away from zero

    // Far outside the axis the column is limited rather than overflowing.
    EXPECT_EQ(CentreColumn(1e300), 1024);
    EXPECT_EQ(CentreColumn(std::numeric_limits<double>::infinity()), 1024);
    EXPECT_EQ(CentreColumn(1e-300), -512);
    EXPECT_EQ(CentreColumn(0.0), -512);
    EXPECT_EQ(CentreColumn(-5.0), -512);
    EXPECT_EQ(CentreColumn(std::numeric_limits<double>::quiet_NaN()), -512);
}

TEST(EqAxesTest, LevelsMapToRowsAndBack) {
    EXPECT_DOUBLE_EQ(LevelFraction(15), 0.0);
    EXPECT_DOUBLE_EQ(LevelFraction(0), 0.5);
    EXPECT_DOUBLE_EQ(LevelFraction(-15), 1.0);
    EXPECT_DOUBLE_EQ(LevelFraction(6), 0.3);

    const double height = 330;
    EXPECT_DOUBLE_EQ(LevelRow(15, height), 0.0);
    EXPECT_DOUBLE_EQ(LevelRow(0, height), 165.0);
    EXPECT_DOUBLE_EQ(LevelRow(-15, height), 330.0);
    EXPECT_DOUBLE_EQ(LevelRow(-30, height), 495.0);  // off the plot, still on the line

    EXPECT_DOUBLE_EQ(LevelAtRow(0, height), 15.0);
    EXPECT_DOUBLE_EQ(LevelAtRow(165, height), 0.0);
    EXPECT_DOUBLE_EQ(LevelAtRow(330, height), -15.0);
    EXPECT_NEAR(LevelAtRow(LevelRow(-7.3, height), height), -7.3, 1e-12);
}

}  // namespace
}  // namespace sonoria
