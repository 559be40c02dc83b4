// Turns a value text with units back into a number text.
#pragma once

#include <QString>

namespace sonoria {

// The characters of `text` that can belong to a decimal number ('0'..'9',
// '-', '+', '.'), in their order; every other character is dropped, so a
// multiplier letter such as the k of "1.2kHz" is lost too.
QString KeepNumericChars(const QString& text);

}  // namespace sonoria
