#include "image/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <limits>

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

// A finite double has at most 309 integer digits; the pages show at most a few decimals. The
// decimal separator is '.' whatever the process's locale: the desktop program's toolkit sets
// the user's locale, and printf would then write the user's separator.
std::string Print(double magnitude, int decimals) {
    char buf[400];
    const auto result = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed,
                                      decimals < 16 ? decimals : 16);
    return std::string(buf, result.ec == std::errc() ? result.ptr : buf);
}

// Common values (the pages show masses, capacities and statistics of everyday size) are formatted
// with integer arithmetic: a double times 10^d (d <= 3) is exact in an x87 long double, so the
// tie test is exact too. Returns false where that does not hold.
bool FormatFast(double magnitude, int decimals, bool negative, std::string& out) {
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return false;
    } else {
        static constexpr long double kScale[] = {1.0L, 10.0L, 100.0L, 1000.0L};
        static constexpr unsigned long long kDivisor[] = {1, 10, 100, 1000};
        if (decimals < 0 || decimals > 3 || !(magnitude < 1e12)) return false;
        const long double scaled = static_cast<long double>(magnitude) * kScale[decimals];
        auto units = static_cast<unsigned long long>(scaled);  // truncation: the whole part
        if (scaled - static_cast<long double>(units) >= 0.5L) ++units;
        char buf[40];
        char* p = buf;
        if (negative && units != 0) *p++ = '-';
        p = std::to_chars(p, buf + sizeof buf, units / kDivisor[decimals]).ptr;
        if (decimals > 0) {
            *p++ = '.';
            unsigned long long fraction = units % kDivisor[decimals];
            for (int i = decimals - 1; i >= 0; --i) {
                p[i] = static_cast<char>('0' + fraction % 10);
                fraction /= 10;
            }
            p += decimals;
        }
        out.assign(buf, p);
        return true;
    }
}

}  // namespace

bool IsSpecialNumber(double value) { return !std::isfinite(value); }

std::string FormatFixed(double value, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    std::string fast;
    if (FormatFast(magnitude, decimals, negative, fast)) return fast;

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
