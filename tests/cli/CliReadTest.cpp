// `orbisk-cli read` as a person runs it: a separate process against the emulated adapter on a
// pseudo-terminal and against the simulated parallel-port reader.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "link/LinkTexts.h"
#include "support/LinkTestSupport.h"
#include "support/SpecialFiles.h"

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
    const std::string expected = question + "\n" + question + "\n" + question + "\n" +
                                 linktext::kReaderNotFound + "\n" + linktext::kNotSaved + "\n";
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
                  "\n" + linktext::kReaderNotFound + "\n" + linktext::kNotSaved + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The data file goes where OUT leads by the rule of every file the program writes: a file
// (through links) replaced when complete, a device or FIFO written to and left what it is,
// anything else refused with the data file's message.
TEST_F(CliRead, OutputIsWrittenByWhatItNames) {
    namespace fs = std::filesystem;
    const fs::path& dir = folder.Folder();
    const std::string simulate = "--port 0x378 --simulate '" + (dir / "in.bbd").string() + "'";
    const fs::path null = test::DeviceLike(dir, "null", "/dev/null");
    const fs::path full = test::DeviceLike(dir, "full", "/dev/full");
    std::ofstream(dir / "real.bbd") << "old";
    fs::create_symlink("real.bbd", dir / "link.bbd");
    fs::create_directory(dir / "folder.bbd");
    struct Case {
        fs::path out;
        int status;
        fs::file_type typeAfter;
        std::string errors;
    };
    const Case cases[] = {
        {null, 0, fs::file_type::character, ""},
        {full, 1, fs::file_type::character, "Ошибка записи файла \"" + full.string() + "\".\n"},
        {dir / "link.bbd", 0, fs::file_type::symlink, ""},
        {dir / "folder.bbd", 1, fs::file_type::directory,
         "Не удается создать файл \"" + (dir / "folder.bbd").string() + "\".\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(folder, simulate + " -o '" + c.out.string() + "'");
        EXPECT_EQ(run.status, c.status) << c.out << run.errors;
        EXPECT_EQ(run.errors, c.errors) << c.out;
        EXPECT_EQ(fs::symlink_status(c.out).type(), c.typeAfter) << c.out;
    }
    EXPECT_EQ(ReadAll(dir / "real.bbd"), image);
    EXPECT_TRUE(fs::is_empty(dir / "folder.bbd"));

    test::FifoReader fifo(dir / "fifo.bbd");
    ASSERT_TRUE(fifo.Ready());
    const CliRun run = RunCli(folder, simulate + " -o '" + fifo.Path().string() + "'");
    EXPECT_EQ(run.status, 0) << run.errors;
    const std::string bytes = fifo.Take();
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), image);
    EXPECT_EQ(fs::symlink_status(fifo.Path()).type(), fs::file_type::fifo);

    // The standard output by its device name is the pipe behind it.
    const std::string command = "timeout 20 '" + CliPath() + "' --config '" +
                                (dir / "cli.ini").string() + "' read " + simulate +
                                " -o /dev/stdout 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::uint8_t> piped;
    std::uint8_t chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        piped.insert(piped.end(), chunk, chunk + n);
    }
    const int raw = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
    EXPECT_EQ(piped, image);
}

// Why nothing was saved comes first: the texts that closed the search or the transfer, which
// the desktop program leaves in its status bar; a text already shown as a message is not
// repeated.
TEST_F(CliRead, AFailedSearchOrTransferTellsWhyBeforeNotSaved) {
    struct Case {
        const char* what;
        std::function<void(AdapterFaults&)> fault;
        std::vector<std::string> why;  // before "not saved"; "{port}" is the device path
    };
    const std::string notAdapter = std::string(linktext::kNotAdapterPrefix) + "{port}" +
                                   linktext::kNotAdapterMiddle + linktext::kAdapterName +
                                   linktext::kNotAdapterSuffix;
    const Case cases[] = {
        {"another device",
         [](AdapterFaults& f) { f.wrongIdentity = true; },
         {notAdapter, linktext::kReaderNotFound}},
        {"a silent adapter",
         [](AdapterFaults& f) { f.silent = true; },
         {notAdapter, linktext::kReaderNotFound}},
        {"an adapter whose identity comes short",
         [](AdapterFaults& f) { f.shortReplies = 1; },
         {notAdapter, linktext::kReaderNotFound}},
        {"a reader pulled off",
         [](AdapterFaults& f) { f.unplugAfterBlocks = 10; },
         {linktext::kLinkBroken}},
        {"an adapter refusing the address",
         [](AdapterFaults& f) { f.refusedAddresses = -1; },
         {linktext::kAdapterError}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::EmulatedAdapter adapter(image);
        c.fault(adapter.Faults());
        const auto out = folder.Folder() / "out.bbd";
        const CliRun run =
            RunCli(folder, "--port '" + adapter.Path() + "' -o '" + out.string() + "'");
        EXPECT_EQ(run.status, 1);
        std::string expected;
        for (std::string line : c.why) {
            if (const auto at = line.find("{port}"); at != std::string::npos) {
                line.replace(at, 6, adapter.Path());
            }
            expected += line + "\n";
        }
        EXPECT_EQ(run.errors, expected + linktext::kNotSaved + "\n");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // A device path with nothing behind it.
    const CliRun missing = RunCli(folder, "--port /dev/no-such-adapter -o out.bbd");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.errors,
              std::string(linktext::kReaderNotFound) + "\n" + linktext::kNotSaved + "\n");
}

// A port must be a serial port's name or path or a parallel port's base address; anything else
// is a mistake in the call, told before any port is tried.
TEST_F(CliRead, APortThatIsNoPortIsAUsageError) {
    const auto out = folder.Folder() / "out.bbd";
    for (const char* port : {"abc", "0x10000", "65536", "-1", "0x", "$", "888x", "0x37 8"}) {
        const CliRun run =
            RunCli(folder, "--port '" + std::string(port) + "' -o '" + out.string() + "'");
        EXPECT_EQ(run.status, 2) << port;
        EXPECT_NE(run.errors.find(port), std::string::npos) << port << ": " << run.errors;
        EXPECT_FALSE(std::filesystem::exists(out)) << port;
    }
    // Every spelling of a base address is taken, up to the highest.
    for (const char* port : {"888", "0x378", "$378", "0XFFFE"}) {
        const CliRun run =
            RunCli(folder, "--port '" + std::string(port) + "' -o '" + out.string() +
                               "' --simulate '" + (folder.Folder() / "in.bbd").string() + "'");
        EXPECT_EQ(run.status, 0) << port << ": " << run.errors;
    }
    // The last address is one too, though no port there has room for its status register.
    const CliRun last = RunCli(folder, "--port 0xFFFF -o '" + out.string() + "' --simulate '" +
                                           (folder.Folder() / "in.bbd").string() + "'");
    EXPECT_EQ(last.status, 1) << last.errors;
}

TEST_F(CliRead, NothingFoundIsNotSaved) {
    test::SerialPortList ports({});
    const auto out = folder.Folder() / "out.bbd";
    CliRun run = RunCli(folder, "--port COM3 -o '" + out.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              std::string(linktext::kReaderNotFound) + "\n" + linktext::kNotSaved + "\n");
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
