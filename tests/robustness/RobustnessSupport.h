#pragma once
// The robustness test's machinery: the invariants a refreshed display model must keep whatever
// the image held, and the exerciser that runs the program's procedures over one image. Included
// by the robustness test alone.
#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Prompter.h"
#include "image/DataFile.h"
#include "image/Decoding.h"
#include "image/Messages.h"
#include "image/RecorderImage.h"
#include "image/Session.h"
#include "support/RecordingPrompter.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

// ---------------------------------------------------------------------------------------------
// Test machinery

// splitmix64: the same sequence on every compiler, unlike the standard distributions.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }
    int Range(int lo, int hi) {
        return lo + static_cast<int>(Below(static_cast<std::uint32_t>(hi - lo + 1)));
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Next()); }
    bool Chance(int percent) { return Below(100) < static_cast<std::uint32_t>(percent); }
    template <typename T, std::size_t N>
    const T& Pick(const std::array<T, N>& items) {
        return items[Below(static_cast<std::uint32_t>(N))];
    }

private:
    std::uint64_t state_;
};

// Ends the program when the work it guards has not finished in time: a hang must fail the
// test run, not stall it.
class Watchdog {
public:
    Watchdog(const char* what, std::chrono::seconds limit)
        : thread_([this, what, limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                  std::cerr << "Hang: " << what << " did not finish within " << limit.count()
                            << " s\n";
                  std::_Exit(3);
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

constexpr std::chrono::seconds kHangLimit{300};

// 17.05.2024 10:30, the instant the fake clock always tells.
const double kNow = EncodeDateTime(2024, 5, 17, 10, 30);

// The dates the program can show: 01.01.0100 to 31.12.9999 as day numbers.
constexpr std::int64_t kFirstShowableDay = -657434;
constexpr std::int64_t kLastShowableDay = 2958465;

const std::set<std::string>& KnownMessages() {
    static const std::set<std::string> known = {
        msg::kCurrentDateUsed,       msg::kBadChecksum,        msg::kBadReadingTime,
        msg::kIdentificationFailed,  msg::kStatisticsFailed,   msg::kLongTermFailed,
        msg::kRecorderSerialDiffers, msg::kCraneSerialDiffers, msg::kWrongPreviousFile,
        msg::kBadPreviousFile};
    return known;
}

bool ValidUtf8WithoutNul(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b == 0) return false;
        int extra = 0;
        std::uint32_t cp = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// What the image says, read here independently of the decoding under test.

bool Bcd(std::uint8_t b) {
    return (b >> 4) <= 9 && (b & 0x0F) <= 9;
}
int BcdNumber(std::uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}

bool ValidTime(const std::uint8_t* t) {
    for (int i = 0; i < 5; ++i) {
        if (!Bcd(t[i])) return false;
    }
    const int minute = BcdNumber(t[0]), hour = BcdNumber(t[1]), day = BcdNumber(t[2]),
              month = BcdNumber(t[3]), year = 2000 + BcdNumber(t[4]);
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (minute >= 60 || hour >= 24 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string HexTimeText(const std::uint8_t* t) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02X.%02X.20%02X %02X:%02X ", t[2], t[3], t[4], t[1], t[0]);
    return buf;
}

std::uint16_t ReadU16(const RecorderImage& image, unsigned a) {
    return static_cast<std::uint16_t>(image.Data()[a & 0xFFFF] | image.Data()[(a + 1) & 0xFFFF]
                                                                     << 8);
}

std::int32_t InstallDayOf(const RecorderImage& image) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | image.Data()[0x0972 + i];
    return static_cast<std::int32_t>(v);
}

bool EvenXorZero(const RecorderImage& image) {
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kImageSize; i += 2) x ^= image.Data()[i];
    return x == 0;
}

// Makes the image pass the checksum through byte 0, which carries no meaning.
void BalanceChecksum(RecorderImage& image) {
    image.Data()[0] = 0;
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kImageSize; i += 2) x ^= image.Data()[i];
    image.Data()[0] = x;
}

// Slot numbers of a ring walked newest first. A write address outside the ring counts as if the
// write slot were the last slot.
std::vector<int> WalkOrder(const RecorderImage& image, unsigned base, int slots, unsigned writeAt) {
    const unsigned write = ReadU16(image, writeAt);
    int writeSlot = slots - 1;
    if (write >= base && write < base + 16u * static_cast<unsigned>(slots)) {
        writeSlot = static_cast<int>((write - base) / 16);
    }
    std::vector<int> order;
    int slot = writeSlot;
    for (int i = 0; i < slots; ++i) {
        slot = slot == 0 ? slots - 1 : slot - 1;
        order.push_back(slot);
    }
    return order;
}

// A digest of everything a window would show, to tell whether a step changed the pages.
std::string Digest(const DisplayModel& m) {
    std::string d;
    for (std::size_t i = 0; i < m.text.size(); ++i) {
        d += m.text[i];
        d += m.color[i] == TextColor::Red ? "\x01R" : "\x01B";
    }
    for (const auto& s : m.stats) {
        d += std::to_string(s.characteristic) + "/" + std::to_string(s.kp) + "/" +
             std::to_string(s.loadClass) + "/" + std::to_string(s.useClass) + "/" +
             std::to_string(s.group) + "/" + std::to_string(s.n) + "/" + std::to_string(s.days) +
             "/" + std::to_string(s.frequency) + "/" + std::to_string(s.duration) + ";";
    }
    for (const auto& row : m.regStat) {
        for (const auto& cell : row) d += cell + "\x02";
    }
    for (const auto& row : m.loadRows) {
        for (const auto& cell : row) d += cell + "\x02";
    }
    for (const auto& series : m.histogram) {
        for (const auto& p : series) {
            d += std::to_string(p.x) + ":" + std::to_string(p.y) + p.label +
                 std::to_string(static_cast<int>(p.color)) + ",";
        }
    }
    for (const auto& r : m.cycles) {
        for (const auto& cell : r.cells) d += cell + "\x03";
        d += std::to_string(static_cast<int>(r.icon)) + (r.hasFrame ? "F" : "-");
    }
    d += std::to_string(m.reportDate) + std::to_string(m.totalSensors) +
         std::to_string(m.winchCount);
    return d;
}

// ---------------------------------------------------------------------------------------------
// Invariants of a refreshed display model

struct Findings {
    int images = 0;
    int refreshed = 0;
    int abandoned = 0;
    int comparisons = 0;
    int comparisonsReduced = 0;
    int failures = 0;  // images with at least one broken invariant
};

#define CHECK_OR_RETURN(cond, what)                 \
    do {                                            \
        if (!(cond)) {                              \
            ADD_FAILURE() << label << ": " << what; \
            return false;                           \
        }                                           \
    } while (0)

bool CheckTexts(const DisplayModel& m, const std::string& label) {
    const auto ok = [](const std::string& s) { return ValidUtf8WithoutNul(s); };
    for (std::size_t i = 0; i < m.text.size(); ++i) {
        CHECK_OR_RETURN(ok(m.text[i]),
                        "control " << ControlName(static_cast<Ctl>(i)) << " is not clean UTF-8");
    }
    const TableList lists[] = {m.LvCalibr(), m.LvWorkModeVal(), m.LvLoad(), m.LvRegStat(),
                               m.LvLast()};
    CHECK_OR_RETURN(lists[4].columns.size() == CycleRow::kCells, "lvLast columns");
    for (const TableList& t : lists) {
        for (const auto& c : t.columns) CHECK_OR_RETURN(ok(c) || c.empty(), "column caption");
        for (const auto& row : t.rows) {
            CHECK_OR_RETURN(row.size() == t.columns.size(), "row of " << row.size() << " cells for "
                                                                      << t.columns.size()
                                                                      << " columns");
            for (const auto& cell : row) CHECK_OR_RETURN(ok(cell), "list cell '" << cell << "'");
        }
    }
    for (const auto& series : m.histogram) {
        for (const auto& p : series) CHECK_OR_RETURN(ok(p.label), "histogram label");
    }
    return true;
}

bool CheckStatistics(const RecorderImage& image, const DisplayModel& m, const std::string& label) {
    for (int g = 0; g < kGroups; ++g) {
        const GroupStats& s = m.stats[g];
        long long n = 0;
        for (int j = 0; j < 128; ++j) n += image.Bin(g, j);
        CHECK_OR_RETURN(s.n == n, "group " << g << " N " << s.n << " for bins summing to " << n);
        CHECK_OR_RETURN(s.loadClass >= 1 && s.loadClass <= 4, "load class " << s.loadClass);
        CHECK_OR_RETURN(s.useClass >= 0 && s.useClass <= 9, "use class " << s.useClass);
        CHECK_OR_RETURN(s.group >= 1 && s.group <= 8, "group " << s.group);
        if (s.useClass >= 9) {
            CHECK_OR_RETURN(s.group == 8, "use class 9 with group " << s.group);
        } else {
            const int expected = std::min(8, std::max(1, s.loadClass + s.useClass - 2));
            CHECK_OR_RETURN(s.group == expected, "group " << s.group << " for classes "
                                                          << s.loadClass << "/" << s.useClass);
        }
        CHECK_OR_RETURN(std::isfinite(s.days), "days in service " << s.days);
        if (n == 0) {
            CHECK_OR_RETURN(s.loadClass == 1 && s.useClass == 0 && s.group == 1 && s.kp == 0,
                            "empty group with classes");
            for (int r = 0; r < kRegStatRows; ++r) {
                CHECK_OR_RETURN(m.regStat[r][g] == "-",
                                "empty group row " << r << " shows '" << m.regStat[r][g] << "'");
            }
        } else {
            CHECK_OR_RETURN(m.regStat[0][g] == std::to_string(n), "N row " << m.regStat[0][g]);
            static const char* kLetters[2][3] = {{"Q", "U", "A"}, {"L", "T", "M"}};
            const auto& letters = kLetters[g == 0 ? 0 : 1];
            CHECK_OR_RETURN(m.regStat[6][g] == letters[0] + std::to_string(s.loadClass) &&
                                m.regStat[7][g] == letters[1] + std::to_string(s.useClass) &&
                                m.regStat[8][g] == letters[2] + std::to_string(s.group),
                            "class rows of group " << g);
        }
    }
    return true;
}

bool CheckDistribution(const RecorderImage& image, const DisplayModel& m, int stepItem,
                       const std::string& label) {
    static constexpr int kRows[] = {127, 13, 6};
    static constexpr int kClosing[] = {127, 130, 150};
    CHECK_OR_RETURN(static_cast<int>(m.loadRows.size()) == kRows[stepItem],
                    "step item " << stepItem << " gave " << m.loadRows.size() << " rows");
    for (std::size_t k = 0; k < m.loadRows.size(); ++k) {
        CHECK_OR_RETURN(m.loadRows[k][0] == std::to_string(k + 1), "row number");
    }
    const int start = std::min<int>(image.U8(addr::CycleStart), 128);
    for (int g = 0; g < kGroups; ++g) {
        // Balancing cleared the bins below the start condition and every winch without sensors.
        const bool cleared = g > 0 && image.SensorCount(g) == 0;
        for (int j = 0; j < 128; ++j) {
            if (j < start || cleared) {
                CHECK_OR_RETURN(image.Bin(g, j) == 0,
                                "group " << g << " bin " << j << " survived balancing");
            }
        }
        const auto& series = m.histogram[g];
        CHECK_OR_RETURN(static_cast<int>(series.size()) == kRows[stepItem] + 2,
                        "series of " << series.size() << " points");
        CHECK_OR_RETURN(
            series.front().x == 0 && series.front().y == 0 && series.front().label == "0",
            "first point");
        CHECK_OR_RETURN(series.back().x == kClosing[stepItem] && series.back().y == 0 &&
                            series.back().color == PointColor::Red,
                        "closing point");
        long long rowsSum = 0, pointsSum = 0;
        for (const auto& row : m.loadRows) rowsSum += std::stoll(row[2 + g]);
        for (const auto& p : series) pointsSum += p.y;
        long long n = 0;
        for (int j = 0; j < 128; ++j) n += image.Bin(g, j);
        CHECK_OR_RETURN(rowsSum == n && pointsSum == n, "group " << g << " distribution sums "
                                                                 << rowsSum << "/" << pointsSum
                                                                 << " for " << n << " cycles");
    }
    return true;
}

bool CheckCycles(const RecorderImage& before, const RecorderImage& after, const DisplayModel& m,
                 CycleFilter filter, bool correction, const std::string& label) {
    const bool quirk = after.U8(0x0009) == '1' && after.U8(0x000B) == '2';
    const bool trips = filter == CycleFilter::LimiterTrips && !quirk;
    const unsigned base = trips ? 0x7C00 : 0x1000;
    const int slots = trips ? 64 : 1728;
    const std::vector<int> order = WalkOrder(after, base, slots, trips ? 0x0702 : 0x0700);

    std::vector<int> listed;
    const std::string date = m.Text(Ctl::dtpReportDate);
    for (int slot : order) {
        const std::uint8_t* rec = before.Data() + base + 16 * slot;
        if (filter == CycleFilter::SwitchEvents && !(rec[5] & 0x20)) continue;
        if (filter == CycleFilter::ByDate && HexTimeText(rec).compare(0, 10, date) != 0) continue;
        listed.push_back(slot);
    }
    CHECK_OR_RETURN(m.cycles.size() == listed.size(),
                    "filter " << static_cast<int>(filter) << " listed " << m.cycles.size()
                              << " rows, expected " << listed.size());
    if (filter == CycleFilter::All) CHECK_OR_RETURN(listed.size() == 1728, "all cycles");
    if (filter == CycleFilter::LimiterTrips) {
        CHECK_OR_RETURN(listed.size() == (quirk ? 1728u : 64u), "trip rows");
    }

    for (std::size_t i = 0; i < listed.size(); ++i) {
        const CycleRow& row = m.cycles[i];
        const unsigned at = base + 16u * static_cast<unsigned>(listed[i]);
        const std::uint8_t* rec = after.Data() + at;
        const std::uint8_t* old = before.Data() + at;
        const bool switchEvent = rec[5] & 0x20;
        const bool workCycle = (rec[5] & 0x30) == 0;
        CHECK_OR_RETURN(row.cells[0] == HexTimeText(rec),
                        "row " << i << " time '" << row.cells[0] << "'");
        const unsigned frame = rec[14] | rec[15] << 8;
        CHECK_OR_RETURN(row.cells[7] == std::to_string(frame), "frame number " << row.cells[7]);
        bool frameThere = true;
        for (unsigned k = 0; k < 5; ++k) {
            frameThere = frameThere && after.Data()[0x8000 + ((frame + k) & 0x7FFF)] == rec[k];
        }
        CHECK_OR_RETURN(row.hasFrame == frameThere, "frame mark of frame " << frame);
        for (int k = 1; k <= 4; ++k) {
            const std::string& cell = row.cells[k];
            CHECK_OR_RETURN(!cell.empty() && cell.back() == '%', "load text '" << cell << "'");
            const int shown = std::stoi(cell);
            if (k == 1 && switchEvent) {
                CHECK_OR_RETURN(cell == "0%", "switch event crane load " << cell);
            } else {
                CHECK_OR_RETURN(shown == rec[5 + k],
                                "load " << cell << " for byte " << int(rec[5 + k]));
            }
            if (correction && workCycle) CHECK_OR_RETURN(shown <= 125, "uncorrected " << cell);
        }
        const std::string& mass = row.cells[5];
        const bool special = mass == "NAN" || mass == "INF" || mass == "-INF";
        CHECK_OR_RETURN(special || (mass.size() > 3 && mass.compare(mass.size() - 3, 3, " т") == 0),
                        "mass text '" << mass << "'");
        const int icon = static_cast<int>(row.icon);
        CHECK_OR_RETURN(icon == -1 || icon == 1 || icon == 5 || icon == 6 || icon == 7,
                        "icon " << icon);
        CHECK_OR_RETURN((icon == -1) == ((rec[5] & 0x3F) == 0),
                        "icon " << icon << " for flags " << int(rec[5]));
        // Only listed work cycles may change, and only with the correction on.
        if (!correction || !workCycle) {
            CHECK_OR_RETURN(std::memcmp(rec, old, 16) == 0, "record at " << at << " changed");
        } else {
            CHECK_OR_RETURN(std::memcmp(rec, old, 5) == 0 && rec[5] == old[5] &&
                                rec[14] == old[14] && rec[15] == old[15],
                            "correction touched more than loads and mass");
        }
    }
    // Nothing outside the listed records moved.
    const unsigned end = base + 16u * static_cast<unsigned>(slots);
    CHECK_OR_RETURN(std::memcmp(before.Data(), after.Data(), base) == 0 &&
                        std::memcmp(before.Data() + end, after.Data() + end, kImageSize - end) == 0,
                    "filling the list changed the image outside the ring");
    std::vector<char> isListed(static_cast<std::size_t>(slots), 0);
    for (int slot : listed) isListed[static_cast<std::size_t>(slot)] = 1;
    for (int slot = 0; slot < slots; ++slot) {
        const unsigned at = base + 16u * static_cast<unsigned>(slot);
        CHECK_OR_RETURN(isListed[static_cast<std::size_t>(slot)] ||
                            std::memcmp(before.Data() + at, after.Data() + at, 16) == 0,
                        "filling the list changed the unlisted slot " << slot);
    }
    return true;
}

// The messages of a refresh, in their order: the reading time shown red, the installation day
// the calendar cannot show, the current date used by the statistics.
std::vector<std::string> RefreshMessages(const RecorderImage& image) {
    std::vector<std::string> expected;
    const bool readingValid = ValidTime(image.Data() + 0x0004);
    const std::int32_t installDay = InstallDayOf(image);
    if (!readingValid) expected.push_back(msg::kBadReadingTime);
    if (installDay < kFirstShowableDay || installDay > kLastShowableDay) {
        expected.push_back(msg::kIdentificationFailed);
    }
    if (!readingValid) expected.push_back(msg::kCurrentDateUsed);
    return expected;
}

bool CheckModel(const RecorderImage& image, const DisplayModel& m, const std::string& label) {
    if (!CheckTexts(m, label)) return false;
    const int total = image.SensorCount(1) + image.SensorCount(2) + image.SensorCount(3);
    CHECK_OR_RETURN(m.totalSensors == total, "sensor total");
    CHECK_OR_RETURN(static_cast<int>(m.calibration.size()) == std::min(total, 8),
                    "lvCalibr rows " << m.calibration.size() << " for " << total << " sensors");
    CHECK_OR_RETURN(m.LvRegStat().rows.size() == kRegStatRows, "lvRegStat rows");
    CHECK_OR_RETURN(m.LvWorkModeVal().rows.size() == 1, "lvWorkModeVal rows");
    const bool readingValid = ValidTime(image.Data() + 0x0004);
    CHECK_OR_RETURN((m.Color(Ctl::eDateCheck) == TextColor::Red) == !readingValid,
                    "eDateCheck colour");
    CHECK_OR_RETURN(m.Text(Ctl::eDateCheck) == HexTimeText(image.Data() + 0x0004),
                    "eDateCheck '" << m.Text(Ctl::eDateCheck) << "'");
    CHECK_OR_RETURN(m.Text(Ctl::dtpReportDate).size() == 10, "date filter text");
    const std::int32_t installDay = InstallDayOf(image);
    const bool showable = installDay >= kFirstShowableDay && installDay <= kLastShowableDay;
    CHECK_OR_RETURN(m.Text(Ctl::eRegSetup).empty() == !showable,
                    "eRegSetup '" << m.Text(Ctl::eRegSetup) << "'");
    if (!CheckStatistics(image, m, label)) return false;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Running the program's procedures over one image

class Exerciser {
public:
    Findings findings;

    // The refresh sequence as after opening, then every filter and every step.
    // With `everything`, then every filter and every step; else one more filter and every step.
    void Refresh(const RecorderImage& input, bool answer, bool correction, int firstFilter,
                 int firstStep, bool everything, const std::string& label) {
        ++findings.images;
        test::RecordingPrompter prompter(answer);
        FixedClock clock(kNow);
        Session session(prompter, clock);
        session.SetDataCorrection(correction);
        session.Model().choices.rgLast = firstFilter;
        session.Model().choices.rgStep = firstStep;
        const std::string before = Digest(session.Model());
        session.Image() = input;

        const bool checksumOk = EvenXorZero(input);
        const bool accepted = session.AcceptImage(msg::kBadChecksum);
        std::vector<std::string> expected;
        if (!checksumOk) expected.push_back(msg::kBadChecksum);
        if (!accepted) {
            ++findings.abandoned;
            Expect(!checksumOk && !answer, label, "an image was refused without reason");
            Expect(session.Image() == input, label, "an abandoned image was changed");
            Expect(Digest(session.Model()) == before, label, "an abandoned image was shown");
            Expect(prompter.texts == expected, label, "messages of an abandoned image");
            return;
        }
        ++findings.refreshed;
        const auto refreshMessages = RefreshMessages(session.Image());
        expected.insert(expected.end(), refreshMessages.begin(), refreshMessages.end());
        bool good =
            Expect(prompter.texts == expected, label,
                   "messages " + Joined(prompter.texts) + " instead of " + Joined(expected));
        good = CheckModel(session.Image(), session.Model(), label) && good;
        good = CheckDistribution(session.Image(), session.Model(), firstStep, label) && good;
        // The refresh changed the image by balancing and, with the correction, the listed cycles.
        RecorderImage balanced = input;
        BalanceSpectrum(balanced);
        good = CheckCycles(balanced, session.Image(), session.Model(),
                           static_cast<CycleFilter>(firstFilter), correction, label) &&
               good;

        for (int f = 0; f < (everything ? 4 : 0) && good; ++f) {
            session.Model().choices.rgLast = f;
            // The date filter both on the reading date and on the date of some record.
            if (f == 0 && rotation_++ % 2 == 1) PickRecordDate(session);
            const RecorderImage beforeFill = session.Image();
            session.FillCycleList();
            good = CheckCycles(beforeFill, session.Image(), session.Model(),
                               static_cast<CycleFilter>(f), correction, label) &&
                   good;
        }
        for (int step = 0; step < 3 && good; ++step) {
            session.Model().choices.rgStep = step;
            session.FillLoadDistribution();
            good = CheckDistribution(session.Image(), session.Model(), step, label) && good;
        }
        const std::string name = session.ProposedFileName();
        good = Expect(ValidUtf8WithoutNul(name) && name.rfind("РП_№", 0) == 0, label,
                      "proposed name '" + name + "'") &&
               good;
        for (const auto& t : prompter.texts) {
            good = Expect(KnownMessages().count(t) == 1, label, "unknown message " + t) && good;
        }
        if (!good) ++findings.failures;
    }

    // Opens the current image, then compares it with the previous one read from a file.
    void Compare(const RecorderImage& current, const RecorderImage& previous, bool answer,
                 bool correction, int filter, const std::string& label) {
        ++findings.comparisons;
        test::RecordingPrompter prompter(answer);
        FixedClock clock(kNow);
        Session session(prompter, clock);
        session.SetDataCorrection(correction);
        session.Model().choices.rgLast = filter;
        session.Image() = current;
        if (!session.AcceptImage(msg::kBadChecksum)) session.Refresh();  // shown all the same
        WritePrevious(previous);
        prompter.texts.clear();

        const RecorderImage snapshot = session.Image();
        const std::string shown = Digest(session.Model());
        const bool reduced = session.CompareWithPrevious(previousPath_);
        bool good = true;
        for (const auto& t : prompter.texts) {
            good = Expect(KnownMessages().count(t) == 1, label, "unknown message " + t) && good;
        }
        good = Expect(std::count(prompter.texts.begin(), prompter.texts.end(),
                                 std::string(msg::kStatisticsFailed)) == 0 &&
                          std::count(prompter.texts.begin(), prompter.texts.end(),
                                     std::string(msg::kLongTermFailed)) == 0,
                      label, "a step of the refresh failed") &&
               good;

        RecorderImage balancedPrevious = previous;
        BalanceSpectrum(balancedPrevious);
        const bool previousChecksumOk = EvenXorZero(previous);
        const bool sameSerials =
            std::memcmp(snapshot.Data() + 0x0920, previous.Data() + 0x0920, 16) == 0 &&
            std::memcmp(snapshot.Data() + 0x09D6, previous.Data() + 0x09D6, 16) == 0;

        if (!reduced) {
            good = Expect(session.Image() == snapshot, label,
                          "a failed comparison changed the image") &&
                   good;
            good = Expect(Digest(session.Model()) == shown, label,
                          "a failed comparison changed the pages") &&
                   good;
            good = Expect(!prompter.texts.empty(), label, "a comparison failed silently") && good;
            if (!prompter.texts.empty() && (previousChecksumOk || answer)) {
                const std::string& last = prompter.texts.back();
                good = Expect(last == msg::kWrongPreviousFile || last == msg::kBadPreviousFile,
                              label, "comparison ended with " + last) &&
                       good;
                if (last == msg::kBadPreviousFile) {
                    good = Expect(!Subtractable(snapshot, balancedPrevious), label,
                                  "a subtractable previous check was refused") &&
                           good;
                }
            }
        } else {
            ++findings.comparisonsReduced;
            good = Expect(answer || (previousChecksumOk && sameSerials), label,
                          "reduced although a question was answered No") &&
                   good;
            good = Expect(Subtractable(snapshot, balancedPrevious), label,
                          "reduced by a previous check with larger counters") &&
                   good;
            good = CheckReduced(snapshot, previous, session, correction, label) && good;
            good = CheckModel(session.Image(), session.Model(), label) && good;
            good = CheckDistribution(session.Image(), session.Model(),
                                     session.Model().choices.rgStep, label) &&
                   good;
        }
        if (!good) ++findings.failures;
    }

private:
    static std::string Joined(const std::vector<std::string>& texts) {
        std::string s = "[";
        for (const auto& t : texts) s += "\"" + t + "\" ";
        return s + "]";
    }

    static bool Expect(bool condition, const std::string& label, const std::string& what) {
        if (!condition) ADD_FAILURE() << label << ": " << what;
        return condition;
    }

    static bool Subtractable(const RecorderImage& current, const RecorderImage& previous) {
        for (int g = 0; g < kGroups; ++g) {
            for (int j = 0; j < 128; ++j) {
                if (current.Bin(g, j) < previous.Bin(g, j)) return false;
            }
            if (!(current.LiftedMass(g) >= previous.LiftedMass(g))) return false;
            if (current.OperatingMinutes(g) < previous.OperatingMinutes(g)) return false;
            if (current.LimiterTrips(g) < previous.LimiterTrips(g)) return false;
        }
        return true;
    }

    static bool CheckReduced(const RecorderImage& before, const RecorderImage& previous,
                             const Session& session, bool correction, const std::string& label) {
        const RecorderImage& after = session.Image();
        for (int slot = 0; slot < 1728; ++slot) {
            const unsigned at = 0x1000 + 16u * static_cast<unsigned>(slot);
            if (std::memcmp(before.Data() + at, previous.Data() + at, 16) == 0) {
                static const std::uint8_t kZero[16] = {};
                CHECK_OR_RETURN(std::memcmp(after.Data() + at, kZero, 16) == 0,
                                "known cycle in slot " << slot << " kept");
            } else if (!correction) {
                CHECK_OR_RETURN(std::memcmp(after.Data() + at, before.Data() + at, 16) == 0,
                                "new cycle in slot " << slot << " changed");
            }
        }
        CHECK_OR_RETURN(std::memcmp(after.Data() + 0x7C00, before.Data() + 0x7C00, 0x400) == 0,
                        "the trip log changed");
        CHECK_OR_RETURN(std::memcmp(after.Data() + 0x8000, before.Data() + 0x8000, 0x8000) == 0,
                        "the frame area changed");
        const std::uint8_t* t = previous.Data() + 0x0004;
        const long long startDay =
            ValidTime(t) ? DayNumber(2000 + BcdNumber(t[4]), BcdNumber(t[3]), BcdNumber(t[2]))
                         : WholeDays(kNow);
        CHECK_OR_RETURN(InstallDayOf(after) == startDay, "period starts on day "
                                                             << InstallDayOf(after) << ", expected "
                                                             << startDay);
        for (int g = 0; g < kGroups; ++g) {
            CHECK_OR_RETURN(after.OperatingMinutes(g) ==
                                before.OperatingMinutes(g) - previous.OperatingMinutes(g),
                            "operating minutes of group " << g);
        }
        return true;
    }

    void PickRecordDate(Session& session) {
        for (int i = 0; i < 1728; ++i) {
            const std::uint8_t* rec = session.Image().Data() + 0x1000 + 16 * ((i * 37) % 1728);
            if (ValidTime(rec)) {
                const double day = static_cast<double>(
                    DayNumber(2000 + BcdNumber(rec[4]), BcdNumber(rec[3]), BcdNumber(rec[2])));
                session.Model().reportDate = day;
                session.Model().SetText(Ctl::dtpReportDate, ShortDateText(day));
                return;
            }
        }
    }

    void WritePrevious(const RecorderImage& previous) {
        std::ofstream out(previousPath_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(previous.Data()),
                  static_cast<std::streamsize>(kImageSize));
    }

    test::TempFolder folder_;
    std::filesystem::path previousPath_ = folder_ / "previous.bbd";
    int rotation_ = 0;
};

}  // namespace
}  // namespace orbisk
