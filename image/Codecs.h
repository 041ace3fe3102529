#pragma once
// The packed value forms of the recorder: BCD bytes, the five-byte RecorderTime and the
// three-byte Counter24 of a load-spectrum bin.
#include <array>
#include <cstdint>
#include <string>

namespace orbisk {

class Prompter;
class Clock;

int BcdValue(std::uint8_t b);        // high nibble × 10 + low nibble, unchecked
std::string BcdText(std::uint8_t b);  // both nibbles as upper-case hexadecimal digits
bool BcdValid(std::uint8_t b);

// Minute, hour, day, month, year within the century, each packed BCD.
struct RecorderTime {
    std::array<std::uint8_t, 5> bytes{};

    std::uint8_t Minute() const { return bytes[0]; }
    std::uint8_t Hour() const { return bytes[1]; }
    std::uint8_t Day() const { return bytes[2]; }
    std::uint8_t Month() const { return bytes[3]; }
    std::uint8_t Year() const { return bytes[4]; }

    static RecorderTime FromBytes(const std::uint8_t* p);
    bool operator==(const RecorderTime&) const = default;
};

// Valid BCD in every byte, minute < 60, hour < 24, month 1..12, and a day that the month of the
// year 2000 + YY has.
bool TimeValid(const RecorderTime& t);

// "DD.MM.20YY HH:MM " with the digits as stored; empty when blankWhenInvalid and invalid.
std::string TimeText(const RecorderTime& t, bool blankWhenInvalid);
constexpr int kTimeTextLength = 17;
// The same seventeen characters written into a buffer, for lists that build many of them.
void WriteTimeText(const RecorderTime& t, char* out);

// Date-time value of a valid time. An invalid one gives the current date and time and the
// message "Используется текущая дата!".
double TimeValue(const RecorderTime& t, Prompter& prompter, const Clock& clock);

// Counter24, low byte first.
std::uint32_t CounterRead(const std::uint8_t* p);
void CounterWrite(std::uint8_t* p, std::uint32_t value);
void CounterCopy(const std::uint8_t* from, std::uint8_t* to);
void CounterSubtract(std::uint8_t* a, const std::uint8_t* b);  // a := a − b modulo 2^24
bool CounterNotBelow(const std::uint8_t* a, const std::uint8_t* b);

}  // namespace orbisk
