#include "eq/EqTotal.h"

namespace sonoria {
namespace {

constexpr float kLowestAudibleHz = 20.0f;
constexpr float kHighestAudibleHz = 20000.0f;
constexpr float kHighestSelectedAreaHz = 19200.0f;
// An output low-pass above this is off on the device (its parameter reads 0).
constexpr float kLowPassOffAboveHz = 15200.0f;

// Layouts whose views include the centre and sub outputs' own filters, and
// the two that show nothing but those filters.
bool ShowsOutputFilters(int layout) { return layout >= 5 && layout <= 10; }
bool ShowsOnlyOutputFilters(int layout) { return layout == 9 || layout == 10; }

bool IsLowPassOff(const EqBand& band) {
    return band.type == EqBandType::LowPass && band.frequency > kLowPassOffAboveHz;
}

}  // namespace

bool TakesPartInTotal(const EqBand& band, int layout) {
    if (band.type == EqBandType::Off) return false;
    // Written so that a NaN frequency fails too.
    if (!(band.frequency >= kLowestAudibleHz && band.frequency <= kHighestAudibleHz)) return false;
    return !(ShowsOutputFilters(layout) && IsLowPassOff(band));
}

bool ShowsSelectedArea(const EqBand& band, int layout) {
    if (band.type == EqBandType::Off) return false;
    if (!(band.frequency <= kHighestSelectedAreaHz)) return false;
    return !(ShowsOnlyOutputFilters(layout) && IsLowPassOff(band));
}

std::array<float, kEqColumns> TotalResponse(std::span<const EqBand> bands, int layout) {
    std::array<float, kEqColumns> sum{};
    for (const EqBand& band : bands) {
        if (!TakesPartInTotal(band, layout)) continue;
        for (int i = 0; i < kEqColumns; ++i) sum[i] += band.response[i];
    }
    return sum;
}

}  // namespace sonoria
