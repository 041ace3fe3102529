#include "tools/orbisk-cli/ReportCommand.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/Config.h"
#include "app/Locations.h"
#include "base/FileReplace.h"
#include "image/DataFile.h"
#include "reports/ReportTexts.h"
#include "reports/SpecialistRegister.h"
#include "tools/orbisk-cli/CommandLineReport.h"

#include "image/Session.h"
#include "tools/orbisk-cli/LoadCommand.h"

namespace orbisk::cli {
namespace {

namespace fs = std::filesystem;

// OUT is written as the program writes every file: a file is replaced only once the page is
// complete beside it; a device or pipe takes the page as it is. Why it could not be is told as
// for a data file.
bool WriteOutput(const std::string& output, const std::string& bytes, std::string& reason) {
    if (output.empty() || output == "-") {
        // Whether it all went is told when the command ends, as for every command.
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return true;
    }
    const fs::path path = Utf8ToPath(output);
    reason = WriteFailureText(path, ReplaceFileContents(path, bytes));
    return reason.empty();
}

// The page written over a file it is made from would destroy it: OUT naming the data file or
// the previous check's, under any name (links, another path).
bool IsAnInput(const ReportCommandOptions& options) {
    if (options.output.empty() || options.output == "-") return false;
    for (const std::string& input : {options.file, options.previous}) {
        std::error_code error;
        if (!input.empty() &&
            fs::equivalent(Utf8ToPath(options.output), Utf8ToPath(input), error)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int RunReportCommand(const std::vector<std::string>& args, CliContext& ctx) {
    ReportCommandOptions options;
    if (const std::string error = ParseReportCommand(args, options); !error.empty()) {
        std::cerr << "orbisk-cli report: " << error << "\n" << kReportUsage << "\n";
        return kExitUsage;
    }
    if (IsAnInput(options)) {
        std::cerr << "orbisk-cli report: " << options.output
                  << " is a data file the document is made from; it is not written over\n";
        return kExitFailed;
    }
    Session session(*ctx.prompter, *ctx.clock);
    LoadOptions load;
    load.file = options.file;
    load.previous = options.previous;
    if (const int code = LoadImageForCommand(session, load, ctx); code != kExitDone) {
        return code;
    }
    const DisplayModel& model = session.Model();

    Config config(Utf8ToPath(ctx.configPath), fs::path());
    const SpecialistRegister reg(config);
    // The document is made all the same, with the family name alone; but a name mistyped on a
    // command line would go unnoticed into a signed document, so the register is named.
    if (!options.specialist.empty() && !reg.Exists(options.specialist)) {
        std::string known;
        for (const std::string& family : reg.Families()) {
            known += (known.empty() ? "" : ", ") + family;
        }
        std::cerr << "orbisk-cli report: warning: \"" << options.specialist
                  << "\" is not in the specialists register of " << ctx.configPath << " ("
                  << (known.empty() ? "the register is empty" : "it has: " + known)
                  << "); the document names the specialist by the family name alone\n";
    }
    RegisterSpecialist specialist(reg, options.specialist);
    AnsweredQuestion question(options.cycles);
    ReportEnvironment env{*ctx.prompter, question, specialist,
                          std::string(report::kApplicationTitle)};
    const auto page = ComposeReport(options.kind, model, env);
    if (!page) return kExitFailed;
    std::string reason;
    if (!WriteOutput(options.output, page->bytes, reason)) {
        ctx.prompter->Message(reason, MessageIcon::Error, {});
        return kExitFailed;
    }
    // A document that stopped at an error has shown it; its partial page is written all the same,
    // as the desktop program opens it, but the command does not count as done.
    return page->complete ? kExitDone : kExitFailed;
}

}  // namespace orbisk::cli
