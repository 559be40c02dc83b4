// Filter files as the measurement and correction tools write them: one row
// per line form, the reasons lines are not used, and the files refused.
#include "eq/FilterFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <string>

namespace sonoria {
namespace {

struct LineCase {
    const char* line;
    FileFilterKind kind;
    double frequency, gain;
    std::optional<double> q, bandwidth, slope;
};

class FilterLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(FilterLineTest, IsReadAsWritten) {
    const LineCase& c = GetParam();
    const FilterFile file = ParseFilterText(c.line);
    ASSERT_EQ(file.filters.size(), 1u) << c.line << (file.skipped.empty() ? "" : ": " + file.skipped[0].reason);
    const FileFilter& f = file.filters[0];
    EXPECT_EQ(f.kind, c.kind);
    EXPECT_DOUBLE_EQ(f.frequencyHz, c.frequency);
    EXPECT_DOUBLE_EQ(f.gainDb, c.gain);
    EXPECT_EQ(f.q, c.q);
    EXPECT_EQ(f.bandwidthOct, c.bandwidth);
    EXPECT_EQ(f.slopeDb, c.slope);
    EXPECT_EQ(f.line, 1);
}

using K = FileFilterKind;
constexpr auto no = std::nullopt;
INSTANTIATE_TEST_SUITE_P(
    Forms, FilterLineTest,
    ::testing::Values(
        LineCase{"Filter 1: ON PK Fc 100 Hz Gain -3.5 dB Q 1.41", K::Peaking, 100, -3.5, 1.41, no, no},
        LineCase{"Filter: ON PEQ Fc 1000 Hz Gain 2 dB Q 0.7", K::Peaking, 1000, 2, 0.7, no, no},
        LineCase{"Filter  12: ON  PK       Fc   2500.0 Hz  Gain  -6.20 dB  Q  4.000", K::Peaking, 2500, -6.2, 4.0,
                 no, no},
        LineCase{"filter 2: on Modal Fc 45,5 Hz Gain -4,25 dB Q 6,1", K::Peaking, 45.5, -4.25, 6.1, no, no},
        LineCase{"Filter 3: ON PK Fc 500Hz Gain +1.5dB BW Oct 0.5", K::Peaking, 500, 1.5, no, 0.5, no},
        LineCase{"Filter 4: ON LSC 9 dB Fc 105 Hz Gain 6.5 dB", K::LowShelf, 105, 6.5, no, no, 9.0},
        LineCase{"Filter 5: ON LS 6dB Fc 80 Hz Gain 3 dB", K::LowShelf, 80, 3, no, no, 6.0},
        LineCase{"Filter 6: ON HS 12dB Fc 8000 Hz Gain -2 dB", K::HighShelf, 8000, -2, no, no, 12.0},
        LineCase{"Filter 7: ON LSC Fc 105 Hz Gain 5.8 dB Q 0.70", K::LowShelf, 105, 5.8, 0.7, no, no},
        LineCase{"Filter 8: ON HSQ Fc 10000 Hz Gain -3 dB Q 0.8", K::HighShelf, 10000, -3, 0.8, no, no},
        LineCase{"Filter 9: ON HP Fc 30 Hz", K::HighPass, 30, 0, no, no, no},
        LineCase{"Filter 10: ON LPQ Fc 18 kHz Q 0.5", K::LowPass, 18000, 0, 0.5, no, no},
        LineCase{"Filter 11: ON HP1 Fc 25 Hz", K::HighPass1, 25, 0, no, no, no},
        LineCase{"Filter 12: ON LP1 Fc 20000 Hz", K::LowPass1, 20000, 0, no, no, no},
        LineCase{"Filter 13: ON NO Fc 60 Hz Q 30", K::Notch, 60, 0, 30.0, no, no},
        LineCase{"Filter 14: ON AP Fc 300 Hz Q 0.7", K::AllPass, 300, 0, 0.7, no, no},
        LineCase{"Filter 15: ON BP Fc 1000 Hz", K::BandPass, 1000, 0, no, no, no}),
    [](const auto& info) { return std::to_string(info.index); });

struct SkipCase {
    const char* line;
    const char* reason;
};

class SkippedLineTest : public ::testing::TestWithParam<SkipCase> {};

TEST_P(SkippedLineTest, SaysWhy) {
    // The line comes after a usable filter: its number is 2.
    const FilterFile file = ParseFilterText(std::string("Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n") + GetParam().line);
    ASSERT_EQ(file.filters.size(), 1u);
    ASSERT_EQ(file.skipped.size(), 1u);
    EXPECT_EQ(file.skipped[0].line, 2);
    EXPECT_EQ(file.skipped[0].reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, SkippedLineTest,
    ::testing::Values(SkipCase{"Filter 2: ON XY Fc 100 Hz", "unknown filter type XY"},
                      SkipCase{"Filter 2: ON PK Gain 3 dB Q 1", "missing frequency"},
                      SkipCase{"Filter 2: ON PK Fc 100 Hz Q 1", "missing gain"},
                      SkipCase{"Filter 2: ON PK Fc 100 Hz Gain 3 dB", "missing Q"},
                      SkipCase{"Filter 2: ON PK Fc nan Hz Gain 3 dB Q 1", "value not finite"},
                      SkipCase{"Filter 2: ON PK Fc 100 Hz Gain inf dB Q 1", "value not finite"},
                      SkipCase{"Filter 2: ON PK Fc 5 Hz Gain 3 dB Q 1", "frequency outside 10 Hz..24 kHz"},
                      SkipCase{"Filter 2: ON PK Fc 30000 Hz Gain 3 dB Q 1", "frequency outside 10 Hz..24 kHz"},
                      SkipCase{"Filter 2: ON PK Fc 100 Hz Gain 3 dB Q 0", "Q not positive"},
                      SkipCase{"Channel: L", "command not used: Channel"},
                      SkipCase{"Delay: 2 ms", "command not used: Delay"},
                      SkipCase{"GraphicEQ: 20 0; 40 1", "command not used: GraphicEQ"},
                      SkipCase{"Include: other.txt", "command not used: Include"},
                      SkipCase{"Preamp: loud", "missing value"},
                      SkipCase{"turn the bass up", "not a filter line"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(FilterFileTest, AnRewFileIsReadPastItsHeaderInAnyScriptWithItsEmptySlotsCounted) {
    const std::string text =
        "\xEF\xBB\xBF"
        "Filter Settings file\r\n"
        "\r\n"
        "Room EQ V5.31\r\n"
        "Dated: 2026\xE5\xB9\xB4" "12\xE6\x9C\x88" "9\xE6\x97\xA5 \xB0\xA1\r\n"  // a date in another script, a stray byte
        "\r\n"
        "Notes: living room, seat 2\r\n"
        "\r\n"
        "Equaliser: Generic\r\n"
        "Left sub 48k\r\n"
        "Filter  1: ON  PK       Fc   41,20 Hz  Gain  -7,40 dB  Q  5,000\r\n"
        "Filter  2: ON  None\r\n"
        "Filter  3: OFF PK       Fc   100.0 Hz  Gain   2.00 dB  Q  1.000\r\n"
        "Filter  4: ON  LS       Fc   60.00 Hz  Gain   3.00 dB\r\n";
    const FilterFile file = ParseFilterText(text);
    ASSERT_EQ(file.filters.size(), 2u);
    EXPECT_TRUE(file.skipped.empty()) << file.skipped[0].line << " " << file.skipped[0].reason;
    EXPECT_EQ(file.emptySlots, 2);
    EXPECT_EQ(file.filters[0].line, 10);
    EXPECT_DOUBLE_EQ(file.filters[0].frequencyHz, 41.2);
    EXPECT_DOUBLE_EQ(file.filters[0].gainDb, -7.4);
    EXPECT_EQ(file.filters[1].kind, FileFilterKind::LowShelf);
}

TEST(FilterFileTest, AnApoFileGivesItsPreampAndShowsUnusedLinesPrintably) {
    const FilterFile file = ParseFilterText(
        "# correction\nPreamp: -6,3 dB\nDevice: \xFF\xFE speakers\nFilter 1: ON PK Fc 1000 Hz Gain -2 dB Q 2");
    ASSERT_EQ(file.filters.size(), 1u);
    ASSERT_TRUE(file.preampDb);
    EXPECT_DOUBLE_EQ(*file.preampDb, -6.3);
    ASSERT_EQ(file.skipped.size(), 1u);
    EXPECT_EQ(file.skipped[0].line, 3);
    EXPECT_EQ(file.skipped[0].text, "Device: ?? speakers");
}

TEST(FilterFileTest, FilesThatAreNotFilterFilesAreRefused) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / ("filter-file-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto write = [&](const char* name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return dir / name;
    };
    EXPECT_TRUE(ReadFilterFile(write("good.txt", "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n")).file);
    EXPECT_FALSE(ReadFilterFile(dir).file);                       // a folder
    EXPECT_FALSE(ReadFilterFile(dir / "missing.txt").file);
    EXPECT_FALSE(ReadFilterFile(write("none.txt", "Filter 1: ON None\nPreamp: -3 dB\n")).file);
    std::string big(kFilterFileMaxBytes + 1, ' ');
    big.replace(0, 40, "Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\n");
    const FilterFileRead refused = ReadFilterFile(write("big.txt", big));
    EXPECT_FALSE(refused.file);
    EXPECT_NE(refused.error.find("64 KiB"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace sonoria
