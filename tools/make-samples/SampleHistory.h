#pragma once
// The working life of one truck crane and its recorder, from the installation of the recorder
// to today's check, as a list of events in time order: switch-ons and switch-offs, work cycles
// with their per-second frames, and the changes of clock, identification and settings. Replaying
// the list into a recorder memory (SampleImages.h) gives images that are consistent with each
// other in every counter, ring and frame, because they are written the way the recorder writes
// them rather than filled field by field.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "base/DateTime.h"
#include "image/Codecs.h"
#include "tools/make-samples/Prng.h"

namespace orbisk::samples {

// A moment in whole minutes since 30.12.1899 00:00; the recorder keeps no seconds.
using Minutes = long long;
constexpr Minutes kMinutesPerDay = 1440;

inline Minutes MomentOf(int year, int month, int day, int hour, int minute) {
    return DayNumber(year, month, day) * kMinutesPerDay + hour * 60 + minute;
}

inline std::uint8_t ToBcd(int value) {
    return static_cast<std::uint8_t>(((value / 10) << 4) | (value % 10));
}

inline RecorderTime ToRecorderTime(Minutes moment) {
    const CivilDate date = DateOfDay(moment / kMinutesPerDay);
    const int minuteOfDay = static_cast<int>(moment % kMinutesPerDay);
    RecorderTime t;
    t.bytes = {ToBcd(minuteOfDay % 60), ToBcd(minuteOfDay / 60), ToBcd(date.day), ToBcd(date.month),
               ToBcd(date.year - 2000)};
    return t;
}

// The crane, the recorder and the dates of their story.
namespace story {
inline constexpr std::uint64_t kSeed = 0x4B532D3435373137ull;

inline constexpr char kRecorderType[] = "ОНК-160С-03";
// The slash and the hyphen show how a proposed file name drops such characters.
inline constexpr char kRecorderSerial[] = "0417/19-2";
inline constexpr int kRecorderYear = 2019;
inline constexpr char kRecorderMaker[] = "ЗАО \"Орбис-Прибор\", г. Новосибирск";
inline constexpr char kInstaller[] = "ООО \"Кран-Диагностика\", г. Владимир";
inline constexpr char kCraneType[] = "КС-45717К-1";
inline constexpr char kCraneSerial[] = "3127";
inline constexpr int kCraneYear = 2018;
inline constexpr char kCraneMaker[] = "ОАО \"Автокран\", г. Иваново";
// The crane changed hands; the new owner was entered at the previous check.
inline constexpr char kFormerOwner[] = "ООО \"Мостострой-11\", г. Иваново";
inline constexpr char kOwner[] = "ООО \"СтройМеханизация\", г. Владимир";
inline constexpr char kClassGroup[] = "A3";
inline constexpr int kServiceLifeYears = 10;
inline constexpr char kCommissioning[] = "15.05.2019";
// Winch 3 has no name, so its default caption is shown.
inline constexpr std::array<const char*, 4> kDisplayNames = {"Автокран", "Основная",
                                                             "Вспомогательная", ""};
// The crane and the main winch have the same capacity; the balancing rule that copies the
// crane's spectrum to winch 1 must still not apply, because winch 2 has a sensor.
inline constexpr std::array<float, 4> kCapacityTonnes = {25.0f, 25.0f, 6.3f, 0.0f};
inline constexpr std::array<int, 4> kCapacityKg = {25000, 25000, 6300, 0};
inline constexpr std::array<std::uint8_t, 3> kSensorCounts = {2, 1, 0};
inline constexpr std::array<std::uint16_t, 6> kCalibration = {412, 3687, 398, 3702, 405, 2950};
inline constexpr char kVersion[] = "1.05 ";
// The access key (a touch-memory key) of the service engineer.
inline constexpr std::array<std::uint8_t, 6> kKeyId = {0xB7, 0x4E, 0x1C, 0x0A, 0x00, 0x00};

// Settings the history depends on; the rest of the block is in SampleImages.h.
inline constexpr int kPreliminaryStop = 105;
inline constexpr int kWarning = 90;
inline constexpr int kCycleStart = 5;
inline constexpr int kRelay3On = 80;  // relay 3 follows winch 1, with hysteresis
inline constexpr int kRelay3Off = 75;

inline long long InstallationDay() {
    return DayNumber(2019, 5, 20);
}
inline Minutes PreviousReading() {
    return MomentOf(2024, 3, 12, 9, 15);
}
inline Minutes CurrentReading() {
    return MomentOf(2025, 3, 17, 11, 42);
}
// Until the change of owner the crane worked a full day on most working days.
inline long long QuietSince() {
    return DayNumber(2024, 1, 1);
}
}  // namespace story

enum class EventKind {
    Cycle,
    SwitchOn,
    SwitchOff,
    ClockChange,
    IdentificationChange,
    SettingsChange
};

struct Event {
    EventKind kind = EventKind::Cycle;
    Minutes at = 0;
    std::uint8_t flags = 0;
    std::array<std::uint8_t, 4> loads{};  // byte 0 is the error code of a switch event
    std::uint32_t massKg = 0;
    int winch = 0;     // the winch that worked the cycle
    int seconds = 0;   // cycle duration
    int revision = 0;  // which version of the identification or settings a change wrote
    std::vector<std::uint8_t> frame;  // time, sample size, samples, end byte
};

struct LiftPlan {
    int winch = 1;
    int peak = 0;  // % of the winch's capacity
    int seconds = 60;
    bool blocked = false;
    int craneLoad = 0;  // forces the crane's peak when non-zero (a load at a long radius)
};

constexpr int kSampleSize = 4;  // flag byte, crane, winch 1, winch 2
constexpr int kMaxRepeat = 6;

// One winch's load second by second: lift-off to the peak, a slowly wandering hold just below
// it, and the set-down below the cycle end condition.
inline std::vector<int> LoadProfile(Prng& prng, int peak, int seconds) {
    std::vector<int> v(static_cast<std::size_t>(seconds));
    const int rise = std::max(1, std::min(seconds / 4, prng.Range(3, 7)));
    const int fall = std::max(1, std::min(seconds / 4, prng.Range(2, 5)));
    const int first = std::min(peak, prng.Range(5, 9));
    for (int i = 0; i < rise; ++i) v[i] = first + (peak - first) * i / rise;
    int level = peak;
    int run = 0;
    for (int i = rise; i < seconds - fall; ++i) {
        if (run == 0) {
            run = prng.Range(2, 10);
            if (i > rise) level = peak - prng.Range(0, std::min(3, peak - 1));
        }
        v[i] = level;
        --run;
    }
    const int last = v[seconds - fall - 1];
    const int rest = prng.Range(0, 2);
    for (int k = 0; k < fall; ++k) v[seconds - fall + k] = last - (last - rest) * (k + 1) / fall;
    return v;
}

// Per-second samples packed as the recorder packs them: a sample equal to the one before is
// not stored but counted in the top three bits of the next stored sample's flag byte.
inline void PackSamples(const std::vector<std::array<std::uint8_t, kSampleSize>>& seconds,
                        std::vector<std::uint8_t>& out) {
    auto emit = [&out](const std::array<std::uint8_t, kSampleSize>& s, int repeat) {
        out.push_back(static_cast<std::uint8_t>(s[0] | (repeat << 5)));
        out.insert(out.end(), s.begin() + 1, s.end());
    };
    auto last = seconds.front();
    emit(last, 0);
    int pending = 0;
    for (std::size_t i = 1; i < seconds.size(); ++i) {
        const auto& s = seconds[i];
        if (s == last && pending < kMaxRepeat) {
            ++pending;
        } else {
            emit(s, pending);
            pending = 0;
            last = s;
        }
    }
    if (pending > 0) emit(last, pending - 1);
}

inline Event BuildCycle(Prng& prng, Minutes at, const LiftPlan& lift) {
    const std::vector<int> profile = LoadProfile(prng, lift.peak, lift.seconds);
    std::vector<std::array<std::uint8_t, kSampleSize>> samples;
    samples.reserve(profile.size());
    Event e;
    e.kind = EventKind::Cycle;
    e.at = at;
    e.winch = lift.winch;
    e.seconds = lift.seconds;
    bool relay3 = false;
    for (int load : profile) {
        int crane = load, winch1 = 0, winch2 = 0;
        if (lift.winch == 1) {
            winch1 = load;
        } else {
            winch2 = load;
            crane = lift.craneLoad != 0 ? (load * lift.craneLoad + lift.peak / 2) / lift.peak
                                        : (load * story::kCapacityKg[2] + 12500) / 25000;
        }
        const int highest = std::max({crane, winch1, winch2});
        std::uint8_t flag = 0;
        if (highest <= story::kPreliminaryStop || lift.blocked) flag |= 0x01;  // motion allowed
        if (highest > story::kPreliminaryStop) flag |= 0x02;
        if (winch1 >= story::kRelay3On) relay3 = true;
        if (winch1 < story::kRelay3Off) relay3 = false;
        if (relay3) flag |= 0x04;
        if (highest >= story::kWarning) flag |= 0x08;  // relay 4 sounds the warning
        if (lift.blocked) flag |= 0x10;
        samples.push_back({flag, static_cast<std::uint8_t>(crane),
                           static_cast<std::uint8_t>(winch1), static_cast<std::uint8_t>(winch2)});
        for (int g = 0; g < 3; ++g) e.loads[g] = std::max(e.loads[g], samples.back()[g + 1]);
    }
    if (lift.blocked) {
        e.flags = 0x10;
    } else {
        for (int g = 0; g < 3; ++g) {
            if (e.loads[g] > story::kPreliminaryStop) e.flags |= static_cast<std::uint8_t>(1 << g);
        }
    }
    // The mass stays a little under the crane load times the capacity, as the recorder's filtered
    // mass does, so that the data correction finds nothing to change in a normal cycle.
    // Loads above what the program accepts come with the highest filtered mass, which the
    // data correction then limits.
    const int permille = e.loads[0] > 125 ? 990 : prng.Range(950, 990);
    const std::uint32_t craneLimit = e.loads[0] * 250u * 99u / 100u;
    e.massKg =
        lift.winch == 1
            ? e.loads[0] * 250u * static_cast<std::uint32_t>(permille) / 1000u
            : std::min(e.loads[2] * 63u * static_cast<std::uint32_t>(permille) / 1000u, craneLimit);

    const RecorderTime t = ToRecorderTime(at);
    e.frame.assign(t.bytes.begin(), t.bytes.end());
    e.frame.push_back(kSampleSize);
    PackSamples(samples, e.frame);
    e.frame.push_back(0xFF);
    return e;
}

inline LiftPlan RandomLift(Prng& prng) {
    LiftPlan lift;
    lift.seconds = prng.SumOfRanges(45, 150, 0, 150);
    const int roll = prng.Range(0, 999);
    if (prng.Chance(700)) {
        lift.winch = 1;
        if (roll < 6) {
            lift.peak = prng.Range(106, 118);  // the limiter stops the lift
        } else if (roll < 12) {
            lift.peak = prng.Range(101, 105);
        } else if (roll < 50) {
            lift.peak = prng.Range(76, 100);
        } else {
            lift.peak = prng.SumOfRanges(10, 45, 0, 30);
        }
    } else {
        lift.winch = 2;
        lift.peak = roll < 5 ? prng.Range(106, 115) : prng.SumOfRanges(12, 60, 0, 38);
    }
    lift.blocked = lift.peak <= story::kPreliminaryStop && prng.Chance(2);
    return lift;
}

inline Event SwitchEvent(Minutes at, bool off, int mode, int error) {
    Event e;
    e.kind = off ? EventKind::SwitchOff : EventKind::SwitchOn;
    e.at = at;
    e.flags = static_cast<std::uint8_t>(0x20 | (off ? 0x10 : 0) | (mode << 6));
    e.loads[0] = static_cast<std::uint8_t>(error);
    return e;
}

inline Event ChangeEvent(EventKind kind, Minutes at, int revision) {
    Event e;
    e.kind = kind;
    e.at = at;
    e.revision = revision;
    return e;
}

inline int PickWorkMode(Prng& prng) {
    const int roll = prng.Range(0, 999);
    return roll < 850 ? 0 : roll < 930 ? 1 : roll < 980 ? 2 : 3;
}

inline int PickErrorCode(Prng& prng, int perMille) {
    static constexpr int kCodes[] = {3, 5, 7, 12, 21};
    return prng.Chance(perMille) ? kCodes[prng.Range(0, 4)] : 0;
}

// How a working day goes: lifts at fixed moments first (tests at a check), then a number of
// ordinary lifts, one of which may be replaced by a particular one.
struct SessionScript {
    std::vector<std::pair<Minutes, LiftPlan>> fixed;  // cycles at fixed moments, first
    int randomCycles = 0;
    int specialIndex = -1;  // which random cycle is replaced by `special`
    LiftPlan special;
    bool switchOff = true;
};

inline void WorkSession(Prng& prng, Minutes on, const SessionScript& script,
                        std::vector<Event>& events) {
    const int mode = PickWorkMode(prng);
    events.push_back(SwitchEvent(on, false, mode, PickErrorCode(prng, 25)));
    Minutes t = on + prng.Range(4, 25);
    Minutes lastEnd = on + 1;
    for (const auto& [at, lift] : script.fixed) {
        events.push_back(BuildCycle(prng, at, lift));
        lastEnd = at + (lift.seconds + 59) / 60;
        t = lastEnd + prng.Range(3, 20);
    }
    const Minutes day = on / kMinutesPerDay * kMinutesPerDay;
    for (int i = 0; i < script.randomCycles && t < day + 17 * 60 + 40; ++i) {
        const LiftPlan lift = i == script.specialIndex ? script.special : RandomLift(prng);
        events.push_back(BuildCycle(prng, t, lift));
        lastEnd = t + (lift.seconds + 59) / 60;
        t = lastEnd + prng.Range(3, 55);
    }
    if (!script.switchOff) return;
    const Minutes afterWork = lastEnd + prng.Range(5, 40);
    const Minutes evening = day + prng.Range(16 * 60, 18 * 60 + 10);
    const Minutes off = std::max(afterWork, evening);
    events.push_back(SwitchEvent(off, true, mode, PickErrorCode(prng, 8)));
}

inline LiftPlan TestLift(int peak, int seconds) {
    return LiftPlan{1, peak, seconds, true, 0};
}

// The whole history up to today's reading, in time order.
inline std::vector<Event> GenerateHistory() {
    Prng prng(story::kSeed);
    std::vector<Event> events;
    const long long installed = story::InstallationDay();
    const long long previousCheck = story::PreviousReading() / kMinutesPerDay;
    const long long today = story::CurrentReading() / kMinutesPerDay;
    // Two days on which the limiter stopped an unusual lift.
    const long long skewedLiftDay = DayNumber(2025, 1, 28);
    const long long jerkDay = DayNumber(2025, 2, 19);

    // Installation: the clock is set, the limiter is proved with the static and dynamic test
    // loads (the limiter blocked with the key), then the passports and settings are entered.
    const Minutes d0 = installed * kMinutesPerDay;
    events.push_back(ChangeEvent(EventKind::ClockChange, d0 + 13 * 60 + 30, 0));
    WorkSession(prng, d0 + 13 * 60 + 40,
                {{{d0 + 14 * 60 + 5, TestLift(127, 600)}, {d0 + 14 * 60 + 20, TestLift(111, 200)}},
                 0,
                 -1,
                 {},
                 true},
                events);
    events.push_back(ChangeEvent(EventKind::IdentificationChange, d0 + 15 * 60 + 10, 0));
    events.push_back(ChangeEvent(EventKind::SettingsChange, d0 + 15 * 60 + 20, 0));

    for (long long day = installed + 1; day < today; ++day) {
        const Minutes d = day * kMinutesPerDay;
        if (day == previousCheck) {
            // The previous check: test loads, the reading, then the new owner and the changed
            // relay settings are written, and the crane goes back to work.
            WorkSession(
                prng, d + 8 * 60 + 47,
                {{{d + 8 * 60 + 58, TestLift(127, 600)}, {d + 9 * 60 + 10, TestLift(111, 150)}},
                 prng.Range(3, 5),
                 -1,
                 {},
                 true},
                events);
            events.push_back(ChangeEvent(EventKind::IdentificationChange, d + 10 * 60 + 2, 1));
            events.push_back(ChangeEvent(EventKind::SettingsChange, d + 10 * 60 + 7, 1));
            continue;
        }
        const int weekday = static_cast<int>((day + 5) % 7);  // 0 is Monday
        const bool special = day == skewedLiftDay || day == jerkDay;
        const bool working = special || (weekday < 5    ? prng.Chance(880)
                                         : weekday == 5 ? prng.Chance(120)
                                                        : false);
        if (!working) continue;
        SessionScript script;
        script.randomCycles = day < story::QuietSince() ? prng.Range(6, 18) : prng.Range(1, 6);
        if (prng.Chance(40)) script.randomCycles = 0;  // switched on, but nothing to lift
        if (day == skewedLiftDay) {
            // A winch-2 lift at a long radius: both the crane's moment and winch 2 overloaded.
            script.randomCycles = std::max(script.randomCycles, 4);
            script.specialIndex = 2;
            script.special = LiftPlan{2, 111, 95, false, 108};
        } else if (day == jerkDay) {
            // A jerk on the main winch, recorded above the loads the program accepts.
            script.randomCycles = std::max(script.randomCycles, 4);
            script.specialIndex = 1;
            script.special = LiftPlan{1, 129, 70, false, 0};
        }
        WorkSession(prng, d + prng.Range(7 * 60 + 20, 8 * 60 + 50), script, events);
    }
    events.push_back(ChangeEvent(EventKind::ClockChange, MomentOf(2024, 10, 14, 8, 12), 1));

    // Today: a lift, the test loads, one more lift, and the reading a few minutes later.
    const Minutes d = today * kMinutesPerDay;
    WorkSession(prng, d + 10 * 60 + 48,
                {{{d + 10 * 60 + 55, LiftPlan{1, 42, 130, false, 0}},
                  {d + 11 * 60 + 8, TestLift(127, 600)},
                  {d + 11 * 60 + 21, TestLift(111, 180)},
                  {d + 11 * 60 + 36, LiftPlan{2, 35, 90, false, 0}}},
                 0,
                 -1,
                 {},
                 false},
                events);

    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.at < b.at; });
    return events;
}

}  // namespace orbisk::samples
