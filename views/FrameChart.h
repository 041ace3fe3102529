#pragma once
// One work cycle drawn second by second from its frame in the frame area: the nine curves of the
// cycle chart with the label of every point, the relay scale, the title line, and the rules the
// chart window follows while the user zooms and steps from cycle to cycle.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "image/DisplayModel.h"
#include "image/RecorderImage.h"

namespace orbisk {

constexpr int kFrameCurves = 9;
constexpr int kLoadCurves = 4;  // curves 0..3 are loads; 4..8 relays and blocking

enum class CurveKind { LineCircle, LineTriangle, LineDiamond, LineDownTriangle, StepArea };

struct CurveStyle {
    CurveKind kind;
    std::uint8_t red, green, blue;
};

// Kinds and colours of the nine curves, in curve order.
extern const std::array<CurveStyle, kFrameCurves> kFrameCurveStyles;

// "Нагр. " followed by the channel name for curves 0..3, then the relay and blocking titles.
std::array<std::string, kFrameCurves> FrameCurveTitles(const std::array<std::string, 4>& names);

// Label of the point at X n after the first: n below a minute; whole minutes as "Nмин"; else the
// seconds within the minute.
std::string TimeLabel(int n);

struct FrameChart {
    std::uint16_t start = 0;   // offset of the frame within the frame area
    std::uint16_t cursor = 0;  // first byte after the frame's end byte and the 0xFF after it
    int sampleSize = 0;        // byte 5 of the frame
    int duration = 0;          // samples, repeated ones included
    std::array<std::vector<double>, kFrameCurves> values;  // X = index
    std::vector<std::string> labels;                       // per X
    std::array<bool, kFrameCurves> defaultChecks{};
    double relayScale = 0;
    std::string title;
    bool titleValid = false;  // black when the frame's time is valid, else red
};

// Parses the frame at `start` (data correction clamps the loads in the image itself) and scales
// the relay curves by the largest value among the curves `shown` at this moment. A frame without
// an end byte, or with a sample size outside 2..5, stops after one pass around the frame area.
FrameChart BuildFrameChart(RecorderImage& image, std::uint16_t start, bool dataCorrection,
                           const std::array<bool, kFrameCurves>& shown);

// The top of the value axis: the largest value among the shown curves + 10.
double FrameValueAxisTop(const FrameChart& chart, const std::array<bool, kFrameCurves>& shown);

// What the chart shows at a visible horizontal range (maximum − minimum).
inline bool ValueMarksVisible(double range) {
    return range <= 20;
}
inline bool TimeLabelsVisible(double range) {
    return range <= 60;
}

// The narrowest time range the chart zooms to, in seconds: two labelled points stay in view.
inline constexpr double kNarrowestTimeRange = 2;

// The time range the chart shows when [min, max] is asked for in a cycle of `pointCount` points:
// no narrower than kNarrowestTimeRange (narrowed about its middle), no wider than the cycle, and
// moved back inside the cycle's ends, keeping its width, when panned past one. A cycle shorter
// than the narrowest range shows whole, as [0, 1] at the least.
std::pair<double, double> AllowedTimeRange(double min, double max, int pointCount);

// The points of the visible range [min, max] that carry a label (and a grid line) on the time
// axis when at most `fit` labels fit side by side: every point when they all fit, otherwise every
// k-th point counted from the start of the cycle (k = 2, 5, 10, 15, 30, 60, then whole hours),
// with the closing point always among them and no other label nearer to it than k. Ascending;
// empty when not even one label fits.
std::vector<int> TimeLabelPoints(int pointCount, int closingPoint, double min, double max, int fit);

// Stepping through the cycle list (newest first); rows qualify when their frame is present.
// -1 when no row qualifies. `current` −1 stands for no selection. The previous row wraps from the
// oldest to the newest, the next row from the newest (or from no selection) to the oldest.
int PreviousFrameRow(const std::vector<CycleRow>& rows, int current);
int NextFrameRow(const std::vector<CycleRow>& rows, int current);

// Whether a frame may start at `offset`: its five bytes are a valid time and its sample size is
// one the frames have (2 to 5).
bool FramePlausible(const RecorderImage& image, std::uint16_t offset);

// Where the next cycle starts after the shown frame ended at `cursor`, given the frame offset `a`
// of the next listed cycle: a itself when the cursor is there; otherwise the first position from
// the cursor in 8-byte steps (wrapping) that is the frame of a listed row or a plausible frame,
// unless a comes first. Bytes that merely read as a time are no frame.
std::uint16_t NextFrameStart(const RecorderImage& image, std::uint16_t cursor, std::uint16_t a,
                             const std::vector<CycleRow>& rows);

// The load histogram window: the top of its value axis and whether its legend shows.
double HistogramAxisTop(const std::array<std::vector<HistogramPoint>, kGroups>& series,
                        const std::array<bool, kGroups>& shown);
bool HistogramLegendVisible(const std::array<bool, kGroups>& shown);

}  // namespace orbisk
