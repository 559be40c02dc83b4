#include "eq/EqFit.h"

namespace sonoria {

std::optional<EqImport> ImportByFit(EqView view, std::span<const EqBand> current, const FilterFile& file,
                                    std::string* why) {
    // Until the optimiser is in: the values way where it applies.
    return ImportByValues(view, current, file, why);
}

EqImportChoice PlanFilterImport(EqView view, std::span<const EqBand> current, const FilterFile& file) {
    EqImportChoice choice;
    choice.values = ImportByValues(view, current, file, &choice.valuesRefusal);
    choice.fit = ImportByFit(view, current, file, &choice.fitRefusal);
    choice.preferred = choice.values ? EqImportWay::Values : EqImportWay::Fit;
    return choice;
}

}  // namespace sonoria
