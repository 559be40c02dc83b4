#include "cli/JsonOutput.h"

#include <cstdio>
#include <cstdlib>

namespace sonoria::cli {

void PrintJson(std::ostream& out, const Json& value) {
    out << value.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

double Rounded(double value, int decimals) {
    // Through the printed text, so that a half-way value rounds as the line rounds it.
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::strtod(text, nullptr);
}

}  // namespace sonoria::cli
