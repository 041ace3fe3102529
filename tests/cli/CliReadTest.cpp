// `orbisk-cli read` as a person runs it: a separate process against the emulated adapter on a
// pseudo-terminal and against the simulated parallel-port reader.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "support/LinkTestSupport.h"
#include "app/AppTexts.h"
#include "link/LinkTexts.h"

namespace orbisk {
namespace {

std::string CliPath() {
    if (const char* path = std::getenv("ORBISK_CLI")) return path;
    return std::string(ORBISK_BINARY_DIR) + "/bin/orbisk-cli";
}

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct CliRun {
    int status = -1;
    std::string errors;
};

// `options` go before the command. A run that does not end within 20 seconds is stopped, so
// that a command that never ends fails the test instead of hanging it.
CliRun RunCli(const test::TempConfig& folder, const std::string& arguments,
              const std::string& options = {}) {
    const auto errorFile = folder.Folder() / "stderr.txt";
    const std::string command = "timeout 20 '" + CliPath() + "' --config '" +
                                (folder.Folder() / "cli.ini").string() + "' " + options + " read " +
                                arguments + " 2>'" + errorFile.string() + "'";
    const int raw = std::system(command.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto bytes = ReadAll(errorFile);
    run.errors.assign(bytes.begin(), bytes.end());
    return run;
}

class CliRead : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(CliPath())) GTEST_SKIP() << "orbisk-cli is not built";
        image = test::TestImageBytes(21);
        std::ofstream(folder.Folder() / "in.bbd", std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()),
                   static_cast<std::streamsize>(image.size()));
    }
    test::TempConfig folder;
    std::vector<std::uint8_t> image;
};

TEST_F(CliRead, WholeImageFromTheAdapter) {
    test::EmulatedAdapter adapter(image);
    const auto out = folder.Folder() / "out.bbd";
    const CliRun run = RunCli(folder, "--port '" + adapter.Path() + "' -o '" + out.string() + "'");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadAll(out), image);
    // The configuration is not touched by the command line.
    EXPECT_FALSE(std::filesystem::exists(folder.Folder() / "cli.ini"));
}

TEST_F(CliRead, WholeImageFromTheSimulatedParallelPortWithItsTrace) {
    const auto out = folder.Folder() / "out.bbd";
    const auto trace = folder.Folder() / "trace.bin";
    const CliRun run =
        RunCli(folder, "--port 0x378 --simulate '" + (folder.Folder() / "in.bbd").string() +
                           "' -o '" + out.string() + "' --trace '" + trace.string() + "'");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(ReadAll(out), image);
    const auto levels = ReadAll(trace);
    // At least a clock pulse per bit of the image, one byte per level change.
    ASSERT_GT(levels.size(), 65536u * 8 * 2);
    for (std::size_t i = 1; i < levels.size(); ++i) {
        ASSERT_LT(levels[i], 4);
        ASSERT_NE(levels[i], levels[i - 1]);
    }
}

// --yes lets the adapter be checked again twice for a reader, then gives up like a No.
TEST_F(CliRead, YesChecksAnAdapterWithoutReaderThreeTimesThenGivesUp) {
    test::EmulatedAdapter adapter(image);
    adapter.Faults().noReader = true;
    const auto out = folder.Folder() / "out.bbd";
    const CliRun run =
        RunCli(folder, "--port '" + adapter.Path() + "' -o '" + out.string() + "'", "--yes");
    ASSERT_EQ(run.status, 1) << run.errors.substr(0, 1000);
    const std::string question = linktext::kNoReaderOnAdapter;
    // Messages only: the search's status texts are not printed.
    const std::string expected =
        question + "\n" + question + "\n" + question + "\n" + ui::kNotSaved + "\n";
    EXPECT_EQ(run.errors, expected);
    EXPECT_FALSE(std::filesystem::exists(out));
    adapter.With([](AdapterEmulator& e) { EXPECT_EQ(e.Commands('D'), 3); });
}

// The reason a port was refused is a message, so standard error carries it.
TEST_F(CliRead, APortHeldByAnotherProgramIsToldOnStandardError) {
    test::EmulatedAdapter adapter(image);
    PosixSerialLine holder;
    ASSERT_TRUE(holder.Open(adapter.Path(), SerialSettings{}));
    const auto out = folder.Folder() / "out.bbd";
    const CliRun run = RunCli(folder, "--port '" + adapter.Path() + "' -o '" + out.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              SerialOpenFailureText(PortFailure::Busy, adapter.Path(), std::strerror(EBUSY)) +
                  "\n" + ui::kNotSaved + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliRead, NothingFoundIsNotSaved) {
    test::SerialPortList ports({});
    const auto out = folder.Folder() / "out.bbd";
    CliRun run = RunCli(folder, "--port COM3 -o '" + out.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, std::string(ui::kNotSaved) + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    // A simulated reader that does not answer leaves nothing either.
    std::ofstream(folder.Folder() / "short.bbd") << "too short";
    run = RunCli(folder, "--port 0x378 --simulate '" + (folder.Folder() / "short.bbd").string() +
                             "' -o '" + out.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    // A trace needs the simulated port.
    EXPECT_EQ(RunCli(folder, "--port 0x378 -o x.bbd --trace t.bin").status, 2);
}

}  // namespace
}  // namespace orbisk
