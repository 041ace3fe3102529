#pragma once
// Conversion between the program's internal UTF-8 texts and Windows-1251, the code page of
// image texts, the INI file and the HTML pages.
#include <string>
#include <string_view>

namespace orbisk {

// Every byte has a character, so decoding never fails (0x98, unassigned in the code page, maps
// to U+0098 as the Windows converter does).
std::string Cp1251ToUtf8(std::string_view bytes);

// A character the code page cannot hold becomes "?"; malformed UTF-8 sequences likewise.
std::string Utf8ToCp1251(std::string_view utf8);
// The same, appended to out without a text in between.
void AppendUtf8AsCp1251(std::string& out, std::string_view utf8);

// Decodes the UTF-8 sequence at pos and moves pos past it; a malformed one gives U+FFFD and
// moves on by at least one byte, so that every loop over a text ends.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
// Appends a code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// Number of characters (code points) of a UTF-8 text; used where a field width is counted in
// characters of the code page.
std::size_t Utf8Length(std::string_view utf8);

// The text as an edit that holds at most `length` characters takes it when it is pasted: its
// first `length` characters (all of it for 0).
std::string PastedText(std::string_view utf8, int length);

}  // namespace orbisk
