// sonoria-cli eq: the bands of an EQ view and the curve the graph draws,
// printed from the device after its read-all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "cli/CliFixture.h"
#include "eq/EqTotal.h"
#include "eq/EqViews.h"

namespace sonoria::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

using CliEqTest = CliTest;

TEST_F(CliEqTest, ArgumentsAreCheckedBeforeAnyDeviceIsLookedFor) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"eq"}, {"eq", "centre-mic"}, {"eq", "mic", "music"}, {"eq", "MIC", "--response"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << args.size();
        EXPECT_TRUE(run.ErrHas("eq takes one EQ view: mic, music, main-mic, main-music, center-mic, center-music, "
                               "center-out, sub-mic, sub-music, sub-out, reverb, echo"))
            << run.err;
    }
    const CliRun misplaced = Cli({"info", "--response"});
    EXPECT_EQ(misplaced.status, kExitUsage);
    EXPECT_TRUE(misplaced.ErrHas("--response goes with eq only"));
}

TEST_F(CliEqTest, BandsOfAViewInPanelOrderWithTheReferenceBandsLocked) {
    const CliRun run = Cli({"--virtual", "--trace", "eq", "center-mic"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 12u);
    // The same bands the pages fill, from the image the run read.
    std::array<EqBand, kEqMaxBands> bands{};
    ASSERT_EQ(FillEqViewBands(EqView::CenterMic, bands), 12);
    for (int i = 0; i < 12; ++i) {
        const EqBand& band = bands[i];
        char expected[160];
        std::snprintf(expected, sizeof expected, "band %d %s %.2f %.2f %.3f%s", i,
                      std::string(EqBandTypeName(band.type)).c_str(), band.frequency, band.gain, band.q,
                      i >= 2 ? " locked" : "");
        EXPECT_EQ(lines[i], expected);
    }
    EXPECT_EQ(lines[0].rfind("band 0 PEAK ", 0), 0u);
    EXPECT_EQ(lines[2].rfind("band 2 HIGHPASS ", 0), 0u);
    EXPECT_EQ(lines[11].rfind("band 11 LOWPASS ", 0), 0u);
    // Reading sends no parameter.
    EXPECT_EQ(run.err.find("> 02 09"), std::string::npos);
}

TEST_F(CliEqTest, EffectEqsAndTheEchoLowShelfWhereTheDeviceHasIt) {
    const CliRun reverb = Cli({"--virtual", "eq", "reverb"});
    ASSERT_EQ(reverb.status, kExitOk) << reverb.err;
    const std::vector<std::string> reverbLines = Lines(reverb.out);
    ASSERT_EQ(reverbLines.size(), 2u);
    EXPECT_EQ(reverbLines[0].rfind("band 0 HIGHPASS ", 0), 0u);
    EXPECT_EQ(reverbLines[1].rfind("band 1 HIGHSHELF ", 0), 0u);

    // The virtual device reports the low shelf by default: three points.
    const CliRun echo = Cli({"--virtual", "eq", "echo"});
    ASSERT_EQ(echo.status, kExitOk) << echo.err;
    const std::vector<std::string> echoLines = Lines(echo.out);
    ASSERT_EQ(echoLines.size(), 3u);
    EXPECT_EQ(echoLines[0].rfind("band 0 HIGHPASS ", 0), 0u);
    EXPECT_EQ(echoLines[1].rfind("band 1 LOWSHELF ", 0), 0u);
    EXPECT_EQ(echoLines[2].rfind("band 2 HIGHSHELF ", 0), 0u);
    std::array<EqBand, kEqMaxBands> bands{};
    ASSERT_EQ(FillEqViewBands(EqView::Echo, bands), 3);
    char expected[160];
    std::snprintf(expected, sizeof expected, "band 2 HIGHSHELF %.2f %.2f %.3f", bands[2].frequency, bands[2].gain,
                  bands[2].q);
    EXPECT_EQ(echoLines[2], expected);
}

TEST_F(CliEqTest, ResponseIsTheCurveTheGraphDrawsColumnByColumn) {
    const CliRun run = Cli({"--virtual", "eq", "mic", "--response"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 513u);
    EXPECT_EQ(lines[0], "frequency_hz,gain_db");
    EXPECT_EQ(lines[1].rfind("10.00,", 0), 0u);  // column 0 stands for 10 Hz
    std::array<EqBand, kEqMaxBands> bands{};
    const int count = FillEqViewBands(EqView::Mic, bands);
    const auto total = TotalResponse(std::span<const EqBand>(bands.data(), count), EqViewLayout(EqView::Mic));
    for (int column = 0; column < kEqColumns; ++column) {
        double hz = 0, db = 0;
        ASSERT_EQ(std::sscanf(lines[column + 1].c_str(), "%lf,%lf", &hz, &db), 2) << lines[column + 1];
        // 3.4 decades from 10 Hz across the 512 columns.
        EXPECT_NEAR(hz, std::pow(10.0, 1.0 + 3.4 * column / 512.0), 0.006) << column;
        EXPECT_NEAR(db, total[column], 0.00006) << column;
    }
}

}  // namespace
}  // namespace sonoria::cli
