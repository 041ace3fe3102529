#include "edit/IdentificationEdit.h"

#include <cmath>

#include "base/DateTime.h"

namespace orbisk {

std::optional<char32_t> FilterKey(KeyFilter filter, char32_t typed) {
    if (filter == KeyFilter::None) return typed;
    if (typed < 0x20 || typed == 0x7F) return typed;
    if (typed >= '0' && typed <= '9') return typed;
    if (filter == KeyFilter::Capacity && (typed == '.' || typed == ',')) return U'.';
    return std::nullopt;
}

long long CalendarDayFor(const std::string& text, long long today) {
    const auto value = ParseDateTime(text);
    if (!value || !DateValueInShowableRange(*value)) return today;
    return WholeDays(*value);
}

std::string InstallDateText(long long dayNumber) {
    return ShortDateText(static_cast<double>(dayNumber));
}

}  // namespace orbisk
