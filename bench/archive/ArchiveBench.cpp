// What the archive makes users wait for, as medians: the previous check of a crane among 10,000
// checks of 1,000 cranes, the history of a crane with 50 checks with its verdict, and indexing
// 1,000 data files.
// Usage: orbisk_archive_bench [ARCHIVE]  (a postgresql:// address of an empty database, or
// nothing for a SQLite file in a temporary folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/Locations.h"
#include "archive/Archive.h"
#include "archive/Verdict.h"
#include "base/Clock.h"
#include "base/DateTime.h"

namespace {

using namespace orbisk;
namespace fs = std::filesystem;
using Ms = std::chrono::duration<double, std::milli>;

double Median(int rounds, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(Ms(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

Check MadeUp(int crane, int check, const fs::path& folder) {
    Check c;
    char sha[65];
    std::snprintf(sha, sizeof sha, "%064x", crane * 100000 + check);
    c.sha256 = sha;
    c.path = PathToUtf8(folder / (std::string(sha, 16) + ".bbd"));
    c.craneType = "КС-45717К-1";
    c.craneNumber = std::to_string(crane);
    c.recorderType = "ОНК-160С";
    c.recorderNumber = std::to_string(crane);
    c.craneKey = CraneKey(c.craneType, c.craneNumber, c.recorderType, c.recorderNumber);
    c.installDay = EncodeDateTime(2015, 1, 1, 0, 0);
    c.readingTime = c.installDay + 30.0 * check + crane % 7;
    c.passportGroup = "А3";
    c.serviceLife = 20;
    c.groups[0].cycles = 1000LL * check;
    c.groups[0].loadClass = 2;
    c.groups[0].days = c.readingTime - c.installDay;
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path folder = fs::temp_directory_path() / "orbisk-archive-bench";
    fs::remove_all(folder);
    fs::create_directories(folder / "files");
    const std::string location = argc > 1 ? argv[1] : PathToUtf8(folder / "archive.sqlite");
    OpenedArchive opened = OpenArchive(location);
    if (!opened.archive) {
        std::fprintf(stderr, "%s\n", opened.message.c_str());
        return 1;
    }
    CheckArchive& archive = *opened.archive;

    // 1,000 cranes with 10 checks each, and one crane with 50; every check's file there.
    for (int crane = 0; crane < 1000; ++crane) {
        for (int check = 0; check < 10; ++check) {
            const Check c = MadeUp(crane, check, folder / "files");
            std::ofstream(Utf8ToPath(c.path)) << 'x';
            archive.Add(c);
        }
    }
    for (int check = 0; check < 50; ++check) archive.Add(MadeUp(5000, check, folder / "files"));

    const Check current = MadeUp(537, 10, folder / "files");
    const double previous = Median(101, [&] {
        const auto history = archive.History(current.craneKey);
        if (!history || !PreviousCheck(*history, current)) std::fprintf(stderr, "no previous\n");
    });
    const Check busy = MadeUp(5000, 50, folder / "files");
    const double history = Median(101, [&] {
        const auto checks = archive.History(busy.craneKey);
        double now = SystemClock().Now();
        int exceeding = 0;
        for (const Check& c : *checks) exceeding += JudgeCheck(c, now).exceedsPassport;
        if (checks->size() != 50 || !ReserveOf(*checks) || exceeding < 0) {
            std::fprintf(stderr, "history incomplete\n");
        }
    });
    std::printf("previous check among 10,000 checks of 1,000 cranes: median %.2f ms\n", previous);
    std::printf("history of a crane with 50 checks, with its verdict: median %.2f ms\n", history);

    // 1,000 data files: the sample with a few bytes of its frame area changed, so each is a
    // check of its own.
    std::ifstream sample(fs::path(ORBISK_SOURCE_DIR) / "samples/current.bbd", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
    const fs::path data = folder / "data";
    fs::create_directories(data);
    std::vector<fs::path> files;
    for (int i = 0; i < 1000; ++i) {
        for (int b = 0; b < 4; ++b) bytes[bytes.size() - 1 - b] = static_cast<char>(i >> (8 * b));
        files.push_back(data / ("check" + std::to_string(i) + ".bbd"));
        std::ofstream(files.back(), std::ios::binary) << bytes;
    }
    SystemClock clock;
    int round = 0;
    const double indexing = Median(3, [&] {
        // Each round into an archive of its own, as a first indexing is.
        const std::string target =
            argc > 1 ? location
                     : PathToUtf8(folder / ("index" + std::to_string(round++) + ".sqlite"));
        OpenedArchive fresh = OpenArchive(target);
        int added = 0;
        for (const auto& f : files) {
            const CheckFile file = ReadCheckFile(f, clock);
            added += file.status == CheckFileStatus::Read &&
                     fresh.archive->Add(file.check) != AddOutcome::Failed;
        }
        if (added != 1000) std::fprintf(stderr, "indexed %d of 1000\n", added);
    });
    std::printf("indexing 1,000 data files: median %.0f ms\n", indexing);
    fs::remove_all(folder);
    return 0;
}
