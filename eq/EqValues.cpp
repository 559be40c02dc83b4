#include "eq/EqValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "state/ValueScaling.h"

namespace sonoria {

EqValueRules RulesOf(const ParamInfo& param) { return {param.text, param.unit}; }

double ParseLeadingNumber(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\n\v\f\r";
    std::size_t start = std::min(text.find_first_not_of(kBlanks), text.size());
    // from_chars reads the C locale's form whatever the process locale, but
    // takes no plus sign of its own.
    if (start + 1 < text.size() && text[start] == '+' && text[start + 1] != '-') ++start;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too small for a double goes to zero, too large to infinity, keeping the sign.
        const std::string_view number(first, static_cast<std::size_t>(end - first));
        const std::size_t exponent = number.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < number.size() &&
                          number[exponent + 1] == '-';
        const bool negative = *first == '-';
        if (tiny) return negative ? -0.0 : 0.0;
        return negative ? -HUGE_VAL : HUGE_VAL;
    }
    return error == std::errc() ? value : 0.0;
}

float BandValueFromRaw(TextRule text, int raw) {
    return static_cast<float>(ParseLeadingNumber(FormatRuleText(text, raw)));
}

int RawFromBandValue(UnitRule unit, float value) { return ApplyUnitRule(unit, value); }

int RawForBandValue(const EqValueRules& rules, int currentRaw, float value) {
    if (std::isnan(value)) return currentRaw;
    if (value == BandValueFromRaw(rules.text, currentRaw)) return currentRaw;
    return RawFromBandValue(rules.unit, value);
}

bool FillBandValue(EqBand& band, EqField field, TextRule text, int raw) {
    const float value = BandValueFromRaw(text, raw);
    switch (field) {
        case EqField::Gain: band.gain = value; return true;
        case EqField::Frequency:
            if (value == 0) return false;
            band.frequency = value;
            return true;
        case EqField::Q:
            if (value == 0) return false;
            band.q = value;
            return true;
    }
    return false;
}

float BandFieldValue(const EqBand& band, EqField field) {
    switch (field) {
        case EqField::Frequency: return band.frequency;
        case EqField::Gain: return band.gain;
        case EqField::Q: return band.q;
    }
    return 0.0f;
}

}  // namespace sonoria
