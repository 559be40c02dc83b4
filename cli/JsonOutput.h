// What sonoria-cli --json writes: one JSON document on standard output.
#pragma once

#include <ostream>

#include <nlohmann/json.hpp>

namespace sonoria::cli {

// Fields in the order of the text lines.
using Json = nlohmann::ordered_json;

// Writes the JSON value, indented, and a newline. Bytes that are not UTF-8 (a
// name as the device reported it) become U+FFFD rather than failing the command.
void PrintJson(std::ostream& out, const Json& value);

// `value` rounded to `decimals` places, so that the JSON output carries
// the digits the text lines print and no more.
double Rounded(double value, int decimals);

}  // namespace sonoria::cli
