#include "archive/Check.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <vector>

#include "app/Locations.h"
#include "archive/Sha256.h"
#include "base/TextCodec.h"
#include "image/Codecs.h"
#include "image/DataFile.h"
#include "image/Decoding.h"

namespace orbisk {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char32_t FoldCodePoint(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') return cp + 0x20;
    if (cp >= 0x0410 && cp <= 0x042F) return cp + 0x20;  // А..Я
    if (cp >= 0x0400 && cp <= 0x040F) return cp + 0x50;  // Ѐ..Џ, Ё among them
    return cp;
}

}  // namespace

std::string FoldForIdentity(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    std::string out;
    out.reserve(end - begin);
    const std::string_view trimmed = text.substr(0, end);
    for (std::size_t i = begin; i < end;) AppendUtf8(out, FoldCodePoint(NextCodePoint(trimmed, i)));
    return out;
}

std::string CraneKey(std::string_view craneType, std::string_view craneNumber,
                     std::string_view recorderType, std::string_view recorderNumber) {
    const std::string number = FoldForIdentity(craneNumber);
    // The unit separator cannot be typed into a field, so no two pairs give one key.
    if (!number.empty()) return "crane\x1f" + FoldForIdentity(craneType) + "\x1f" + number;
    return "recorder\x1f" + FoldForIdentity(recorderType) + "\x1f" +
           FoldForIdentity(recorderNumber);
}

Check DescribeCheck(const std::uint8_t* fileBytes, const DisplayModel& model,
                    const RecorderImage& image) {
    Check c;
    c.sha256 = Sha256Hex(fileBytes, RecorderImage::Size());
    c.craneType = model.Text(Ctl::eMarka);
    c.craneNumber = model.Text(Ctl::eNumber);
    c.owner = model.Text(Ctl::eOwner);
    c.recorderType = model.Text(Ctl::eRegType);
    c.recorderNumber = model.Text(Ctl::eRegNum);
    c.craneKey = CraneKey(c.craneType, c.craneNumber, c.recorderType, c.recorderNumber);
    c.readingTime = model.reportDate;
    c.readingTimeValid = model.Color(Ctl::eDateCheck) != TextColor::Red;
    c.installDay = static_cast<double>(image.I32(addr::InstallDay));
    c.passportGroup = model.Text(Ctl::eGroup);
    c.serviceLife = image.I8(addr::ServiceLife);
    for (int g = 0; g < kGroups; ++g) {
        const GroupStats& s = model.stats[g];
        GroupFigures& f = c.groups[g];
        f.cycles = s.n;
        f.liftedMass = image.LiftedMass(g);
        f.limiterTrips = image.LimiterTrips(g);
        f.operatingMinutes = image.OperatingMinutes(g);
        f.characteristic = s.characteristic;
        f.kp = s.kp;
        f.loadClass = s.loadClass;
        f.useClass = s.useClass;
        f.group = s.group;
        f.days = s.days;
    }
    return c;
}

namespace {

// Indexing asks nobody: the checksum question is taken as Yes, as a user opening the file would
// have to answer it to see the check at all.
class SilentPrompter final : public Prompter {
public:
    void Message(const std::string&, MessageIcon, const std::string&) override {}
    bool Ask(const std::string&, QuestionButtons, MessageIcon, const std::string&) override {
        return true;
    }
};

}  // namespace

CheckFile ReadCheckFile(const std::filesystem::path& path, const Clock& clock) {
    CheckFile result;
    std::error_code ec;
    if (!HasDataFileExtension(path) || !std::filesystem::is_regular_file(path, ec)) {
        result.status = ec ? CheckFileStatus::Unreadable : CheckFileStatus::NotDataFile;
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(RecorderImage::Size());
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in && !in.eof()) return result;
    if (static_cast<std::size_t>(in.gcount()) < bytes.size()) {
        result.status = CheckFileStatus::NotDataFile;
        return result;
    }
    RecorderImage image;
    std::copy(bytes.begin(), bytes.end(), image.Data());
    DisplayModel model;
    SilentPrompter silent;
    try {
        BalanceSpectrum(image);
        FillIdentificationAndSettings(image, model, silent, clock);
        ComputeStatistics(image, model, silent, clock);
    } catch (const std::exception&) {
        return result;
    }
    result.check = DescribeCheck(bytes.data(), model, image);
    result.check.path = PathToUtf8(std::filesystem::absolute(path, ec).lexically_normal());
    result.status = CheckFileStatus::Read;
    return result;
}

}  // namespace orbisk
