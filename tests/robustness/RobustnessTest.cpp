// The refresh sequence and the comparison with the previous check over thousands of random,
// mutated and deliberately hostile images. Whatever an image holds, the program must neither
// crash nor hang nor read outside the image (the sanitized build watches that), and what it
// shows must keep the shape the windows, the reports and the command line rely on.
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

#include "RobustnessSupport.h"

namespace orbisk {
namespace {

// ---------------------------------------------------------------------------------------------
// Images

bool LoadSample(const char* name, RecorderImage& image) {
    std::ifstream in(std::filesystem::path(ORBISK_SOURCE_DIR) / "samples" / name, std::ios::binary);
    in.read(reinterpret_cast<char*>(image.Data()), static_cast<std::streamsize>(kImageSize));
    return in.gcount() == static_cast<std::streamsize>(kImageSize);
}

void PutTime(RecorderImage& image, unsigned at, int year, int month, int day, int hour,
             int minute) {
    const auto bcd = [](int v) { return static_cast<std::uint8_t>((v / 10) << 4 | (v % 10)); };
    const std::uint8_t t[5] = {bcd(minute), bcd(hour), bcd(day), bcd(month), bcd(year % 100)};
    for (unsigned i = 0; i < 5; ++i) image.Data()[(at + i) & 0xFFFF] = t[i];
}

void PutRandomValidTime(Random& rnd, RecorderImage& image, unsigned at) {
    PutTime(image, at, 2000 + rnd.Range(5, 30), rnd.Range(1, 12), rnd.Range(1, 28),
            rnd.Range(0, 23), rnd.Range(0, 59));
}

// A plausible recorder image and the image of its previous check: valid times, settings within
// their ranges, a walked ring with switch events, stops and frames, counters that only grow.
// These go deeper than random bytes: the checksum passes, the date filter finds records and the
// comparison succeeds.
void StructuredPair(Random& rnd, RecorderImage& current, RecorderImage& previous) {
    current = RecorderImage();
    std::uint8_t* d = current.Data();
    const int year = rnd.Range(2006, 2030), month = rnd.Range(1, 12), day = rnd.Range(1, 28);
    PutTime(current, 0x0004, year, month, day, rnd.Range(0, 23), rnd.Range(0, 59));
    const char* versions[] = {"1.2.7", "2.0.1", "1.3.0"};
    current.SetText(addr::Version, 5, versions[rnd.Below(3)]);
    const int w1 = rnd.Range(1, 8), w2 = rnd.Range(0, 8 - w1),
              w3 = w2 ? rnd.Range(0, 8 - w1 - w2) : 0;
    d[0x30] = static_cast<std::uint8_t>(w1), d[0x31] = static_cast<std::uint8_t>(w2),
    d[0x32] = static_cast<std::uint8_t>(w3);
    for (unsigned a = 0x10; a < 0x30; ++a) d[a] = rnd.Byte();
    for (unsigned a = 0x43; a < 0x63; ++a) d[a] = static_cast<std::uint8_t>(rnd.Range(0, 125));
    d[0x47] = static_cast<std::uint8_t>(rnd.Range(0, 60));
    for (int g = 0; g < 4; ++g) {
        for (int j = 0; j < 128; ++j) {
            if (rnd.Chance(40)) current.SetBin(g, j, rnd.Below(rnd.Chance(5) ? 0xFFFFFF : 5000));
        }
        current.SetU32(static_cast<std::uint16_t>(0x0710 + 4 * g), rnd.Below(2000000));
        current.SetU32(static_cast<std::uint16_t>(0x0720 + 4 * g), rnd.Below(5000));
        current.SetF32(static_cast<std::uint16_t>(0x0730 + 4 * g),
                       static_cast<float>(rnd.Below(1000000)) / 7.0f);
    }
    const float capacity = static_cast<float>(rnd.Range(1, 500)) / 4.0f;
    current.SetF32(0x0800, capacity);
    current.SetF32(0x0804, rnd.Chance(50) ? capacity : capacity / 2);
    current.SetF32(0x0808, capacity / 3);
    current.SetF32(0x080C, capacity / 5);
    current.SetText(addr::RecorderType, 32, "ОНК-160С-" + std::to_string(rnd.Below(100)));
    current.SetText(addr::RecorderSerial, 16, std::to_string(rnd.Below(100000)) + "/Б");
    current.SetU16(addr::RecorderYear, static_cast<std::uint16_t>(rnd.Range(1995, 2030)));
    current.SetText(addr::RecorderMaker, 64, "ООО «Орбис», г. Тула");
    current.SetU32(addr::InstallDay,
                   static_cast<std::uint32_t>(DayNumber(year, month, day) - rnd.Range(0, 6000)));
    current.SetText(addr::Installer, 64, "Монтажник №" + std::to_string(rnd.Below(9)));
    current.SetText(addr::CraneType, 32, "КС-45717К-1Р");
    current.SetText(addr::CraneSerial, 16, std::to_string(rnd.Below(100000)));
    current.SetText(addr::Owner, 64, "ЗАО \"Стройкран\" & <сыновья>");
    current.SetText(addr::ClassGroup, 2, "А" + std::to_string(rnd.Range(1, 8)));
    d[0x0A6A] = static_cast<std::uint8_t>(rnd.Range(0, 40));
    current.SetText(addr::Commissioning, 16, "01.02.2003 г.");
    if (rnd.Chance(50)) current.SetText(addr::DisplayNames, 16, "Стрела");
    for (unsigned c : {0x0E00u, 0x0E10u, 0x0E20u}) {
        PutRandomValidTime(rnd, current, c);
        d[c + 5] = rnd.Chance(50) ? 1 : 0;
        for (unsigned k = 6; k < 12; ++k) d[c + k] = rnd.Byte();
    }
    // Rings newest first from the reading time backwards; some frames still in memory.
    const auto fillRing = [&](unsigned base, int slots, unsigned writeAt) {
        const int writeSlot = rnd.Range(0, slots - 1);
        current.SetU16(static_cast<std::uint16_t>(writeAt),
                       static_cast<std::uint16_t>(base + 16 * writeSlot));
        long long dayOfRecord = DayNumber(year, month, day);
        for (int i = 0; i < slots; ++i) {
            const int slot = ((writeSlot - 1 - i) % slots + slots) % slots;
            const unsigned at = base + 16u * static_cast<unsigned>(slot);
            if (rnd.Chance(3)) continue;  // never written
            dayOfRecord -= rnd.Below(3);
            const CivilDate date = DateOfDay(dayOfRecord);
            PutTime(current, at, date.year, date.month, date.day, rnd.Range(0, 23),
                    rnd.Range(0, 59));
            static constexpr std::array<std::uint8_t, 8> kFlags = {0x00, 0x00, 0x01, 0x05,
                                                                   0x10, 0x20, 0x70, 0xAF};
            d[at + 5] = rnd.Pick(kFlags);
            for (unsigned k = 6; k < 10; ++k)
                d[at + k] = static_cast<std::uint8_t>(rnd.Range(0, 160));
            current.SetF32(static_cast<std::uint16_t>(at + 10),
                           static_cast<float>(rnd.Range(0, 40000)) / 100.0f);
            const auto frame = static_cast<std::uint16_t>(rnd.Below(0x8000));
            current.SetU16(static_cast<std::uint16_t>(at + 14), frame);
            if (rnd.Chance(30)) {
                for (unsigned k = 0; k < 5; ++k) d[0x8000 + ((frame + k) & 0x7FFF)] = d[at + k];
            }
        }
    };
    fillRing(0x1000, 1728, 0x0700);
    fillRing(0x7C00, 64, 0x0702);
    BalanceChecksum(current);

    // The previous check: earlier, smaller counters, the older part of the ring the same.
    previous = current;
    std::uint8_t* p = previous.Data();
    PutTime(previous, 0x0004, year - 1, month, day, rnd.Range(0, 23), rnd.Range(0, 59));
    for (int g = 0; g < 4; ++g) {
        for (int j = 0; j < 128; ++j) {
            const std::uint32_t bin = current.Bin(g, j);
            previous.SetBin(g, j, bin == 0 ? 0 : rnd.Below(bin + 1));
        }
        const auto minutes = static_cast<std::uint16_t>(0x0710 + 4 * g);
        previous.SetU32(minutes, rnd.Below(current.U32(minutes) + 1));
        const auto massAt = static_cast<std::uint16_t>(0x0730 + 4 * g);
        previous.SetF32(massAt, current.F32(massAt) / 2);
        const auto tripsAt = static_cast<std::uint16_t>(0x0720 + 4 * g);
        previous.SetU32(tripsAt, current.U32(tripsAt) / 3);
    }
    for (int slot = 0; slot < 1728; ++slot) {
        if (rnd.Chance(20)) {
            for (unsigned k = 0; k < 16; ++k)
                p[0x1000 + 16u * static_cast<unsigned>(slot) + k] = rnd.Byte();
        }
    }
    BalanceChecksum(previous);
}

// One of the fields the decoding trusts least, set to a hostile value.
using Hammer = std::function<void(Random&, RecorderImage&)>;

std::vector<std::pair<const char*, Hammer>> Hammers() {
    std::vector<std::pair<const char*, Hammer>> h;
    h.emplace_back("ring write addresses", [](Random& r, RecorderImage& img) {
        static constexpr std::array<std::uint16_t, 12> kCycle = {0x0000, 0x1000, 0x1001, 0x100F,
                                                                 0x1010, 0x7BF0, 0x7BFF, 0x7C00,
                                                                 0x7C01, 0x8000, 0xFFFF, 0x0FFF};
        static constexpr std::array<std::uint16_t, 10> kTrip = {
            0x0000, 0x7C00, 0x7C01, 0x7FF0, 0x7FFF, 0x8000, 0x8001, 0xFFFF, 0x1000, 0x7BFF};
        img.SetU16(addr::CycleLogWrite,
                   r.Chance(80) ? r.Pick(kCycle) : static_cast<std::uint16_t>(r.Next()));
        img.SetU16(addr::TripLogWrite,
                   r.Chance(80) ? r.Pick(kTrip) : static_cast<std::uint16_t>(r.Next()));
    });
    h.emplace_back("frame offsets", [](Random& r, RecorderImage& img) {
        const int count = r.Chance(20) ? 1792 : r.Range(1, 64);
        for (int i = 0; i < count; ++i) {
            const int slot = count == 1792 ? i : r.Range(0, 1791);
            const auto at = static_cast<std::uint16_t>(0x1000 + 16 * slot);
            const auto frame = static_cast<std::uint16_t>(r.Chance(70) ? 0x7FFB + r.Below(5)
                                                                       : 0x7FFB + r.Below(0x8005));
            img.SetU16(static_cast<std::uint16_t>(at + 14), frame);
            if (r.Chance(50)) {  // the frame is there, wrapping the end of the area
                for (unsigned k = 0; k < 5; ++k) {
                    img.Data()[0x8000 + ((frame + k) & 0x7FFF)] = img.Data()[at + k];
                }
            }
        }
    });
    h.emplace_back("sensor counts", [](Random& r, RecorderImage& img) {
        for (unsigned a = 0x30; a < 0x33; ++a) {
            img.Data()[a] = r.Chance(50) ? r.Byte() : static_cast<std::uint8_t>(r.Range(0, 9));
        }
        if (r.Chance(30)) img.SetF32(0x0804, img.F32(0x0800));
    });
    h.emplace_back("cycle start and colour limits", [](Random& r, RecorderImage& img) {
        img.Data()[0x47] = r.Byte();
        img.Data()[0x44] = r.Byte();
        img.Data()[0x46] = r.Byte();
        for (unsigned a = 0x50; a < 0x60; ++a) {
            if (r.Chance(30)) img.Data()[a] = r.Byte();
        }
    });
    h.emplace_back("capacities", [](Random& r, RecorderImage& img) {
        static constexpr std::array<float, 12> kValues = {std::numeric_limits<float>::quiet_NaN(),
                                                          std::numeric_limits<float>::infinity(),
                                                          -std::numeric_limits<float>::infinity(),
                                                          -12.5f,
                                                          -0.0f,
                                                          0.0f,
                                                          std::numeric_limits<float>::denorm_min(),
                                                          1e-39f,
                                                          std::numeric_limits<float>::max(),
                                                          -std::numeric_limits<float>::max(),
                                                          0.004999f,
                                                          1e30f};
        for (int g = 0; g < 4; ++g) {
            if (r.Chance(70))
                img.SetF32(static_cast<std::uint16_t>(0x0800 + 4 * g), r.Pick(kValues));
        }
        if (r.Chance(30)) img.SetU32(0x0800, 0x7FC00001u + r.Below(100));  // a NaN with payload
    });
    h.emplace_back("service life", [](Random& r, RecorderImage& img) {
        img.Data()[0x0A6A] = static_cast<std::uint8_t>(r.Range(-128, 127));
    });
    h.emplace_back("installation day", [](Random& r, RecorderImage& img) {
        const std::uint8_t* t = img.Data() + 0x0004;
        const long long readingDay =
            ValidTime(t) ? DayNumber(2000 + BcdNumber(t[4]), BcdNumber(t[3]), BcdNumber(t[2]))
                         : WholeDays(kNow);
        const std::array<long long, 14> kDays = {std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max(),
                                                 kFirstShowableDay,
                                                 kFirstShowableDay - 1,
                                                 kLastShowableDay,
                                                 kLastShowableDay + 1,
                                                 0,
                                                 -1,
                                                 readingDay,
                                                 readingDay + 1,
                                                 readingDay - 1,
                                                 -693594,
                                                 2958466,
                                                 100000000};
        img.SetU32(addr::InstallDay, static_cast<std::uint32_t>(r.Pick(kDays)));
        if (r.Chance(30)) {  // reading at midnight of the installation day: no days in service
            const CivilDate date = DateOfDay(readingDay);
            if (date.year >= 2000 && date.year <= 2099) {
                PutTime(img, 0x0004, date.year, date.month, date.day, 0, 0);
                img.SetU32(addr::InstallDay, static_cast<std::uint32_t>(readingDay));
            }
        }
    });
    h.emplace_back("times", [](Random& r, RecorderImage& img) {
        static constexpr std::array<std::array<std::uint8_t, 5>, 12> kTimes = {{
            {0x00, 0x00, 0x31, 0x04, 0x09},  // 31.04
            {0x00, 0x00, 0x29, 0x02, 0x01},  // 29.02 of a common year
            {0x00, 0x00, 0x29, 0x02, 0x00},  // 29.02.2000, a leap year
            {0x00, 0x00, 0x30, 0x02, 0x04},
            {0x59, 0x23, 0x31, 0x12, 0x99},
            {0x60, 0x00, 0x01, 0x01, 0x10},
            {0x00, 0x24, 0x01, 0x01, 0x10},
            {0x00, 0x00, 0x00, 0x01, 0x10},
            {0x00, 0x00, 0x01, 0x13, 0x10},
            {0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
            {0x0A, 0x1F, 0xA1, 0x0C, 0x9A},
            {0x00, 0x00, 0x00, 0x00, 0x00},
        }};
        const auto put = [&](unsigned at) {
            const auto& t = r.Pick(kTimes);
            for (unsigned i = 0; i < 5; ++i) img.Data()[at + i] = r.Chance(10) ? r.Byte() : t[i];
        };
        if (r.Chance(60)) put(0x0004);
        for (unsigned c : {0x0E00u, 0x0E10u, 0x0E20u}) {
            if (r.Chance(50)) put(c);
        }
        const int records = r.Range(0, 200);
        for (int i = 0; i < records; ++i)
            put(0x1000 + 16u * static_cast<unsigned>(r.Range(0, 1791)));
    });
    h.emplace_back("texts of full width", [](Random& r, RecorderImage& img) {
        static constexpr std::array<std::pair<unsigned, unsigned>, 18> kFields = {{{0x0009, 5},
                                                                                   {0x0900, 32},
                                                                                   {0x0920, 16},
                                                                                   {0x0932, 64},
                                                                                   {0x0976, 64},
                                                                                   {0x09B6, 32},
                                                                                   {0x09D6, 16},
                                                                                   {0x09E8, 64},
                                                                                   {0x0A28, 64},
                                                                                   {0x0A68, 2},
                                                                                   {0x0A6B, 16},
                                                                                   {0x0A7B, 16},
                                                                                   {0x0A8B, 16},
                                                                                   {0x0A9B, 16},
                                                                                   {0x0AAB, 16},
                                                                                   {0x0930, 2},
                                                                                   {0x09E6, 2},
                                                                                   {0x0972, 4}}};
        const int mode = r.Range(0, 2);
        for (const auto& [at, width] : kFields) {
            for (unsigned i = 0; i < width; ++i) {
                std::uint8_t b = mode == 0   ? static_cast<std::uint8_t>(0x80 + r.Below(0x80))
                                 : mode == 1 ? static_cast<std::uint8_t>(1 + r.Below(255))
                                             : static_cast<std::uint8_t>(0x98);
                if (r.Chance(3)) b = static_cast<std::uint8_t>("\"\\<>&\n\t\x7F"[r.Below(8)]);
                img.Data()[at + i] = b;
            }
        }
    });
    h.emplace_back("masses and counters", [](Random& r, RecorderImage& img) {
        static constexpr std::array<std::uint32_t, 9> kFloats = {
            0x7FC00000u, 0xFFC00000u, 0x7F800000u, 0xFF800000u, 0x7F7FFFFFu,
            0xFF7FFFFFu, 0x00000001u, 0x80000000u, 0x4B189680u};
        const int records = r.Chance(20) ? 1792 : r.Range(1, 100);
        for (int i = 0; i < records; ++i) {
            const int slot = records == 1792 ? i : r.Range(0, 1791);
            const auto at = static_cast<std::uint16_t>(0x1000 + 16 * slot);
            img.SetU32(static_cast<std::uint16_t>(at + 10), r.Pick(kFloats));
            img.Data()[at + 5] = r.Byte();
            for (unsigned k = 6; k < 10; ++k) img.Data()[at + k] = r.Byte();
        }
        for (int g = 0; g < 4; ++g) {
            img.SetU32(static_cast<std::uint16_t>(0x0730 + 4 * g), r.Pick(kFloats));
            if (r.Chance(50))
                img.SetU32(static_cast<std::uint16_t>(0x0710 + 4 * g),
                           static_cast<std::uint32_t>(r.Next()));
            if (r.Chance(50)) img.SetU32(static_cast<std::uint16_t>(0x0720 + 4 * g), 0xFFFFFFFFu);
        }
    });
    h.emplace_back("spectrum extremes", [](Random& r, RecorderImage& img) {
        const std::uint32_t value = r.Chance(50) ? 0xFFFFFF : r.Below(0x1000000);
        for (int g = 0; g < 4; ++g) {
            for (int j = 0; j < 128; ++j) {
                if (r.Chance(80)) img.SetBin(g, j, value);
            }
        }
        if (r.Chance(50)) img.SetU32(0x0710, r.Below(3));  // almost no operating minutes
    });
    h.emplace_back("version quirk", [](Random& r, RecorderImage& img) {
        img.Data()[0x0009] = '1';
        img.Data()[0x000B] = r.Chance(70) ? '2' : r.Byte();
        img.Data()[0x000A] = r.Byte();
    });
    return h;
}

void FlipBytes(Random& r, RecorderImage& img, int count) {
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::uint16_t>(r.Next());
        if (r.Chance(50)) {
            img.Data()[at] ^= static_cast<std::uint8_t>(1u << r.Below(8));
        } else {
            img.Data()[at] = r.Byte();
        }
    }
}

// Scaled so that the sanitized Debug build stays near ten seconds on a small machine.
constexpr int kRandomImages = 160;
constexpr int kFlippedImages = 160;
constexpr int kHammeredPerRegion = 16;
constexpr int kStructuredImages = 80;
constexpr int kComparisons = 120;

class RobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        haveSamples_ =
            LoadSample("current.bbd", sample_) && LoadSample("previous.bbd", previousSample_);
        if (!haveSamples_) {
            // Without the committed samples the structured images stand in for them.
            Random r(1);
            StructuredPair(r, sample_, previousSample_);
        }
    }

    void Report(const Exerciser& e) const {
        std::cout << "[ images ] " << e.findings.images << " refreshes (" << e.findings.refreshed
                  << " shown, " << e.findings.abandoned << " abandoned), " << e.findings.comparisons
                  << " comparisons (" << e.findings.comparisonsReduced
                  << " reduced); images with faults: " << e.findings.failures << "\n";
        EXPECT_EQ(e.findings.failures, 0);
    }

    // The passes an image gets: answering Yes, the correction on or off, the filters and steps
    // in turn, and for one image in sixteen every filter and every step; answering No too where
    // that changes anything, on a broken checksum.
    void ExerciseAll(Exerciser& e, Random& r, const RecorderImage& img, const std::string& label) {
        const int n = counter_++;
        const bool everything = n % 16 == 0;
        const bool correction = everything ? (n / 16) % 2 == 1 : n % 2 == 1;
        e.Refresh(img, true, correction, n % 4, n % 3, everything, label + " yes");
        if (!EvenXorZero(img)) {
            e.Refresh(img, false, r.Chance(50), r.Range(0, 3), r.Range(0, 2), false, label + " no");
        }
    }
    int counter_ = 0;

    bool haveSamples_ = false;
    RecorderImage sample_;
    RecorderImage previousSample_;
};

TEST_F(RobustnessTest, SamplesAreShownWithEveryFilterAndStep) {
    ASSERT_TRUE(haveSamples_) << "samples/current.bbd and samples/previous.bbd are missing";
    Watchdog watchdog("the samples", kHangLimit);
    Exerciser e;
    Random r(7);
    for (const RecorderImage* img : {&sample_, &previousSample_}) {
        for (int filter = 0; filter < 4; ++filter) {
            for (int step = 0; step < 3; ++step) {
                e.Refresh(*img, true, filter % 2 == 1, filter, step, true, "sample");
            }
        }
    }
    e.Compare(sample_, previousSample_, true, false, 3, "sample pair");
    e.Compare(sample_, previousSample_, false, true, 0, "sample pair, correction");
    EXPECT_EQ(e.findings.comparisonsReduced, 2) << "the sample pair must compare";
    e.Compare(sample_, sample_, true, false, 1, "sample against itself");
    EXPECT_EQ(e.findings.comparisonsReduced, 2);
    e.Compare(previousSample_, sample_, true, false, 2, "samples swapped");
    EXPECT_EQ(e.findings.comparisonsReduced, 2);
    Report(e);
}

TEST_F(RobustnessTest, RandomBytes) {
    Watchdog watchdog("random images", kHangLimit);
    Exerciser e;
    Random r(20240517);
    for (int i = 0; i < kRandomImages; ++i) {
        RecorderImage img;
        for (std::size_t a = 0; a < kImageSize; a += 8) {
            const std::uint64_t v = r.Next();
            std::memcpy(img.Data() + a, &v, 8);
        }
        if (i % 2 == 0) BalanceChecksum(img);
        ExerciseAll(e, r, img, "random image " + std::to_string(i));
    }
    Report(e);
}

TEST_F(RobustnessTest, SampleWithRandomByteFlips) {
    Watchdog watchdog("flipped samples", kHangLimit);
    Exerciser e;
    Random r(4242);
    for (int i = 0; i < kFlippedImages; ++i) {
        RecorderImage img = i % 3 == 2 ? previousSample_ : sample_;
        FlipBytes(r, img, r.Chance(50) ? r.Range(1, 8) : r.Range(9, 2000));
        if (r.Chance(60)) BalanceChecksum(img);
        ExerciseAll(e, r, img, "flipped sample " + std::to_string(i));
    }
    Report(e);
}

TEST_F(RobustnessTest, HostileValuesInTheFieldsDecodingTrusts) {
    Watchdog watchdog("hammered regions", kHangLimit);
    Exerciser e;
    Random r(1999);
    const auto hammers = Hammers();
    for (std::size_t h = 0; h < hammers.size(); ++h) {
        for (int i = 0; i < kHammeredPerRegion; ++i) {
            RecorderImage img = r.Chance(50) ? sample_ : previousSample_;
            hammers[h].second(r, img);
            if (r.Chance(30))
                hammers[r.Below(static_cast<std::uint32_t>(hammers.size()))].second(r, img);
            BalanceChecksum(img);
            ExerciseAll(e, r, img, std::string(hammers[h].first) + " " + std::to_string(i));
        }
    }
    // Every sensor count, cycle start and service life once (with the short lists of the
    // limiter trips and the switch events, to keep the time down).
    for (int v = 0; v < 256; ++v) {
        RecorderImage img = sample_;
        img.Data()[0x30 + v % 3] = static_cast<std::uint8_t>(v);
        img.Data()[0x47] = static_cast<std::uint8_t>(v);
        img.Data()[0x0A6A] = static_cast<std::uint8_t>(v);
        BalanceChecksum(img);
        e.Refresh(img, true, v % 2 == 0, 1 + v % 2, v % 3, false,
                  "byte value " + std::to_string(v));
    }
    Report(e);
}

TEST_F(RobustnessTest, StructuredImages) {
    Watchdog watchdog("structured images", kHangLimit);
    Exerciser e;
    Random r(31337);
    const auto hammers = Hammers();
    for (int i = 0; i < kStructuredImages; ++i) {
        RecorderImage current, previous;
        StructuredPair(r, current, previous);
        if (r.Chance(30))
            hammers[r.Below(static_cast<std::uint32_t>(hammers.size()))].second(r, current);
        ExerciseAll(e, r, current, "structured image " + std::to_string(i));
    }
    Report(e);
}

TEST_F(RobustnessTest, ComparisonIsAllOrNothing) {
    Watchdog watchdog("comparisons", kHangLimit);
    Exerciser e;
    Random r(555);
    const auto hammers = Hammers();
    for (int i = 0; i < kComparisons; ++i) {
        RecorderImage current, previous;
        switch (i % 5) {
            case 0:  // a consistent pair, then perhaps one counter of the previous raised
            case 1:
                StructuredPair(r, current, previous);
                if (r.Chance(50)) {
                    const int g = r.Range(0, 3);
                    switch (r.Range(0, 3)) {
                        case 0:
                            previous.SetBin(g, r.Range(0, 127), 0xFFFFFF);
                            break;
                        case 1:
                            previous.SetF32(
                                static_cast<std::uint16_t>(0x0730 + 4 * g),
                                r.Chance(50) ? std::numeric_limits<float>::quiet_NaN() : 1e30f);
                            break;
                        case 2:
                            previous.SetU32(static_cast<std::uint16_t>(0x0710 + 4 * g),
                                            0xFFFFFFFFu);
                            break;
                        default:
                            previous.SetU32(static_cast<std::uint16_t>(0x0720 + 4 * g),
                                            0xFFFFFFFFu);
                    }
                }
                if (r.Chance(20)) previous.Data()[0x0920 + r.Below(16)] ^= 1;
                if (r.Chance(20)) previous.Data()[0x09D6 + r.Below(16)] ^= 1;
                if (r.Chance(30)) BalanceChecksum(previous);
                break;
            case 2:  // the samples, mutated on either side
                current = sample_;
                previous = previousSample_;
                FlipBytes(r, r.Chance(50) ? current : previous, r.Range(1, 40));
                if (r.Chance(50))
                    hammers[r.Below(static_cast<std::uint32_t>(hammers.size()))].second(r,
                                                                                        previous);
                if (r.Chance(70)) BalanceChecksum(previous);
                break;
            case 3:  // random bytes against a sample
                current = r.Chance(50) ? sample_ : RecorderImage();
                for (std::size_t a = 0; a < kImageSize; a += 8) {
                    const std::uint64_t v = r.Next();
                    std::memcpy(previous.Data() + a, &v, 8);
                }
                if (r.Chance(50))
                    std::memcpy(previous.Data() + 0x0920, current.Data() + 0x0920, 16);
                if (r.Chance(50))
                    std::memcpy(previous.Data() + 0x09D6, current.Data() + 0x09D6, 16);
                if (r.Chance(50)) BalanceChecksum(previous);
                break;
            default:  // hostile fields on both sides
                StructuredPair(r, current, previous);
                hammers[r.Below(static_cast<std::uint32_t>(hammers.size()))].second(r, current);
                hammers[r.Below(static_cast<std::uint32_t>(hammers.size()))].second(r, previous);
                if (r.Chance(50)) BalanceChecksum(previous);
        }
        e.Compare(current, previous, r.Chance(60), r.Chance(30), i % 4,
                  "comparison " + std::to_string(i));
    }
    EXPECT_GT(e.findings.comparisonsReduced, kComparisons / 10)
        << "too few comparisons got past the tests to exercise the reduction";
    Report(e);
}

}  // namespace
}  // namespace orbisk
