// orbisk-cli write as a service script uses it: the sample opened, the page changed with --set,
// --sensor and --modes, the block written to a simulated reader over either link, its exit
// status, its messages on standard error, and what reaches the reader's memory.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <fstream>
#include <iterator>

#include "edit/EditTexts.h"
#include "image/IdentificationTable.h"
#include "image/SettingsTable.h"
#include "link/LinkTexts.h"
#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string CliProgram() {
    const char* path = std::getenv("ORBISK_CLI");
    return path ? path : std::string(ORBISK_BINARY_DIR) + "/bin/orbisk-cli";
}

struct CliRun {
    int status = -1;
    std::string errors;
};

class CliWrite : public ::testing::Test {
protected:
    void SetUp() override {
        sample = ReadAll(fs::path(ORBISK_SOURCE_DIR) / "samples/current.bbd");
        memory = test::TestImageBytes(31);  // the reader holds something else than the file
        std::ofstream(Memory(), std::ios::binary)
            .write(reinterpret_cast<const char*>(memory.data()),
                   static_cast<std::streamsize>(memory.size()));
    }
    fs::path Memory() const { return folder.Folder() / "memory.bbd"; }
    // `arguments` follow "write SAMPLE"; the command stops after 60 s at the latest.
    CliRun Write(const std::string& arguments, const std::string& options = {}) {
        const auto errors = folder.Folder() / "stderr.txt";
        const int raw = std::system(WriteCommand(arguments, options, errors).c_str());
        const auto bytes = ReadAll(errors);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(bytes.begin(), bytes.end())};
    }
    std::string WriteCommand(const std::string& arguments, const std::string& options,
                             const fs::path& errors) const {
        return "timeout 60 '" + CliProgram() + "' --config '" +
               (folder.Folder() / "cli.ini").string() + "' " + options + " write '" +
               ORBISK_SOURCE_DIR + "/samples/current.bbd' " + arguments + " 2>'" + errors.string() +
               "'";
    }
    std::string Simulated() const { return "--port 0x378 --simulate '" + Memory().string() + "'"; }

    test::TempConfig folder;
    std::vector<std::uint8_t> sample, memory;
};

// Each block reaches the simulated memory; outside its region the memory keeps its bytes.
TEST_F(CliWrite, EachBlockReachesTheSimulatedMemoryAndNothingElse) {
    struct Case {
        const char* block;
        std::size_t from, count;
    };
    for (const Case& c : {Case{"identification", 0x0800, 1536}, Case{"long-term", 0x0010, 4080},
                          Case{"settings", 0x0010, 240}}) {
        SCOPED_TRACE(c.block);
        SetUp();
        const bool settings = c.count == 240;
        const CliRun run = Write(std::string("--block ") + c.block + " " + Simulated() +
                                 (settings ? " --set eStop=110"
                                           : " --set 'eOwner=ООО «Новый владелец»'"
                                             " --set eNumber=0123456789ABCDEF-and-more"));
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.errors, "");
        const auto after = ReadAll(Memory());
        ASSERT_EQ(after.size(), 65536u);
        for (std::size_t a = 0; a < after.size(); ++a) {
            if (a < c.from || a >= c.from + c.count) {
                ASSERT_EQ(after[a], memory[a]) << a;
            }
        }
        RecorderImage image;
        std::copy(after.begin(), after.end(), image.Data());
        if (c.from == 0x0800 || c.count == 4080) {
            EXPECT_EQ(image.Text(addr::Owner, width::Owner), "ООО «Новый владелец»");
            EXPECT_EQ(image.Text(addr::CraneType, width::CraneType), "КС-45717К-1");
            // Pasted text is cut to what the edit holds: the field's width.
            EXPECT_EQ(image.Text(addr::CraneSerial, width::Serial), "0123456789ABCDEF");
        }
        if (c.from == 0x0010) {
            // The long-term write takes the settings the file holds.
            EXPECT_EQ(image.U8(addr::AverageMaxLoad), settings ? 110 : sample[0x44]);
        }
    }
}

// Two writes to one simulated memory at the same time take turns: both changes are kept.
TEST_F(CliWrite, WritesToOneSimulatedMemoryTakeTurns) {
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        SetUp();
        const std::string identification =
            WriteCommand("--block identification --set eOwner=Second " + Simulated(), "",
                         folder.Folder() / "identification.txt");
        const std::string settings = WriteCommand("--block settings --set eStop=110 " + Simulated(),
                                                  "", folder.Folder() / "settings.txt");
        const std::string both = "(" + identification + ") & (" + settings + ") & wait";
        ASSERT_EQ(std::system(("bash -c \"" + both + "\"").c_str()), 0);
        RecorderImage image;
        const auto after = ReadAll(Memory());
        ASSERT_EQ(after.size(), 65536u);
        std::copy(after.begin(), after.end(), image.Data());
        EXPECT_EQ(image.Text(addr::Owner, width::Owner), "Second");
        EXPECT_EQ(image.U8(addr::AverageMaxLoad), 110);
    }
}

// A simulated memory longer than an image keeps what follows the image.
TEST_F(CliWrite, TheTailOfALongerSimulatedMemoryIsKept) {
    const std::string tail = "not part of the memory\r\n";
    std::ofstream(Memory(), std::ios::binary | std::ios::app) << tail;
    ASSERT_EQ(Write("--block settings --set eStop=110 " + Simulated()).status, 0);
    const auto after = ReadAll(Memory());
    ASSERT_EQ(after.size(), 65536u + tail.size());
    EXPECT_EQ(after[addr::AverageMaxLoad], 110);
    EXPECT_EQ(std::string(after.begin() + 65536, after.end()), tail);
}

TEST_F(CliWrite, TheDialogsAndChoicesOfTheSettingsPage) {
    const CliRun run = Write("--block settings " + Simulated() +
                             " --sensor 2=100,1100 --sensor 3=500,1500 --modes 100,90,80,200"
                             " --set rgRele3=2 --set chbSensWorkMode=1 --set eLeb1Cnt=2"
                             " --set eLeb2Cnt=1 --set eLeb3Cnt=1");
    ASSERT_EQ(run.status, 0) << run.errors;
    const auto m = ReadAll(Memory());
    const auto u16 = [&](std::size_t a) { return m[a] | m[a + 1] << 8; };
    EXPECT_EQ(u16(0x0014), 100);   // sensor 2's Qo
    EXPECT_EQ(u16(0x0016), 1100);  // and Qном
    EXPECT_EQ(u16(0x0018), 500);   // sensor 3
    EXPECT_EQ(std::vector<int>(m.begin() + 0x54, m.begin() + 0x58),
              (std::vector<int>{100, 90, 80, 125}));
    EXPECT_EQ(m[kRele3Choice.address], 2);
    EXPECT_EQ(m[addr::UseModeSensor], 1);
}

TEST_F(CliWrite, ClampingIsToldAndTheClampedValueWritten) {
    const CliRun run = Write("--block settings " + Simulated() +
                             " --set eLeb1Cnt=5 --set eLeb2Cnt=5 --set eLeb3Cnt=5");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors,
              std::string(edittext::kAboveMaximum) + "3\n" + edittext::kAboveMaximum + "0\n");
    const auto m = ReadAll(Memory());
    EXPECT_EQ(std::vector<int>(m.begin() + 0x30, m.begin() + 0x33), (std::vector<int>{5, 3, 0}));
}

TEST_F(CliWrite, AbandonedAndRefusedWritesSendNothing) {
    struct Case {
        const char* arguments;
        const char* options;
        int status;
        std::string errors;
    };
    const std::string question =
        "Идентификационная информация содержит ошибки.\\nПродолжить запись?";
    const Case cases[] = {
        {"--block identification --set eRegYear=1999", "", 1,
         std::string(idtext::kBadRecorderYear) + "\n" + question + "\n"},
        {"--block identification --set eSumGruz=", "", 1, std::string(idtext::kBadCapacity) + "\n"},
        // Standard error writes a line break inside a message as "\n".
        {"--block settings --set eEnable=x", "", 1,
         "Введено неправильное значение!\\n Должно быть целое число.\n"},
        {"--block settings --sensor 1=40000,1", "", 1, std::string(edittext::kQoOutOfRange) + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = Write(std::string(c.arguments) + " " + Simulated(), c.options);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.errors.substr(0, c.errors.size()), c.errors) << run.errors;
        EXPECT_EQ(ReadAll(Memory()), memory);
    }
    // With --yes the question about the errors is answered OK and 2000 is written.
    const CliRun yes = Write("--block identification --set eRegYear=1999 " + Simulated(), "--yes");
    EXPECT_EQ(yes.status, 0);
    EXPECT_EQ(ReadAll(Memory())[addr::RecorderYear], 2000 & 0xFF);
}

TEST_F(CliWrite, MistakesInTheCallAreUsageErrors) {
    for (const char* arguments :
         {"--block settings", "--port 0x378", "--block all --port 0x378",
          "--block settings --port 0x378 --set eVersion=2",
          "--block settings --port 0x378 --set eX=1",
          "--block settings --port 0x378 --set rgRele3=3",
          "--block settings --port 0x378 --set eStop",
          "--block settings --port 0x378 --set chbSensWorkMode=2",
          "--block settings --port 0x378 --modes 1,2,3",
          "--block settings --port 0x378 --modes a,1,2,3",
          "--block settings --port 0x378 --sensor 2:1,2", "--block settings --port abc",
          "--block settings --port 0x378 --sensor 1=5,6,7",
          "--block settings --port 0x378 --sensor 1=,",
          "--block settings --port 0x378 --sensor 1=5,",
          "--block settings --port 0x378 --sensor a=1,2"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(Write(arguments).status, 2);
    }
    // What the block would not send names the option and the block it belongs to.
    struct Misplaced {
        const char* arguments;
        const char* error;
    };
    for (const Misplaced& c : {
             Misplaced{"--block identification --set eWarning=abc",
                       "--set eWarning belongs to the settings block"},
             Misplaced{"--block long-term --set rgRele3=1",
                       "--set rgRele3 belongs to the settings block"},
             Misplaced{"--block identification --set chbSensWorkMode=1",
                       "--set chbSensWorkMode belongs to the settings block"},
             Misplaced{"--block identification --sensor 1=5,6",
                       "--sensor belongs to the settings block"},
             Misplaced{"--block long-term --modes 1,2,3,4",
                       "--modes belongs to the settings block"},
             Misplaced{"--block settings --set eOwner=X",
                       "--set eOwner belongs to the identification block"},
         }) {
        SCOPED_TRACE(c.arguments);
        const CliRun run = Write(std::string(c.arguments) + " --port 0x378");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << run.errors;
    }
    // The sensor's number is checked against the image once it is open.
    EXPECT_EQ(Write("--block settings --sensor 9=1,2 " + Simulated()).status, 2);
    EXPECT_EQ(ReadAll(Memory()), memory);
}

// Over the USB adapter: a reader that keeps its old bytes is a failed write; one without a
// reader is one that is not connected, with the reason first.
TEST_F(CliWrite, OverTheAdapterAFailedCheckAndAMissingReaderAreFailures) {
    {
        test::EmulatedAdapter adapter(memory);
        const CliRun run =
            Write("--block settings --set eStop=110 --port '" + adapter.Path() + "'");
        ASSERT_EQ(run.status, 0) << run.errors;
        adapter.With([](AdapterEmulator& e) { EXPECT_EQ(e.Memory()[addr::AverageMaxLoad], 110); });
    }
    {
        test::EmulatedAdapter adapter(memory);
        adapter.Faults().droppedWrites = true;
        const CliRun run =
            Write("--block settings --set eStop=110 --port '" + adapter.Path() + "'");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors, std::string(linktext::kWriteMismatch) + "\n" +
                                  edittext::kSettingsWriteFailed + "\n");
    }
    {
        test::EmulatedAdapter adapter(memory);
        adapter.Faults().noReader = true;
        const CliRun run = Write("--block settings --port '" + adapter.Path() + "'");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors, std::string(linktext::kNoReaderOnAdapter) + "\n" +
                                  linktext::kReaderNotFound + "\n" + edittext::kNotConnected +
                                  "\n");
    }
}

TEST_F(CliWrite, TheBusCanBeTraced) {
    const auto trace = folder.Folder() / "bus.trace";
    const CliRun run =
        Write("--block settings " + Simulated() + " --trace '" + trace.string() + "'");
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_GT(fs::file_size(trace), 240u * 9 * 2);  // at least two changes per bit written
}

}  // namespace
}  // namespace orbisk
