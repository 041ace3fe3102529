// The sample data files: the committed files are exactly what the generator writes, and the two
// images are a realistic, self-consistent pair of checks of one crane that the program can open
// and reduce to the period between them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "image/Codecs.h"
#include "image/RecorderImage.h"
#include "image/Session.h"
#include "support/RecordingPrompter.h"
#include "tools/make-samples/SampleImages.h"

namespace orbisk {
namespace {

using samples::Minutes;
using samples::SampleImages;
namespace story = samples::story;

const SampleImages& Images() {
    static const SampleImages images = samples::BuildSampleImages();
    return images;
}

std::filesystem::path CommittedFile(const char* name) {
    return std::filesystem::path(ORBISK_SOURCE_DIR) / "samples" / name;
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Minutes MomentOfTime(const RecorderTime& t) {
    return samples::MomentOf(2000 + BcdValue(t.Year()), BcdValue(t.Month()), BcdValue(t.Day()),
                             BcdValue(t.Hour()), BcdValue(t.Minute()));
}

// The ring's records oldest first (the reverse of the program's newest-first walk).
std::vector<CycleRecord> RecordsInWriteOrder(const RecorderImage& image, const Ring& ring) {
    std::vector<CycleRecord> records;
    for (int i = ring.slots - 1; i >= 0; --i) {
        records.push_back(image.Record(RecorderImage::SlotAddress(ring, image.WalkSlot(ring, i))));
    }
    return records;
}

struct FrameInfo {
    bool ended = false;
    int sampleSize = 0;
    int seconds = 0;  // stored samples plus their repeat counts
    int repeatedSamples = 0;
    bool badFlagByte = false;
    std::array<int, 3> highest{};  // crane, winch 1, winch 2
    std::uint32_t length = 0;      // bytes, end byte included
    bool sampleCrossesEnd = false;
};

// Reads a frame as the chart does, bounded by one pass around the frame area.
FrameInfo ParseFrame(const RecorderImage& image, std::uint16_t offset) {
    FrameInfo info;
    info.sampleSize = image.FrameByte(offset, 5);
    std::uint32_t pos = 6;
    while (pos < addr::FrameAreaSize) {
        const std::uint8_t flag = image.FrameByte(offset, pos);
        if (flag == 0xFF) {
            info.ended = true;
            info.length = pos + 1;
            break;
        }
        const int repeat = flag >> 5;
        if (repeat == 7) info.badFlagByte = true;
        if (repeat > 0) ++info.repeatedSamples;
        info.seconds += 1 + repeat;
        for (int k = 1; k < info.sampleSize && k <= 3; ++k) {
            info.highest[k - 1] =
                std::max<int>(info.highest[k - 1], image.FrameByte(offset, pos + k));
        }
        const std::uint32_t start = (offset + pos) & 0x7FFF;
        if (start + static_cast<std::uint32_t>(info.sampleSize) > addr::FrameAreaSize) {
            info.sampleCrossesEnd = true;
        }
        pos += static_cast<std::uint32_t>(info.sampleSize);
    }
    return info;
}

bool SameSlot(const RecorderImage& a, const RecorderImage& b, int slot) {
    const std::uint16_t at = RecorderImage::SlotAddress(kCycleLog, slot);
    return std::equal(a.Data() + at, a.Data() + at + kRecordSize, b.Data() + at);
}

TEST(SampleFiles, CommittedFilesAreWhatTheGeneratorWritesNow) {
    const auto folder = std::filesystem::temp_directory_path() / "orbisk-make-samples-test";
    std::filesystem::remove_all(folder);
    std::string error;
    ASSERT_TRUE(samples::WriteSampleFiles(folder, error)) << error;
    for (const char* name : {samples::kCurrentFileName, samples::kPreviousFileName}) {
        const auto fresh = ReadAll(folder / name);
        const auto committed = ReadAll(CommittedFile(name));
        EXPECT_EQ(fresh.size(), kImageSize) << name;
        EXPECT_TRUE(committed == fresh)
            << "samples/" << name << " differs from the generator's output; run make-samples";
    }
    const SampleImages& images = Images();
    EXPECT_TRUE(std::equal(images.current.Data(), images.current.Data() + kImageSize,
                           ReadAll(folder / samples::kCurrentFileName).begin()));
    std::filesystem::remove_all(folder);
}

TEST(SampleFiles, BothImagesPassTheChecksumAndNeitherHasTheOldVersionMark) {
    for (const RecorderImage* image : {&Images().current, &Images().previous}) {
        EXPECT_TRUE(image->ChecksumOk());
        // "1" and "2" at the first and third characters would switch the trip filter to the
        // whole cycle log; the samples exercise the trip log.
        EXPECT_FALSE(image->U8(addr::Version) == '1' && image->U8(addr::Version + 2) == '2');
        EXPECT_FALSE(image->Text(addr::Version, addr::VersionWidth).empty());
    }
}

TEST(SampleIdentification, SameRecorderAndCraneInBothChecks) {
    const RecorderImage& cur = Images().current;
    const RecorderImage& prev = Images().previous;
    for (std::uint16_t field : {addr::RecorderSerial, addr::CraneSerial}) {
        EXPECT_TRUE(std::equal(cur.Data() + field, cur.Data() + field + width::Serial,
                               prev.Data() + field));
    }
    EXPECT_EQ(cur.Text(addr::RecorderSerial, width::Serial), story::kRecorderSerial);
    EXPECT_EQ(cur.Text(addr::CraneSerial, width::Serial), story::kCraneSerial);
    EXPECT_EQ(cur.Text(addr::CraneType, width::CraneType), story::kCraneType);
    EXPECT_EQ(cur.Text(addr::RecorderType, width::RecorderType), story::kRecorderType);
    EXPECT_EQ(cur.Text(addr::CraneMaker, width::Maker), story::kCraneMaker);
    // The owner was changed at the previous check, after its reading.
    EXPECT_EQ(cur.Text(addr::Owner, width::Owner), story::kOwner);
    EXPECT_EQ(prev.Text(addr::Owner, width::Owner), story::kFormerOwner);
    EXPECT_EQ(cur.RawText(addr::ClassGroup, width::ClassGroup).size(), 2u);
    EXPECT_EQ(cur.I8(addr::ServiceLife), story::kServiceLifeYears);
    EXPECT_EQ(cur.I16(addr::CraneYear), story::kCraneYear);
    EXPECT_EQ(cur.I16(addr::RecorderYear), story::kRecorderYear);
    EXPECT_FALSE(cur.Text(addr::DisplayNames, addr::DisplayNameWidth).empty());
    EXPECT_TRUE(
        cur.Text(addr::DisplayNames + 3 * addr::DisplayNameWidth, addr::DisplayNameWidth).empty());
    EXPECT_EQ(cur.I32(addr::InstallDay), story::InstallationDay());
    EXPECT_EQ(prev.I32(addr::InstallDay), story::InstallationDay());
    EXPECT_LT(story::InstallationDay() * samples::kMinutesPerDay, story::PreviousReading());
}

TEST(SampleIdentification, CapacitiesAndSensorsKeepTheWinchSpectraApart) {
    for (const RecorderImage* image : {&Images().current, &Images().previous}) {
        EXPECT_FLOAT_EQ(image->Capacity(0), 25.0f);
        EXPECT_EQ(image->Capacity(0), image->Capacity(1));
        EXPECT_GT(image->Capacity(2), 0.0f);
        EXPECT_LT(image->Capacity(2), image->Capacity(1));
        // Winch 2 has a sensor, so balancing never copies the crane's spectrum to winch 1.
        EXPECT_GT(image->SensorCount(1), 0);
        EXPECT_GT(image->SensorCount(2), 0);
        EXPECT_EQ(image->SensorCount(3), 0);
        bool differ = false;
        for (int j = 0; j < addr::SpectrumBins; ++j) differ |= image->Bin(0, j) != image->Bin(1, j);
        EXPECT_TRUE(differ);
    }
}

TEST(SampleSettings, EveryValueInTheRangeTheEditorAccepts) {
    struct Range {
        std::uint16_t at;
        int min, max;
    };
    const Range ranges[] = {
        {addr::PreliminaryStop, 0, 125}, {addr::AverageMaxLoad, 50, 125},
        {addr::InstantMaxLoad, 0, 125},  {addr::Warning, 50, 125},
        {addr::CycleStart, 0, 60},       {addr::CycleEnd, 0, 50},
        {addr::CycleTime, 1, 30},        {addr::EnableLoad, 0, 125},
        {addr::AverageFilter, 2, 100},   {addr::MassFilter, 4, 255},
        {addr::SensorMaxLoad, 0, 255},   {addr::SensorSkew, 0, 125},
        {addr::Relay3On, 0, 125},        {addr::Relay3Load, 0, 2},
        {addr::Relay4On, 0, 125},        {addr::Relay4Load, 0, 3},
        {addr::WorkMode, 0, 4},          {addr::ExtDisplay, 0, 4},
        {addr::UseModeSensor, 0, 1},     {addr::Relay3Off, 0, 125},
        {addr::Relay4Off, 0, 125},       {addr::DacOutput, 0, 2},
        {addr::ExtRelayAlgorithm, 0, 3},
    };
    for (const RecorderImage* image : {&Images().current, &Images().previous}) {
        for (const Range& r : ranges) {
            EXPECT_GE(image->U8(r.at), r.min) << std::hex << r.at;
            EXPECT_LE(image->U8(r.at), r.max) << std::hex << r.at;
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_LE(image->U8(addr::WorkModeValues + i), 125);
            EXPECT_LE(image->U8(addr::ExtRelayThresholds + i), 125);
        }
        const int total = image->SensorCount(1) + image->SensorCount(2) + image->SensorCount(3);
        EXPECT_GE(image->SensorCount(1), 1);
        EXPECT_LE(total, 8);
        for (int k = 0; k < 8; ++k) {
            const std::uint16_t zero = image->U16(addr::CalibrationPairs + 4 * k);
            const std::uint16_t rated = image->U16(addr::CalibrationPairs + 4 * k + 2);
            if (k < total) {
                EXPECT_LT(zero, rated) << "sensor " << k + 1;
            } else {
                EXPECT_EQ(zero, 0);
                EXPECT_EQ(rated, 0);
            }
        }
        EXPECT_GT(image->U8(addr::AverageMaxLoad), image->U8(addr::Warning));
    }
    // The previous check changed relay 3; the cycle thresholds stayed.
    EXPECT_NE(Images().current.U8(addr::Relay3On), Images().previous.U8(addr::Relay3On));
    EXPECT_EQ(Images().current.U8(addr::CycleStart), Images().previous.U8(addr::CycleStart));
}

TEST(SampleReadings, ValidAYearApartAndJustAfterTheNewestRecord) {
    const RecorderImage& cur = Images().current;
    const RecorderImage& prev = Images().previous;
    for (const RecorderImage* image : {&cur, &prev}) {
        ASSERT_TRUE(TimeValid(image->Time(addr::ReadingTime)));
        const CycleRecord newest =
            image->Record(RecorderImage::SlotAddress(kCycleLog, image->WalkSlot(kCycleLog, 0)));
        const Minutes gap =
            MomentOfTime(image->Time(addr::ReadingTime)) - MomentOfTime(newest.time);
        EXPECT_GT(gap, 0);
        EXPECT_LE(gap, 15);
    }
    const Minutes apart =
        MomentOfTime(cur.Time(addr::ReadingTime)) - MomentOfTime(prev.Time(addr::ReadingTime));
    EXPECT_GE(apart, 330 * samples::kMinutesPerDay);
    EXPECT_LE(apart, 400 * samples::kMinutesPerDay);
}

TEST(SampleCounters, SpectrumOfYearsOfMostlyModerateLoads) {
    const RecorderImage& image = Images().current;
    const int start = image.U8(addr::CycleStart);
    for (int g = 0; g < 3; ++g) {
        std::uint64_t n = 0, moderate = 0;
        for (int j = 0; j < addr::SpectrumBins; ++j) {
            if (j < start) {
                EXPECT_EQ(image.Bin(g, j), 0u) << "group " << g << " bin " << j;
            }
            n += image.Bin(g, j);
            if (j >= 10 && j <= 70) moderate += image.Bin(g, j);
        }
        EXPECT_GE(n, 3000u) << "group " << g;
        EXPECT_GE(moderate * 10, n * 7) << "group " << g;
        EXPECT_GT(image.OperatingMinutes(g), 0u);
        EXPECT_GT(image.LiftedMass(g), 0.0f);
    }
    // Some cycles above the warning signal and some above the average maximum load, so the
    // histogram has yellow and red bars.
    std::uint64_t yellow = 0, red = 0;
    for (int j = image.U8(addr::Warning) + 1; j < addr::SpectrumBins; ++j) {
        (j > image.U8(addr::AverageMaxLoad) ? red : yellow) += image.Bin(0, j);
    }
    EXPECT_GT(yellow, 0u);
    EXPECT_GT(red, 0u);
    EXPECT_GT(image.LimiterTrips(0), 0u);
    for (int j = 0; j < addr::SpectrumBins; ++j) EXPECT_EQ(image.Bin(3, j), 0u);
    EXPECT_EQ(image.OperatingMinutes(3), 0u);
    EXPECT_EQ(image.LimiterTrips(3), 0u);
    EXPECT_EQ(image.LiftedMass(3), 0.0f);
}

TEST(SampleCounters, PreviousCheckNeverAboveTodayAndThePeriodIsNotEmpty) {
    const RecorderImage& cur = Images().current;
    const RecorderImage& prev = Images().previous;
    for (int g = 0; g < 4; ++g) {
        std::uint64_t added = 0;
        for (int j = 0; j < addr::SpectrumBins; ++j) {
            ASSERT_LE(prev.Bin(g, j), cur.Bin(g, j)) << "group " << g << " bin " << j;
            added += cur.Bin(g, j) - prev.Bin(g, j);
        }
        EXPECT_LE(prev.LiftedMass(g), cur.LiftedMass(g));
        EXPECT_LE(prev.OperatingMinutes(g), cur.OperatingMinutes(g));
        EXPECT_LE(prev.LimiterTrips(g), cur.LimiterTrips(g));
        if (g < 3) {
            EXPECT_GT(added, 100u) << "group " << g;
            EXPECT_LT(prev.OperatingMinutes(g), cur.OperatingMinutes(g));
        }
    }
}

TEST(SampleCycleLog, FullRingWrappingInStrictTimeOrder) {
    for (const RecorderImage* image : {&Images().current, &Images().previous}) {
        const int writeSlot = image->WriteSlot(kCycleLog);
        EXPECT_GT(writeSlot, 0);
        EXPECT_LT(writeSlot, kCycleLog.slots - 1);
        EXPECT_EQ(image->U16(addr::CycleLogWrite),
                  RecorderImage::SlotAddress(kCycleLog, writeSlot));
        const auto records = RecordsInWriteOrder(*image, kCycleLog);
        for (std::size_t i = 0; i < records.size(); ++i) {
            ASSERT_TRUE(TimeValid(records[i].time)) << "record " << i;
            if (i > 0) {
                ASSERT_LT(MomentOfTime(records[i - 1].time), MomentOfTime(records[i].time))
                    << "record " << i;
            }
        }
    }
}

TEST(SampleCycleLog, EveryKindOfRecordWithConsistentLoadsAndMasses) {
    const RecorderImage& image = Images().current;
    const auto records = RecordsInWriteOrder(image, kCycleLog);
    int on = 0, off = 0, errors = 0, modes = 0, blocking = 0, stops = 0, flags05 = 0;
    int correctable = 0, blockedOverload = 0;
    std::map<Minutes, int> cyclesPerDay;
    for (const CycleRecord& r : records) {
        if (r.IsSwitchEvent()) {
            (r.IsSwitchOff() ? off : on) += 1;
            errors += r.loads[0] != 0;
            modes += r.WorkModeNumber() != 0;
            EXPECT_EQ(r.StopBits(), 0);
            EXPECT_EQ(r.loads[1] | r.loads[2] | r.loads[3], 0);
            EXPECT_EQ(r.mass, 0.0f);
            continue;
        }
        ++cyclesPerDay[MomentOfTime(r.time) / samples::kMinutesPerDay];
        EXPECT_EQ(r.WorkModeNumber(), 0);
        EXPECT_EQ(r.loads[3], 0);
        blocking += r.IsBlocking();
        stops += r.StopBits() != 0;
        flags05 += r.flags == 0x05;
        EXPECT_FALSE(r.IsBlocking() && r.StopBits()) << TimeText(r.time, false);
        EXPECT_GT(r.mass, 0.0f);
        // Never more than the crane load allows, so the data correction changes a mass only where
        // it also clamps the load.
        const double limit = r.loads[0] * 0.01 * image.Capacity(0);
        EXPECT_LE(r.mass, limit) << TimeText(r.time, false);
        if (r.loads[0] > 125) {
            (r.IsBlocking() ? blockedOverload : correctable) += 1;
            if (!r.IsBlocking()) {
                EXPECT_GT(r.mass, 125 * 0.01 * image.Capacity(0));
            }
        }
    }
    EXPECT_GT(on, 100);
    EXPECT_GT(off, 100);
    EXPECT_GE(errors, 2);
    EXPECT_GE(modes, 5);
    EXPECT_GE(blocking, 2);
    EXPECT_GE(stops, 3);
    EXPECT_EQ(flags05, 1);
    EXPECT_GE(correctable, 1);
    EXPECT_GE(blockedOverload, 1);
    // Several cycles on a working day, and days without any between the first and the last.
    const auto busiest = std::max_element(cyclesPerDay.begin(), cyclesPerDay.end(),
                                          [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_GE(busiest->second, 4);
    const Minutes spanDays = cyclesPerDay.rbegin()->first - cyclesPerDay.begin()->first + 1;
    EXPECT_LT(static_cast<Minutes>(cyclesPerDay.size()) * 10, spanDays * 9);
}

TEST(SampleTripLog, FullRingOfStopsInTimeOrder) {
    for (const RecorderImage* image : {&Images().current, &Images().previous}) {
        const int writeSlot = image->WriteSlot(kTripLog);
        EXPECT_GT(writeSlot, 0);
        EXPECT_LT(writeSlot, kTripLog.slots - 1);
        const auto trips = RecordsInWriteOrder(*image, kTripLog);
        for (std::size_t i = 0; i < trips.size(); ++i) {
            ASSERT_TRUE(TimeValid(trips[i].time)) << "trip " << i;
            EXPECT_NE(trips[i].StopBits(), 0);
            EXPECT_FALSE(trips[i].IsSwitchEvent());
            if (i > 0) {
                EXPECT_LT(MomentOfTime(trips[i - 1].time), MomentOfTime(trips[i].time));
            }
        }
        // The newest trip is the same record as in the cycle log.
        const auto cycles = RecordsInWriteOrder(*image, kCycleLog);
        const auto same = std::find_if(cycles.begin(), cycles.end(), [&](const CycleRecord& r) {
            return r.time == trips.back().time && r.flags == trips.back().flags &&
                   r.loads == trips.back().loads && r.frameOffset == trips.back().frameOffset;
        });
        EXPECT_NE(same, cycles.end());
    }
}

TEST(SampleFrames, NewestCyclesKeepWellFormedFramesPackedBackToBack) {
    const RecorderImage& image = Images().current;
    const auto records = RecordsInWriteOrder(image, kCycleLog);
    std::vector<CycleRecord> framed;
    bool olderWithout = false;
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->IsSwitchEvent()) {
            EXPECT_FALSE(image.HasFrame(*it));
            continue;
        }
        if (image.HasFrame(*it)) {
            EXPECT_FALSE(olderWithout)
                << "a frame behind an overwritten one, " << TimeText(it->time, false);
            framed.push_back(*it);
        } else {
            olderWithout = true;
        }
    }
    EXPECT_GE(framed.size(), 100u);
    EXPECT_LE(framed.size(), 200u);
    EXPECT_TRUE(olderWithout);

    int wrapping = 0, repeated = 0;
    for (std::size_t i = 0; i < framed.size(); ++i) {
        const CycleRecord& r = framed[i];
        const FrameInfo f = ParseFrame(image, r.frameOffset);
        ASSERT_TRUE(f.ended) << TimeText(r.time, false);
        EXPECT_EQ(f.sampleSize, samples::kSampleSize);
        EXPECT_FALSE(f.badFlagByte);
        EXPECT_GE(f.seconds, image.U8(addr::CycleTime));
        EXPECT_EQ(f.highest[0], r.loads[0]);
        EXPECT_EQ(f.highest[1], r.loads[1]);
        EXPECT_EQ(f.highest[2], r.loads[2]);
        repeated += f.repeatedSamples;
        if (r.frameOffset + f.length > addr::FrameAreaSize) {
            ++wrapping;
            EXPECT_GE(r.frameOffset, 0x7FF0);
            EXPECT_TRUE(f.sampleCrossesEnd);
        }
        // framed is newest first: the older neighbour ends where this frame starts.
        if (i + 1 < framed.size()) {
            const FrameInfo older = ParseFrame(image, framed[i + 1].frameOffset);
            EXPECT_EQ((framed[i + 1].frameOffset + older.length) & 0x7FFF, r.frameOffset);
        }
    }
    EXPECT_EQ(wrapping, 1);
    EXPECT_GT(repeated, 100);
}

TEST(SamplePrevious, RingIsAnEarlierStateOfTheSameRing) {
    const RecorderImage& cur = Images().current;
    const RecorderImage& prev = Images().previous;
    const Minutes previousReading = MomentOfTime(prev.Time(addr::ReadingTime));
    int same = 0;
    for (int slot = 0; slot < kCycleLog.slots; ++slot) {
        const std::uint16_t at = RecorderImage::SlotAddress(kCycleLog, slot);
        const Minutes now = MomentOfTime(cur.Record(at).time);
        const Minutes then = MomentOfTime(prev.Record(at).time);
        if (SameSlot(cur, prev, slot)) {
            ++same;
            EXPECT_LT(now, previousReading) << "slot " << slot;
        } else {
            EXPECT_GT(now, previousReading) << "slot " << slot;
            EXPECT_LT(then, now) << "slot " << slot;
        }
    }
    EXPECT_GT(same, 100);
    EXPECT_LT(same, kCycleLog.slots - 100);
}

TEST(SampleChangeRecords, ValidTimesWithAndWithoutTheKey) {
    for (const RecorderImage* image : {&Images().current, &Images().previous}) {
        int withKey = 0, withoutKey = 0;
        const Minutes reading = MomentOfTime(image->Time(addr::ReadingTime));
        for (std::uint16_t at :
             {addr::ChangeClock, addr::ChangeIdentification, addr::ChangeSettings}) {
            ASSERT_TRUE(TimeValid(image->Time(at)));
            EXPECT_LT(MomentOfTime(image->Time(at)), reading);
            bool keyBytes = false;
            for (int i = 6; i < 12; ++i)
                keyBytes |= image->U8(static_cast<std::uint16_t>(at + i)) != 0;
            if (image->U8(static_cast<std::uint16_t>(at + 5)) != 0) {
                ++withKey;
                EXPECT_TRUE(keyBytes);
            } else {
                ++withoutKey;
                EXPECT_FALSE(keyBytes);
            }
        }
        EXPECT_GE(withKey, 1);
        EXPECT_GE(withoutKey, 1);
    }
    // Identification and settings were edited after the previous reading.
    const Minutes previousReading = story::PreviousReading();
    EXPECT_GT(MomentOfTime(Images().current.Time(addr::ChangeIdentification)), previousReading);
    EXPECT_LT(MomentOfTime(Images().previous.Time(addr::ChangeIdentification)), previousReading);
}

TEST(SampleSession, OpensWithoutQuestionsAndReducesToThePeriod) {
    test::RecordingPrompter prompter;
    FixedClock clock{EncodeDateTime(2025, 3, 18, 9, 0)};
    Session session{prompter, clock};
    ASSERT_EQ(session.OpenDataFile(CommittedFile(samples::kCurrentFileName)), OpenResult::Opened);
    EXPECT_TRUE(prompter.texts.empty()) << prompter.texts.front();
    EXPECT_GT(session.Model().stats[0].n, 0);

    int knownBefore = 0;
    for (int slot = 0; slot < kCycleLog.slots; ++slot) {
        knownBefore += SameSlot(session.Image(), Images().previous, slot);
    }
    ASSERT_TRUE(session.CompareWithPrevious(CommittedFile(samples::kPreviousFileName)));
    EXPECT_TRUE(prompter.texts.empty()) << prompter.texts.front();

    int blank = 0;
    for (int slot = 0; slot < kCycleLog.slots; ++slot) {
        const std::uint16_t at = RecorderImage::SlotAddress(kCycleLog, slot);
        blank += std::all_of(session.Image().Data() + at, session.Image().Data() + at + kRecordSize,
                             [](std::uint8_t b) { return b == 0; });
    }
    EXPECT_EQ(blank, knownBefore);
    // The period starts on the day of the previous check.
    EXPECT_EQ(session.Image().I32(addr::InstallDay),
              story::PreviousReading() / samples::kMinutesPerDay);
    for (int g = 0; g < 3; ++g) EXPECT_GT(session.Model().stats[g].n, 0) << "group " << g;
}

}  // namespace
}  // namespace orbisk
