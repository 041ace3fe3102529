#pragma once
// Replays the history into a recorder memory the way the recorder writes it (rings, frames,
// counters) and takes the two readings: the previous check's image and today's.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "image/RecorderImage.h"
#include "tools/make-samples/SampleHistory.h"

namespace orbisk::samples {

// Where the rings and the frame area stand today. The write slots are chosen in the middle of
// the rings so that a newest-first walk wraps, and the frames are placed so that one of the
// frames still present runs over the end of the frame area.
constexpr int kCycleWriteSlot = 1000;
constexpr int kTripWriteSlot = 23;
constexpr std::uint32_t kWrappingFrameStart = 0x7FF3;  // its sample size byte sits at 0x7FF8
constexpr std::uint32_t kFramesAfterWrap = 0x4000;     // leaves the write position mid-area

struct Layout {
    int cycleStartSlot = 0;
    int tripStartSlot = 0;
    std::uint32_t frameStart = 0;
};

inline int Modulo(long long value, int modulus) {
    return static_cast<int>(((value % modulus) + modulus) % modulus);
}

inline bool IsRecord(const Event& e) {
    return e.kind == EventKind::Cycle || e.kind == EventKind::SwitchOn ||
           e.kind == EventKind::SwitchOff;
}

inline bool IsTrip(const Event& e) {
    return e.kind == EventKind::Cycle && (e.flags & 0x0F);
}

inline Layout ChooseLayout(const std::vector<Event>& events) {
    long long records = 0, trips = 0;
    std::vector<std::uint32_t> frameSizes;
    for (const Event& e : events) {
        if (e.at > story::CurrentReading()) break;
        records += IsRecord(e);
        trips += IsTrip(e);
        if (e.kind == EventKind::Cycle)
            frameSizes.push_back(static_cast<std::uint32_t>(e.frame.size()));
    }
    Layout layout;
    layout.cycleStartSlot = Modulo(kCycleWriteSlot - records, kCycleLog.slots);
    layout.tripStartSlot = Modulo(kTripWriteSlot - trips, kTripLog.slots);
    // The wrapping frame is the last one after which at most kFramesAfterWrap bytes were written.
    std::uint64_t after = 0;
    std::size_t k = frameSizes.size();
    while (k > 0 && after + frameSizes[k - 1] <= kFramesAfterWrap) after += frameSizes[--k];
    if (k > 0) --k;
    std::uint64_t before = 0;
    for (std::size_t i = 0; i < k; ++i) before += frameSizes[i];
    layout.frameStart = static_cast<std::uint32_t>(
        (kWrappingFrameStart + addr::FrameAreaSize - before % addr::FrameAreaSize) %
        addr::FrameAreaSize);
    return layout;
}

inline void WriteIdentification(RecorderImage& image, int revision) {
    for (int g = 0; g < 4; ++g) image.SetF32(addr::Capacities + 4 * g, story::kCapacityTonnes[g]);
    image.SetText(addr::RecorderType, width::RecorderType, story::kRecorderType);
    image.SetText(addr::RecorderSerial, width::Serial, story::kRecorderSerial);
    image.SetU16(addr::RecorderYear, story::kRecorderYear);
    image.SetText(addr::RecorderMaker, width::Maker, story::kRecorderMaker);
    image.SetU32(addr::InstallDay, static_cast<std::uint32_t>(story::InstallationDay()));
    image.SetText(addr::Installer, width::Maker, story::kInstaller);
    image.SetText(addr::CraneType, width::CraneType, story::kCraneType);
    image.SetText(addr::CraneSerial, width::Serial, story::kCraneSerial);
    image.SetU16(addr::CraneYear, story::kCraneYear);
    image.SetText(addr::CraneMaker, width::Maker, story::kCraneMaker);
    image.SetText(addr::Owner, width::Owner, revision == 0 ? story::kFormerOwner : story::kOwner);
    image.SetText(addr::ClassGroup, width::ClassGroup, story::kClassGroup);
    image.SetU8(addr::ServiceLife, story::kServiceLifeYears);
    image.SetText(addr::Commissioning, width::Commissioning, story::kCommissioning);
    for (int g = 0; g < 4; ++g) {
        image.SetText(static_cast<std::uint16_t>(addr::DisplayNames + addr::DisplayNameWidth * g),
                      addr::DisplayNameWidth, story::kDisplayNames[g]);
    }
}

// At the previous check relay 3 was moved to lower thresholds, the work-mode limits were
// tightened and the mass filter slowed; the thresholds the history depends on stayed.
inline void WriteSettings(RecorderImage& image, int revision) {
    const bool later = revision > 0;
    for (std::size_t i = 0; i < story::kCalibration.size(); ++i) {
        image.SetU16(static_cast<std::uint16_t>(addr::CalibrationPairs + 2 * i),
                     story::kCalibration[i]);
    }
    for (int w = 0; w < 3; ++w) {
        image.SetU8(static_cast<std::uint16_t>(addr::SensorCounts + w), story::kSensorCounts[w]);
    }
    image.SetU8(addr::PreliminaryStop, story::kPreliminaryStop);
    image.SetU8(addr::AverageMaxLoad, 115);
    image.SetU8(addr::InstantMaxLoad, 125);
    image.SetU8(addr::Warning, story::kWarning);
    image.SetU8(addr::CycleStart, story::kCycleStart);
    image.SetU8(addr::CycleEnd, 3);
    image.SetU8(addr::CycleTime, 10);
    image.SetU8(addr::EnableLoad, 100);
    image.SetU8(addr::AverageFilter, 25);
    image.SetU8(addr::MassFilter, later ? 60 : 50);
    image.SetU8(addr::SensorMaxLoad, 120);
    image.SetU8(addr::SensorSkew, 15);
    image.SetU8(addr::Relay3On, later ? story::kRelay3On : 85);
    image.SetU8(addr::Relay3Load, 1);
    image.SetU8(addr::Relay4On, 0);
    image.SetU8(addr::Relay4Load, 0);
    image.SetU8(addr::WorkMode, 0);
    const std::array<std::uint8_t, 4> modes = later ? std::array<std::uint8_t, 4>{100, 75, 50, 40}
                                                    : std::array<std::uint8_t, 4>{100, 80, 60, 40};
    image.WriteBytes(addr::WorkModeValues, modes.data(), modes.size());
    image.SetU8(addr::ExtDisplay, 1);
    image.SetU8(addr::UseModeSensor, 1);
    image.SetU8(addr::Relay3Off, later ? story::kRelay3Off : 80);
    image.SetU8(addr::Relay4Off, 0);
    image.SetU8(addr::DacOutput, 1);
    image.SetU8(addr::ExtRelayAlgorithm, 1);
    const std::array<std::uint8_t, 4> extRelays = {50, 40, 0, 0};
    image.WriteBytes(addr::ExtRelayThresholds, extRelays.data(), extRelays.size());
}

inline void WriteChangeRecord(RecorderImage& image, std::uint16_t at, Minutes moment,
                              bool withKey) {
    std::array<std::uint8_t, kRecordSize> record{};
    const RecorderTime t = ToRecorderTime(moment);
    std::copy(t.bytes.begin(), t.bytes.end(), record.begin());
    if (withKey) {
        record[5] = 1;
        std::copy(story::kKeyId.begin(), story::kKeyId.end(), record.begin() + 6);
    }
    image.WriteBytes(at, record.data(), record.size());
}

// The XOR of the even-offset bytes comes out zero through the first, not interpreted byte.
inline void BalanceChecksum(RecorderImage& image) {
    image.SetU8(0x0000, 0);
    std::uint8_t x = 0;
    for (std::size_t i = 0; i < kImageSize; i += 2) x ^= image.Data()[i];
    image.SetU8(0x0000, x);
}

class Recorder {
public:
    explicit Recorder(const Layout& layout) : layout_(layout), frameCursor_(layout.frameStart) {
        image_.SetU16(kCycleLog.writeAddress,
                      RecorderImage::SlotAddress(kCycleLog, layout.cycleStartSlot));
        image_.SetU16(kTripLog.writeAddress,
                      RecorderImage::SlotAddress(kTripLog, layout.tripStartSlot));
    }

    void Apply(const Event& e) {
        switch (e.kind) {
            case EventKind::ClockChange:
                WriteChangeRecord(image_, addr::ChangeClock, e.at, false);
                return;
            case EventKind::IdentificationChange:
                WriteIdentification(image_, e.revision);
                WriteChangeRecord(image_, addr::ChangeIdentification, e.at, true);
                return;
            case EventKind::SettingsChange:
                WriteSettings(image_, e.revision);
                WriteChangeRecord(image_, addr::ChangeSettings, e.at, true);
                return;
            case EventKind::SwitchOn:
                sessionOn_ = e.at;
                break;
            case EventKind::SwitchOff:
                closedMinutes_ += static_cast<std::uint64_t>(e.at - sessionOn_);
                sessionOn_ = -1;
                break;
            case EventKind::Cycle:
                CountCycle(e);
                break;
        }
        WriteRecord(e);
    }

    // The memory as the reader copies it at the given moment.
    RecorderImage Reading(Minutes moment) const {
        RecorderImage image = image_;
        image.SetTime(addr::ReadingTime, ToRecorderTime(moment));
        image.SetText(addr::Version, addr::VersionWidth, story::kVersion);
        for (int g = 0; g < 4; ++g) {
            for (int j = 0; j < addr::SpectrumBins; ++j) image.SetBin(g, j, spectrum_[g][j]);
            std::uint64_t minutes = seconds_[g] / 60;
            if (g == 0) {
                // The crane runs while it is switched on; a running session counts up to now.
                minutes = closedMinutes_ + (sessionOn_ >= 0 ? moment - sessionOn_ : 0);
            }
            image.SetU32(addr::OperatingMinutes + 4 * g, static_cast<std::uint32_t>(minutes));
            image.SetU32(addr::LimiterTrips + 4 * g, trips_[g]);
            image.SetF32(addr::LiftedMass + 4 * g, static_cast<float>(massKg_[g] / 1000.0));
        }
        BalanceChecksum(image);
        return image;
    }

private:
    void CountCycle(const Event& e) {
        const std::array<int, 4> loads = {e.loads[0], e.loads[1], e.loads[2], e.loads[3]};
        for (int g = 0; g < 4; ++g) {
            // A group's cycle counts only from the start condition up; the bins end at 127 %.
            if (loads[g] >= story::kCycleStart) ++spectrum_[g][std::min(loads[g], 127)];
            if (e.flags & (1 << g)) ++trips_[g];
        }
        seconds_[e.winch] += static_cast<std::uint64_t>(e.seconds);
        massKg_[0] += e.massKg;
        massKg_[e.winch] += e.massKg;
    }

    void WriteRecord(const Event& e) {
        std::array<std::uint8_t, kRecordSize> record{};
        const RecorderTime t = ToRecorderTime(e.at);
        std::copy(t.bytes.begin(), t.bytes.end(), record.begin());
        record[5] = e.flags;
        std::copy(e.loads.begin(), e.loads.end(), record.begin() + 6);
        const auto massBits = std::bit_cast<std::uint32_t>(static_cast<float>(e.massKg / 1000.0));
        for (int i = 0; i < 4; ++i) record[10 + i] = static_cast<std::uint8_t>(massBits >> (8 * i));
        record[14] = static_cast<std::uint8_t>(frameCursor_);
        record[15] = static_cast<std::uint8_t>(frameCursor_ >> 8);
        if (e.kind == EventKind::Cycle) {
            for (std::size_t i = 0; i < e.frame.size(); ++i) {
                image_.SetU8(
                    static_cast<std::uint16_t>(addr::FrameArea + ((frameCursor_ + i) & 0x7FFF)),
                    e.frame[i]);
            }
            frameCursor_ = static_cast<std::uint32_t>((frameCursor_ + e.frame.size()) & 0x7FFF);
        }
        Push(kCycleLog, layout_.cycleStartSlot, cycleCount_, record);
        if (IsTrip(e)) Push(kTripLog, layout_.tripStartSlot, tripCount_, record);
    }

    void Push(const Ring& ring, int startSlot, long long& count,
              const std::array<std::uint8_t, kRecordSize>& record) {
        const int slot = Modulo(startSlot + count, ring.slots);
        image_.WriteBytes(RecorderImage::SlotAddress(ring, slot), record.data(), record.size());
        ++count;
        image_.SetU16(ring.writeAddress,
                      RecorderImage::SlotAddress(ring, Modulo(startSlot + count, ring.slots)));
    }

    Layout layout_;
    RecorderImage image_;
    std::uint32_t frameCursor_;
    long long cycleCount_ = 0;
    long long tripCount_ = 0;
    std::array<std::array<std::uint32_t, addr::SpectrumBins>, 4> spectrum_{};
    std::array<std::uint64_t, 4> seconds_{};
    std::array<std::uint32_t, 4> trips_{};
    std::array<std::uint64_t, 4> massKg_{};
    std::uint64_t closedMinutes_ = 0;
    Minutes sessionOn_ = -1;
};

struct SampleImages {
    RecorderImage current;
    RecorderImage previous;
};

inline SampleImages BuildSampleImages() {
    const std::vector<Event> events = GenerateHistory();
    Recorder recorder(ChooseLayout(events));
    SampleImages images;
    bool previousTaken = false;
    for (const Event& e : events) {
        if (e.at > story::CurrentReading()) break;
        if (!previousTaken && e.at > story::PreviousReading()) {
            images.previous = recorder.Reading(story::PreviousReading());
            previousTaken = true;
        }
        recorder.Apply(e);
    }
    images.current = recorder.Reading(story::CurrentReading());
    return images;
}

inline constexpr char kCurrentFileName[] = "current.bbd";
inline constexpr char kPreviousFileName[] = "previous.bbd";

inline bool WriteImageFile(const std::filesystem::path& path, const RecorderImage& image,
                           std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.Data()),
              static_cast<std::streamsize>(image.Size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

// Writes current.bbd and previous.bbd into the folder, creating it when needed.
inline bool WriteSampleFiles(const std::filesystem::path& folder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    const SampleImages images = BuildSampleImages();
    return WriteImageFile(folder / kCurrentFileName, images.current, error) &&
           WriteImageFile(folder / kPreviousFileName, images.previous, error);
}

}  // namespace orbisk::samples
