#include "views/FrameChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace orbisk {
namespace {

constexpr std::array<bool, kFrameCurves> kAllShown = {true, true, true, true, true,
                                                      true, true, true, true};

// Writes a frame at `offset`: a valid time (10:30 on 15.03.2009), the sample size, the samples.
void PutFrame(RecorderImage& image, std::uint16_t offset, int size,
              std::initializer_list<std::uint8_t> samples, bool validTime = true) {
    const std::uint8_t time[5] = {0x30, 0x10, 0x15,
                                  validTime ? std::uint8_t{0x03} : std::uint8_t{0x13}, 0x09};
    std::uint32_t p = offset;
    auto put = [&](std::uint8_t b) {
        image.SetU8(static_cast<std::uint16_t>(addr::FrameArea + (p & 0x7FFF)), b);
        ++p;
    };
    for (auto b : time) put(b);
    put(static_cast<std::uint8_t>(size));
    for (auto b : samples) put(b);
}

TEST(FrameChart, TwoByteSamplesGiveCraneCurveLabelsRelayStepAndDuration) {
    RecorderImage image;
    PutFrame(image, 0x100, 2, {0x00, 0x40, 0x01, 0x50, 0xFF});
    const FrameChart c = BuildFrameChart(image, 0x100, false, kAllShown);
    EXPECT_EQ(c.values[0], (std::vector<double>{64, 80, 0, 0}));
    EXPECT_EQ(c.labels, (std::vector<std::string>{"НЦ", "1", "КЦ", "3"}));
    EXPECT_EQ(c.relayScale, 80);
    EXPECT_EQ(c.values[4], (std::vector<double>{0, 8, 0, 0}));
    EXPECT_EQ(c.values[1], (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(c.duration, 2);
    EXPECT_EQ(c.title, "Начало цикла: 15.03.2009 10:30    Длительность: 2с   Кадры: 256-" +
                           std::to_string(0x100 + 6 + 5));
    EXPECT_TRUE(c.titleValid);
    EXPECT_EQ(c.defaultChecks, (std::array<bool, kFrameCurves>{true}));
}

TEST(FrameChart, RepeatCountCopiesThePreviousValuesButNotOnTheFirstSample) {
    RecorderImage image;
    // First sample carries r = 3 with nothing before it; the third repeats the second three times.
    PutFrame(image, 0, 2, {0x60, 0x10, 0x00, 0x32, 0x60, 0x28, 0xFF});
    const FrameChart c = BuildFrameChart(image, 0, false, kAllShown);
    EXPECT_EQ(c.values[0], (std::vector<double>{16, 50, 50, 50, 50, 40, 0, 0}));
    EXPECT_EQ(c.duration, 6);
}

TEST(FrameChart, MinuteLabelsAndLongDuration) {
    EXPECT_EQ(TimeLabel(59), "59");
    EXPECT_EQ(TimeLabel(60), "1мин");
    EXPECT_EQ(TimeLabel(61), "1");
    EXPECT_EQ(TimeLabel(120), "2мин");
    RecorderImage image;
    std::uint32_t p = addr::FrameArea + 0x200;
    PutFrame(image, 0x200, 2, {});
    p += 6;
    for (int i = 0; i < 125; ++i) {
        image.SetU8(static_cast<std::uint16_t>(p++), 0);
        image.SetU8(static_cast<std::uint16_t>(p++), 10);
    }
    image.SetU8(static_cast<std::uint16_t>(p), 0xFF);
    const FrameChart c = BuildFrameChart(image, 0x200, false, kAllShown);
    EXPECT_EQ(c.duration, 125);
    EXPECT_NE(c.title.find("Длительность: 2мин 5с"), std::string::npos);
    EXPECT_EQ(c.labels[60], "1мин");
    EXPECT_EQ(c.labels[61], "1");
}

TEST(FrameChart, AllLoadsZeroGiveRelayScaleHundred) {
    RecorderImage image;
    PutFrame(image, 0, 3, {0x01, 0, 0, 0xFF});
    const FrameChart c = BuildFrameChart(image, 0, false, kAllShown);
    EXPECT_EQ(c.relayScale, 100);
    EXPECT_DOUBLE_EQ(c.values[4][0], 10);
    EXPECT_TRUE(c.defaultChecks[1] && c.defaultChecks[4]);
    EXPECT_FALSE(c.defaultChecks[2]);
}

TEST(FrameChart, RelayScaleComesFromTheShownCurvesOnly) {
    RecorderImage image;
    PutFrame(image, 0, 3, {0x08, 30, 90, 0xFF});
    std::array<bool, kFrameCurves> onlyCrane{true};
    const FrameChart c = BuildFrameChart(image, 0, false, onlyCrane);
    EXPECT_EQ(c.relayScale, 30);
    EXPECT_DOUBLE_EQ(c.values[7][0], 0.08 * 30);
    EXPECT_DOUBLE_EQ(FrameValueAxisTop(c, onlyCrane), 40);
    EXPECT_DOUBLE_EQ(FrameValueAxisTop(c, kAllShown), 100);
}

TEST(FrameChart, FrameWrapsAroundTheAreaEnd) {
    RecorderImage image;
    PutFrame(image, 0x7FF0, 5, {0x00, 1, 2, 3, 4, 0x00, 5, 6, 7, 8, 0xFF, 0xFF, 0xFF});
    const FrameChart c = BuildFrameChart(image, 0x7FF0, false, kAllShown);
    EXPECT_EQ(c.values[3], (std::vector<double>{4, 8, 0, 0}));
    EXPECT_LT(c.cursor, c.start);
    EXPECT_EQ(c.cursor, (0x7FF0 + 6 + 10 + 3) & 0x7FFF);
    EXPECT_NE(c.title.find("Кадры: 32752-" + std::to_string(c.cursor)), std::string::npos);
}

TEST(FrameChart, DataCorrectionClampsLoadsInTheImageUnlessBlocked) {
    RecorderImage image;
    PutFrame(image, 0, 2, {0x00, 200, 0x10, 200, 0xFF});
    FrameChart off = BuildFrameChart(image, 0, false, kAllShown);
    EXPECT_EQ(off.values[0][0], 200);
    const FrameChart on = BuildFrameChart(image, 0, true, kAllShown);
    EXPECT_EQ(on.values[0][0], 125);
    EXPECT_EQ(on.values[0][1], 200);  // blocking bit set: left as recorded
    EXPECT_EQ(image.FrameByte(0, 7), 125);
    EXPECT_EQ(image.FrameByte(0, 9), 200);
}

TEST(FrameChart, UnendedFrameOrUnknownSizeStopsAfterOnePass) {
    RecorderImage image;
    PutFrame(image, 0, 0, {});  // size 0, and no end byte anywhere
    const FrameChart zero = BuildFrameChart(image, 0, false, kAllShown);
    // One pass at one byte a sample, each at most repeated six times, and the closing points.
    EXPECT_LE(zero.labels.size(), 7u * 0x8000u + 2);
    EXPECT_EQ(zero.defaultChecks, (std::array<bool, kFrameCurves>{true}));
    PutFrame(image, 0, 5, {});
    const FrameChart five = BuildFrameChart(image, 0, false, kAllShown);
    EXPECT_LE(five.labels.size(), 7u * (0x8000u / 5 + 1) + 2);
}

TEST(FrameChart, InvalidStartTimeGivesRedTitle) {
    RecorderImage image;
    PutFrame(image, 0, 2, {0x00, 1, 0xFF}, false);
    EXPECT_FALSE(BuildFrameChart(image, 0, false, kAllShown).titleValid);
}

TEST(FrameChart, VisibleRangeRules) {
    EXPECT_TRUE(ValueMarksVisible(20));
    EXPECT_FALSE(ValueMarksVisible(20.5));
    EXPECT_TRUE(TimeLabelsVisible(60));
    EXPECT_FALSE(TimeLabelsVisible(61));
}

// A cycle of 93 points: "НЦ" at 0, seconds, the closing point "КЦ" at 91, the last point at 92.
TEST(FrameChart, TimeLabelPointsThinToWhatFitsAndKeepTheClosingPoint) {
    // Everything fits: every visible point, nothing outside the range.
    std::vector<int> all;
    for (int x = 40; x <= 60; ++x) all.push_back(x);
    EXPECT_EQ(TimeLabelPoints(93, 91, 39.6, 60.2, 21), all);

    // Sixty seconds in room for fifteen labels: every fifth second, minutes included.
    EXPECT_EQ(TimeLabelPoints(93, 91, 0, 60, 15),
              (std::vector<int>{0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60}));
    // Near the end the closing point replaces its neighbours closer than the step.
    EXPECT_EQ(TimeLabelPoints(93, 91, 32, 92, 15),
              (std::vector<int>{35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 91}));
    EXPECT_EQ(TimeLabelPoints(93, 91, 80, 92, 8), (std::vector<int>{80, 82, 84, 86, 88, 91}));

    // The whole cycle in room for twelve: every tenth second.
    EXPECT_EQ(TimeLabelPoints(93, 91, 0, 92, 12),
              (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 91}));
    for (int fit = 1; fit < 40; ++fit) {
        const auto points = TimeLabelPoints(93, 91, 0, 92, fit);
        EXPECT_LE(static_cast<int>(points.size()), fit) << fit;
        EXPECT_TRUE(std::is_sorted(points.begin(), points.end())) << fit;
    }

    EXPECT_TRUE(TimeLabelPoints(93, 91, 0, 92, 0).empty());
    EXPECT_TRUE(TimeLabelPoints(0, -1, 0, 1, 10).empty());
    EXPECT_TRUE(TimeLabelPoints(93, 91, 100, 120, 10).empty());
}

std::vector<CycleRow> Rows(std::initializer_list<bool> frames) {
    std::vector<CycleRow> rows;
    for (bool f : frames) {
        CycleRow r;
        r.hasFrame = f;
        rows.push_back(r);
    }
    return rows;
}

TEST(FrameNavigation, PreviousGoesDownAndWrapsToTheTop) {
    const auto rows = Rows({true, false, true, false});
    EXPECT_EQ(PreviousFrameRow(rows, 0), 2);
    EXPECT_EQ(PreviousFrameRow(rows, 2), 0);
    EXPECT_EQ(PreviousFrameRow(Rows({false, false}), 0), -1);
}

TEST(FrameNavigation, NextGoesUpAndWrapsFromTheNewestToTheOldest) {
    const auto rows = Rows({false, true, false, true, false});
    EXPECT_EQ(NextFrameRow(rows, 3), 1);
    EXPECT_EQ(NextFrameRow(rows, 1), 3);
    EXPECT_EQ(NextFrameRow(rows, 0), 3);
    EXPECT_EQ(NextFrameRow(rows, -1), 3) << "from no selection: the oldest";
    EXPECT_EQ(NextFrameRow(Rows({false, false}), -1), -1);
}

TEST(FrameNavigation, NextStartLandsOnlyOnListedOrPlausibleFrames) {
    RecorderImage image;
    PutFrame(image, 0x120, 2, {0xFF});
    PutFrame(image, 0x200, 0x40, {0xFF});  // a time, but no sample size of a frame
    PutFrame(image, 0x208, 0, {0xFF});
    PutFrame(image, 0x210, 5, {0xFF}, false);  // a size, but no valid time
    PutFrame(image, 0x0008, 3, {0xFF});
    auto rows = Rows({true, true, false});
    rows[0].frameOffset = 0x600;
    rows[1].frameOffset = 0x218;  // listed, whatever its bytes say
    rows[2].frameOffset = 0x210;  // a row without its frame does not count

    const struct {
        std::uint16_t cursor, a, expected;
        const char* why;
    } cases[] = {
        {0x100, 0x100, 0x100, "the cursor is at the listed frame"},
        {0x100, 0x400, 0x120, "a plausible frame on the way"},
        {0x100, 0x110, 0x110, "the listed frame comes first"},
        {0x103, 0x300, 0x300, "unreachable in 8-byte steps"},
        {0x1F8, 0x600, 0x218, "past a time without a size and a size without a time"},
        {0x7FF0, 0x100, 0x0008, "on from the start of the area"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextFrameStart(image, c.cursor, c.a, rows), c.expected) << c.why;
    }
    EXPECT_TRUE(FramePlausible(image, 0x120));
    EXPECT_FALSE(FramePlausible(image, 0x200));
    EXPECT_FALSE(FramePlausible(image, 0x210));
}

TEST(Histogram, AxisTopAndLegendFollowTheShownCurves) {
    std::array<std::vector<HistogramPoint>, kGroups> series;
    series[0] = {{0, 0, "0"}, {0, 7, "0"}, {25, 5, "25"}};
    series[2] = {{0, 0, "0"}, {0, 20, "0"}};
    EXPECT_DOUBLE_EQ(HistogramAxisTop(series, {true, false, false, false}), 7.7);
    EXPECT_DOUBLE_EQ(HistogramAxisTop(series, {true, false, true, false}), 22);
    EXPECT_DOUBLE_EQ(HistogramAxisTop(series, {false, true, false, false}), 1);
    EXPECT_FALSE(HistogramLegendVisible({false, false, true, false}));
    EXPECT_TRUE(HistogramLegendVisible({true, false, true, false}));
}

TEST(FrameNavigation, TheTimeRangeKeepsToTheCycleAndToLabelledPoints) {
    struct Case {
        double min, max;
        int points;
        double lo, hi;
    };
    const Case cases[] = {
        {10, 30, 101, 10, 30},      // inside: as asked
        {-5, 15, 101, 0, 20},       // panned past the start
        {95, 115, 101, 80, 100},    // panned past the end
        {49.5, 50.5, 101, 49, 51},  // zoomed too far: the narrowest, about the middle
        {0.2, 0.4, 101, 0, 2},      // too far at the start
        {-30, 140, 101, 0, 100},    // zoomed out past the whole cycle
        {0, 5, 2, 0, 1},            // a cycle of two points shows whole
        {0, 1, 1, 0, 1},            // one point: the first view
        {std::nan(""), 3, 101, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " of " << c.points);
        const auto [lo, hi] = AllowedTimeRange(c.min, c.max, c.points);
        EXPECT_DOUBLE_EQ(lo, c.lo);
        EXPECT_DOUBLE_EQ(hi, c.hi);
    }
}

}  // namespace
}  // namespace orbisk
