#include "edit/TextNumbers.h"

#include <charconv>
#include <limits>
#include <string>

namespace orbisk {

std::optional<int> IntegerText(std::string_view text) {
    const std::size_t digitsFrom = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digitsFrom) return std::nullopt;
    for (std::size_t i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> DecimalText(std::string_view text) {
    std::string plain;
    int separators = 0;
    int digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
            plain += c;
        } else if (c == '.' || c == ',') {
            if (++separators > 1) return std::nullopt;
            plain += '.';
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    return value;
}

std::optional<float> FloatText(std::string_view text) {
    const auto value = DecimalText(text);
    if (!value || !(*value <= std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(*value);
}

}  // namespace orbisk
