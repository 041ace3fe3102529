#pragma once
// What the identification page lets the user type: the key filters of the number fields (each
// field's filter is in its table row) and the installation date's text as the calendar reads
// and writes it.
#include <array>
#include <optional>
#include <string>

#include "image/DisplayModel.h"
#include "image/IdentificationTable.h"

namespace orbisk {

// The character an edit takes for a typed character, or nothing when the key is dropped.
// Control characters (backspace and the like) always pass; the capacity filter turns "." and ","
// into the program's decimal separator ".".
std::optional<char32_t> FilterKey(KeyFilter filter, char32_t typed);

// The calendar's date for the text of eRegSetup: its day number, or `today` when the text is no
// date. Date texts are DD.MM.YYYY.
long long CalendarDayFor(const std::string& text, long long today);

// The text eRegSetup shows for a day picked in the calendar.
std::string InstallDateText(long long dayNumber);

}  // namespace orbisk
