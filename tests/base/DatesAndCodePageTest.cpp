// Day numbers and their texts, and the Windows-1251 code page: the two conversions every layer
// relies on.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "base/DateTime.h"
#include "base/TextCodec.h"

namespace orbisk {
namespace {

TEST(DayNumbers, CalendarAndTexts) {
    EXPECT_EQ(DayNumber(1899, 12, 30), 0);
    EXPECT_EQ(DayNumber(1900, 1, 1), 2);
    EXPECT_EQ(DayNumber(2000, 1, 1), 36526);
    const CivilDate d = DateOfDay(DayNumber(2024, 2, 29));
    EXPECT_EQ(d.year, 2024);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.day, 29);
    EXPECT_EQ(ShortDateText(DayNumber(2009, 3, 3)), "03.03.2009");
    EXPECT_EQ(DateTimeText(static_cast<double>(DayNumber(2009, 3, 3))), "03.03.2009");
    EXPECT_EQ(DateTimeText(EncodeDateTime(2009, 3, 3, 14, 5)), "03.03.2009 14:05:00");
    EXPECT_EQ(ShortDateText(static_cast<double>(DayNumber(100, 1, 1))), "01.01.0100");
    EXPECT_EQ(ShortDateText(static_cast<double>(DayNumber(99, 12, 31))), "");
    EXPECT_EQ(ShortDateText(static_cast<double>(DayNumber(10000, 1, 1))), "");
    EXPECT_EQ(ShortDateText(std::numeric_limits<double>::quiet_NaN()), "");
    // Days before 1899 are negative; the fraction still counts from midnight.
    EXPECT_EQ(ShortDateText(-1.25), "28.12.1899");
    EXPECT_EQ(ParseDateTime("08.12.2026 10:05"), EncodeDateTime(2026, 12, 8, 10, 5));
    EXPECT_EQ(ParseDateTime("08.12.2026"), static_cast<double>(DayNumber(2026, 12, 8)));
    EXPECT_FALSE(ParseDateTime("31.02.2024"));
    EXPECT_FALSE(ParseDateTime("08.12.2026 24:00"));
    EXPECT_FALSE(ParseDateTime("8/12/2026"));
    // The layout to the letter: all digits, no signs, blanks or short fields.
    for (const char* text : {"8.12.2026", "+8.12.2026", "08.12.2026 9:05", "08.12.2026 09:5",
                             "08.12.2026  9:05", "08.12.2026 09:05:00", "08.12.2026 ",
                             " 08.12.2026", "08-12-2026", "08.12.20a6", "1.6.2024 1:5", ""}) {
        EXPECT_FALSE(ParseDateTime(text)) << text;
    }
}

TEST(TextCodec, Windows1251RoundTrip) {
    const std::string text = "Лебёдка №1 «Кран» Ёё";
    const std::string bytes = Utf8ToCp1251(text);
    EXPECT_EQ(bytes.size(), Utf8Length(text));
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xCB);  // Л
    EXPECT_EQ(static_cast<unsigned char>(bytes[3]), 0xB8);  // ё
    EXPECT_EQ(static_cast<unsigned char>(bytes[8]), 0xB9);  // №
    EXPECT_EQ(Cp1251ToUtf8(bytes), text);
    EXPECT_EQ(Utf8ToCp1251("日本"), "??");
    EXPECT_EQ(Utf8ToCp1251(std::string("\xD0", 1)), "?");  // cut sequence
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

// Pasting cuts by characters, never inside one.
TEST(TextCodec, PastedTextKeepsWholeCharacters) {
    EXPECT_EQ(PastedText("Лебёдка №1", 4), "Лебё");
    EXPECT_EQ(PastedText("ab日本", 3), "ab日");
    EXPECT_EQ(PastedText("ab", 5), "ab");
    EXPECT_EQ(PastedText("Кран", 0), "Кран");
    EXPECT_EQ(PastedText(std::string("a\xD0", 2), 2), std::string("a\xD0", 2));  // cut sequence
}

}  // namespace
}  // namespace orbisk
