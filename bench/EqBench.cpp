// Cost of redrawing EQ curves: one band's response (513 samples and their
// placement) is recomputed on every mouse move of a drag, so it must stay
// well below a frame; goal under 10 microseconds per band.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "eq/EqBand.h"
#include "eq/EqResponse.h"
#include "eq/EqTotal.h"
#include "eq/EqValues.h"
#include "state/ScalingRules.h"

namespace sonoria {
namespace {

void BandResponse(benchmark::State& state, EqBandType type, float q) {
    EqBand band;
    band.type = type;
    band.gain = 6.0f;
    band.q = q;
    int step = 0;
    for (auto _ : state) {
        // A different frequency each time, as during a drag.
        band.frequency = 100.0f + static_cast<float>(step++ % 1000);
        ComputeBandResponse(band);
        benchmark::DoNotOptimize(band.response.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BandResponse, Peak, EqBandType::Peak, 1.0f);
BENCHMARK_CAPTURE(BandResponse, LowPass, EqBandType::LowPass, 0.5f);
BENCHMARK_CAPTURE(BandResponse, HighPass, EqBandType::HighPass, 0.707f);
BENCHMARK_CAPTURE(BandResponse, LowShelf, EqBandType::LowShelf, 0.707f);
BENCHMARK_CAPTURE(BandResponse, HighShelf, EqBandType::HighShelf, 0.707f);

// The largest panel: 12 bands summed into the total curve.
void BM_EqTotalResponse(benchmark::State& state) {
    std::vector<EqBand> bands(12);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        bands[i].frequency = 50.0f * static_cast<float>(i + 1);
        bands[i].gain = 3.0f;
        ComputeBandResponse(bands[i]);
    }
    for (auto _ : state) {
        auto total = TotalResponse(bands, 5);
        benchmark::DoNotOptimize(total.data());
    }
}
BENCHMARK(BM_EqTotalResponse);

// A window filling one value from its parameter: format, then parse.
void BM_EqBandValueFromRaw(benchmark::State& state) {
    int raw = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(BandValueFromRaw(TextRule::QText, raw));
        raw = (raw + 97) % 32768;
    }
}
BENCHMARK(BM_EqBandValueFromRaw);

}  // namespace
}  // namespace sonoria
