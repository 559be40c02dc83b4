// A filter file brought into one EQ view's bands. By values, each file filter
// goes into one editable band of its own kind with its frequency, gain and Q
// as written, rounded to what the device's parameters hold. The errors are
// those of the curve the graph will draw for the rounded values against the
// file's target, over the columns from 20 Hz to 20 kHz.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "eq/EqBand.h"
#include "eq/EqLayouts.h"
#include "eq/EqViews.h"
#include "eq/FilterFile.h"

namespace sonoria {

enum class EqImportWay { Values, Fit };

// Where one file filter went: the band that took it, or -1 with the reason.
struct FilterPlacement {
    int line = 0;
    int band = -1;
    std::string note;
};

struct EqImport {
    EqImportWay way = EqImportWay::Values;
    std::array<EqBand, kEqMaxBands> bands{};  // the view's bands with the new values, as the graph will show them
    int count = 0;                            // bands in use
    std::vector<int> changed;                 // the bands whose values the import sets, in band order
    double rmsErrorDb = 0;
    double maxErrorDb = 0;
    std::vector<FilterPlacement> placements;
};

// The bands an import may set: in use, not a locked reference, and written
// by an edit.
bool EditableBand(EqView view, const EqBand& band);

// The band shape that takes a file filter by value; nullopt for kinds no band has.
std::optional<EqBandType> BandTypeForFilter(FileFilterKind kind);

// Rounds the values of band `position` to what its parameters hold (and
// show), numbers that a send of the band gives back unchanged, and
// recomputes its response.
void RoundBandToDevice(EqView view, int position, EqBand& band);

// The RMS and largest deviation of the editable bands' drawn curve from the
// target, over the columns from 20 Hz to 20 kHz.
void MeasureImportError(EqView view, std::span<const float, kEqColumns> target, EqImport& import);

// The editable peaks and shelves that took no file filter go flat (gain 0):
// the view then draws the file's curve alone. Pass filters keep their values.
// Fills `changed` with the bands taken or flattened.
void FlattenUntaken(EqView view, const std::vector<bool>& taken, EqImport& import);

// The import by values, from the view's current bands; nullopt when some
// filter finds no free band of its kind that can hold its values (the first
// such filter's reason in `why`).
std::optional<EqImport> ImportByValues(EqView view, std::span<const EqBand> current, const FilterFile& file,
                                       std::string* why = nullptr);

}  // namespace sonoria
