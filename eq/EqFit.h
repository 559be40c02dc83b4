// A filter file fitted to the bands a view really has: the editable peaks'
// and shelves' frequencies, gains and Q chosen within the device's limits so
// that the curve the graph draws for them (its own band math, not the
// textbook biquads of the target) comes as close to the file's target as it
// can, least squares over the columns from 20 Hz to 20 kHz. Pass bands are
// set only from pass filters of the file; otherwise they keep their values.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "eq/EqImport.h"

namespace sonoria {

// The fit, from the view's current bands; nullopt when the view has no
// editable band (the reason in `why`). The values are rounded to what the
// device's parameters hold before the errors are measured.
std::optional<EqImport> ImportByFit(EqView view, std::span<const EqBand> current, const FilterFile& file,
                                    std::string* why = nullptr);

// The same fit towards any curve over the graph's columns (no pass band is set).
std::optional<EqImport> FitToTarget(EqView view, std::span<const EqBand> current,
                                    std::span<const float, kEqColumns> target, std::string* why = nullptr);

// Both ways for one file: what each gives (or why it cannot), and the one
// used unless the user chooses: values when every filter finds a band,
// otherwise the fit.
struct EqImportChoice {
    std::optional<EqImport> values;
    std::string valuesRefusal;
    std::optional<EqImport> fit;
    std::string fitRefusal;
    EqImportWay preferred = EqImportWay::Fit;

    const std::optional<EqImport>& Way(EqImportWay way) const { return way == EqImportWay::Values ? values : fit; }
    const std::string& Refusal(EqImportWay way) const {
        return way == EqImportWay::Values ? valuesRefusal : fitRefusal;
    }
};

EqImportChoice PlanFilterImport(EqView view, std::span<const EqBand> current, const FilterFile& file);

}  // namespace sonoria
