// Filter files imported into a view by value: each filter into a band of its
// own kind, the untaken peaks and shelves flat, and the files that cannot be
// placed refused with the line that could not.
#include "eq/EqImport.h"

#include <gtest/gtest.h>

#include "state/DeviceState.h"

namespace sonoria {
namespace {

struct MicView : ::testing::Test {
    void SetUp() override {
        ResetDeviceState();
        count = FillEqViewBands(EqView::Mic, bands);
    }
    std::optional<EqImport> Import(const char* text, std::string* why = nullptr) {
        return ImportByValues(EqView::Mic, std::span(bands.data(), count), ParseFilterText(text), why);
    }
    std::array<EqBand, kEqMaxBands> bands{};
    int count = 0;
};

TEST_F(MicView, PeaksGoIntoPeakBandsAsWrittenAndTheOtherPeaksAndShelvesGoFlat) {
    const auto import = Import(
        "Filter 1: ON PK Fc 1234 Hz Gain -3.3 dB Q 2.37\n"
        "Filter 2: ON PK Fc 95 Hz Gain 4.1 dB Q 1.1\n");
    ASSERT_TRUE(import);
    ASSERT_EQ(import->placements.size(), 2u);
    const EqBand& first = import->bands[static_cast<std::size_t>(import->placements[0].band)];
    const EqBand& second = import->bands[static_cast<std::size_t>(import->placements[1].band)];
    EXPECT_EQ(first.type, EqBandType::Peak);
    EXPECT_NEAR(first.frequency, 1234, 1234 * 0.005);  // to the device's resolution
    EXPECT_NEAR(first.gain, -3.3, 0.05);
    EXPECT_NEAR(first.q, 2.37, 0.01);
    EXPECT_NEAR(second.frequency, 95, 0.5);
    EXPECT_NEAR(second.gain, 4.1, 0.05);
    for (int i : import->changed) {
        const EqBand& band = import->bands[static_cast<std::size_t>(i)];
        EXPECT_NE(band.type, EqBandType::LowPass);   // pass filters keep their values
        EXPECT_NE(band.type, EqBandType::HighPass);
        if (&band != &first && &band != &second) {
            EXPECT_EQ(band.gain, 0.0f);
        }
    }
    // The graph's own band math is not the file's: the error is told, not hidden.
    EXPECT_GT(import->rmsErrorDb, 0.0);
    EXPECT_GE(import->maxErrorDb, import->rmsErrorDb);
}

TEST_F(MicView, FiltersThatFindNoBandOfTheirKindAreRefusedWithTheirLine) {
    struct Case {
        const char* file;
        const char* reason;
    };
    const Case cases[] = {
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 1\nFilter 2: ON LP1 Fc 5000 Hz", "line 2: no band is a first-order low-pass"},
        {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 0.5", "line 1: a value outside the band's limits"},
        {"Filter 1: ON PK Fc 100 Hz Gain -14 dB Q 1", "line 1: a value outside the band's limits"},
        {"Filter: ON PK Fc 100 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 200 Hz Gain 1 dB Q 1\n"
         "Filter: ON PK Fc 300 Hz Gain 1 dB Q 1\nFilter: ON PK Fc 400 Hz Gain 1 dB Q 1\n"
         "Filter: ON PK Fc 500 Hz Gain 1 dB Q 1",
         "line 5: no free band for a peaking"},
    };
    for (const Case& c : cases) {
        std::string why;
        EXPECT_FALSE(Import(c.file, &why)) << c.file;
        EXPECT_EQ(why, c.reason);
    }
}

}  // namespace
}  // namespace sonoria
