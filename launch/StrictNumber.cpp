#include "launch/StrictNumber.h"

#include <charconv>

namespace sonoria {

std::optional<long> ParseStrictInteger(std::string_view text) {
    // from_chars takes exactly this form: no blanks, no '+', base 10.
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

}  // namespace sonoria
