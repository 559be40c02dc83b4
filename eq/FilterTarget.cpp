#include "eq/FilterTarget.h"

#include <cmath>
#include <complex>
#include <numbers>

#include "eq/EqAxes.h"

namespace sonoria {
namespace {

struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a0 = 1, a1 = 0, a2 = 0;
};

// alpha of a section from its Q, or from a bandwidth in octaves.
double Alpha(const FileFilter& filter, double w0, double defaultQ) {
    if (filter.bandwidthOct) {
        return std::sin(w0) * std::sinh(std::numbers::ln2 / 2.0 * *filter.bandwidthOct * w0 / std::sin(w0));
    }
    return std::sin(w0) / (2.0 * filter.q.value_or(defaultQ));
}

// A shelf's alpha: from its Q when written, else from its slope (12 dB per
// octave is a slope of 1) or the default slope.
double ShelfAlpha(const FileFilter& filter, double w0, double a) {
    if (filter.q || filter.bandwidthOct) return Alpha(filter, w0, kDefaultPassQ);
    const double slope = filter.slopeDb ? *filter.slopeDb / 12.0 : kDefaultShelfSlope;
    return std::sin(w0) / 2.0 * std::sqrt(std::max(0.0, (a + 1.0 / a) * (1.0 / slope - 1.0) + 2.0));
}

Biquad Design(const FileFilter& filter) {
    const double w0 = 2.0 * std::numbers::pi * filter.frequencyHz / kFilterSampleRate;
    const double cw = std::cos(w0);
    const double a = std::pow(10.0, filter.gainDb / 40.0);
    switch (filter.kind) {
        case FileFilterKind::Peaking: {
            const double alpha = Alpha(filter, w0, kDefaultPassQ);
            return {1 + alpha * a, -2 * cw, 1 - alpha * a, 1 + alpha / a, -2 * cw, 1 - alpha / a};
        }
        case FileFilterKind::LowPass: {
            const double alpha = Alpha(filter, w0, kDefaultPassQ);
            return {(1 - cw) / 2, 1 - cw, (1 - cw) / 2, 1 + alpha, -2 * cw, 1 - alpha};
        }
        case FileFilterKind::HighPass: {
            const double alpha = Alpha(filter, w0, kDefaultPassQ);
            return {(1 + cw) / 2, -(1 + cw), (1 + cw) / 2, 1 + alpha, -2 * cw, 1 - alpha};
        }
        case FileFilterKind::LowPass1: {
            const double k = std::tan(w0 / 2);
            return {k, k, 0, k + 1, k - 1, 0};
        }
        case FileFilterKind::HighPass1: {
            const double k = std::tan(w0 / 2);
            return {1, -1, 0, k + 1, k - 1, 0};
        }
        case FileFilterKind::LowShelf: {
            const double alpha = ShelfAlpha(filter, w0, a);
            const double s = 2 * std::sqrt(a) * alpha;
            return {a * ((a + 1) - (a - 1) * cw + s), 2 * a * ((a - 1) - (a + 1) * cw), a * ((a + 1) - (a - 1) * cw - s),
                    (a + 1) + (a - 1) * cw + s,       -2 * ((a - 1) + (a + 1) * cw),     (a + 1) + (a - 1) * cw - s};
        }
        case FileFilterKind::HighShelf: {
            const double alpha = ShelfAlpha(filter, w0, a);
            const double s = 2 * std::sqrt(a) * alpha;
            return {a * ((a + 1) + (a - 1) * cw + s), -2 * a * ((a - 1) + (a + 1) * cw), a * ((a + 1) + (a - 1) * cw - s),
                    (a + 1) - (a - 1) * cw + s,       2 * ((a - 1) - (a + 1) * cw),      (a + 1) - (a - 1) * cw - s};
        }
        case FileFilterKind::Notch: {
            const double alpha = Alpha(filter, w0, kDefaultNotchQ);
            return {1, -2 * cw, 1, 1 + alpha, -2 * cw, 1 - alpha};
        }
        case FileFilterKind::AllPass: {
            const double alpha = Alpha(filter, w0, kDefaultPassQ);
            return {1 - alpha, -2 * cw, 1 + alpha, 1 + alpha, -2 * cw, 1 - alpha};
        }
        case FileFilterKind::BandPass: {
            // Constant 0 dB peak gain.
            const double alpha = Alpha(filter, w0, kDefaultPassQ);
            return {alpha, 0, -alpha, 1 + alpha, -2 * cw, 1 - alpha};
        }
    }
    return {};
}

}  // namespace

double FileFilterDb(const FileFilter& filter, double hz) {
    const Biquad q = Design(filter);
    const double w = 2.0 * std::numbers::pi * hz / kFilterSampleRate;
    const std::complex<double> z1 = std::polar(1.0, -w);
    const std::complex<double> z2 = z1 * z1;
    const double numerator = std::abs(q.b0 + q.b1 * z1 + q.b2 * z2);
    const double denominator = std::abs(q.a0 + q.a1 * z1 + q.a2 * z2);
    // A zero of the response (a notch's centre) is very deep, never -inf.
    return 20.0 * std::log10(std::max(numerator, 1e-12) / std::max(denominator, 1e-300));
}

std::array<float, kEqColumns> FilterFileTarget(std::span<const FileFilter> filters) {
    std::array<float, kEqColumns> target{};
    for (int column = 0; column < kEqColumns; ++column) {
        const double hz = FrequencyAtPosition(column / double(kEqColumns));
        double sum = 0;
        for (const FileFilter& filter : filters) sum += FileFilterDb(filter, hz);
        target[static_cast<std::size_t>(column)] = static_cast<float>(sum);
    }
    return target;
}

}  // namespace sonoria
