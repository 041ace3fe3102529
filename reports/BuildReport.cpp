#include "reports/BuildReport.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <new>

#include "app/Locations.h"
#include "reports/ReportTexts.h"

#if defined(_WIN32)
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orbisk {
namespace {

namespace fs = std::filesystem;

constexpr std::array<ReportKindInfo, 5> kKinds = {{
    {1, "N11", "Протокол №1 (проверка)", "Протокол №1", MakeProtocol1},
    {2, "N21", "Протокол №2 (использование)", "Протокол №2", MakeProtocol2},
    {3, "N31", "Протокол №3 (экспертиза)", "Протокол №3", MakeProtocol3},
    {4, "N41", "Протокол №4 (авария)", "Протокол №4", MakeProtocol4},
    {5, "N1", "Журнал (проверка)", "Журнал", MakeJournal},
}};

constexpr int kJournalKind = 5;

std::string Quoted(const fs::path& path) {
    return "\"" + PathToUtf8(path) + "\"";
}

#if !defined(_WIN32)

std::string SystemReason(int error) {
    return std::strerror(error);
}

// A folder we may keep the page in: a real folder (not a link), owned by us, closed to others.
// The descriptor is opened without following a link, so the checks concern the folder itself.
bool IsPrivateFolder(const fs::path& folder, bool tighten, std::string& reason) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok) {
        reason = SystemReason(errno);
    } else if (!S_ISDIR(st.st_mode)) {
        reason = "это не папка";
        ok = false;
    } else if (st.st_uid != ::geteuid()) {
        reason = "папка принадлежит другому пользователю";
        ok = false;
    } else if ((st.st_mode & 077) != 0) {
        if (tighten && ::fchmod(fd, 0700) == 0) {
            ok = true;
        } else {
            reason = "папка открыта другим пользователям";
            ok = false;
        }
    }
    ::close(fd);
    return ok;
}

#endif

}  // namespace

const std::array<ReportKindInfo, 5>& ReportKinds() {
    return kKinds;
}

const ReportKindInfo* FindReportKind(int kind) {
    for (const auto& k : kKinds) {
        if (k.kind == kind) return &k;
    }
    return nullptr;
}

CycleQuestion MakeCycleQuestion(const ReportKindInfo& kind, const DisplayModel& model) {
    const std::size_t rows = model.cycles.size();
    CycleQuestion q;
    q.caption = std::string(kind.name);
    q.prompt = std::string(report::kCyclePromptPrefix) + std::to_string(rows) +
               std::string(report::kCyclePromptSuffix);
    q.defaultAnswer =
        (rows > static_cast<std::size_t>(report::kDefaultCycleCount) || kind.kind == kJournalKind)
            ? std::to_string(report::kDefaultCycleCount)
            : std::to_string(rows);
    return q;
}

int CycleCountFromAnswer(std::string_view answer) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!answer.empty() && isBlank(answer.front())) answer.remove_prefix(1);
    while (!answer.empty() && isBlank(answer.back())) answer.remove_suffix(1);
    if (!answer.empty() && answer.front() == '+') {
        answer.remove_prefix(1);
        if (answer.empty() || answer.front() < '0' || answer.front() > '9') {
            return report::kCycleCountWhenNotANumber;
        }
    }
    int value = 0;
    const auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), value);
    if (error != std::errc() || end != answer.data() + answer.size()) {
        return report::kCycleCountWhenNotANumber;
    }
    return value;
}

std::string ReportTitle(const ReportKindInfo& kind, const DisplayModel& model) {
    return std::string(kind.name) + " от " + model.Text(Ctl::eDateCheck) + "  РП №" +
           model.Text(Ctl::eRegNum);
}

std::string BuildFailedText(std::string_view title, std::string_view className,
                            std::string_view message) {
    std::string text(report::kBuildFailed);
    text += "\n ";
    text += title;
    text += "\n";
    text += className;
    text += message;
    return text;
}

fs::path PrivateReportFolder() {
#if defined(_WIN32)
    std::error_code ec;
    fs::path folder = fs::temp_directory_path(ec);
    return ec ? fs::path() : folder;
#else
    std::string reason;
    if (auto runtime = SystemEnvironment("XDG_RUNTIME_DIR"); runtime && !runtime->empty()) {
        const fs::path folder = Utf8ToPath(*runtime);
        if (folder.is_absolute() && IsPrivateFolder(folder, false, reason)) return folder;
    }
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec || base.empty()) return {};
    const fs::path folder = base / ("orbisk-" + std::to_string(::geteuid()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        throw ReportError("EInOutError", "Не удается создать папку " + Quoted(folder) + ": " +
                                             SystemReason(errno));
    }
    if (!IsPrivateFolder(folder, true, reason)) {
        throw ReportError("EInOutError",
                          "Папка " + Quoted(folder) + " не годится для отчета: " + reason);
    }
    return folder;
#endif
}

fs::path WriteReportFile(const fs::path& folder, std::string_view bytes) {
    const fs::path file = folder / fs::path(report::kReportFileName);
#if defined(_WIN32)
    std::error_code ec;
    fs::remove(file, ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) throw ReportError("EFCreateError", "Не удается создать файл " + Quoted(file));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw ReportError("EWriteError", "Ошибка записи в файл " + Quoted(file));
    return file;
#else
    ::unlink(file.c_str());  // a file that stays is overwritten below, if it can be
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        fd = ::open(file.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
        throw ReportError("EFCreateError",
                          "Не удается создать файл " + Quoted(file) + ": " + SystemReason(errno));
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            throw ReportError("EWriteError",
                              "Ошибка записи в файл " + Quoted(file) + ": " + SystemReason(error));
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        throw ReportError("EWriteError",
                          "Ошибка записи в файл " + Quoted(file) + ": " + SystemReason(errno));
    }
    return file;
#endif
}

namespace {

void ShowBuildFailure(Prompter& prompter, const std::string& title) {
    try {
        throw;
    } catch (const ReportError& error) {
        prompter.Message(BuildFailedText(title, error.ClassName(), error.what()),
                         MessageIcon::Error);
    } catch (const std::bad_alloc& error) {
        prompter.Message(BuildFailedText(title, "EOutOfMemory", error.what()), MessageIcon::Error);
    } catch (const std::exception& error) {
        prompter.Message(BuildFailedText(title, "Exception", error.what()), MessageIcon::Error);
    }
}

}  // namespace

std::optional<ComposedReport> ComposeReport(int kind, const DisplayModel& model,
                                            ReportEnvironment& env) {
    const ReportKindInfo* info = FindReportKind(kind);
    if (info == nullptr) return std::nullopt;
    const CycleQuestion question = MakeCycleQuestion(*info, model);
    const auto answer =
        env.questions.AskText(question.caption, question.prompt, question.defaultAnswer);
    if (!answer) return std::nullopt;
    const int n = CycleCountFromAnswer(*answer);

    ComposedReport report;
    report.title = std::string(info->name);
    try {
        report.title = ReportTitle(*info, model);
        ReportBuffer buffer;
        const ReportSources sources{model, env.specialist, env.prompter, env.applicationTitle};
        report.complete = info->generator(buffer, report.title, n, sources);
        report.bytes = PageBytes(buffer);
        return report;
    } catch (...) {
        ShowBuildFailure(env.prompter, report.title);
    }
    return std::nullopt;
}

std::optional<fs::path> BuildReport(int kind, const DisplayModel& model, ReportEnvironment& env) {
    auto report = ComposeReport(kind, model, env);
    if (!report) return std::nullopt;
    try {
        const fs::path folder = env.reportFolder ? env.reportFolder() : fs::path();
        if (folder.empty()) return std::nullopt;
        return WriteReportFile(folder, report->bytes);
    } catch (...) {
        ShowBuildFailure(env.prompter, report->title);
    }
    return std::nullopt;
}

}  // namespace orbisk
