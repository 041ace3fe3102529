#pragma once
// The report command as the core runs it: the document chosen by its kind, the cycle-count
// question, the title, the page, and the page file in the user's private temporary folder. The
// desktop program supplies the dialogs through the interfaces and opens the returned file; the
// command line answers the question itself and writes the page where it was asked to.
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/Prompter.h"
#include "image/DisplayModel.h"
#include "reports/Reporthtm.h"
#include "reports/SpecialistProvider.h"

namespace orbisk {

// The input question of the report command: a caption, a prompt line, an edit field with a
// default answer, OK and Cancel.
class ReportQuestions {
public:
    virtual ~ReportQuestions() = default;
    // The text in the edit field on OK; nothing on Cancel.
    virtual std::optional<std::string> AskText(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& defaultAnswer) = 0;
};

using ReportGenerator = bool (*)(ReportBuffer&, const std::string&, int, const ReportSources&);

// One of the five documents, by its kind 1 to 5.
struct ReportKindInfo {
    int kind;
    std::string_view menuItem;     // name of the menu item carrying the kind
    std::string_view menuCaption;  // its caption
    std::string_view name;         // in the title and as the caption of the question
    ReportGenerator generator;
};

// Kinds 1 to 4 are Protocols No. 1 to 4, kind 5 the check journal; nullptr for any other kind.
const ReportKindInfo* FindReportKind(int kind);
const std::array<ReportKindInfo, 5>& ReportKinds();

// The question the command asks before building the document.
struct CycleQuestion {
    std::string caption;
    std::string prompt;
    std::string defaultAnswer;
};
CycleQuestion MakeCycleQuestion(const ReportKindInfo& kind, const DisplayModel& model);

// The answer as a decimal whole number (blanks around it allowed); anything else gives 10.
int CycleCountFromAnswer(std::string_view answer);

// Kind name + " от " + reading time + "  РП №" + recorder number.
std::string ReportTitle(const ReportKindInfo& kind, const DisplayModel& model);

// A failure of the report command outside the documents, named by the kind of failure.
class ReportError : public std::runtime_error {
public:
    ReportError(std::string className, const std::string& message)
        : std::runtime_error(message), className_(std::move(className)) {}
    const std::string& ClassName() const { return className_; }

private:
    std::string className_;
};

// The folder for the page, private to the user: on Windows the user's temporary folder; on
// other systems $XDG_RUNTIME_DIR when it is a folder of the user's own, or else the folder
// "orbisk-<user id>" under the system temporary folder, created with mode 0700 and checked to be
// a real folder owned by the user and closed to others. Returns an empty path when the system
// names no temporary folder; throws ReportError when the folder cannot be made safe.
std::filesystem::path PrivateReportFolder();

// Replaces "ORBIS_K.HTML" in the folder with the page: an old file is removed (a failure to do
// so is ignored), the new one is created anew without following links, written in one go and
// closed. Throws ReportError when the file cannot be created or written.
std::filesystem::path WriteReportFile(const std::filesystem::path& folder, std::string_view bytes);

struct ReportEnvironment {
    Prompter& prompter;
    ReportQuestions& questions;
    SpecialistProvider& specialist;
    std::string applicationTitle;
    // The folder for the page; an empty path stops the command silently.
    std::function<std::filesystem::path()> reportFolder = PrivateReportFolder;
};

// A composed page: its title, its bytes as written to disk, and whether the document was
// completed (false when the document stopped at an error it has shown).
struct ComposedReport {
    std::string title;
    std::string bytes;
    bool complete = true;
};

// The command up to the page: asks for the cycle count and builds the document of the kind.
// Nothing when the user cancelled or the kind is unknown, or when composing failed outside the
// document (the message "Ошибка формирования:" has been shown then).
std::optional<ComposedReport> ComposeReport(int kind, const DisplayModel& model,
                                            ReportEnvironment& environment);

// The whole command: asks for the cycle count, builds the document of the kind, writes the page
// and returns its path for the window to open. Nothing when the user cancelled, the kind is
// unknown, there is no temporary folder, or the page could not be written (then the message
// "Ошибка формирования:" has been shown). A document's own error has been shown by the
// document, and its partial page is written and returned all the same.
std::optional<std::filesystem::path> BuildReport(int kind, const DisplayModel& model,
                                                 ReportEnvironment& environment);

// The "Ошибка формирования:" text for a title and a failure.
std::string BuildFailedText(std::string_view title, std::string_view className,
                            std::string_view message);

}  // namespace orbisk
