// The number texts of the editing pages and dialogs, and the formats that show numbers: no text
// crashes them or reaches undefined behaviour, and what they accept is what they say.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "FuzzInput.h"
#include "base/DateTime.h"
#include "edit/TextNumbers.h"
#include "image/NumberFormat.h"

using namespace orbisk;
using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string text = input.Text();

    // An integer text is its own decimal writing, give or take leading zeros and "-0".
    if (const auto value = IntegerText(text)) {
        Require(IntegerText(std::to_string(*value)) == value);
        Require(text.find_first_not_of("-0123456789") == std::string::npos);
    }
    // A decimal text is digits and one separator; it is never negative, and the float form
    // exists exactly when the value fits.
    const auto decimal = DecimalText(text);
    const auto single = FloatText(text);
    if (decimal) {
        Require(*decimal >= 0 && std::isfinite(*decimal));
        Require(text.find_first_not_of("0123456789.,") == std::string::npos);
        Require(single.has_value() == (*decimal <= std::numeric_limits<float>::max()));
    }
    Require(!single || (decimal && std::isfinite(*single)));
    // A whole number shown without decimals reads back as itself.
    if (single && *single < 1e15f) {
        const double whole = std::trunc(static_cast<double>(*single));
        Require(DecimalText(FormatFixed(whole, 0)) == whole);
    }
    // Dates: whatever converts is finite and shows again as a date that converts.
    if (const auto day = ParseDateTime(text)) {
        Require(std::isfinite(*day));
        if (DateValueInShowableRange(*day)) Require(ParseDateTime(ShortDateText(*day)).has_value());
    }
    // Every format takes every double, non-finite ones included.
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | input.Byte();
    const double any = std::bit_cast<double>(bits);
    for (int decimals = 0; decimals <= 2; ++decimals) {
        const std::string shown = FormatFixed(any, decimals);
        Require(!shown.empty());
        if (std::isfinite(any) && std::fabs(any) < 1e15) {
            const auto back = DecimalText(shown[0] == '-' ? shown.substr(1) : shown);
            const double error = std::fabs(*back - std::fabs(any));
            Require(back && error <= 0.5 * std::pow(10.0, -decimals) + 1e-9 * std::fabs(any));
        }
    }
    return 0;
}
