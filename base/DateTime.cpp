#include "base/DateTime.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace orbisk {
namespace {

// Days from 1970-01-01 to 1899-12-30.
constexpr long long kEpochShift = 25569;

// Howard Hinnant's civil-from-days and days-from-civil, on the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CivilDate CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const double kFirstShowable = static_cast<double>(DayNumber(100, 1, 1));
const double kLastShowable = static_cast<double>(DayNumber(9999, 12, 31));

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

long long DayNumber(int year, int month, int day) {
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
           kEpochShift;
}

CivilDate DateOfDay(long long dayNumber) {
    return CivilFromDays(dayNumber - kEpochShift);
}

double EncodeDateTime(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<double>(DayNumber(year, month, day)) +
           (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

bool DateValueInShowableRange(double value) {
    return std::isfinite(value) && value >= kFirstShowable && value < kLastShowable + 1.0;
}

long long WholeDays(double value) {
    return static_cast<long long>(std::floor(value));
}

std::string ShortDateText(double value) {
    if (!DateValueInShowableRange(value)) return {};
    const CivilDate d = DateOfDay(WholeDays(value));
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d.day, d.month, d.year);
    return buf;
}

std::string DateTimeText(double value) {
    std::string text = ShortDateText(value);
    if (text.empty()) return text;
    const double fraction = value - std::floor(value);
    // Round to whole seconds; a value a hair below midnight belongs to the next day's midnight.
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds == 0) return text;
    if (seconds >= 86400) return ShortDateText(std::floor(value) + 1.0);
    const int secs = static_cast<int>(seconds);
    char buf[32];
    std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", secs / 3600, secs / 60 % 60, secs % 60);
    return text + buf;
}

std::optional<double> ParseDateTime(const std::string& text) {
    // The layout exactly: every field with all its digits, no signs, blanks or other separators.
    static constexpr std::string_view kDate = "99.99.9999";
    static constexpr std::string_view kDateTime = "99.99.9999 99:99";
    const std::string_view layout = text.size() == kDate.size() ? kDate : kDateTime;
    if (text.size() != layout.size()) return std::nullopt;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (layout[i] == '9' ? !digit : text[i] != layout[i]) return std::nullopt;
    }
    const auto number = [&text](std::size_t at, std::size_t width) {
        int value = 0;
        for (std::size_t i = at; i < at + width; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    const int d = number(0, 2), m = number(3, 2), y = number(6, 4);
    const bool timed = layout.size() == kDateTime.size();
    const int hh = timed ? number(11, 2) : 0, mm = timed ? number(14, 2) : 0;
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
    if (hh > 23 || mm > 59) return std::nullopt;
    return EncodeDateTime(y, m, d, hh, mm);
}

}  // namespace orbisk
