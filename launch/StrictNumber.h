// Numbers typed on a command line, read strictly.
#pragma once

#include <optional>
#include <string_view>

namespace sonoria {

// A whole decimal number: digits with an optional leading minus and nothing
// else (no blanks, no plus sign, no other base); nullopt otherwise or when it
// does not fit.
std::optional<long> ParseStrictInteger(std::string_view text);

}  // namespace sonoria
