#pragma once
// The display model: plain data produced by decoding an image, shown by the windows, read by the
// reports, the editors and the command line. The text of every control is kept under its control
// name; the lists keep their rows; the statistics and the histogram series are kept as numbers.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/Controls.h"

namespace orbisk {

enum class TextColor { Black, Red };

// Colours the editing pages give their edits: the system's window colour for an editable edit,
// its button face for a read-only one, and the indicators' pure green and red.
enum class EditColor { Window, ButtonFace, Green, Red };

inline EditColor EditModeColor(bool editing) {
    return editing ? EditColor::Window : EditColor::ButtonFace;
}

// Icons of the work-cycle list rows, as indices of the state image list.
enum class RowIcon : int { None = -1, Stop = 1, SwitchOn = 5, Blocking = 6, SwitchOff = 7 };

// One row of the work-cycle list: time text (the caption), four loads, mass, state, frame number.
struct CycleRow {
    static constexpr int kCells = 8;
    std::array<std::string, kCells> cells;
    RowIcon icon = RowIcon::None;
    bool hasFrame = false;
    std::uint16_t frameOffset = 0;
};

enum class PointColor { Series, Yellow, Red };

struct HistogramPoint {
    int x = 0;
    std::uint32_t y = 0;
    std::string label;
    PointColor color = PointColor::Series;
};

// Per-group statistics; field types as the recorder's program keeps them.
struct GroupStats {
    float characteristic = 0;
    float kp = 0;
    std::int32_t loadClass = 1;
    std::int32_t useClass = 0;
    std::int32_t group = 1;
    std::int32_t n = 0;
    double days = 0;
    float frequency = 0;
    float duration = 0;
};

struct CalibrationPair {
    std::uint16_t qo = 0;
    std::uint16_t qnom = 0;
};

// A list as its columns and the texts of its rows in column order, the caption first.
struct TableList {
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
};

// Which list a group caption is for: the design texts differ.
enum class CaptionList { Load, RegStat, Last };

constexpr int kRegStatRows = 12;

struct DisplayModel {
    DisplayModel();  // the design defaults, before any image

    std::array<std::string, kControlCount> text;
    std::array<TextColor, kControlCount> color{};
    Choices choices;

    // The display names as decoded or typed; an empty one shows its default text in its edit and
    // leaves the list captions at their design texts.
    std::array<std::string, kGroups> channelNames;

    std::vector<CalibrationPair> calibration;                        // lvCalibr
    std::array<std::uint8_t, 4> workModeValues{100, 100, 100, 100};  // lvWorkModeVal
    int totalSensors = 8;
    int winchCount = 1;

    std::array<GroupStats, kGroups> stats;

    std::array<std::array<std::string, kGroups>, kRegStatRows> regStat;  // lvRegStat values
    std::vector<std::array<std::string, 6>> loadRows;                    // lvLoad rows
    std::array<std::vector<HistogramPoint>, kGroups> histogram;

    std::vector<CycleRow> cycles;  // lvLast
    double reportDate = 0;         // dtpReportDate

    const std::string& Text(Ctl c) const { return text[static_cast<int>(c)]; }
    std::string& Text(Ctl c) { return text[static_cast<int>(c)]; }
    TextColor Color(Ctl c) const { return color[static_cast<int>(c)]; }
    void SetText(Ctl c, std::string value, TextColor col = TextColor::Black) {
        text[static_cast<int>(c)] = std::move(value);
        color[static_cast<int>(c)] = col;
    }

    // A display name changed by decoding or by typing; the edit shows it (or the default text).
    void SetChannelName(int group, const std::string& name);
    // A name typed or pasted into its edit: the captions follow it, and the edit keeps the text
    // as it stands, also when it is emptied (decoding would show the default name there).
    void TypeChannelName(int group, const std::string& typed);
    std::string GroupCaption(CaptionList list, int group) const;

    TableList LvCalibr() const;
    TableList LvWorkModeVal() const;
    TableList LvLoad() const;
    TableList LvRegStat() const;
    TableList LvLast() const;
    // The captions of lvLast alone, for readers that walk `cycles` without copying the rows.
    std::vector<std::string> LvLastColumns() const;
};

// Texts shared by the pages and the reports.
inline constexpr std::array<const char*, kGroups> kDefaultChannelNames = {
    "Кран", "Лебёдка №1", "Лебёдка №2", "Лебёдка №3"};
extern const std::array<const char*, kRegStatRows> kRegStatCaptions;

}  // namespace orbisk
