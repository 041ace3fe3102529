#include "views/FrameChart.h"

#include <algorithm>
#include <cmath>

namespace orbisk {

const std::array<CurveStyle, kFrameCurves> kFrameCurveStyles = {{
    {CurveKind::LineCircle, 0, 0, 255},          // blue
    {CurveKind::LineTriangle, 0, 128, 0},        // green
    {CurveKind::LineDiamond, 128, 128, 0},       // olive
    {CurveKind::LineDownTriangle, 0, 128, 128},  // teal
    {CurveKind::StepArea, 0, 128, 0},
    {CurveKind::StepArea, 128, 128, 0},
    {CurveKind::StepArea, 0, 128, 128},
    {CurveKind::StepArea, 255, 255, 0},
    {CurveKind::StepArea, 255, 0, 128},
}};

std::array<std::string, kFrameCurves> FrameCurveTitles(const std::array<std::string, 4>& names) {
    std::array<std::string, kFrameCurves> t;
    for (int g = 0; g < 4; ++g) t[g] = "Нагр. " + names[g];
    t[4] = "Реле №1";
    t[5] = "Реле №2";
    t[6] = "Реле №3";
    t[7] = "Реле №4";
    t[8] = "Блокировка";
    return t;
}

std::string TimeLabel(int n) {
    if (n < 60) return std::to_string(n);
    if (n % 60 == 0) return std::to_string(n / 60) + "мин";
    return std::to_string(n % 60);
}

namespace {

constexpr std::uint32_t kAreaSize = 0x8000;

void Append(FrameChart& c, const std::array<double, kFrameCurves>& v, const std::string& label) {
    for (int k = 0; k < kFrameCurves; ++k) c.values[k].push_back(v[k]);
    c.labels.push_back(label);
}

double LargestShown(const FrameChart& c, const std::array<bool, kFrameCurves>& shown) {
    double m = 0;
    for (int k = 0; k < kFrameCurves; ++k) {
        if (!shown[k]) continue;
        for (double v : c.values[k]) m = std::max(m, v);
    }
    return m;
}

}  // namespace

FrameChart BuildFrameChart(RecorderImage& image, std::uint16_t start, bool dataCorrection,
                           const std::array<bool, kFrameCurves>& shown) {
    FrameChart c;
    c.start = static_cast<std::uint16_t>(start & 0x7FFF);
    RecorderTime time;
    for (std::uint32_t i = 0; i < 5; ++i) time.bytes[i] = image.FrameByte(c.start, i);

    std::uint32_t cursor = (c.start + 5u) % kAreaSize;
    const int s = image.FrameByte(cursor, 0);
    c.sampleSize = s;
    cursor = (cursor + 1) % kAreaSize;
    const bool sizeKnown = s >= 2 && s <= 5;

    c.defaultChecks[0] = true;
    if (sizeKnown) {
        if (s >= 3) c.defaultChecks[1] = c.defaultChecks[4] = true;
        if (s >= 4) c.defaultChecks[2] = c.defaultChecks[5] = true;
        if (s == 5) c.defaultChecks[3] = c.defaultChecks[6] = true;
    }

    // An unknown sample size still advances by at least one byte, so the walk ends.
    const std::uint32_t advance = static_cast<std::uint32_t>(std::max(s, 1));
    int count = 0;
    std::string label = "НЦ";
    std::uint32_t walked = 0;
    while (walked < kAreaSize) {
        const auto at = [&](std::uint32_t i) -> std::uint8_t { return image.FrameByte(cursor, i); };
        const std::uint8_t b0 = at(0);
        if (b0 == 0xFF) break;
        const int repeat = b0 >> 5;
        if (repeat >= 1 && repeat <= 6) {
            for (int r = 0; r < repeat && !c.labels.empty(); ++r) {
                std::array<double, kFrameCurves> last;
                for (int k = 0; k < kFrameCurves; ++k) last[k] = c.values[k].back();
                Append(c, last, label);
                ++count;
                label = TimeLabel(count);
            }
        }
        if (dataCorrection && (b0 & 0x10) == 0) {
            for (std::uint32_t i = 1; i < advance && i <= 4; ++i) {
                const auto a =
                    static_cast<std::uint16_t>(addr::FrameArea + ((cursor + i) % kAreaSize));
                if (image.U8(a) > 125) image.SetU8(a, 125);
            }
        }
        std::array<double, kFrameCurves> v{};
        v[0] = at(1);
        v[1] = s >= 3 && sizeKnown ? at(2) : 0;
        v[2] = s >= 4 && sizeKnown ? at(3) : 0;
        v[3] = s == 5 ? at(4) : 0;
        v[4] = (b0 & 0x01) ? 0.1 : 0;
        v[5] = (b0 & 0x02) ? 0.1 : 0;
        v[6] = (b0 & 0x04) ? 0.1 : 0;
        v[7] = (b0 & 0x08) ? 0.08 : 0;
        v[8] = (b0 & 0x10) ? 0.05 : 0;
        Append(c, v, label);
        cursor = (cursor + advance) % kAreaSize;
        walked += advance;
        ++count;
        label = TimeLabel(count);
    }

    Append(c, {}, "КЦ");
    ++count;
    Append(c, {}, TimeLabel(count));
    for (std::uint32_t skipped = 0; skipped < kAreaSize && image.FrameByte(cursor, 0) == 0xFF;
         ++skipped) {
        cursor = (cursor + 1) % kAreaSize;
    }
    c.cursor = static_cast<std::uint16_t>(cursor);

    double m = std::trunc(LargestShown(c, shown));
    if (m == 0) m = 100;
    c.relayScale = m;
    for (int k = kLoadCurves; k < kFrameCurves; ++k) {
        for (double& v : c.values[k]) v *= m;
    }

    const int largestX = static_cast<int>(c.labels.size()) - 1;
    c.duration = largestX - 1;
    const int d = c.duration;
    std::string title = "Начало цикла: " + TimeText(time, false) + "   Длительность: ";
    if (d / 60 > 0) title += std::to_string(d / 60) + "мин ";
    title += std::to_string(d % 60) + "с";
    title += "   Кадры: " + std::to_string(c.start) + "-" + std::to_string(c.cursor);
    c.title = std::move(title);
    c.titleValid = TimeValid(time);
    return c;
}

double FrameValueAxisTop(const FrameChart& chart, const std::array<bool, kFrameCurves>& shown) {
    return LargestShown(chart, shown) + 10;
}

int PreviousFrameRow(const std::vector<CycleRow>& rows, int current) {
    const int n = static_cast<int>(rows.size());
    int row = current;
    for (int step = 0; step < n; ++step) {
        row = row + 1 >= n || row < 0 ? 0 : row + 1;
        if (rows[row].hasFrame) return row;
    }
    return -1;
}

int NextFrameRow(const std::vector<CycleRow>& rows, int current) {
    const int n = static_cast<int>(rows.size());
    int row = current;
    for (int step = 0; step < n; ++step) {
        row = row <= 0 || row >= n ? n - 1 : row - 1;
        if (rows[row].hasFrame) return row;
    }
    return -1;
}

bool FramePlausible(const RecorderImage& image, std::uint16_t offset) {
    RecorderTime t;
    for (std::uint32_t i = 0; i < 5; ++i) t.bytes[i] = image.FrameByte(offset, i);
    const int size = image.FrameByte(offset, 5);
    return TimeValid(t) && size >= 2 && size <= 5;
}

std::uint16_t NextFrameStart(const RecorderImage& image, std::uint16_t cursor, std::uint16_t a,
                             const std::vector<CycleRow>& rows) {
    if (a == cursor) return a;
    std::vector<std::uint32_t> listed;
    for (const CycleRow& row : rows) {
        if (row.hasFrame) listed.push_back(row.frameOffset & 0x7FFF);
    }
    std::sort(listed.begin(), listed.end());
    std::uint32_t p = cursor & 0x7FFF;
    for (std::uint32_t walked = 0; walked < kAreaSize; walked += 8) {
        if (p == a) return a;
        if (std::binary_search(listed.begin(), listed.end(), p) ||
            FramePlausible(image, static_cast<std::uint16_t>(p))) {
            return static_cast<std::uint16_t>(p);
        }
        p = (p + 8) % kAreaSize;
    }
    return a;
}

std::pair<double, double> AllowedTimeRange(double min, double max, int pointCount) {
    const double span = std::max(pointCount - 1, 1);
    const double narrowest = std::min(kNarrowestTimeRange, span);
    double width = max - min;
    if (!std::isfinite(min) || !std::isfinite(max)) {
        min = 0;
        width = span;
    } else if (!(width >= narrowest)) {
        min = (min + max) / 2 - narrowest / 2;
        width = narrowest;
    }
    width = std::min(width, span);
    min = std::clamp(min, 0.0, span - width);
    return {min, min + width};
}

std::vector<int> TimeLabelPoints(int pointCount, int closingPoint, double min, double max,
                                 int fit) {
    std::vector<int> points;
    if (fit < 1 || pointCount < 1 || !(min <= max)) return points;
    const int first = std::max(0, static_cast<int>(std::ceil(min)));
    const int last = std::min(pointCount - 1, static_cast<int>(std::floor(max)));
    if (first > last) return points;
    const bool closingShown = closingPoint >= first && closingPoint <= last;

    const auto build = [&](int k) {
        points.clear();
        for (int x = (first + k - 1) / k * k; x <= last; x += k) {
            if (closingShown && std::abs(x - closingPoint) < k && x != closingPoint) continue;
            points.push_back(x);
        }
        if (closingShown && closingPoint % k != 0) {
            points.insert(std::upper_bound(points.begin(), points.end(), closingPoint),
                          closingPoint);
        }
    };
    constexpr int kSteps[] = {1, 2, 5, 10, 15, 30, 60};
    for (const int k : kSteps) {
        build(k);
        if (static_cast<int>(points.size()) <= fit) return points;
    }
    for (int k = 3600;; k += 3600) {  // a cycle spans less than a day: this ends
        build(k);
        if (static_cast<int>(points.size()) <= fit || k > last) break;
    }
    if (static_cast<int>(points.size()) > fit) points.resize(static_cast<std::size_t>(fit));
    return points;
}

double HistogramAxisTop(const std::array<std::vector<HistogramPoint>, kGroups>& series,
                        const std::array<bool, kGroups>& shown) {
    std::uint32_t m = 0;
    for (int g = 0; g < kGroups; ++g) {
        if (!shown[g]) continue;
        for (const auto& p : series[g]) m = std::max(m, p.y);
    }
    // A chart cannot show an empty value range; flat curves get a unit axis.
    return m == 0 ? 1.0 : 1.1 * m;
}

bool HistogramLegendVisible(const std::array<bool, kGroups>& shown) {
    return std::count(shown.begin(), shown.end(), true) >= 2;
}

}  // namespace orbisk
