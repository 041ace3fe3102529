#include "image/NumberFormat.h"

#include <cmath>
#include <cstdio>

namespace orbisk {
namespace {

// Adds one unit in the last place of a digit string (digits and at most one '.').
void IncrementMagnitude(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '.') continue;
        if (digits[i] < '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.insert(digits.begin(), '1');
}

// A finite double has at most 309 integer digits; the pages show at most a few decimals.
std::string Print(double magnitude, int decimals) {
    char buf[400];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals < 16 ? decimals : 16, magnitude);
    return std::string(buf, n > 0 && n < static_cast<int>(sizeof buf) ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

bool IsSpecialNumber(double value) { return !std::isfinite(value); }

std::string FormatFixed(double value, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // printf rounds exact ties to even; a tie is only possible when the value has at most
    // decimals + 1 binary fraction digits, so it is printed exactly one place further and the
    // tie resolved away from zero by hand.
    std::string text;
    const double scaled = std::ldexp(magnitude, decimals + 1);
    if (scaled < 9007199254740992.0 && std::floor(scaled) == scaled) {
        std::string longer = Print(magnitude, decimals + 1);
        const char last = longer.back();
        longer.pop_back();
        if (decimals == 0) longer.pop_back();  // the separator
        if (last >= '5') IncrementMagnitude(longer);
        text = longer;
    } else {
        text = Print(magnitude, decimals);
    }
    bool allZero = true;
    for (char c : text) {
        if (c >= '1' && c <= '9') allZero = false;
    }
    if (negative && !allZero) text.insert(text.begin(), '-');
    return text;
}

}  // namespace orbisk
