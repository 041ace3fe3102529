#include "image/Codecs.h"

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Prompter.h"
#include "image/Messages.h"

namespace orbisk {

int BcdValue(std::uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}

std::string BcdText(std::uint8_t b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[b >> 4], kHex[b & 0x0F]};
}

bool BcdValid(std::uint8_t b) {
    return b < 0xA0 && (b & 0x0F) <= 9;
}

RecorderTime RecorderTime::FromBytes(const std::uint8_t* p) {
    RecorderTime t;
    for (int i = 0; i < 5; ++i) t.bytes[i] = p[i];
    return t;
}

bool TimeValid(const RecorderTime& t) {
    for (std::uint8_t b : t.bytes) {
        if (!BcdValid(b)) return false;
    }
    const int minute = BcdValue(t.Minute());
    const int hour = BcdValue(t.Hour());
    const int day = BcdValue(t.Day());
    const int month = BcdValue(t.Month());
    const int year = 2000 + BcdValue(t.Year());
    // A day the month does not have is refused as well, so that a valid time always has a value.
    return minute < 60 && hour < 24 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

void WriteTimeText(const RecorderTime& t, char* out) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto put = [&out](std::uint8_t b) {
        *out++ = kHex[b >> 4];
        *out++ = kHex[b & 0x0F];
    };
    put(t.Day());
    *out++ = '.';
    put(t.Month());
    *out++ = '.';
    *out++ = '2';
    *out++ = '0';
    put(t.Year());
    *out++ = ' ';
    put(t.Hour());
    *out++ = ':';
    put(t.Minute());
    *out = ' ';
}

std::string TimeText(const RecorderTime& t, bool blankWhenInvalid) {
    if (blankWhenInvalid && !TimeValid(t)) return {};
    char buf[kTimeTextLength];
    WriteTimeText(t, buf);
    return std::string(buf, sizeof buf);
}

double TimeValue(const RecorderTime& t, Prompter& prompter, const Clock& clock) {
    if (!TimeValid(t)) {
        prompter.Message(msg::kCurrentDateUsed);
        return clock.Now();
    }
    return EncodeDateTime(2000 + BcdValue(t.Year()), BcdValue(t.Month()), BcdValue(t.Day()),
                          BcdValue(t.Hour()), BcdValue(t.Minute()));
}

std::uint32_t CounterRead(const std::uint8_t* p) {
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}

void CounterWrite(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
}

void CounterCopy(const std::uint8_t* from, std::uint8_t* to) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

void CounterSubtract(std::uint8_t* a, const std::uint8_t* b) {
    CounterWrite(a, (CounterRead(a) - CounterRead(b)) & 0xFFFFFF);
}

bool CounterNotBelow(const std::uint8_t* a, const std::uint8_t* b) {
    return CounterRead(a) >= CounterRead(b);
}

}  // namespace orbisk
