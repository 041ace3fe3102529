#include "desktop/qt/QtArchive.h"

#include "app/Locations.h"
#include "archive/Indexing.h"

namespace orbisk {
namespace {

// The check of the image shown: its crane and reading time (the bytes are the file's business).
Check CheckOfSession(const Session& session) {
    return DescribeCheck(session.Image().Data(), session.Model(), session.Image());
}

}  // namespace

DesktopArchive::DesktopArchive(std::string location, std::filesystem::path dataFolder,
                               Prompter& prompter, const Clock& clock)
    : location_(std::move(location)),
      dataFolder_(std::move(dataFolder)),
      prompter_(prompter),
      clock_(clock) {}

DesktopArchive::~DesktopArchive() = default;

void DesktopArchive::Fail(const std::string& message) {
    // Told once; the rest of the run goes on without the archive.
    archive_.reset();
    given_up_ = true;
    prompter_.Message(message, MessageIcon::Warning);
}

CheckArchive* DesktopArchive::Archive() {
    if (archive_ || given_up_) return archive_.get();
    OpenedArchive opened = OpenArchive(location_);
    if (opened.status == OpenStatus::Damaged && !IsServerAddress(location_)) {
        if (!prompter_.Ask(opened.message, QuestionButtons::YesNo, MessageIcon::Warning)) {
            given_up_ = true;
            return nullptr;
        }
        if (const std::string reason = SetDamagedArchiveAside(Utf8ToPath(location_));
            !reason.empty()) {
            Fail(reason);
            return nullptr;
        }
        opened = OpenArchive(location_);
        if (opened.archive) IndexFiles(*opened.archive, DataFilesUnder({dataFolder_}), clock_);
    }
    if (!opened.archive) {
        Fail(opened.message);
        return nullptr;
    }
    archive_ = std::move(opened.archive);
    return archive_.get();
}

void DesktopArchive::Record(const std::filesystem::path& file, const Session& session) {
    if (session.PeriodImage()) return;
    CheckArchive* archive = Archive();
    if (!archive) return;
    const CheckFile check = ReadCheckFile(file, clock_);
    if (check.status != CheckFileStatus::Read) return;
    if (archive->Add(check.check) == AddOutcome::Failed) Fail(archive->LastError());
}

std::optional<std::filesystem::path> DesktopArchive::PreviousFile(const Session& session) {
    const auto checks = History(session);
    if (!checks) return std::nullopt;
    const auto previous = PreviousCheck(*checks, CheckOfSession(session));
    if (!previous) return std::nullopt;
    return Utf8ToPath(previous->path);
}

std::optional<std::vector<Check>> DesktopArchive::History(const Session& session) {
    CheckArchive* archive = Archive();
    if (!archive) return std::nullopt;
    auto checks = archive->History(CheckOfSession(session).craneKey);
    if (!checks) Fail(archive->LastError());
    return checks;
}

}  // namespace orbisk
