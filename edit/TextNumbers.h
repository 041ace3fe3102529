#pragma once
// Numbers as the person types or pastes them into the editing pages and dialogs. The machine's
// locale plays no part: a Russian user types "," and others "." as the decimal separator.
#include <optional>
#include <string_view>

namespace orbisk {

// An optional minus sign and decimal digits, within 32 bits; nothing for any other text.
std::optional<int> IntegerText(std::string_view text);

// Decimal digits with at most one "." or "," between or around them; nothing for any other text
// (no sign, no blanks, no exponent).
std::optional<double> DecimalText(std::string_view text);

// A decimal text as above whose value a single-precision float holds (a finite one, not rounded
// up to infinity); nothing for any other text.
std::optional<float> FloatText(std::string_view text);

}  // namespace orbisk
