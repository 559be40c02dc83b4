// Filter files fitted to the bands a view has: the fit stays inside the
// device's limits, finds a curve the bands can draw, and tells the error of
// the curve the graph will show after rounding to the device's values.
#include "eq/EqFit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "eq/EqAxes.h"
#include "eq/EqResponse.h"
#include "eq/EqTotal.h"
#include "eq/FilterTarget.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

struct ViewBands {
    explicit ViewBands(EqView v) : view(v) {
        ResetDeviceState();
        count = FillEqViewBands(view, bands);
    }
    std::span<const EqBand> Current() const { return std::span(bands.data(), static_cast<std::size_t>(count)); }
    EqView view;
    std::array<EqBand, kEqMaxBands> bands{};
    int count = 0;
};

// RMS and largest deviation of the view's editable bands from a target, as a
// user would measure them from the two curves.
std::pair<double, double> Deviation(EqView view, const EqImport& import, std::span<const float, kEqColumns> target) {
    std::vector<EqBand> drawn;
    for (int i = 0; i < import.count; ++i) {
        if (EditableBand(view, import.bands[i])) drawn.push_back(import.bands[i]);
    }
    const auto curve = TotalResponse(drawn, EqViewLayout(view));
    double sum = 0, largest = 0;
    int n = 0;
    for (int c = 0; c < kEqColumns; ++c) {
        const double hz = FrequencyAtPosition(c / double(kEqColumns));
        if (hz < 20 || hz > 20000) continue;
        const double d = curve[c] - target[c];
        sum += d * d;
        largest = std::max(largest, std::abs(d));
        ++n;
    }
    return {std::sqrt(sum / n), largest};
}

void ExpectWithinLimits(const EqImport& import) {
    for (int i : import.changed) {
        const EqBand& b = import.bands[static_cast<std::size_t>(i)];
        EXPECT_GE(b.frequency, b.minFrequency - 0.5f) << i;
        EXPECT_LE(b.frequency, b.maxFrequency + 0.5f) << i;
        EXPECT_GE(b.gain, b.minGain - 0.05f) << i;
        EXPECT_LE(b.gain, b.maxGain + 0.05f) << i;
    }
}

TEST(EqFit, FindsTheCurveOfBandValuesTheViewCanHold) {
    ViewBands mic(EqView::Mic);
    // The graph's own curve of some band values is the target: the fit, from
    // the view's reset bands, must find a curve that close to it.
    std::array<EqBand, kEqMaxBands> shaped = mic.bands;
    struct Set {
        int band;
        float hz, db, q;
    };
    for (const Set& s : {Set{1, 120, 4, 0}, Set{2, 250, -5, 2}, Set{3, 1800, 3.5, 1.2}, Set{4, 6000, -4, 3},
                         Set{5, 600, 0, 1}, Set{6, 8000, 2.5, 0}}) {
        EqBand& b = shaped[static_cast<std::size_t>(s.band)];
        b.frequency = s.hz;
        b.gain = s.db;
        if (s.q > 0) b.q = s.q;
        ComputeBandResponse(b);
    }
    std::vector<EqBand> drawn;
    for (int i = 0; i < mic.count; ++i) {
        if (EditableBand(EqView::Mic, shaped[i])) drawn.push_back(shaped[i]);
    }
    const auto target = TotalResponse(drawn, EqViewLayout(EqView::Mic));
    const auto fit = FitToTarget(EqView::Mic, mic.Current(), target);
    ASSERT_TRUE(fit);
    EXPECT_LT(fit->rmsErrorDb, 0.1);
    EXPECT_NEAR(fit->rmsErrorDb, Deviation(EqView::Mic, *fit, target).first, 1e-6);
    ExpectWithinLimits(*fit);
}

TEST(EqFit, TenFiltersIntoTwoBandsReportTheirTrueError) {
    ViewBands reverb(EqView::Reverb);
    const FilterFile file = ParseFilterText(
        "Preamp: -6 dB\n"
        "Filter 1: ON PK Fc 40 Hz Gain 5 dB Q 1\n"
        "Filter 2: ON PK Fc 90 Hz Gain -4 dB Q 3\n"
        "Filter 3: ON LSC Fc 150 Hz Gain 2 dB\n"
        "Filter 4: ON PK Fc 300 Hz Gain 3 dB Q 2\n"
        "Filter 5: ON PK Fc 700 Hz Gain -6 dB Q 4\n"
        "Filter 6: ON PK Fc 1500 Hz Gain 2 dB Q 1\n"
        "Filter 7: ON NO Fc 2500 Hz\n"
        "Filter 8: ON PK Fc 4000 Hz Gain -3 dB Q 5\n"
        "Filter 9: ON HSC Fc 8000 Hz Gain 4 dB\n"
        "Filter 10: ON PK Fc 12000 Hz Gain -5 dB Q 2\n");
    ASSERT_EQ(file.filters.size(), 10u);
    const EqImportChoice choice = PlanFilterImport(EqView::Reverb, reverb.Current(), file);
    EXPECT_FALSE(choice.values);  // more filters than bands, and kinds no band has
    EXPECT_EQ(choice.preferred, EqImportWay::Fit);
    ASSERT_TRUE(choice.fit);
    const auto [rms, largest] = Deviation(EqView::Reverb, *choice.fit, FilterFileTarget(file.filters));
    EXPECT_NEAR(choice.fit->rmsErrorDb, rms, 1e-6);
    EXPECT_NEAR(choice.fit->maxErrorDb, largest, 1e-6);
    EXPECT_GT(rms, 0.5);  // two bands cannot draw ten filters: the error says so
    EXPECT_EQ(choice.fit->placements.size(), 10u);
    ExpectWithinLimits(*choice.fit);
}

TEST(EqFit, PassBandsAreSetOnlyFromPassFiltersAndLockedBandsStay) {
    ViewBands center(EqView::CenterMic);  // carries locked reference copies
    const FilterFile peaks = ParseFilterText("Filter: ON PK Fc 500 Hz Gain 3 dB Q 2\n");
    const auto fit = ImportByFit(EqView::CenterMic, center.Current(), peaks);
    ASSERT_TRUE(fit);
    bool sawLocked = false;
    for (int i = 0; i < center.count; ++i) {
        const EqBand& before = center.bands[i];
        const EqBand& after = fit->bands[i];
        if (before.locked || before.type == EqBandType::LowPass || before.type == EqBandType::HighPass) {
            sawLocked |= before.locked;
            EXPECT_EQ(after.frequency, before.frequency) << i;
            EXPECT_EQ(after.gain, before.gain) << i;
            EXPECT_EQ(after.q, before.q) << i;
        }
    }
    EXPECT_TRUE(sawLocked);

    ViewBands mic(EqView::Mic);
    const FilterFile withPass = ParseFilterText("Filter: ON HP Fc 120 Hz\nFilter: ON PK Fc 500 Hz Gain 3 dB Q 2\n");
    const auto passFit = ImportByFit(EqView::Mic, mic.Current(), withPass);
    ASSERT_TRUE(passFit);
    EXPECT_NEAR(passFit->bands[0].frequency, 120, 120 * 0.05);  // to the device's resolution
    EXPECT_EQ(passFit->placements[0].band, 0);
}

}  // namespace
}  // namespace sonoria
