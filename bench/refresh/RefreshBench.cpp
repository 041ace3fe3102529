// What a user waits for after opening a data file: the refresh sequence on the sample image, the
// same with every filter and step the pages offer, opening together with the comparison with
// the previous check, and orbisk-cli show as a whole process.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/Prompter.h"
#include "image/Session.h"

extern char** environ;

namespace orbisk {
namespace {

const std::filesystem::path kSamples = std::filesystem::path(ORBISK_SOURCE_DIR) / "samples";

class QuietPrompter final : public Prompter {
public:
    void Message(const std::string&, MessageIcon, const std::string&) override {}
    bool Ask(const std::string&, QuestionButtons, MessageIcon, const std::string&) override {
        return true;
    }
};

const FixedClock& BenchClock() {
    static const FixedClock clock(EncodeDateTime(2025, 6, 2, 9, 0));
    return clock;
}

bool LoadSample(const char* name, RecorderImage& image) {
    std::ifstream in(kSamples / name, std::ios::binary);
    in.read(reinterpret_cast<char*>(image.Data()), static_cast<std::streamsize>(kImageSize));
    return in.gcount() == static_cast<std::streamsize>(kImageSize);
}

// The refresh sequence as opening runs it: balancing, identification and settings, statistics,
// the long-term page with its distribution, the work-cycle list with all cycles.
void BM_RefreshSequence(benchmark::State& state) {
    RecorderImage sample;
    if (!LoadSample("current.bbd", sample)) return state.SkipWithError("no samples/current.bbd");
    QuietPrompter prompter;
    Session session(prompter, BenchClock());
    for (auto _ : state) {
        session.Image() = sample;
        session.Refresh();
        benchmark::DoNotOptimize(session.Model().cycles.data());
    }
}
BENCHMARK(BM_RefreshSequence)->Unit(benchmark::kMicrosecond)->Repetitions(15);

// The refresh followed by everything the pages can show of the image: all three distributions
// and the 1,728-row list of every filter, with the data correction on.
void BM_RefreshEveryFilterAndStep(benchmark::State& state) {
    RecorderImage sample;
    if (!LoadSample("current.bbd", sample)) return state.SkipWithError("no samples/current.bbd");
    QuietPrompter prompter;
    Session session(prompter, BenchClock());
    session.SetDataCorrection(true);
    for (auto _ : state) {
        session.Image() = sample;
        session.Model().choices.rgLast = 3;
        session.Model().choices.rgStep = 1;
        session.Refresh();
        for (int filter = 0; filter < 4; ++filter) {
            session.Model().choices.rgLast = filter;
            session.FillCycleList();
        }
        for (int step = 0; step < 3; ++step) {
            session.Model().choices.rgStep = step;
            session.FillLoadDistribution();
        }
        benchmark::DoNotOptimize(session.Model().loadRows.data());
    }
}
BENCHMARK(BM_RefreshEveryFilterAndStep)->Unit(benchmark::kMicrosecond)->Repetitions(15);

// "Открыть" and then "Начало отчета": two file reads, two refreshes and the subtraction.
void BM_OpenAndCompareWithPrevious(benchmark::State& state) {
    QuietPrompter prompter;
    for (auto _ : state) {
        Session session(prompter, BenchClock());
        if (session.OpenDataFile(kSamples / "current.bbd") != OpenResult::Opened ||
            !session.CompareWithPrevious(kSamples / "previous.bbd")) {
            return state.SkipWithError("the sample pair did not open and compare");
        }
        benchmark::DoNotOptimize(session.Model().cycles.data());
    }
}
BENCHMARK(BM_OpenAndCompareWithPrevious)->Unit(benchmark::kMicrosecond)->Repetitions(15);

// orbisk-cli as a script starts it: process start, INI, file, refresh, JSON on standard output.
int RunCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::vector<std::string> all{ORBISK_CLI_PATH};
    all.insert(all.end(), args.begin(), args.end());
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::vector<std::string> CliArgs(bool withPrevious) {
    // An INI that does not exist: the defaults, whatever the machine's own configuration says.
    const std::string config =
        (std::filesystem::temp_directory_path() / "orbisk-bench-no-such.ini").string();
    std::vector<std::string> args{"--config",         config, "--now",
                                  "02.06.2025 09:00", "show", (kSamples / "current.bbd").string()};
    if (withPrevious) {
        args.push_back("--previous");
        args.push_back((kSamples / "previous.bbd").string());
    }
    return args;
}

void BM_CliShow(benchmark::State& state) {
    const auto args = CliArgs(state.range(0) != 0);
    for (auto _ : state) {
        if (RunCli(args) != 0) return state.SkipWithError("orbisk-cli show failed");
    }
}
BENCHMARK(BM_CliShow)
    ->ArgName("previous")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(30);

}  // namespace
}  // namespace orbisk

BENCHMARK_MAIN();
