#include "tools/orbisk-cli/ReportCommand.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/Config.h"
#include "app/Locations.h"
#include "tools/orbisk-cli/CommandLineReport.h"
#include "reports/ReportTexts.h"
#include "reports/SpecialistRegister.h"

#include "image/Session.h"
#include "tools/orbisk-cli/LoadCommand.h"

namespace orbisk::cli {
namespace {

namespace fs = std::filesystem;

// The page replaces OUT only once it is complete on disk.
bool WriteOutput(const std::string& output, const std::string& bytes, std::string& reason) {
    if (output.empty() || output == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) reason = "cannot write to standard output";
        return static_cast<bool>(std::cout);
    }
    const fs::path target = Utf8ToPath(output);
    fs::path partial = target;
    partial += ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(partial, ignored);
            reason = "cannot write " + PathToUtf8(partial);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(partial, target, ec);
    if (ec) {
        fs::remove(partial, ec);
        reason = "cannot replace " + output;
        return false;
    }
    return true;
}

}  // namespace

int RunReportCommand(const std::vector<std::string>& args, CliContext& ctx) {
    ReportCommandOptions options;
    if (const std::string error = ParseReportCommand(args, options); !error.empty()) {
        std::cerr << "orbisk-cli report: " << error << "\n" << kReportUsage << "\n";
        return kExitUsage;
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
    RegisterSpecialist specialist(reg, options.specialist);
    AnsweredQuestion question(options.cycles);
    ReportEnvironment env{*ctx.prompter, question, specialist,
                          std::string(report::kApplicationTitle)};
    const auto page = ComposeReport(options.kind, model, env);
    if (!page) return kExitFailed;
    std::string reason;
    if (!WriteOutput(options.output, page->bytes, reason)) {
        std::cerr << "orbisk-cli report: " << reason << "\n";
        return kExitFailed;
    }
    // A document that stopped at an error has shown it; its partial page is written all the same,
    // as the desktop program opens it, but the command does not count as done.
    return page->complete ? kExitDone : kExitFailed;
}

}  // namespace orbisk::cli
