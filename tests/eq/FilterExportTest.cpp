// A view written as a filter file and read back into the same view by values
// gives back the raw values it holds, in both formats and every view.
#include "eq/FilterExport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "eq/EqFit.h"
#include "eq/EqViewSend.h"
#include "state/DeviceState.h"
#include "state/ParamReaders.h"

namespace sonoria {
namespace {

std::vector<int> Raws(EqView view) {
    std::vector<int> raws;
    for (const EqViewValue& value : EqViewFillOrder(view)) raws.push_back(ReadParam(*value.param));
    return raws;
}

TEST(FilterExport, ExportThenImportByValuesKeepsEveryRawValue) {
    int checked = 0;
    for (int v = 0; v < kEqViewCount; ++v) {
        const EqView view = static_cast<EqView>(v);
        for (const FilterExportFormat format : {FilterExportFormat::Apo, FilterExportFormat::Rew}) {
            SCOPED_TRACE(std::string(EqViewName(view)) + (format == FilterExportFormat::Apo ? " apo" : " rew"));
            ResetDeviceState();
            std::array<EqBand, kEqMaxBands> bands{};
            int count = FillEqViewBands(view, bands);
            // Values away from the reset ones, inside every band's limits.
            for (int i = 0; i < count; ++i) {
                EqBand& band = bands[static_cast<std::size_t>(i)];
                if (!EditableBand(view, band)) continue;
                band.frequency = std::sqrt(band.minFrequency * band.maxFrequency);
                band.gain = LimitValue(2.5f, band.minGain, band.maxGain);
                band.q = std::sqrt(band.minQ * band.maxQ);
                SendEqViewBand(view, band);
            }
            count = FillEqViewBands(view, bands);
            const std::span<const EqBand> held(bands.data(), static_cast<std::size_t>(count));
            const std::vector<int> before = Raws(view);

            const std::string text = ExportFilterText(format, view, held, "10 December 2026");
            const FilterFile file = ParseFilterText(text);
            EXPECT_TRUE(file.skipped.empty()) << text;
            const EqImportChoice choice = PlanFilterImport(view, held, file);
            if (file.filters.empty()) continue;  // a view without editable bands writes no filter
            ASSERT_TRUE(choice.values) << choice.valuesRefusal << "\n" << text;
            EXPECT_EQ(choice.preferred, EqImportWay::Values);
            SendEqImport(view, *choice.values);
            EXPECT_EQ(Raws(view), before) << text;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2 * kEqViewCount);
}

TEST(FilterExport, WritesOneFilterLinePerEditableBandWithTheRewHeader) {
    ResetDeviceState();
    std::array<EqBand, kEqMaxBands> bands{};
    const int count = FillEqViewBands(EqView::Mic, bands);
    const std::string rew = ExportFilterText(FilterExportFormat::Rew, EqView::Mic,
                                             std::span(bands.data(), static_cast<std::size_t>(count)), "today");
    EXPECT_EQ(rew.rfind("Filter Settings file\n", 0), 0u);
    EXPECT_NE(rew.find("Equaliser: Generic\n"), std::string::npos);
    EXPECT_NE(rew.find("\nFilter 1: ON HPQ Fc "), std::string::npos);
    EXPECT_NE(rew.find("\nFilter 3: ON PK Fc "), std::string::npos);
    EXPECT_NE(rew.find("\nFilter 8: ON LPQ Fc "), std::string::npos);
    EXPECT_EQ(FilterExportFormatFromName("apo"), FilterExportFormat::Apo);
    EXPECT_EQ(FilterExportFormatFromName("csv"), std::nullopt);
}

}  // namespace
}  // namespace sonoria
