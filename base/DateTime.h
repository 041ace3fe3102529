#pragma once
// The program's own date arithmetic on date-time values: days since 30 December 1899, the time
// of day as the fraction. It does not depend on the machine's locale or time zone.
#include <optional>
#include <string>

namespace orbisk {

struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// Whole-day number of a calendar date (30.12.1899 is day 0).
long long DayNumber(int year, int month, int day);
CivilDate DateOfDay(long long dayNumber);

// Date-time value of a date and a time of day.
double EncodeDateTime(int year, int month, int day, int hour, int minute, int second = 0);

// The shortest dates the program shows: 01.01.0100 to 31.12.9999.
bool DateValueInShowableRange(double value);

// "DD.MM.YYYY" of the day the value falls on; empty outside the showable range.
std::string ShortDateText(double value);

// The date-time text: the short date, followed by " HH:MM:SS" only when the value carries a
// time of day; empty outside the showable range.
std::string DateTimeText(double value);

// Parses "DD.MM.YYYY" or "DD.MM.YYYY HH:MM"; nothing when the text is not such a date.
std::optional<double> ParseDateTime(const std::string& text);

// The day number of the value, counting a time of day within its day (toward minus infinity for
// days before 30.12.1899, as the whole-day part of the value).
long long WholeDays(double value);

}  // namespace orbisk
