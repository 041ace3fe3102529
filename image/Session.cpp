#include "image/Session.h"

#include <cmath>
#include <exception>

#include "image/DataFile.h"
#include "image/Decoding.h"
#include "image/Messages.h"

namespace orbisk {

void Session::Refresh() {
    BalanceSpectrum(image_);
    FillIdentificationAndSettings();
    ComputeStatistics();
    FillLongTermPage();
}

bool Session::FillIdentificationAndSettings() {
    try {
        return orbisk::FillIdentificationAndSettings(image_, model_, prompter_, clock_);
    } catch (const std::exception&) {
        prompter_.Message(msg::kIdentificationFailed, MessageIcon::Error);
        return false;
    }
}

bool Session::ComputeStatistics() {
    try {
        return orbisk::ComputeStatistics(image_, model_, prompter_, clock_);
    } catch (const std::exception&) {
        prompter_.Message(msg::kStatisticsFailed, MessageIcon::Error);
        return false;
    }
}

bool Session::FillLongTermPage() {
    try {
        FillOperatingParameters(image_, model_);
        orbisk::FillLoadDistribution(image_, model_);
        FillCycleList();
        return true;
    } catch (const std::exception&) {
        prompter_.Message(msg::kLongTermFailed, MessageIcon::Error);
        return false;
    }
}

void Session::FillLoadDistribution() {
    orbisk::FillLoadDistribution(image_, model_);
}

void Session::FillCycleList() {
    int filter = model_.choices.rgLast;
    if (filter < 0 || filter > 3) filter = static_cast<int>(CycleFilter::All);
    BuildCycleRows(image_, static_cast<CycleFilter>(filter), model_.reportDate, dataCorrection_,
                   model_.cycles);
}

bool Session::AcceptImage(const std::string& checksumQuestion) {
    if (!image_.ChecksumOk() && !prompter_.Ask(checksumQuestion)) return false;
    Refresh();
    return true;
}

OpenResult Session::OpenDataFile(const std::filesystem::path& path) {
    if (!ReadDataFile(path, image_, prompter_)) return OpenResult::Refused;
    EndPeriodImage();
    return AcceptImage(msg::kBadChecksum) ? OpenResult::Opened : OpenResult::Abandoned;
}

std::string Session::ProposedFileName() const {
    return orbisk::ProposedFileName(image_);
}

namespace {

// Every test of the subtraction, made before anything changes.
bool PeriodSubtractable(const RecorderImage& current, const RecorderImage& previous) {
    for (int g = 0; g < kGroups; ++g) {
        for (int j = 0; j < addr::SpectrumBins; ++j) {
            if (current.Bin(g, j) < previous.Bin(g, j)) return false;
        }
        if (!(current.LiftedMass(g) >= previous.LiftedMass(g))) return false;
        if (current.OperatingMinutes(g) < previous.OperatingMinutes(g)) return false;
        if (current.LimiterTrips(g) < previous.LimiterTrips(g)) return false;
    }
    return true;
}

void SubtractPeriod(RecorderImage& current, RecorderImage& previous, bool dataCorrection) {
    for (int g = 0; g < kGroups; ++g) {
        for (int j = 0; j < addr::SpectrumBins; ++j) {
            CounterSubtract(current.Data() + RecorderImage::BinAddress(g, j),
                            previous.Data() + RecorderImage::BinAddress(g, j));
        }
        const auto mass = static_cast<std::uint16_t>(addr::LiftedMass + 4 * g);
        current.SetF32(
            mass, static_cast<float>(static_cast<double>(current.F32(mass)) - previous.F32(mass)));
        const auto minutes = static_cast<std::uint16_t>(addr::OperatingMinutes + 4 * g);
        current.SetU32(minutes, current.U32(minutes) - previous.U32(minutes));
        const auto trips = static_cast<std::uint16_t>(addr::LimiterTrips + 4 * g);
        current.SetU32(trips, current.U32(trips) - previous.U32(trips));
    }
    // Cycles the previous check already saw are blanked. With data correction on, a listed cycle
    // of the current image may have been corrected while the previous image's was not: it is
    // the same cycle when it equals the previous record as the correction leaves it.
    const auto sameSlot = [&current, &previous](std::uint16_t a) {
        for (int i = 0; i < kRecordSize; ++i) {
            const auto b = static_cast<std::uint16_t>(a + i);
            if (current.U8(b) != previous.U8(b)) return false;
        }
        return true;
    };
    const double capacity = current.Capacity(0);
    for (int slot = 0; slot < kCycleLog.slots; ++slot) {
        const std::uint16_t a = RecorderImage::SlotAddress(kCycleLog, slot);
        bool same = sameSlot(a);
        if (!same && dataCorrection && CorrectCycleRecord(previous, a, capacity))
            same = sameSlot(a);
        if (same) {
            for (int i = 0; i < kRecordSize; ++i)
                current.SetU8(static_cast<std::uint16_t>(a + i), 0);
        }
    }
}

}  // namespace

bool Session::CompareWithPrevious(const std::filesystem::path& previousFile) {
    RecorderImage previous;
    if (!ReadDataFile(previousFile, previous, prompter_)) return false;
    if (!previous.ChecksumOk() && !prompter_.Ask(msg::kBadChecksum)) return false;
    BalanceSpectrum(previous);

    bool sameObject = true;
    for (int i = 0; i < width::Serial && sameObject; ++i) {
        const auto recorderByte = static_cast<std::uint16_t>(addr::RecorderSerial + i);
        const auto craneByte = static_cast<std::uint16_t>(addr::CraneSerial + i);
        if (image_.U8(recorderByte) != previous.U8(recorderByte)) {
            sameObject = prompter_.Ask(msg::kRecorderSerialDiffers);
            break;
        }
        if (image_.U8(craneByte) != previous.U8(craneByte)) {
            sameObject = prompter_.Ask(msg::kCraneSerialDiffers);
            break;
        }
    }
    // The order of the two readings is judged whatever the answer above, so an invalid reading
    // time is always announced.
    const double currentReading = TimeValue(image_.Time(addr::ReadingTime), prompter_, clock_);
    const double previousReading = TimeValue(previous.Time(addr::ReadingTime), prompter_, clock_);
    const bool later = currentReading > previousReading;
    if (!sameObject || !later) {
        prompter_.Message(msg::kWrongPreviousFile, MessageIcon::Error);
        return false;
    }
    if (!PeriodSubtractable(image_, previous)) {
        prompter_.Message(msg::kBadPreviousFile, MessageIcon::Error);
        return false;
    }
    SubtractPeriod(image_, previous, dataCorrection_);
    BalanceSpectrum(image_);
    image_.SetU32(addr::InstallDay, static_cast<std::uint32_t>(
                                        static_cast<std::int32_t>(std::trunc(previousReading))));
    periodImage_ = true;
    FillIdentificationAndSettings();
    ComputeStatistics();
    FillLongTermPage();
    return true;
}

}  // namespace orbisk
