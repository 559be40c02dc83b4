// Cost of fitting a filter file into a view: the import preview computes it
// while the user waits, so it must stay under 200 ms for the mic view's
// eight bands and a ten-filter room correction.
#include <benchmark/benchmark.h>

#include <array>

#include "eq/EqFit.h"
#include "state/DeviceState.h"

namespace sonoria {
namespace {

constexpr const char* kTenFilters =
    "Preamp: -6.2 dB\n"
    "Filter 1: ON LSC Fc 105 Hz Gain 4.5 dB Q 0.7\n"
    "Filter 2: ON PK Fc 48 Hz Gain -6.1 dB Q 2.1\n"
    "Filter 3: ON PK Fc 180 Hz Gain -3.4 dB Q 1.6\n"
    "Filter 4: ON PK Fc 420 Hz Gain 2.2 dB Q 0.9\n"
    "Filter 5: ON PK Fc 950 Hz Gain -2.8 dB Q 3.0\n"
    "Filter 6: ON PK Fc 2200 Hz Gain 3.1 dB Q 1.2\n"
    "Filter 7: ON PK Fc 3600 Hz Gain -4.0 dB Q 4.5\n"
    "Filter 8: ON PK Fc 6100 Hz Gain 2.5 dB Q 2.0\n"
    "Filter 9: ON PK Fc 9000 Hz Gain -3.2 dB Q 1.8\n"
    "Filter 10: ON HSC Fc 10000 Hz Gain -2.5 dB Q 0.7\n";

void BM_EqFitMicTenFilters(benchmark::State& state) {
    ResetDeviceState();
    std::array<EqBand, kEqMaxBands> bands{};
    const int count = FillEqViewBands(EqView::Mic, bands);
    const FilterFile file = ParseFilterText(kTenFilters);
    double rms = 0;
    for (auto _ : state) {
        const auto fit = ImportByFit(EqView::Mic, std::span(bands.data(), static_cast<std::size_t>(count)), file);
        rms = fit ? fit->rmsErrorDb : -1;
        benchmark::DoNotOptimize(rms);
    }
    state.counters["rms_error_db"] = rms;
}
BENCHMARK(BM_EqFitMicTenFilters)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sonoria
