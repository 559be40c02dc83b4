#include "eq/FilterExport.h"

#include <charconv>
#include <optional>

#include "eq/EqImport.h"

namespace sonoria {
namespace {

// The shortest text that reads back to the same single-precision value, in
// the C locale whatever the process locale.
std::string Number(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// The file type that imports back into a band of this shape; null for none.
const char* FileTypeOf(EqBandType type) {
    switch (type) {
        case EqBandType::Peak: return "PK";
        case EqBandType::LowPass: return "LPQ";
        case EqBandType::HighPass: return "HPQ";
        case EqBandType::LowShelf: return "LSC";
        case EqBandType::HighShelf: return "HSC";
        case EqBandType::Off: break;
    }
    return nullptr;
}

}  // namespace

std::optional<FilterExportFormat> FilterExportFormatFromName(std::string_view name) {
    if (name == "apo") return FilterExportFormat::Apo;
    if (name == "rew") return FilterExportFormat::Rew;
    return std::nullopt;
}

std::string FilterLines(EqView view, std::span<const EqBand> bands) {
    std::string text;
    int number = 0;
    for (const EqBand& band : bands) {
        const char* type = FileTypeOf(band.type);
        if (type == nullptr || !EditableBand(view, band)) continue;
        text += "Filter " + std::to_string(++number) + ": ON " + type + " Fc " + Number(band.frequency) + " Hz";
        if (band.type != EqBandType::LowPass && band.type != EqBandType::HighPass) {
            text += " Gain " + Number(band.gain) + " dB";
        }
        text += " Q " + Number(band.q) + "\n";
    }
    return text;
}

std::string ExportFilterText(FilterExportFormat format, EqView view, std::span<const EqBand> bands,
                             std::string_view dated) {
    if (format == FilterExportFormat::Apo) return FilterLines(view, bands);
    std::string text = "Filter Settings file\n\n";
    if (!dated.empty()) text += "Dated: " + std::string(dated) + "\n\n";
    text += "Notes: EQ view " + std::string(EqViewName(view)) + "\n\nEqualiser: Generic\n";
    text += std::string(EqViewName(view)) + "\n";
    return text + FilterLines(view, bands);
}

}  // namespace sonoria
