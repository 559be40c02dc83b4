#include "eq/EqResponse.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "eq/EqAxes.h"

namespace sonoria {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kCentreSample = 256;
// The smallest angle step of the sampling grids.
constexpr double kStep = kPi / 512;

// Warp widths D of the stretched grids: samples D..256 cover the angles 0..pi/2
// and samples 256..512-D cover pi/2..pi, so pass filters and shelves take their
// whole shape within fewer columns than a peak, whose grid spans 0..pi evenly.
constexpr int kPassWarp = 152;
constexpr int kShelfWarp = 120;

// Where the pass filters' stop-band tails turn into straight lines.
constexpr int kLowPassTailStart = 296;
constexpr int kHighPassTailStart = 216;
// Below this a high-pass is off and draws flat.
constexpr double kHighPassOffBelowHz = 19.7;

// The peak's Q widens by this factor (1 / 0.35714285714285715 = 2.8).
constexpr double kPeakQDivisor = 0.35714285714285715;

// The angle of sample i on the grid stretched by half-width `warp`. Below the
// stretched part the grid stays at one small step (not 0, where a high-pass
// has no level); above it at one step below pi.
double WarpedAngle(int i, int warp) {
    if (i <= kCentreSample) {
        if (i < warp) return kStep;
        return static_cast<double>(i - warp) / (kCentreSample - warp) * 256 * kStep;
    }
    if (i > 512 - warp) return 511 * kStep;
    return (static_cast<double>(i - kCentreSample) / (kCentreSample - warp) * 256 + 256) * kStep;
}

double PeakAngle(int i) { return i * kPi / 512; }

// (2 sin(w/2))^2, the only way the angle enters the magnitude.
double AngleTerm(double w) {
    const double s = 2 * std::sin(w / 2);
    return s * s;
}

// The grids' angle terms never change: computed once, shared by every band.
struct AngleTables {
    std::array<double, kEqSamples> peak{};
    std::array<double, kEqSamples> pass{};
    std::array<double, kEqSamples> shelf{};

    AngleTables() {
        for (int i = 0; i < kEqSamples; ++i) {
            peak[i] = AngleTerm(PeakAngle(i));
            pass[i] = AngleTerm(WarpedAngle(i, kPassWarp));
            shelf[i] = AngleTerm(WarpedAngle(i, kShelfWarp));
        }
    }
};

const AngleTables& Tables() {
    static const AngleTables tables;
    return tables;
}

// One polynomial x0 + x1 z^-1 + x2 z^-2 reduced to the three sums its
// squared magnitude needs: (x0 + x1 + x2)^2 + phi (x0 x2 phi - (x1 (x0 + x2) + 4 x0 x2)).
struct Poly {
    double sum2;
    double cross;
    double product;

    Poly(double x0, double x1, double x2)
        : sum2((x0 + x1 + x2) * (x0 + x1 + x2)), cross(x1 * (x0 + x2) + 4 * x0 * x2), product(x0 * x2) {}

    double Power(double phi) const { return sum2 + phi * (product * phi - cross); }
};

struct Section {
    Poly den;
    Poly num;

    explicit Section(const EqCoefficients& c) : den(c.a0, c.a1, c.a2), num(c.b0, c.b1, c.b2) {}

    double Db(double phi) const { return 10 * std::log10(num.Power(phi)) - 10 * std::log10(den.Power(phi)); }
};

// Samples `first` to `last` (inclusive, either direction) of the shape.
void Sample(const Section& section, const std::array<double, kEqSamples>& angles, double offset, int first,
            int last, EqSamples& samples) {
    const int step = first <= last ? 1 : -1;
    for (int i = first;; i += step) {
        samples[i] = static_cast<float>(section.Db(angles[i]) - offset);
        if (i == last) break;
    }
}

EqCoefficients Store(double a0, double a1, double a2, double b0, double b1, double b2) {
    return {static_cast<float>(a0), static_cast<float>(a1), static_cast<float>(a2),
            static_cast<float>(b0), static_cast<float>(b1), static_cast<float>(b2)};
}

// Some libraries a windowed program loads leave the upper halves of the AVX
// registers in use. Every SSE instruction after that pays a transition
// penalty (measured: a band's response 140 µs instead of 8 µs once the
// windows library is up). Clearing the upper halves first costs nothing and
// leaves the values in the SSE registers as they are.
void ClearUpperVectorHalves() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) asm volatile("vzeroupper");
#endif
}

}  // namespace

EqCoefficients ComputeCoefficients(EqBandType type, float gain, float q) {
    // Evaluated, not taken as 1 and 0: the small cosine is part of the shape's numbers.
    const double s = std::sin(kPi / 2);
    const double c = std::cos(kPi / 2);
    const double g = gain;
    switch (type) {
        case EqBandType::Off: break;
        case EqBandType::Peak: {
            const double a = std::pow(10.0, g / 40);
            const double wideQ = static_cast<float>(q / kPeakQDivisor);
            const double alpha = s / (2 * wideQ);
            return Store(1 + alpha / a, -2 * c, 1 - alpha / a, 1 + alpha * a, -2 * c, 1 - alpha * a);
        }
        case EqBandType::LowPass:
        case EqBandType::HighPass: {
            const double alpha = s / (2 * static_cast<double>(q));
            const double gainFactor = std::pow(10.0, g / 20);
            if (type == EqBandType::LowPass) {
                const double outer = (1 - c) * gainFactor * 0.5;
                return Store(1 + alpha, -2 * c, 1 - alpha, outer, (1 - c) * gainFactor, outer);
            }
            const double outer = (1 + c) * gainFactor * 0.5;
            return Store(1 + alpha, -2 * c, 1 - alpha, outer, -(1 + c) * gainFactor, outer);
        }
        case EqBandType::LowShelf:
        case EqBandType::HighShelf: {
            const double limitedQ = std::isnan(q) ? 0.4 : std::clamp(static_cast<double>(q), 0.4, 2.0);
            const double slope = limitedQ < 1 ? (limitedQ - 0.4) * 0.5 + 0.7 : limitedQ;
            const double a = std::pow(10.0, g / 40);
            const double gainFactor = std::pow(10.0, g / 20);
            // Steep slopes with large gains would take the root of a negative number.
            const double radicand = std::max(0.0, (a + 1 / a) * (1 / slope - 1) + 2);
            const double alpha = s / 2 * std::sqrt(radicand);
            const double beta = 2 * std::sqrt(a) * alpha;
            const double ga = gainFactor * a;
            if (type == EqBandType::LowShelf) {
                return Store((a + 1) + (a - 1) * c + beta, -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - beta,
                             ga * ((a + 1) - (a - 1) * c + beta), gainFactor * 2 * a * ((a - 1) - (a + 1) * c),
                             ga * ((a + 1) - (a - 1) * c - beta));
            }
            return Store((a + 1) - (a - 1) * c + beta, 2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - beta,
                         ga * ((a + 1) + (a - 1) * c + beta), -gainFactor * 2 * a * ((a - 1) + (a + 1) * c),
                         ga * ((a + 1) + (a - 1) * c - beta));
        }
    }
    return {};
}

double MagnitudeDb(const EqCoefficients& coefficients, double w) {
    return Section(coefficients).Db(AngleTerm(w));
}

void ComputeBandSamples(EqBandType type, float frequency, float gain, float q, EqSamples& samples) {
    const AngleTables& tables = Tables();
    const Section section(ComputeCoefficients(type, gain, q));
    switch (type) {
        case EqBandType::Off: samples.fill(0.0f); return;
        case EqBandType::Peak: Sample(section, tables.peak, 0.0, 0, kEqSamples - 1, samples); return;
        case EqBandType::LowShelf:
        case EqBandType::HighShelf: Sample(section, tables.shelf, gain, 0, kEqSamples - 1, samples); return;
        case EqBandType::LowPass:
            Sample(section, tables.pass, gain, 0, kLowPassTailStart, samples);
            // The stop band continues the slope of its last two samples; each step
            // builds on the stored single-precision values.
            for (int i = kLowPassTailStart + 1; i < kEqSamples; ++i) {
                samples[i] = samples[i - 1] + (samples[i - 1] - samples[i - 2]);
            }
            return;
        case EqBandType::HighPass:
            if (static_cast<double>(frequency) < kHighPassOffBelowHz) {
                samples.fill(0.0f);
                return;
            }
            Sample(section, tables.pass, gain, kEqSamples - 1, kHighPassTailStart, samples);
            for (int i = kHighPassTailStart - 1; i >= 0; --i) {
                samples[i] = samples[i + 1] + (samples[i + 1] - samples[i + 2]);
            }
            return;
    }
    samples.fill(0.0f);
}

void PlaceBandSamples(const EqSamples& samples, int centreColumn, std::array<float, kEqColumns>& response) {
    // Column c shows sample 256 + (c - centre); the shape's ends extend flat,
    // the right one from sample 511.
    for (int column = 0; column < kEqColumns; ++column) {
        const long long sample = static_cast<long long>(kCentreSample) + column - centreColumn;
        response[column] = samples[static_cast<std::size_t>(std::clamp(sample, 0LL, 511LL))];
    }
}

void ComputeBandResponse(EqBand& band) {
    ClearUpperVectorHalves();
    if (band.type == EqBandType::Off) return;
    if (!std::isfinite(band.frequency) || !std::isfinite(band.gain) || !std::isfinite(band.q)) return;
    if (band.frequency <= 0) return;
    const bool qDivides = band.type == EqBandType::Peak || band.type == EqBandType::LowPass ||
                          band.type == EqBandType::HighPass;
    if (qDivides && band.q <= 0) return;
    // Types outside the enumeration (a corrupt record) draw nothing new either.
    if (band.type < EqBandType::Off || band.type > EqBandType::HighShelf) return;
    EqSamples samples;
    ComputeBandSamples(band.type, band.frequency, band.gain, band.q, samples);
    PlaceBandSamples(samples, CentreColumn(band.frequency), band.response);
}

}  // namespace sonoria
