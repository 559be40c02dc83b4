// A view's editable bands written as a filter file: Equalizer APO filter
// lines, or the same lines under a REW "Filter Settings file" header
// (equaliser Generic). Values are written with the fewest digits that read
// back to the same number, so importing the file into the same view by
// values gives back the raw values the view holds.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "eq/EqBand.h"
#include "eq/EqViews.h"

namespace sonoria {

enum class FilterExportFormat { Apo, Rew };

// "apo" or "rew"; nullopt for another word.
std::optional<FilterExportFormat> FilterExportFormatFromName(std::string_view name);

// One "Filter N: ON TYPE Fc F Hz ..." line per editable band, in band order.
std::string FilterLines(EqView view, std::span<const EqBand> bands);

// The whole file. `dated` is the REW header's date line text (any text; the
// reader never parses it).
std::string ExportFilterText(FilterExportFormat format, EqView view, std::span<const EqBand> bands,
                             std::string_view dated = {});

}  // namespace sonoria
