// orbisk-cli archive as scripts use it: what each command prints and its exit status. The rules
// behind them are the archive's own tests.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "JsonReader.h"
#include "support/PostgresServer.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ArchiveCli : public testing::Test {
protected:
    void SetUp() override {
        fs::copy(fs::path(ORBISK_SOURCE_DIR) / "samples", folder_ / "samples");
        archive_ = (folder_ / "archive.sqlite").string();
    }

    // orbisk-cli archive ARGS... run in the test's folder, with its archive unless told.
    CliRun Cli(const std::string& args, bool ownArchive = true) const {
        const char* cli = std::getenv("ORBISK_CLI");
        std::string command = "cd '" + folder_.Path().string() + "' && '" +
                              (cli && *cli ? cli : ORBISK_BINARY_DIR "/bin/orbisk-cli") +
                              "' --config orbisk.ini --now '17.05.2025 10:30' " + args;
        if (ownArchive) command.insert(command.find(" archive") + 8, " --archive archive.sqlite");
        command += " >stdout 2>stderr </dev/null";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadBytes(folder_ / "stdout"),
                test::ReadBytes(folder_ / "stderr")};
    }

    test::TempFolder folder_;
    std::string archive_;
};

TEST_F(ArchiveCli, AddThenPreviousNamesTheEarlierSample) {
    CliRun r = Cli("archive add samples/ samples/current.bbd orbisk.ini");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "added 2, already present 1, not data files 1\n");
    r = Cli("archive add samples");
    EXPECT_EQ(r.out, "added 0, already present 2, not data files 0\n");

    r = Cli("archive previous samples/current.bbd");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "samples/previous.bbd\n");

    r = Cli("archive previous samples/previous.bbd");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "В архиве нет более ранней проверки этого крана.\n");
}

TEST_F(ArchiveCli, HistoryAndListAreJson) {
    Cli("archive add samples");
    CliRun r = Cli("archive history samples/previous.bbd");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto history = test::JsonReader::Parse(r.out);
    ASSERT_EQ(history["checks"].items.size(), 2u);
    EXPECT_EQ(history["checks"].items[0]["file"].string, "samples/current.bbd");
    EXPECT_EQ(history["crane"]["crane_number"].string, "3127");

    fs::remove(folder_ / "samples/previous.bbd");
    r = Cli("archive history samples/current.bbd");
    EXPECT_TRUE(test::JsonReader::Parse(r.out)["checks"].items[1]["file_missing"].boolean);

    r = Cli("archive list");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto list = test::JsonReader::Parse(r.out);
    ASSERT_EQ(list.items.size(), 1u);
    EXPECT_EQ(list.items[0]["checks"].number, 2);
    EXPECT_EQ(list.items[0]["last_reading"].string, "17.03.2025 11:42:00");
}

TEST_F(ArchiveCli, BadUsageExitsWithTwo) {
    for (const char* args :
         {"archive", "archive frob", "archive add", "archive list x", "archive previous",
          "archive history a.bbd b.bbd", "archive --bogus list", "archive list --archive"}) {
        const CliRun r = Cli(args, false);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
}

// How the damage is named and set aside is the core's (ArchiveFaults); here the question's
// answer: without --yes nothing is touched, with it the archive is made anew from the folder.
TEST_F(ArchiveCli, ADamagedArchiveIsRebuiltOnlyWhenAgreed) {
    test::WriteBytes(archive_, std::string(4096, 'x'));
    CliRun r = Cli("archive list");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(test::ReadBytes(archive_), std::string(4096, 'x'));

    r = Cli("--yes archive list");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(test::JsonReader::Parse(r.out)[std::size_t{0}]["checks"].number, 2);
}

// The message itself is the core's (ArchiveFaults); here only how the command ends.
TEST_F(ArchiveCli, AnUnreachableServerEndsWithOne) {
    const CliRun r = Cli("archive --archive postgresql://orbisk@127.0.0.1:" +
                             std::to_string(test::FreeLocalPort()) + "/x list",
                         false);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(r.err.empty());
}

}  // namespace
}  // namespace orbisk
