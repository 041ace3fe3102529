#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "image/Codecs.h"
#include "image/NumberFormat.h"
#include "support/ImageBuilder.h"
#include "support/RecordingPrompter.h"

namespace orbisk {
namespace {

using test::MakeTime;
using test::RecordingPrompter;

TEST(Bcd, ValueTextAndValidity) {
    EXPECT_EQ(BcdValue(0x59), 59);
    EXPECT_EQ(BcdValue(0xFF), 165);
    EXPECT_EQ(BcdText(0x07), "07");
    EXPECT_EQ(BcdText(0xFF), "FF");
    EXPECT_EQ(BcdText(0xA3), "A3");
    EXPECT_TRUE(BcdValid(0x99));
    EXPECT_FALSE(BcdValid(0xA0));
    EXPECT_FALSE(BcdValid(0x1A));
}

TEST(RecorderTimeCodec, ValidityBoundaries) {
    EXPECT_TRUE(TimeValid(RecorderTime{{0x59, 0x23, 0x31, 0x12, 0x99}}));
    EXPECT_FALSE(TimeValid(RecorderTime{{0x60, 0x10, 0x10, 0x10, 0x10}}));
    EXPECT_FALSE(TimeValid(RecorderTime{{0x00, 0x24, 0x10, 0x10, 0x10}}));
    EXPECT_FALSE(TimeValid(RecorderTime{{0x00, 0x10, 0x00, 0x10, 0x10}}));
    EXPECT_FALSE(TimeValid(RecorderTime{{0x00, 0x10, 0x10, 0x13, 0x10}}));
    EXPECT_FALSE(TimeValid(RecorderTime{{0x0A, 0x10, 0x10, 0x10, 0x10}}));
    // Days the month does not have are invalid, so a valid time always has a value.
    EXPECT_FALSE(TimeValid(MakeTime(31, 4, 2009, 0, 0)));
    EXPECT_FALSE(TimeValid(MakeTime(29, 2, 2009, 0, 0)));
    EXPECT_TRUE(TimeValid(MakeTime(29, 2, 2008, 0, 0)));
    EXPECT_TRUE(TimeValid(MakeTime(29, 2, 2000, 0, 0)));
}

TEST(RecorderTimeCodec, TextsKeepStoredDigits) {
    EXPECT_EQ(TimeText(MakeTime(3, 3, 2009, 14, 5), false), "03.03.2009 14:05 ");
    const RecorderTime ff{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
    EXPECT_EQ(TimeText(ff, false), "FF.FF.20FF FF:FF ");
    EXPECT_EQ(TimeText(ff, true), "");
    EXPECT_EQ(TimeText(MakeTime(3, 3, 2009, 14, 5), true), "03.03.2009 14:05 ");
}

TEST(RecorderTimeCodec, ValueOfValidAndInvalidTimes) {
    RecordingPrompter prompter;
    FixedClock clock(EncodeDateTime(2026, 12, 8, 10, 30));
    EXPECT_DOUBLE_EQ(TimeValue(MakeTime(3, 3, 2009, 14, 5), prompter, clock),
                     EncodeDateTime(2009, 3, 3, 14, 5));
    EXPECT_TRUE(prompter.texts.empty());
    EXPECT_DOUBLE_EQ(TimeValue(MakeTime(31, 4, 2009, 0, 0), prompter, clock), clock.Now());
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0], "Используется текущая дата!");
}

TEST(Counter24Codec, ReadWriteSubtractCompare) {
    std::uint8_t a[3] = {1, 2, 3};
    EXPECT_EQ(CounterRead(a), 197121u);
    CounterWrite(a, 5);
    std::uint8_t b[3];
    CounterWrite(b, 7);
    EXPECT_FALSE(CounterNotBelow(a, b));
    EXPECT_TRUE(CounterNotBelow(b, a));
    CounterSubtract(a, b);
    EXPECT_EQ(CounterRead(a), 16777214u);
    CounterWrite(a, 0x12345678);
    EXPECT_EQ(CounterRead(a), 0x345678u);
    CounterCopy(b, a);
    EXPECT_EQ(CounterRead(a), 7u);
}

TEST(NumberFormat, RoundsHalfAwayFromZeroWithAllDigits) {
    EXPECT_EQ(FormatFixed(12.5, 2), "12.50");
    EXPECT_EQ(FormatFixed(1234.5, 0), "1235");
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(-2.5, 0), "-3");
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
    EXPECT_EQ(FormatFixed(0.375, 2), "0.38");
    EXPECT_EQ(FormatFixed(0.25, 1), "0.3");
    EXPECT_EQ(FormatFixed(static_cast<float>(2.675), 2), "2.67");  // below the half as stored
    EXPECT_EQ(FormatFixed(-0.001, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.0, 1), "0.0");
    EXPECT_EQ(FormatFixed(99.995, 2), "100.00");  // 99.99500000000000454... as a double
    EXPECT_EQ(FormatFixed(2.675, 2), "2.67");     // 2.67499999999999982... as a double
    EXPECT_EQ(FormatFixed(9.96, 1), "10.0");
    EXPECT_EQ(FormatFixed(1e20, 2), "100000000000000000000.00");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2), "NAN");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 1), "INF");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 0), "-INF");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 0).size(), 309u);
}

// The desktop program runs under the user's locale, where printf may write a comma.
TEST(NumberFormat, SeparatorIsAPointWhateverTheLocale) {
    const auto dir = test::TempDir("comma-locale");
    const std::string compile = std::string(ORBISK_LOCALEDEF) + " -i " + ORBISK_RU_LOCALE_SOURCE +
                                " -f UTF-8 '" + (dir / "ru_RU.UTF-8").string() +
                                "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0) << "localedef cannot make ru_RU.UTF-8";
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ::setenv("LOCPATH", dir.c_str(), 1);
    const bool russian = std::setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
    char probe[16] = "";
    std::snprintf(probe, sizeof probe, "%.1f", 2.5);
    std::vector<std::string> shown;
    for (const auto& [value, decimals] :
         {std::pair{2.5e12, 2}, {123456789012345.678, 1}, {1.23456, 5}, {12.5, 2}}) {
        shown.push_back(FormatFixed(value, decimals));
    }
    std::setlocale(LC_ALL, before.c_str());
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(dir);
    ASSERT_TRUE(russian) << "the compiled locale cannot be used";
    ASSERT_STREQ(probe, "2,5");  // the locale is in force: printf writes its comma
    EXPECT_EQ(shown, (std::vector<std::string>{"2500000000000.00", "123456789012345.7", "1.23456",
                                               "12.50"}));
}

}  // namespace
}  // namespace orbisk

namespace orbisk {
namespace {

// Rounds the exact decimal expansion of the value by hand: the reference the formatter must meet.
std::string ReferenceFixed(double value, int decimals) {
    std::vector<char> buf(1500);
    std::snprintf(buf.data(), buf.size(), "%.1100f", std::fabs(value));
    std::string exact = buf.data();
    const std::size_t dot = exact.find('.');
    std::string kept = exact.substr(0, dot + (decimals > 0 ? 1 + decimals : 0));
    const std::string rest = exact.substr(dot + 1 + decimals);
    if (!rest.empty() && rest[0] >= '5') {
        for (std::size_t i = kept.size(); i-- > 0;) {
            if (kept[i] == '.') continue;
            if (kept[i] < '9') {
                ++kept[i];
                break;
            }
            kept[i] = '0';
            if (i == 0) kept.insert(kept.begin(), '1');
        }
    }
    if (std::signbit(value) && kept.find_first_of("123456789") != std::string::npos) {
        kept.insert(kept.begin(), '-');
    }
    return kept;
}

TEST(NumberFormat, AgreesWithTheExactExpansionEverywhere) {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < 20000; ++i) {
        const int decimals = static_cast<int>(next() % 4);
        double value;
        switch (i % 4) {
            case 0:  // halves and near-halves at the shown digit
                value = (static_cast<double>(next() % 2000000) + 0.5) / std::pow(10.0, decimals);
                break;
            case 1:  // floats as the image stores them
                value = static_cast<float>(static_cast<double>(next() % 100000000) / 997.0);
                break;
            case 2:  // any bit pattern that is finite
                do {
                    const std::uint64_t bits = next();
                    std::memcpy(&value, &bits, sizeof value);
                } while (!std::isfinite(value));
                break;
            default:
                value = (static_cast<double>(next() % 1000000000000ull) - 5e11) / 1000.0;
        }
        ASSERT_EQ(FormatFixed(value, decimals), ReferenceFixed(value, decimals))
            << std::hexfloat << value << " decimals " << decimals;
    }
}

}  // namespace
}  // namespace orbisk
