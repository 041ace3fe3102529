#include "image/Decoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>

#include "base/DateTime.h"
#include "image/IdentificationTable.h"
#include "image/Messages.h"
#include "image/NumberFormat.h"
#include "image/SettingsTable.h"

namespace orbisk {
namespace {

std::string Decimal(long long v) {
    return std::to_string(v);
}

void ZeroBins(RecorderImage& image, int group, int count) {
    count = std::min(count, addr::SpectrumBins);
    for (int j = 0; j < count; ++j) image.SetBin(group, j, 0);
}

std::string HexByte(std::uint8_t b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return {kHex[b >> 4], kHex[b & 0x0F]};
}

// Index of a choice, or none when the stored byte names no item.
int ChoiceIndex(std::uint8_t value, int items) {
    return value < items ? value : -1;
}

void FillSettings(const RecorderImage& image, DisplayModel& model) {
    model.SetText(Ctl::eVersion, image.Text(addr::Version, addr::VersionWidth));
    for (const auto& f : kSettingFields) model.SetText(f.control, Decimal(image.U8(f.address)));

    auto& c = model.choices;
    for (const SettingChoice* choice : kSettingChoices) {
        ChoiceIndexOf(c, *choice) = ChoiceIndex(image.U8(choice->address), choice->itemCount);
    }
    c.chbSensWorkMode = image.U8(addr::UseModeSensor) != 0;
    for (int i = 0; i < 4; ++i) model.workModeValues[i] = image.U8(addr::WorkModeValues + i);

    const int w1 = image.SensorCount(1), w2 = image.SensorCount(2), w3 = image.SensorCount(3);
    model.totalSensors = w1 + w2 + w3;
    model.winchCount = w2 > 0 ? (w3 > 0 ? 3 : 2) : 1;
    model.calibration.clear();
    const int rows = std::min(model.totalSensors, kMaxCalibrationPairs);
    for (int k = 0; k < rows; ++k) {
        const auto a = static_cast<std::uint16_t>(addr::CalibrationPairs + 4 * k);
        model.calibration.push_back({image.U16(a), image.U16(static_cast<std::uint16_t>(a + 2))});
    }
}

}  // namespace

void BalanceSpectrum(RecorderImage& image) {
    const int start = image.U8(addr::CycleStart);
    for (int w = 1; w <= 3; ++w) {
        ZeroBins(image, w, image.SensorCount(w) != 0 ? start : addr::SpectrumBins);
    }
    ZeroBins(image, 0, start);
    if (image.SensorCount(1) != 0 && image.SensorCount(2) == 0 && image.SensorCount(3) == 0 &&
        image.Capacity(0) == image.Capacity(1)) {
        for (int j = 0; j < addr::SpectrumBins; ++j) image.SetBin(1, j, image.Bin(0, j));
        image.SetU32(addr::LimiterTrips + 4, image.LimiterTrips(0));
        image.SetU32(addr::LiftedMass + 4, image.U32(addr::LiftedMass));
    }
}

std::string ChangeLine(const RecorderImage& image, std::uint16_t a) {
    std::string line = TimeText(image.Time(a), false) + " " + " ";
    if (image.U8(static_cast<std::uint16_t>(a + 5)) != 0) {
        line += "Ключ № ";
        for (int i = 11; i >= 6; --i) line += HexByte(image.U8(static_cast<std::uint16_t>(a + i)));
    }
    return line;
}

bool FillPassportsAndSettings(const RecorderImage& image, DisplayModel& model) {
    bool shown = true;
    for (const IdentificationField& f : kIdentificationFields) {
        switch (f.storedAs) {
            case StoredAs::Text:
                if (const int group = ChannelNameGroup(f.control); group >= 0) {
                    model.SetChannelName(group, image.Text(f.address, f.width));
                } else {
                    model.SetText(f.control, image.Text(f.address, f.width));
                }
                break;
            case StoredAs::Int16:
                model.SetText(f.control, Decimal(image.I16(f.address)));
                break;
            case StoredAs::Int8:
                model.SetText(f.control, Decimal(image.I8(f.address)));
                break;
            case StoredAs::Float:
                model.SetText(f.control, FormatFixed(image.F32(f.address), 2));
                break;
            case StoredAs::DayNumber: {
                // A day number the calendar cannot show leaves its two controls empty; the rest
                // is filled.
                const double day = image.I32(f.address);
                if (!DateValueInShowableRange(day)) shown = false;
                model.SetText(f.control, ShortDateText(day));
                break;
            }
        }
    }

    const auto changeLine = [&](Ctl c, std::uint16_t a) {
        model.SetText(c, ChangeLine(image, a),
                      TimeValid(image.Time(a)) ? TextColor::Black : TextColor::Red);
    };
    changeLine(Ctl::eChangePassport, addr::ChangeIdentification);
    changeLine(Ctl::eChangeRTC, addr::ChangeClock);
    changeLine(Ctl::eProgramChange, addr::ChangeSettings);
    FillSettings(image, model);
    return shown;
}

bool FillIdentificationAndSettings(const RecorderImage& image, DisplayModel& model,
                                   Prompter& prompter, const Clock& clock) {
    const bool shown = FillPassportsAndSettings(image, model);
    const RecorderTime reading = image.Time(addr::ReadingTime);
    const bool readingValid = TimeValid(reading);
    model.SetText(Ctl::eDateCheck, TimeText(reading, false),
                  readingValid ? TextColor::Black : TextColor::Red);
    if (readingValid) {
        model.reportDate = TimeValue(reading, prompter, clock);
    } else {
        model.reportDate = std::floor(clock.Now());
    }
    model.SetText(Ctl::dtpReportDate, ShortDateText(model.reportDate));
    if (!readingValid) prompter.Message(msg::kBadReadingTime, MessageIcon::Warning);

    model.SetText(Ctl::eStartDateCheck, DateTimeText(image.I32(addr::InstallDay)));

    if (!shown) prompter.Message(msg::kIdentificationFailed, MessageIcon::Error);
    return shown;
}

bool ComputeStatistics(const RecorderImage& image, DisplayModel& model, Prompter& prompter,
                       const Clock& clock) {
    static constexpr double kLoadThresholds[] = {0.125, 0.25, 0.5, 1.0};
    static constexpr double kWinchUse[] = {200, 400, 800, 1600, 3200, 6300, 12500, 25000, 50000};

    prompter.ProcessMessages();
    const double reading = TimeValue(image.Time(addr::ReadingTime), prompter, clock);
    const double days = reading - static_cast<double>(image.I32(addr::InstallDay));
    const double lifeDays = image.I8(addr::ServiceLife) * 365.25;
    const std::uint32_t craneMinutes = image.OperatingMinutes(0);

    for (int g = 0; g < kGroups; ++g) {
        GroupStats& s = model.stats[g];
        long long n = 0;
        double characteristic = 0;
        for (int j = 0; j < addr::SpectrumBins; ++j) {
            const std::uint32_t bin = image.Bin(g, j);
            n += bin;
            characteristic += static_cast<double>(bin) * j * j * j * 1e-6;
        }
        s.characteristic = static_cast<float>(characteristic);
        s.n = static_cast<std::int32_t>(n);
        s.days = days;
        if (n == 0) {
            s.frequency = 0;
            s.duration = 0;
            s.kp = 0;
            s.loadClass = 1;
            s.useClass = 0;
            s.group = 1;
            continue;
        }
        const double dn = static_cast<double>(n);
        s.frequency = craneMinutes == 0 ? 0.0f : static_cast<float>(dn * 60.0 / craneMinutes);
        s.duration = static_cast<float>(image.OperatingMinutes(g) / dn);
        s.kp = static_cast<float>(static_cast<double>(s.characteristic) / dn);
        int loadClass = 1;
        for (double t : kLoadThresholds) {
            if (t <= s.kp) ++loadClass;
        }
        s.loadClass = std::min(loadClass, 4);

        // Zero days in service (reading at midnight of the installation day) extrapolate nothing.
        double factor = 1.0;
        if (days < lifeDays && days != 0.0) factor = lifeDays / days;

        const double measure = g == 0 ? std::trunc(dn * factor)
                                      : std::trunc(image.OperatingMinutes(g) / 60.0 * factor);
        int useClass = 0;
        for (double t : (g == 0 ? std::span<const double>(kCraneUseBounds)
                                : std::span<const double>(kWinchUse))) {
            if (t <= measure) ++useClass;
        }
        s.useClass = useClass;
        s.group = useClass >= 9 ? 8 : std::clamp(s.loadClass + useClass - 2, 1, 8);
    }
    return true;
}

namespace {

std::string HoursMinutes(std::uint32_t minutes) {
    const std::uint32_t m = minutes % 60;
    return Decimal(minutes / 60) + (m < 10 ? ".0" : ".") + Decimal(m);
}

std::string MinutesSeconds(float duration) {
    if (!std::isfinite(duration)) return FormatFixed(duration, 0);
    const double m = std::trunc(static_cast<double>(duration));
    const double s = std::trunc((static_cast<double>(duration) - m) * 60.0);
    return FormatFixed(m, 0) + (s < 10 ? ".0" : ".") + FormatFixed(s, 0);
}

}  // namespace

void FillOperatingParameters(const RecorderImage& image, DisplayModel& model) {
    static constexpr const char* kLoadLetter[] = {"Q", "L", "L", "L"};
    static constexpr const char* kUseLetter[] = {"U", "T", "T", "T"};
    static constexpr const char* kGroupLetter[] = {"A", "M", "M", "M"};
    for (int g = 0; g < kGroups; ++g) {
        const GroupStats& s = model.stats[g];
        if (s.n == 0) {
            for (auto& row : model.regStat) row[g] = "-";
            continue;
        }
        const std::array<std::string, kRegStatRows> values = {
            Decimal(s.n),
            FormatFixed(image.LiftedMass(g), 2),
            Decimal(image.LimiterTrips(g)),
            HoursMinutes(image.OperatingMinutes(g)),
            FormatFixed(s.characteristic, 2),
            FormatFixed(s.kp, 2),
            kLoadLetter[g] + Decimal(s.loadClass),
            kUseLetter[g] + Decimal(s.useClass),
            kGroupLetter[g] + Decimal(s.group),
            FormatFixed(s.days, 0),
            FormatFixed(s.frequency, 1),
            MinutesSeconds(s.duration)};
        for (int r = 0; r < kRegStatRows; ++r) model.regStat[r][g] = values[r];
    }
}

int DistributionStep(int item) {
    switch (item) {
        case 0:
            return 1;
        case 2:
            return 25;
        default:
            return 10;
    }
}

void FillLoadDistribution(const RecorderImage& image, DisplayModel& model) {
    const int step = DistributionStep(model.choices.rgStep);
    const int warning = image.U8(addr::Warning);
    const int averageMax = image.U8(addr::AverageMaxLoad);
    model.loadRows.clear();
    for (int g = 0; g < kGroups; ++g) {
        auto& series = model.histogram[g];
        series.clear();
        series.push_back({0, 0, "0", PointColor::Series});
        int bin = 0;
        int edge = 0;
        std::size_t row = 0;
        while (bin < addr::SpectrumBins) {
            const int last = std::min(edge + step, addr::SpectrumBins - 1);
            std::uint32_t sum = 0;
            for (; bin <= last; ++bin) sum += image.Bin(g, bin);
            if (g == 0) {
                const std::string range =
                    step == 1 ? Decimal(row + 1) + "%"
                              : "от " + Decimal(edge + 1) + "% до " + Decimal(edge + step) + "%";
                model.loadRows.push_back({Decimal(row + 1), range, "0", "0", "0", "0"});
            }
            if (row < model.loadRows.size()) model.loadRows[row][2 + g] = Decimal(sum);
            const PointColor color = edge <= warning     ? PointColor::Series
                                     : edge > averageMax ? PointColor::Red
                                                         : PointColor::Yellow;
            series.push_back({edge, sum, Decimal(edge), color});
            edge += step;
            ++row;
        }
        series.push_back({edge, 0, Decimal(edge), PointColor::Red});
    }
}

namespace {

void AssignDecimal(std::string& out, unsigned value, const char* suffix = "") {
    char buf[16];
    char* end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    out.assign(buf, end);
    out += suffix;
}

}  // namespace

std::vector<CycleRow> BuildCycleRows(RecorderImage& image, CycleFilter filter, double filterDate,
                                     bool dataCorrection) {
    std::vector<CycleRow> rows;
    BuildCycleRows(image, filter, filterDate, dataCorrection, rows);
    return rows;
}

bool CorrectCycleRecord(RecorderImage& image, std::uint16_t slot, double capacity) {
    const CycleRecord r = image.Record(slot);
    // Only work-cycle records carry loads; a switch-on/off record carries an error code.
    if ((r.flags & 0x30) != 0) return false;
    bool changed = false;
    std::uint8_t crane = r.loads[0];
    for (int k = 0; k < 4; ++k) {
        if (r.loads[k] > 125) {
            image.SetU8(static_cast<std::uint16_t>(slot + 6 + k), 125);
            if (k == 0) crane = 125;
            changed = true;
        }
    }
    const double limit = crane * 0.01 * capacity;
    if (static_cast<double>(r.mass) > limit) {
        image.SetF32(static_cast<std::uint16_t>(slot + 10), static_cast<float>(limit));
        changed = true;
    }
    return changed;
}

void BuildCycleRows(RecorderImage& image, CycleFilter filter, double filterDate,
                    bool dataCorrection, std::vector<CycleRow>& rows) {
    const bool wholeLogForTrips =
        image.U8(addr::Version) == '1' && image.U8(addr::Version + 2) == '2';
    const Ring& ring =
        filter == CycleFilter::LimiterTrips && !wholeLogForTrips ? kTripLog : kCycleLog;
    const std::string date = filter == CycleFilter::ByDate ? ShortDateText(filterDate) : "";
    const double capacity = image.Capacity(0);

    std::size_t count = 0;
    char time[kTimeTextLength];
    for (int i = 0; i < ring.slots; ++i) {
        const std::uint16_t slot = RecorderImage::SlotAddress(ring, image.WalkSlot(ring, i));
        CycleRecord r = image.Record(slot);
        if (filter == CycleFilter::SwitchEvents && !r.IsSwitchEvent()) continue;
        WriteTimeText(r.time, time);
        if (filter == CycleFilter::ByDate && date.compare(0, std::string::npos, time, 10) != 0) {
            continue;
        }

        if (dataCorrection && CorrectCycleRecord(image, slot, capacity)) r = image.Record(slot);

        if (count == rows.size()) rows.emplace_back();
        CycleRow& row = rows[count++];
        row.icon = RowIcon::None;
        row.cells[0].assign(time, sizeof time);
        for (int k = 0; k < 4; ++k) AssignDecimal(row.cells[1 + k], r.loads[k], "%");
        const double mass = r.mass;
        row.cells[5] = FormatFixed(mass, mass > 1 ? 1 : 2);
        if (!IsSpecialNumber(mass)) row.cells[5] += " т";

        std::string& state = row.cells[6];
        state.clear();
        if (r.IsSwitchEvent()) {
            const bool off = r.flags & 0x10;
            state += off ? " Выкл" : " Вкл";
            row.icon = off ? RowIcon::SwitchOff : RowIcon::SwitchOn;
            state += " R";
            state += static_cast<char>('0' + r.WorkModeNumber());
            if (r.loads[0] != 0) state += " E-" + Decimal(r.loads[0]);
            row.cells[1] = "0%";
        }
        if (r.StopBits() != 0) {
            state += " Стоп:";
            for (int b = 0; b < 4; ++b) {
                if (r.flags & (1 << b)) {
                    state += " L0";
                    state += static_cast<char>('0' + b);
                }
            }
            row.icon = RowIcon::Stop;
        }
        if (r.IsBlocking()) {
            state += " Блок";
            row.icon = RowIcon::Blocking;
        }
        AssignDecimal(row.cells[7], r.frameOffset);
        row.frameOffset = r.frameOffset;
        row.hasFrame = image.HasFrame(r);
    }
    rows.resize(count);
}

std::uint16_t FrameOffsetOfRow(const CycleRow& row) {
    return row.frameOffset;
}

}  // namespace orbisk
