#include "eq/EqImport.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "eq/EqAxes.h"
#include "eq/EqResponse.h"
#include "eq/EqTotal.h"
#include "eq/EqValues.h"
#include "eq/FilterTarget.h"
#include "state/ParamReaders.h"

namespace sonoria {
namespace {

constexpr double kErrorLowHz = 20.0;
constexpr double kErrorHighHz = 20000.0;
// A shown number converts back to its own raw value within a step or two.
constexpr int kSettleSteps = 8;

bool IsPass(EqBandType type) { return type == EqBandType::LowPass || type == EqBandType::HighPass; }

// The band's Q for a file filter's width: Q as written, a bandwidth in
// octaves as its Q, a shelf's slope (12 dB per octave is 1) or the tools' defaults.
float BandQFor(const FileFilter& filter) {
    if (filter.q) return static_cast<float>(*filter.q);
    if (filter.bandwidthOct) {
        return static_cast<float>(1.0 / (2.0 * std::sinh(std::numbers::ln2 / 2.0 * *filter.bandwidthOct)));
    }
    if (filter.kind == FileFilterKind::LowShelf || filter.kind == FileFilterKind::HighShelf) {
        return static_cast<float>(filter.slopeDb ? *filter.slopeDb / 12.0 : kDefaultShelfSlope);
    }
    return static_cast<float>(kDefaultPassQ);
}

bool Within(float value, float lo, float hi) { return value >= lo && value <= hi; }

// A band takes a value within the user's limits, or the value it holds: the
// device may hold one the user cannot drag to (a peak's Q of 0.767), and a
// file exported from the view must come back into it.
bool Takes(float value, float held, float lo, float hi) { return value == held || Within(value, lo, hi); }

}  // namespace

void FlattenUntaken(EqView view, const std::vector<bool>& taken, EqImport& import) {
    import.changed.clear();
    for (int i = 0; i < import.count; ++i) {
        EqBand& band = import.bands[static_cast<std::size_t>(i)];
        const bool flattens = !taken[i] && EditableBand(view, band) && !IsPass(band.type);
        if (flattens) {
            band.gain = LimitValue(0.0f, band.minGain, band.maxGain);
            RoundBandToDevice(view, i, band);
        }
        if (taken[i] || flattens) import.changed.push_back(i);
    }
}

bool EditableBand(EqView view, const EqBand& band) {
    return band.type != EqBandType::Off && !band.locked && !EqViewSendOrder(view, band.index).empty();
}

std::optional<EqBandType> BandTypeForFilter(FileFilterKind kind) {
    switch (kind) {
        case FileFilterKind::Peaking: return EqBandType::Peak;
        case FileFilterKind::LowPass: return EqBandType::LowPass;
        case FileFilterKind::HighPass: return EqBandType::HighPass;
        case FileFilterKind::LowShelf: return EqBandType::LowShelf;
        case FileFilterKind::HighShelf: return EqBandType::HighShelf;
        default: return std::nullopt;
    }
}

void RoundBandToDevice(EqView view, int position, EqBand& band) {
    for (const EqViewValue& value : EqViewFillOrder(view)) {
        if (value.band != position) continue;
        const EqValueRules rules = RulesOf(*value.param);
        // A value the import left alone goes back as the raw value it came from.
        const int current = ReadParam(*value.param);
        const int wanted = RawForBandValue(rules, current, BandFieldValue(band, value.field));
        // The send converts the shown number again, and a display that
        // truncates can show a number that converts to another raw value
        // (1199 Hz goes out as what shows 1198 Hz): the nearest raw value
        // whose shown number converts back to itself is taken, so that the
        // device holds what the graph showed.
        int raw = wanted;
        for (int step = 0; step <= kSettleSteps && raw == wanted; ++step) {
            const auto settles = [&](int candidate) {
                return RawForBandValue(rules, current, BandValueFromRaw(rules.text, candidate)) == candidate;
            };
            if (settles(wanted - step)) {
                raw = wanted - step;
                break;
            }
            if (settles(wanted + step)) {
                raw = wanted + step;
                break;
            }
        }
        FillBandValue(band, value.field, rules.text, raw);
    }
    ComputeBandResponse(band);
}

void MeasureImportError(EqView view, std::span<const float, kEqColumns> target, EqImport& import) {
    std::vector<EqBand> drawn;
    for (int i = 0; i < import.count; ++i) {
        if (EditableBand(view, import.bands[static_cast<std::size_t>(i)])) drawn.push_back(import.bands[i]);
    }
    const std::array<float, kEqColumns> curve = TotalResponse(drawn, EqViewLayout(view));
    double sum = 0;
    double largest = 0;
    int columns = 0;
    for (int column = 0; column < kEqColumns; ++column) {
        const double hz = FrequencyAtPosition(column / double(kEqColumns));
        if (hz < kErrorLowHz || hz > kErrorHighHz) continue;
        const double deviation = double(curve[column]) - double(target[column]);
        sum += deviation * deviation;
        largest = std::max(largest, std::abs(deviation));
        ++columns;
    }
    import.rmsErrorDb = columns > 0 ? std::sqrt(sum / columns) : 0.0;
    import.maxErrorDb = largest;
}

std::optional<EqImport> ImportByValues(EqView view, std::span<const EqBand> current, const FilterFile& file,
                                       std::string* why) {
    EqImport import;
    import.way = EqImportWay::Values;
    import.count = static_cast<int>(std::min<std::size_t>(current.size(), kEqMaxBands));
    std::copy_n(current.begin(), import.count, import.bands.begin());
    std::vector<bool> taken(static_cast<std::size_t>(import.count), false);
    const auto refuse = [&](const FileFilter& filter, const std::string& reason) {
        if (why != nullptr) *why = "line " + std::to_string(filter.line) + ": " + reason;
        return std::nullopt;
    };
    for (const FileFilter& filter : file.filters) {
        const std::optional<EqBandType> type = BandTypeForFilter(filter.kind);
        if (!type) return refuse(filter, std::string("no band is a ") + FilterKindName(filter.kind));
        const float frequency = static_cast<float>(filter.frequencyHz);
        const float gain = static_cast<float>(filter.gainDb);
        const float q = BandQFor(filter);
        bool kindFree = false;
        int chosen = -1;
        for (int i = 0; i < import.count && chosen < 0; ++i) {
            const EqBand& band = import.bands[static_cast<std::size_t>(i)];
            if (taken[i] || band.type != *type || !EditableBand(view, band)) continue;
            kindFree = true;
            if (Takes(frequency, band.frequency, band.minFrequency, band.maxFrequency) &&
                Takes(q, band.q, band.minQ, band.maxQ) &&
                (IsPass(*type) || Takes(gain, band.gain, band.minGain, band.maxGain))) {
                chosen = i;
            }
        }
        if (chosen < 0) {
            return refuse(filter, kindFree ? "a value outside the band's limits"
                                           : std::string("no free band for a ") + FilterKindName(filter.kind));
        }
        taken[chosen] = true;
        EqBand& band = import.bands[static_cast<std::size_t>(chosen)];
        band.frequency = frequency;
        band.q = q;
        if (!IsPass(*type)) band.gain = gain;
        RoundBandToDevice(view, chosen, band);
        import.placements.push_back({filter.line, band.index, {}});
    }
    FlattenUntaken(view, taken, import);
    const std::array<float, kEqColumns> target = FilterFileTarget(file.filters);
    MeasureImportError(view, target, import);
    return import;
}

}  // namespace sonoria
