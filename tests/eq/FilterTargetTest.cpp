// The target curve of a filter file: each filter kind where its definition
// pins the level down, and the sum over the graph's columns.
#include "eq/FilterTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "eq/EqAxes.h"

namespace sonoria {
namespace {

struct LevelCase {
    const char* line;
    double hz;
    double db;
    double tolerance;
};

class FilterLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(FilterLevelTest, IsWhereItsDefinitionPutsIt) {
    const FilterFile file = ParseFilterText(GetParam().line);
    ASSERT_EQ(file.filters.size(), 1u) << GetParam().line;
    EXPECT_NEAR(FileFilterDb(file.filters[0], GetParam().hz), GetParam().db, GetParam().tolerance) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FilterLevelTest,
    ::testing::Values(LevelCase{"Filter: ON PK Fc 1000 Hz Gain -6 dB Q 2", 1000, -6.0, 1e-9},
                      LevelCase{"Filter: ON PK Fc 1000 Hz Gain -6 dB Q 2", 100, 0.0, 0.05},
                      LevelCase{"Filter: ON PK Fc 250 Hz Gain 4 dB BW Oct 1", 250, 4.0, 1e-9},
                      LevelCase{"Filter: ON LSC Fc 200 Hz Gain 6 dB Q 0.7071", 20, 6.0, 0.05},
                      LevelCase{"Filter: ON LSC Fc 200 Hz Gain 6 dB Q 0.7071", 200, 3.0, 1e-6},
                      LevelCase{"Filter: ON LSC Fc 200 Hz Gain 6 dB Q 0.7071", 20000, 0.0, 0.01},
                      LevelCase{"Filter: ON HS 12dB Fc 5000 Hz Gain -4 dB", 5000, -2.0, 1e-6},
                      LevelCase{"Filter: ON LS Fc 100 Hz Gain 5 dB", 100, 2.5, 1e-6},
                      LevelCase{"Filter: ON HP Fc 100 Hz", 100, -3.0103, 1e-3},
                      LevelCase{"Filter: ON HP Fc 100 Hz", 25, -24.1, 0.1},
                      LevelCase{"Filter: ON LPQ Fc 1000 Hz Q 2", 1000, 6.0206, 1e-3},
                      LevelCase{"Filter: ON LP1 Fc 1000 Hz", 1000, -3.0103, 1e-3},
                      LevelCase{"Filter: ON HP1 Fc 1000 Hz", 1000, -3.0103, 1e-3},
                      LevelCase{"Filter: ON NO Fc 60 Hz Q 10", 61, -10.0, 10.0},
                      LevelCase{"Filter: ON AP Fc 300 Hz Q 0.7", 1234, 0.0, 1e-9},
                      LevelCase{"Filter: ON BP Fc 2000 Hz Q 3", 2000, 0.0, 1e-9}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(FilterTargetTest, IsTheSumOfTheFiltersOverTheGraphColumns) {
    const FilterFile file = ParseFilterText(
        "Filter 1: ON PK Fc 100 Hz Gain -5 dB Q 4\n"
        "Filter 2: ON HSC Fc 8000 Hz Gain 3 dB Q 0.7\n"
        "Filter 3: ON NO Fc 50 Hz\n");
    ASSERT_EQ(file.filters.size(), 3u);
    const auto target = FilterFileTarget(file.filters);
    for (int column : {0, 100, 255, 400, 511}) {
        const double hz = FrequencyAtPosition(column / double(kEqColumns));
        double sum = 0;
        for (const FileFilter& f : file.filters) sum += FileFilterDb(f, hz);
        EXPECT_FLOAT_EQ(target[column], static_cast<float>(sum));
    }
    // A notch's centre is very deep but finite.
    FileFilter notch = file.filters[2];
    EXPECT_LT(FileFilterDb(notch, 50.0), -60.0);
    EXPECT_TRUE(std::isfinite(FileFilterDb(notch, 50.0)));
}

}  // namespace
}  // namespace sonoria
