#pragma once
// Fixed-point number texts as the pages and reports show them ("0.00", "0.0", "0."): the decimal
// separator is always ".", halves round away from zero, every integer digit is written, a value
// that rounds to zero has no minus sign, and NaN and infinities read "NAN", "INF" and "-INF".
#include <string>

namespace orbisk {

// The value with the given number of decimals (0 gives a whole number without a separator).
std::string FormatFixed(double value, int decimals);

// True when the value is NaN or infinite; such values show their special text in every format,
// units included.
bool IsSpecialNumber(double value);

}  // namespace orbisk
