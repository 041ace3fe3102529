// orbisk-cli: the recorder image without windows, for scripts and other tools.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "ArchiveCommand.h"
#include "CliContext.h"
#include "ReadCommand.h"
#include "ReportCommand.h"
#include "ShowCommand.h"
#include "Usage.h"
#include "WriteCommand.h"
#include "app/Locations.h"
#include "base/DateTime.h"
#include "base/ScratchFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace orbisk::cli {

namespace {

// The desktop program's own INI: it sits beside orbisk-cli.
std::string DefaultConfigPath(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = ExecutablePath();
    if (self.empty()) self = std::filesystem::absolute(Utf8ToPath(argv0), ec);
    return PathToUtf8(LocateProgramFiles(self.parent_path() / "orbisk").iniPath);
}

}  // namespace

// Standard output carries the command's result (the JSON, the name, the page, the usage): a
// write that failed or went short anywhere, down to the last buffered bytes, makes the command
// fail, with its message, instead of leaving a cut result behind an exit status of 0.
int FinishStandardOutput(int exitCode) {
    std::cout.flush();
    bool written = static_cast<bool>(std::cout);
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = flushed ? 0 : errno;
    written = written && flushed && !std::ferror(stdout);
    if (written) return exitCode;
    std::cerr << "orbisk-cli: cannot write to standard output";
    if (error != 0) std::cerr << ": " << std::strerror(error);
    std::cerr << '\n';
    return exitCode == kExitDone ? kExitFailed : exitCode;
}

int Main(int argc, char** argv) {
    RemoveScratchFileOnInterrupt();
    CliContext ctx;
    std::optional<double> now;
    std::string command;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--config" && hasValue) {
            ctx.configPath = argv[++i];
        } else if (a == "--now" && hasValue) {
            const std::string text = argv[++i];
            now = text.size() == 16 ? ParseDateTime(text) : std::nullopt;
            if (!now) return Usage("--now takes \"DD.MM.YYYY HH:MM\"");
        } else if (a == "--yes") {
            ctx.yes = true;
        } else if (a == "--correction") {
            ctx.correctionSwitch = true;
        } else if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return kExitDone;
        } else if (command.empty() && (a.empty() || a[0] != '-')) {
            command = a;
        } else if (command.empty()) {
            return Usage("unknown option: " + a);
        } else {
            rest.push_back(a);
        }
    }
    if (command.empty()) return Usage("no command");
    if (ctx.configPath.empty()) ctx.configPath = DefaultConfigPath(argv[0]);
    if (std::error_code ec; std::filesystem::is_directory(Utf8ToPath(ctx.configPath), ec)) {
        return Usage("--config takes an INI file; " + ctx.configPath + " is a folder");
    }

    CliPrompter prompter(ctx.yes);
    SystemClock systemClock;
    FixedClock fixedClock(now.value_or(0));
    ctx.prompter = &prompter;
    ctx.clock = now ? static_cast<const Clock*>(&fixedClock) : &systemClock;

    if (command == "show") return RunShowCommand(rest, ctx);
    if (command == "name") return RunNameCommand(rest, ctx);
    if (command == "read") return RunReadCommand(rest, ctx);
    if (command == "report") return RunReportCommand(rest, ctx);
    if (command == "write") return RunWriteCommand(rest, ctx);
    if (command == "archive") return RunArchiveCommand(rest, ctx);
    return Usage("unknown command: " + command);
}

}  // namespace orbisk::cli

#ifdef _WIN32
// The arguments come as the system holds them, UTF-16, and go on as UTF-8, whatever the code
// page of the machine. The outputs are bytes as on every other system: no CR before LF.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // A console shows the UTF-8 messages as the texts they are.
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(orbisk::PathToUtf8(argv[i]));
    std::vector<char*> pointers;
    for (auto& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return orbisk::cli::FinishStandardOutput(orbisk::cli::Main(argc, pointers.data()));
}
#else
int main(int argc, char** argv) {
    return orbisk::cli::FinishStandardOutput(orbisk::cli::Main(argc, argv));
}
#endif
