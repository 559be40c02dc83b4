// How an EQ band's values (Hz, dB, Q) travel to and from the device's
// parameters. The conversions themselves are the display and unit-to-raw
// rules of state/ValueScaling.h; this layer adds only what the EQ needs on
// top: the band takes exactly the number a parameter's text shows, and a
// value the user has not moved goes back as the raw value it came from.
#pragma once

#include <string_view>

#include "eq/EqBand.h"
#include "state/ParameterTable.h"
#include "state/ScalingRules.h"

namespace sonoria {

// The display rule and the unit-to-raw rule of one EQ value's parameter.
struct EqValueRules {
    TextRule text = TextRule::None;
    UnitRule unit = UnitRule::None;
};

EqValueRules RulesOf(const ParamInfo& param);

// The leading decimal number of a text, read in the C locale whatever the
// process locale: "12.0dB" is 12, "-0.0dB" is -0, "7000.000000Hz" is 7000.
// Leading blanks and a plus sign are allowed; a text without a number gives 0.
double ParseLeadingNumber(std::string_view text);

// The value a band takes from a parameter's raw value: the number its display
// text shows.
float BandValueFromRaw(TextRule text, int raw);

// The raw value for a band value, saturated into the parameter's range.
int RawFromBandValue(UnitRule unit, float value);

// The raw value to send for a band value when the parameter now holds
// `currentRaw`. A value that still equals (in single precision) what the
// current raw value shows has not been moved: the current raw value goes back
// unchanged, so that picking a band without moving it changes nothing on the
// device. Any other value is converted; a NaN value keeps the current raw value.
int RawForBandValue(const EqValueRules& rules, int currentRaw, float value);

enum class EqField { Frequency, Gain, Q };

// One value of a band record.
float BandFieldValue(const EqBand& band, EqField field);

// Fills one value of a band from its parameter's raw value. A frequency or Q
// that reads 0 is no value (a filter or shelf parameter at its reset value)
// and leaves the band as it was. Returns whether the band took the value.
// The caller recomputes the band's response.
bool FillBandValue(EqBand& band, EqField field, TextRule text, int raw);

}  // namespace sonoria
