#include "edit/IdentificationEdit.h"

#include <cmath>

#include "base/DateTime.h"

namespace orbisk {

KeyFilter KeyFilterOf(Ctl control) {
    switch (control) {
        case Ctl::eYear:
        case Ctl::eSrok:
        case Ctl::eRegYear:
            return KeyFilter::Digits;
        case Ctl::eSumGruz:
        case Ctl::eGruz1:
        case Ctl::eGruz2:
        case Ctl::eGruz3:
            return KeyFilter::Capacity;
        default:
            return KeyFilter::None;
    }
}

std::optional<char32_t> FilterKey(KeyFilter filter, char32_t typed) {
    if (filter == KeyFilter::None) return typed;
    if (typed < 0x20 || typed == 0x7F) return typed;
    if (typed >= '0' && typed <= '9') return typed;
    if (filter == KeyFilter::Capacity && (typed == '.' || typed == ',')) return U'.';
    return std::nullopt;
}

int MaxTextLength(Ctl control) {
    switch (control) {
        case Ctl::eRegType:
        case Ctl::eMarka:
            return 32;
        case Ctl::eProd:
        case Ctl::eRegProd:
        case Ctl::eRegSetupName:
        case Ctl::eOwner:
            return 64;
        case Ctl::eNumber:
        case Ctl::eRegNum:
        case Ctl::eEnter:
        case Ctl::eLebNameK:
        case Ctl::eLebName1:
        case Ctl::eLebName2:
        case Ctl::eLebName3:
            return 16;
        case Ctl::eGroup:
        case Ctl::eSrok:
            return 2;
        case Ctl::eYear:
        case Ctl::eRegYear:
            return 4;
        default:
            return 0;
    }
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
