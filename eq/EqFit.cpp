#include "eq/EqFit.h"

#include <nlopt.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "eq/EqAxes.h"
#include "eq/EqResponse.h"
#include "eq/EqTotal.h"
#include "eq/FilterTarget.h"

namespace sonoria {
namespace {

constexpr double kFitLowHz = 20.0;
constexpr double kFitHighHz = 20000.0;
constexpr int kCentreSample = 256;
// A peak whose best gain leaves less than this in the residual stays flat.
constexpr double kNothingLeftDb = 0.05;
constexpr double kStartPeakQ = 2.0;
// Starting points tried for one band alone.
constexpr std::size_t kPeakStarts = 3;
constexpr int kShelfStarts = 3;
constexpr double kPeakStartSpacing = 20.0;  // columns, about half an octave
// Evaluation budgets: one band alone, then all bands together.
constexpr int kBandEvaluations = 150;
constexpr int kJointEvaluationsPerVariable = 40;

bool IsPass(EqBandType type) { return type == EqBandType::LowPass || type == EqBandType::HighPass; }

double ColumnOfHz(double hz) { return kEqColumns * std::log10(hz / kEqLowestHz) / kEqDecades; }
double HzOfColumn(double column) { return kEqLowestHz * std::pow(10.0, column / kEqColumns * kEqDecades); }

// Which of a band's values an edit writes.
struct WrittenFields {
    bool frequency = false;
    bool gain = false;
    bool q = false;
};

WrittenFields FieldsOf(EqView view, int index) {
    WrittenFields fields;
    for (const EqViewValue& value : EqViewSendOrder(view, index)) {
        if (value.field == EqField::Frequency) fields.frequency = true;
        if (value.field == EqField::Gain) fields.gain = true;
        if (value.field == EqField::Q) fields.q = true;
    }
    return fields;
}

// One peak or shelf the fit shapes. Its values are the variables where the
// device takes them and the band's limits leave room; the others stay.
struct FittedBand {
    int position = 0;
    EqBandType type = EqBandType::Peak;
    double column = 0, gain = 0, logQ = 0;
    bool freeColumn = false, freeGain = false, freeQ = false;
    double columnLo = 0, columnHi = 0, gainLo = 0, gainHi = 0, logQLo = 0, logQHi = 0;
    // The shape for the gain and Q it was last sampled at.
    EqSamples samples{};
    double sampledGain = NAN, sampledLogQ = NAN;

    int FreeCount() const { return int(freeColumn) + int(freeGain) + int(freeQ); }

    const EqSamples& Shape() {
        if (gain != sampledGain || logQ != sampledLogQ) {
            ComputeBandSamples(type, static_cast<float>(HzOfColumn(column)), static_cast<float>(gain),
                               static_cast<float>(std::exp(logQ)), samples);
            sampledGain = gain;
            sampledLogQ = logQ;
        }
        return samples;
    }
};

// Adds the band's shape at the counted columns. Between columns the shape is
// interpolated so that the frequency moves smoothly; beyond its ends it
// extends flat, as the graph places it.
void AddCurve(FittedBand& band, const std::vector<int>& columns, std::vector<double>& curve) {
    const EqSamples& shape = band.Shape();
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const double at = kCentreSample + columns[k] - band.column;
        const double whole = std::floor(at);
        const int first = std::clamp(static_cast<int>(whole), 0, 511);
        const int second = std::clamp(static_cast<int>(whole) + 1, 0, 511);
        curve[k] += shape[first] + (at - whole) * (shape[second] - shape[first]);
    }
}

// The curve being fitted: the target less what the fit does not shape, over
// the columns the error counts.
struct FitProblem {
    std::vector<int> columns;
    std::vector<double> aim;  // per counted column
    std::vector<FittedBand*> bands;  // the bands this optimisation moves

    // Mean squared deviation of the moved bands' curve from the aim.
    double Cost() {
        std::vector<double> curve(columns.size(), 0.0);
        for (FittedBand* band : bands) AddCurve(*band, columns, curve);
        double sum = 0;
        for (std::size_t k = 0; k < columns.size(); ++k) sum += (curve[k] - aim[k]) * (curve[k] - aim[k]);
        return sum / static_cast<double>(columns.size());
    }

    // The free values of the moved bands as one vector, and back.
    std::vector<double> Values(std::vector<double>* lo = nullptr, std::vector<double>* hi = nullptr,
                               std::vector<double>* step = nullptr) const {
        std::vector<double> x;
        const auto add = [&](bool free, double value, double low, double high, double scale) {
            if (!free) return;
            x.push_back(std::clamp(value, low, high));
            if (lo) lo->push_back(low);
            if (hi) hi->push_back(high);
            if (step) step->push_back(std::min(scale, (high - low) / 2));
        };
        for (const FittedBand* band : bands) {
            add(band->freeColumn, band->column, band->columnLo, band->columnHi, 8.0);
            add(band->freeGain, band->gain, band->gainLo, band->gainHi, 2.0);
            add(band->freeQ, band->logQ, band->logQLo, band->logQHi, 0.3);
        }
        return x;
    }

    void Take(const double* x) {
        std::size_t k = 0;
        for (FittedBand* band : bands) {
            if (band->freeColumn) band->column = x[k++];
            if (band->freeGain) band->gain = x[k++];
            if (band->freeQ) band->logQ = x[k++];
        }
    }
};

double Objective(unsigned /*n*/, const double* x, double* /*gradient*/, void* data) {
    auto* problem = static_cast<FitProblem*>(data);
    problem->Take(x);
    return problem->Cost();
}

// Moves the problem's bands to the least-squares optimum near where they are.
void Optimise(FitProblem& problem, int evaluations) {
    std::vector<double> lo, hi, step;
    std::vector<double> x = problem.Values(&lo, &hi, &step);
    if (x.empty()) return;
    // The quadratic-model method wants two variables at least.
    const unsigned n = static_cast<unsigned>(x.size());
    nlopt_opt opt = nlopt_create(n >= 2 ? NLOPT_LN_BOBYQA : NLOPT_LN_COBYLA, n);
    if (opt == nullptr) return;
    nlopt_set_lower_bounds(opt, lo.data());
    nlopt_set_upper_bounds(opt, hi.data());
    nlopt_set_initial_step(opt, step.data());
    nlopt_set_min_objective(opt, Objective, &problem);
    nlopt_set_maxeval(opt, evaluations);
    nlopt_set_ftol_abs(opt, 1e-7);
    nlopt_set_xtol_rel(opt, 1e-5);
    const std::vector<double> start = x;
    double best = 0;
    const nlopt_result result = nlopt_optimize(opt, x.data(), &best);
    nlopt_destroy(opt);
    // A run that failed outright leaves the values where they started.
    problem.Take(result < 0 && result != NLOPT_ROUNDOFF_LIMITED ? start.data() : x.data());
}

FittedBand MakeFitted(EqView view, int position, const EqBand& band) {
    FittedBand fitted;
    fitted.position = position;
    fitted.type = band.type;
    const WrittenFields fields = FieldsOf(view, band.index);
    const double lowHz = std::max<double>(band.minFrequency, kFitLowHz);
    const double highHz = std::min<double>(band.maxFrequency, kFitHighHz);
    fitted.columnLo = ColumnOfHz(std::min(lowHz, highHz));
    fitted.columnHi = ColumnOfHz(std::max(lowHz, highHz));
    fitted.column = std::clamp(ColumnOfHz(std::max<double>(band.frequency, kEqLowestHz)), fitted.columnLo,
                               fitted.columnHi);
    fitted.freeColumn = fields.frequency && fitted.columnHi > fitted.columnLo;
    fitted.gainLo = band.minGain;
    fitted.gainHi = band.maxGain;
    fitted.gain = LimitValue(band.gain, band.minGain, band.maxGain);
    fitted.freeGain = fields.gain && band.maxGain > band.minGain;
    const double q = std::max(LimitValue(band.q, band.minQ, band.maxQ), 1e-3f);
    fitted.logQLo = std::log(std::max(band.minQ, 1e-3f));
    fitted.logQHi = std::log(std::max(band.maxQ, 1e-3f));
    fitted.logQ = std::log(q);
    fitted.freeQ = fields.q && fitted.logQHi > fitted.logQLo;
    return fitted;
}

// Sets the view's pass bands from the file's pass filters, each into the first
// free editable band of its direction; marks the filters and bands used.
void SetPassBands(EqView view, const FilterFile& file, EqImport& import, std::vector<bool>& bandTaken) {
    for (const FileFilter& filter : file.filters) {
        const bool low = filter.kind == FileFilterKind::LowPass || filter.kind == FileFilterKind::LowPass1;
        const bool high = filter.kind == FileFilterKind::HighPass || filter.kind == FileFilterKind::HighPass1;
        if (!low && !high) {
            import.placements.push_back({filter.line, -1, "shaped by the fit"});
            continue;
        }
        const EqBandType type = low ? EqBandType::LowPass : EqBandType::HighPass;
        int chosen = -1;
        for (int i = 0; i < import.count && chosen < 0; ++i) {
            const EqBand& band = import.bands[static_cast<std::size_t>(i)];
            if (!bandTaken[i] && band.type == type && EditableBand(view, band)) chosen = i;
        }
        if (chosen < 0) {
            import.placements.push_back({filter.line, -1, "no free pass band: shaped by the fit"});
            continue;
        }
        bandTaken[chosen] = true;
        EqBand& band = import.bands[static_cast<std::size_t>(chosen)];
        band.frequency = LimitValue(static_cast<float>(filter.frequencyHz), band.minFrequency, band.maxFrequency);
        if (filter.q) band.q = LimitValue(static_cast<float>(*filter.q), band.minQ, band.maxQ);
        RoundBandToDevice(view, chosen, band);
        import.placements.push_back({filter.line, band.index, {}});
    }
}

}  // namespace

namespace {

void SubtractCurve(FittedBand& band, const std::vector<int>& columns, std::vector<double>& residual) {
    std::vector<double> curve(residual.size(), 0.0);
    AddCurve(band, columns, curve);
    for (std::size_t k = 0; k < residual.size(); ++k) residual[k] -= curve[k];
}

// Where a band alone might best take some of the residual: for a peak the
// largest deviations (apart from each other), for a shelf points across its range.
std::vector<double> StartColumns(const FittedBand& band, const std::vector<int>& columns,
                                 const std::vector<double>& residual) {
    std::vector<double> starts;
    if (!band.freeColumn) return {band.column};
    if (band.type != EqBandType::Peak) {
        starts.push_back(band.column);
        for (int k = 0; k < kShelfStarts; ++k) {
            starts.push_back(band.columnLo + (band.columnHi - band.columnLo) * (k + 0.5) / kShelfStarts);
        }
        return starts;
    }
    std::vector<std::size_t> order;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        if (columns[k] >= band.columnLo && columns[k] <= band.columnHi) order.push_back(k);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return std::abs(residual[a]) > std::abs(residual[b]); });
    for (const std::size_t k : order) {
        if (std::abs(residual[k]) < kNothingLeftDb || starts.size() == kPeakStarts) break;
        const bool apart = std::none_of(starts.begin(), starts.end(),
                                        [&](double c) { return std::abs(c - columns[k]) < kPeakStartSpacing; });
        if (apart) starts.push_back(columns[k]);
    }
    return starts;
}

// The band's best values against `residual` alone, from each start; a peak
// with nothing left to take goes flat.
void PlaceAlone(FittedBand& band, const std::vector<int>& columns, const std::vector<double>& residual) {
    const std::vector<double> starts = StartColumns(band, columns, residual);
    if (starts.empty()) {
        band.gain = std::clamp(0.0, band.gainLo, band.gainHi);
        return;
    }
    FittedBand best = band;
    double bestCost = INFINITY;
    for (const double column : starts) {
        FittedBand trial = band;
        trial.column = column;
        const std::size_t at = static_cast<std::size_t>(
            std::lower_bound(columns.begin(), columns.end(), static_cast<int>(column)) - columns.begin());
        const double there = at < residual.size() ? residual[at] : 0.0;
        if (trial.freeGain) trial.gain = std::clamp(trial.type == EqBandType::Peak ? there : 0.0, trial.gainLo, trial.gainHi);
        if (trial.freeQ && trial.type == EqBandType::Peak) {
            trial.logQ = std::clamp(std::log(kStartPeakQ), trial.logQLo, trial.logQHi);
        }
        FitProblem alone{columns, residual, {&trial}};
        Optimise(alone, kBandEvaluations);
        const double cost = alone.Cost();
        if (cost < bestCost) {
            bestCost = cost;
            best = trial;
        }
    }
    band = best;
}

// Shapes the editable peaks and shelves of `import` (those the caller has not
// taken) towards `target`; the rest is the curve they are fitted against.
bool FitInto(EqView view, std::span<const float, kEqColumns> target, EqImport& import, std::vector<bool>& taken) {
    std::vector<FittedBand> fitted;
    std::vector<EqBand> unshaped;  // the editable bands the fit does not move
    for (int i = 0; i < import.count; ++i) {
        const EqBand& band = import.bands[static_cast<std::size_t>(i)];
        if (!EditableBand(view, band)) continue;
        if (IsPass(band.type) || taken[static_cast<std::size_t>(i)]) {
            unshaped.push_back(band);
            continue;
        }
        fitted.push_back(MakeFitted(view, i, band));
        if (fitted.back().FreeCount() == 0) {
            fitted.pop_back();
            unshaped.push_back(band);
        }
    }
    if (fitted.empty() && std::none_of(taken.begin(), taken.end(), [](bool t) { return t; })) return false;

    const std::array<float, kEqColumns> fixed = TotalResponse(unshaped, EqViewLayout(view));
    FitProblem problem;
    for (int column = 0; column < kEqColumns; ++column) {
        const double hz = FrequencyAtPosition(column / double(kEqColumns));
        if (hz < kFitLowHz || hz > kFitHighHz) continue;
        problem.columns.push_back(column);
        problem.aim.push_back(double(target[column]) - double(fixed[column]));
    }

    // One band at a time against what is left: the shelves first (the broad
    // tilt), then each peak where the residual is largest. Then all together,
    // then each band once more against what the others leave, kept where that
    // lowers the whole error, and all together again.
    std::stable_partition(fitted.begin(), fitted.end(), [](const FittedBand& b) { return b.type != EqBandType::Peak; });
    std::vector<double> residual = problem.aim;
    for (FittedBand& band : fitted) {
        PlaceAlone(band, problem.columns, residual);
        SubtractCurve(band, problem.columns, residual);
    }
    int variables = 0;
    for (FittedBand& band : fitted) {
        problem.bands.push_back(&band);
        variables += band.FreeCount();
    }
    Optimise(problem, kJointEvaluationsPerVariable * variables);
    for (FittedBand& band : fitted) {
        const double before = problem.Cost();
        const FittedBand kept = band;
        std::vector<double> left = problem.aim;
        for (FittedBand& other : fitted) {
            if (&other != &band) SubtractCurve(other, problem.columns, left);
        }
        PlaceAlone(band, problem.columns, left);
        if (problem.Cost() >= before) band = kept;
    }
    Optimise(problem, kJointEvaluationsPerVariable * variables);

    for (const FittedBand& band : fitted) {
        EqBand& into = import.bands[static_cast<std::size_t>(band.position)];
        into.frequency = static_cast<float>(HzOfColumn(band.column));
        into.gain = static_cast<float>(band.gain);
        into.q = static_cast<float>(std::exp(band.logQ));
        LimitBand(into);
        RoundBandToDevice(view, band.position, into);
        taken[static_cast<std::size_t>(band.position)] = true;
    }
    import.changed.clear();
    for (int i = 0; i < import.count; ++i) {
        if (taken[static_cast<std::size_t>(i)]) import.changed.push_back(i);
    }
    MeasureImportError(view, target, import);
    return true;
}

EqImport StartImport(std::span<const EqBand> current) {
    EqImport import;
    import.way = EqImportWay::Fit;
    import.count = static_cast<int>(std::min<std::size_t>(current.size(), kEqMaxBands));
    std::copy_n(current.begin(), import.count, import.bands.begin());
    return import;
}

constexpr const char* kNothingToFit = "the view has no band the fit can set";

}  // namespace

std::optional<EqImport> FitToTarget(EqView view, std::span<const EqBand> current,
                                    std::span<const float, kEqColumns> target, std::string* why) {
    EqImport import = StartImport(current);
    std::vector<bool> taken(static_cast<std::size_t>(import.count), false);
    if (FitInto(view, target, import, taken)) return import;
    if (why != nullptr) *why = kNothingToFit;
    return std::nullopt;
}

std::optional<EqImport> ImportByFit(EqView view, std::span<const EqBand> current, const FilterFile& file,
                                    std::string* why) {
    EqImport import = StartImport(current);
    std::vector<bool> taken(static_cast<std::size_t>(import.count), false);
    SetPassBands(view, file, import, taken);
    if (FitInto(view, FilterFileTarget(file.filters), import, taken)) return import;
    if (why != nullptr) *why = kNothingToFit;
    return std::nullopt;
}

EqImportChoice PlanFilterImport(EqView view, std::span<const EqBand> current, const FilterFile& file) {
    EqImportChoice choice;
    choice.values = ImportByValues(view, current, file, &choice.valuesRefusal);
    choice.fit = ImportByFit(view, current, file, &choice.fitRefusal);
    choice.preferred = choice.values ? EqImportWay::Values : EqImportWay::Fit;
    return choice;
}

}  // namespace sonoria
