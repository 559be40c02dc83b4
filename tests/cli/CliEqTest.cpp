// sonoria-cli eq: the bands of an EQ view and the curve the graph draws,
// printed from the device after its read-all; filter files imported into a
// view and exported from it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/CliFixture.h"
#include "eq/EqTotal.h"
#include "eq/EqViews.h"
#include "eq/FilterFile.h"

namespace sonoria::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The parameter writes (command 9) of a traced run, in order.
std::vector<std::string> ParamWrites(const std::string& trace) {
    std::vector<std::string> writes;
    for (const std::string& line : Lines(trace)) {
        if (line.rfind("> 02 09 ", 0) == 0) writes.push_back(line);
    }
    return writes;
}

// The trace line of a write of `raw` to block/index (trailing zero bytes are not shown).
std::string WriteLine(int block, int index, int raw) {
    char text[48];
    std::snprintf(text, sizeof text, "> 02 09 %02x %02x %02x %02x", block, index, raw >> 8, raw & 0xFF);
    std::string line = text;
    while (line.ends_with(" 00")) line.resize(line.size() - 3);
    return line;
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

TEST_F(CliEqTest, ImportByValuesSendsTheBandsItSetsAndADryRunSendsNothing) {
    const std::string room = Path("room.txt");
    std::ofstream(room) << "Preamp: -3.5 dB\nFilter 1: ON PK Fc 1000 Hz Gain -3 dB Q 2\nFilter 2: ON XX Fc 50 Hz\nhello\n";
    const CliRun run = Cli({"--virtual", "--trace", "eq", "mic", "--import", room});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    // Peak 1 takes the filter; the shelves and other peaks go flat, as they
    // already are, so their raw values go back unchanged.
    EXPECT_EQ(ParamWrites(run.err), (std::vector<std::string>{
                                        "> 02 09 01 09 40", "> 02 09 01 0a 0c cd",  // low shelf
                                        "> 02 09 01 0e 30", "> 02 09 01 10 06 8e",  // -3 dB, 1000 Hz,
                                        "> 02 09 01 0f 4e ee",                      // Q 2
                                        "> 02 09 01 11 40", "> 02 09 01 13 1a 3d", "> 02 09 01 12 39 e7",
                                        "> 02 09 02 01 40", "> 02 09 02 03 06 8f", "> 02 09 02 02 39 e7",
                                        "> 02 09 02 04 40", "> 02 09 02 06 1a 3d", "> 02 09 02 05 39 e7",
                                        "> 02 09 01 0b 40", "> 02 09 01 0c 55 55"}));  // high shelf
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 12u) << run.out;
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 7),
              (std::vector<std::string>{"band 1 LOWSHELF 100.00 0.00 0.100", "band 2 PEAK 999.00 -3.00 2.000",
                                        "band 3 PEAK 3999.00 0.00 1.400", "band 4 PEAK 999.00 0.00 1.400",
                                        "band 5 PEAK 3999.00 0.00 1.400", "band 6 HIGHSHELF 2000.00 0.00 0.100",
                                        "# way values"}));
    double rms = -1, max = -1;
    EXPECT_EQ(std::sscanf(lines[7].c_str(), "# rms-error-db %lf", &rms), 1);
    EXPECT_EQ(std::sscanf(lines[8].c_str(), "# max-error-db %lf", &max), 1);
    EXPECT_TRUE(rms >= 0 && rms <= max && max < 0.5) << run.out;  // the device holds 999 Hz, not 1000
    EXPECT_EQ(std::vector(lines.begin() + 9, lines.end()),
              (std::vector<std::string>{"# preamp-db -3.50",
                                        "# skipped line 3: Filter 2: ON XX Fc 50 Hz (unknown filter type XX)",
                                        "# skipped line 4: hello (not a filter line)"}));
    // The line names the way the bands came from (a fit may fall back to the values).
    for (const auto& [way, printed] : {std::pair{"--values", "\n# way values\n"}, {"--fit", "\n# way "}}) {
        const CliRun dry = Cli({"--virtual", "--trace", "eq", "mic", "--import", room, way, "--dry-run"});
        EXPECT_EQ(dry.status, kExitOk) << dry.err;
        EXPECT_TRUE(ParamWrites(dry.err).empty()) << way;
        EXPECT_TRUE(dry.OutHas(printed)) << dry.out;
    }
}

TEST_F(CliEqTest, RefusedImportsAndMisplacedOptionsSendNothing) {
    const std::string room = Path("room.txt"), big = Path("big.txt"), folder = Path("folder");
    const std::string none = Path("none.txt"), five = Path("five.txt");
    const std::string peak = "Filter: PK Fc 1000 Hz Gain -3 dB Q 2\n";
    std::ofstream(room) << peak;
    std::ofstream(big) << peak << std::string(kFilterFileMaxBytes, '\n');
    std::ofstream(none) << "Preamp: -2 dB\n# a comment\n";
    std::ofstream(five) << peak << peak << peak << peak << peak;  // the mic EQ has four peaks
    std::filesystem::create_directory(folder);
    const std::string oneOf = "eq takes only one of --response, --import and --export";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string error;
    } cases[] = {
        {{"eq", "mic", "--import", big}, kExitFile, big + " is larger than 64 KiB: not a filter file"},
        {{"eq", "mic", "--import", folder}, kExitFile, folder + " is not a regular file"},
        {{"eq", "mic", "--import", none}, kExitFile, none + " holds no filter line that can be used"},
        // Only this one reads the device: the bands free for the file are the view's.
        {{"eq", "mic", "--import", five, "--values"}, kExitUsage,
         "the file cannot be imported by values: line 5: no free band for a peaking; nothing was sent"},
        {{"eq", "mic", "--fit"}, kExitUsage, "--fit goes with eq --import only"},
        {{"eq", "mic", "--export", "apo", "--values"}, kExitUsage, "--values goes with eq --import only"},
        {{"dump", "--dry-run"}, kExitUsage, "--dry-run goes with eq --import only"},
        {{"eq", "mic", "--import", room, "--fit", "--values"}, kExitUsage, "--fit and --values are two ways"},
        {{"eq", "mic", "--import", room, "--response"}, kExitUsage, oneOf},
        {{"eq", "mic", "--import", room, "--export", "rew"}, kExitUsage, oneOf},
        {{"info", "--import", room}, kExitUsage, "--import goes with eq only"},
        {{"info", "--export", "apo"}, kExitUsage, "--export goes with eq only"},
        {{"eq", "mic", "--export", "csv"}, kExitUsage, "--export takes apo or rew, not \"csv\""},
        {{"eq", "mic", "--import"}, kExitUsage, "--import takes a filter file"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--virtual", "--trace"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, c.status) << c.error;
        EXPECT_TRUE(run.ErrHas("error: " + c.error)) << run.err;
        EXPECT_TRUE(ParamWrites(run.err).empty()) << c.error;
        EXPECT_EQ(run.NothingSent(), !c.error.starts_with("the file cannot")) << c.error;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

TEST_F(CliEqTest, AnExportImportedIntoTheSameViewSendsTheRawValuesTheViewHolds) {
    // The low shelf and peak 1 at raw values between those their texts convert back to.
    const std::string device = "--virtual-state=" + SavedFile("odd", {{58, 0x4a}, {59, 0x17}, {68, 0x34},
                                                                      {69, 0x56}, {70, 0x51}, {71, 0x23}});
    std::set<std::string> held;  // a write of what each parameter holds
    for (const std::string& line : Lines(Cli({device, "dump"}).out)) {
        int block = 0, index = 0, raw = 0;
        if (std::sscanf(line.c_str(), "%*s %d/%d %d", &block, &index, &raw) == 3) {
            held.insert(WriteLine(block, index, raw));
        }
    }
    const CliRun apo = Cli({device, "eq", "mic", "--export", "apo"});
    ASSERT_EQ(apo.status, kExitOk) << apo.err;
    std::ofstream(Path("mic.txt")) << apo.out;
    const CliRun run = Cli({device, "--trace", "eq", "mic", "--import", Path("mic.txt"), "--values"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<std::string> writes = ParamWrites(run.err);
    EXPECT_EQ(writes.size(), 18u);  // every value of the eight bands
    for (const std::string& write : writes) EXPECT_TRUE(held.contains(write)) << write;
    // The REW file holds the same filters under its header.
    const CliRun rew = Cli({device, "eq", "mic", "--export", "rew"});
    EXPECT_EQ(rew.out.rfind("Filter Settings file\n\nDated: ", 0), 0u) << rew.out;
    EXPECT_TRUE(rew.out.ends_with("\nmic\n" + apo.out)) << rew.out;
}

}  // namespace
}  // namespace sonoria::cli
