#include "ArchiveCommand.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "Json.h"
#include "ShowCommand.h"
#include "app/Locations.h"
#include "archive/Archive.h"
#include "archive/ArchiveTexts.h"
#include "archive/Indexing.h"
#include "archive/Verdict.h"
#include "base/DateTime.h"
#include "image/DataFile.h"
#include "image/Messages.h"

namespace orbisk::cli {
namespace {

namespace fs = std::filesystem;

// The prompter through its interface, where the texts have their defaults.
Prompter& Ui(CliContext& ctx) {
    return *ctx.prompter;
}

std::string CannotReadText(const fs::path& path) {
    return msg::kCannotOpenFilePrefix + PathToUtf8(path);
}

fs::path DataFolder() {
    std::error_code ec;
    const fs::path self = ExecutablePath();
    return LocateProgramFiles(self.empty() ? fs::current_path(ec) / "orbisk" : self).dataFolder;
}

// A stored path inside the current folder is named from there, as the user typed it.
std::string ShownPath(const std::string& stored) {
    std::error_code ec;
    const fs::path path = Utf8ToPath(stored);
    const fs::path relative = path.lexically_proximate(fs::current_path(ec));
    if (ec || relative.empty() || *relative.begin() == "..") return stored;
    return PathToUtf8(relative);
}

bool FileThere(const std::string& stored) {
    std::error_code ec;
    return fs::is_regular_file(Utf8ToPath(stored), ec);
}

// Indexes the files; false after the message when the archive failed.
bool AddFiles(CheckArchive& archive, const std::vector<fs::path>& files, CliContext& ctx,
              IndexCounts& counts) {
    counts = IndexFiles(archive, files, *ctx.clock);
    for (const auto& path : counts.unreadable) {
        Ui(ctx).Message(CannotReadText(path), MessageIcon::Warning);
    }
    if (counts.failed) Ui(ctx).Message(archive.LastError(), MessageIcon::Error);
    return !counts.failed;
}

std::vector<fs::path> Paths(const std::vector<std::string>& names) {
    std::vector<fs::path> paths;
    for (const auto& name : names) paths.push_back(Utf8ToPath(name));
    return paths;
}

void WriteCrane(JsonWriter& json, const Check& c) {
    json.Key("crane_type").String(c.craneType);
    json.Key("crane_number").String(c.craneNumber);
    json.Key("owner").String(c.owner);
    json.Key("recorder_type").String(c.recorderType);
    json.Key("recorder_number").String(c.recorderNumber);
}

void WriteOptional(JsonWriter& json, const char* key, const std::optional<double>& v) {
    json.Key(key);
    v ? json.Number(*v) : json.Null();
}

void WriteCheck(JsonWriter& json, const Check& c, double now) {
    const CheckVerdict v = JudgeCheck(c, now);
    json.BeginObject();
    json.Key("reading").String(DateTimeText(c.readingTime));
    json.Key("file").String(ShownPath(c.path));
    json.Key("file_missing").Bool(!FileThere(c.path));
    json.Key("reading_in_future").Bool(v.readingInFuture);
    json.Key("reading_before_installation").Bool(v.readingBeforeInstallation);
    json.Key("recorder_type").String(c.recorderType);
    json.Key("recorder_number").String(c.recorderNumber);
    json.Key("passport_group").String(c.passportGroup);
    json.Key("passport_group_reads").Bool(v.passportGroup.has_value());
    json.Key("exceeds_passport").Bool(v.exceedsPassport);
    WriteOptional(json, "service_life_used", v.lifeShare);
    json.Key("groups").BeginArray();
    for (const GroupFigures& f : c.groups) {
        json.BeginObject();
        json.Key("cycles").Number(f.cycles);
        json.Key("lifted_mass").Number(f.liftedMass);
        json.Key("limiter_trips").Number(f.limiterTrips);
        json.Key("operating_minutes").Number(f.operatingMinutes);
        json.Key("kp").Number(f.kp);
        json.Key("load_class").Number(static_cast<long long>(f.loadClass));
        json.Key("use_class").Number(static_cast<long long>(f.useClass));
        json.Key("actual_group").Number(static_cast<long long>(f.group));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

std::string HistoryJson(const std::vector<Check>& checks, double now) {
    JsonWriter json;
    json.BeginObject();
    json.Key("crane").BeginObject();
    WriteCrane(json, checks.front());
    json.EndObject();
    json.Key("checks").BeginArray();
    for (const Check& c : checks) WriteCheck(json, c, now);
    json.EndArray();
    json.Key("reserve");
    if (const auto r = ReserveOf(checks)) {
        json.BeginObject();
        json.Key("load_class").Number(static_cast<long long>(r->loadClass));
        json.Key("allowed_use_class");
        r->allowedUseClass ? json.Number(static_cast<long long>(*r->allowedUseClass)) : json.Null();
        json.Key("cycles_left");
        r->cyclesLeft ? json.Number(*r->cyclesLeft) : json.Null();
        WriteOptional(json, "cycles_per_day", r->ratePerDay);
        json.Key("reached_on");
        r->reachedOn ? json.String(ShortDateText(*r->reachedOn)) : json.Null();
        json.EndObject();
    } else {
        json.Null();
    }
    json.EndObject();
    return json.Text();
}

std::string ListJson(const std::vector<CraneSummary>& cranes) {
    JsonWriter json;
    json.BeginArray();
    for (const auto& crane : cranes) {
        json.BeginObject();
        WriteCrane(json, crane.last);
        json.Key("last_reading").String(DateTimeText(crane.last.readingTime));
        json.Key("last_file").String(ShownPath(crane.last.path));
        json.Key("checks").Number(crane.checks);
        json.EndObject();
    }
    json.EndArray();
    return json.Text();
}

// The archive to use; a damaged SQLite file is set aside and made anew from the data files of
// its folder when the user agrees. Nothing, after the message, when it cannot be had.
std::unique_ptr<CheckArchive> Open(const std::string& location, CliContext& ctx) {
    OpenedArchive opened = OpenArchive(location);
    if (opened.status == OpenStatus::Damaged && !IsServerAddress(location)) {
        if (!Ui(ctx).Ask(opened.message)) return nullptr;
        std::error_code ec;
        const fs::path file = fs::absolute(Utf8ToPath(location), ec);
        if (const std::string reason = SetDamagedArchiveAside(file); !reason.empty()) {
            Ui(ctx).Message(archive_text::Failed(reason), MessageIcon::Error);
            return nullptr;
        }
        opened = OpenArchive(location);
        IndexCounts counts;
        if (opened.archive &&
            !AddFiles(*opened.archive, DataFilesUnder({file.parent_path()}), ctx, counts)) {
            return nullptr;
        }
    }
    if (!opened.archive) Ui(ctx).Message(opened.message, MessageIcon::Error);
    return std::move(opened.archive);
}

// The check of FILE, for previous and history.
std::optional<Check> CheckOfFile(const std::string& name, CliContext& ctx) {
    const fs::path path = Utf8ToPath(name);
    const CheckFile file = ReadCheckFile(path, *ctx.clock);
    if (file.status == CheckFileStatus::Read) return file.check;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    Ui(ctx).Message(file.status == CheckFileStatus::NotDataFile && !ec && HasDataFileExtension(path)
                        ? BadFileSizeText(size)
                        : CannotReadText(path),
                    MessageIcon::Error);
    return std::nullopt;
}

}  // namespace

int RunArchiveCommand(const std::vector<std::string>& args, CliContext& ctx) {
    std::string location;
    std::string action;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--archive" && i + 1 < args.size()) {
            location = args[++i];
            if (location.empty())
                return Usage("--archive takes a SQLite file or a postgresql:// address");
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return Usage("unknown option of archive: " + a);
        } else if (action.empty()) {
            action = a;
        } else {
            operands.push_back(a);
        }
    }
    if (action != "add" && action != "previous" && action != "history" && action != "list") {
        return Usage(action.empty() ? "archive needs add, previous, history or list"
                                    : "unknown archive command: " + action);
    }
    if (action == "add" && operands.empty()) return Usage("archive add needs files or folders");
    if ((action == "previous" || action == "history") && operands.size() != 1) {
        return Usage("archive " + action + " takes one data file");
    }
    if (action == "list" && !operands.empty()) return Usage("archive list takes no files");

    std::optional<Check> current;
    if (action == "previous" || action == "history") {
        current = CheckOfFile(operands[0], ctx);
        if (!current) return kExitFailed;
    }
    if (location.empty()) location = ArchiveLocation(Utf8ToPath(ctx.configPath), DataFolder());
    const auto archive = Open(location, ctx);
    if (!archive) return kExitFailed;

    if (action == "add") {
        IndexCounts counts;
        if (!AddFiles(*archive, DataFilesUnder(Paths(operands)), ctx, counts)) return kExitFailed;
        std::cout << "added " << counts.added << ", already present " << counts.present
                  << ", not data files " << counts.notData << '\n';
        return kExitDone;
    }
    if (action == "list") {
        const auto cranes = archive->List();
        if (!cranes) {
            Ui(ctx).Message(archive->LastError(), MessageIcon::Error);
            return kExitFailed;
        }
        std::cout << ListJson(*cranes) << '\n';
        return kExitDone;
    }
    auto history = archive->History(current->craneKey);
    if (!history) {
        Ui(ctx).Message(archive->LastError(), MessageIcon::Error);
        return kExitFailed;
    }
    if (action == "previous") {
        const auto previous = PreviousCheck(*history, *current);
        if (!previous) {
            Ui(ctx).Message(archive_text::kNoPreviousCheck, MessageIcon::Information);
            return kExitFailed;
        }
        std::cout << ShownPath(previous->path) << '\n';
        return kExitDone;
    }
    if (history->empty()) {
        Ui(ctx).Message(archive_text::kNotInArchive, MessageIcon::Information);
        return kExitFailed;
    }
    std::cout << HistoryJson(*history, ctx.clock->Now()) << '\n';
    return kExitDone;
}

}  // namespace orbisk::cli
