// orbisk-sim as a person starts it: its help, and every switch the help explains is one the
// program takes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "support/LinkTestSupport.h"

namespace orbisk {
namespace {

std::string SimPath() {
    return std::string(ORBISK_BINARY_DIR) + "/bin/orbisk-sim";
}

struct SimRun {
    int status = -1;
    std::string out;
    std::string errors;
};

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SimRun RunSim(const test::TempConfig& folder, const std::string& arguments) {
    const auto out = folder.Folder() / "stdout.txt";
    const auto errors = folder.Folder() / "stderr.txt";
    const std::string command = "timeout 20 '" + SimPath() + "' " + arguments + " >'" +
                                out.string() + "' 2>'" + errors.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    SimRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(out);
    run.errors = ReadText(errors);
    return run;
}

// The line of the help that explains the switch: it begins with the switch (and its value),
// and an explanation follows.
std::string HelpLine(const std::string& help, const std::string& names) {
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  " + names + " ", 0) == 0) return line.substr(2 + names.size());
    }
    return {};
}

class EmulatorProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(SimPath())) << SimPath();
        const auto bytes = test::TestImageBytes(5);
        std::ofstream(data, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    test::TempConfig folder;
    std::filesystem::path data = folder.Folder() / "data.bbd";
};

TEST_F(EmulatorProgram, HelpExplainsEverySwitchOnStandardOutput) {
    struct Switch {
        const char* name;
        const char* value;  // an example value; nullptr for a switch without one
        const char* argument;
    };
    const Switch switches[] = {
        {"--save", "saved.bbd", "FILE"},
        {"--paced", nullptr, nullptr},
        {"--exit-after", "0", "SEC"},
        {"--no-reader", nullptr, nullptr},
        {"--wrong-identity", nullptr, nullptr},
        {"--silent", nullptr, nullptr},
        {"--short-replies", "-1", "N"},
        {"--unplug-after", "3", "N"},
        {"--refuse-writes", "2", "N"},
        {"--refuse-addresses", "-1", "N"},
        {"--trickle", "1", "N"},
    };
    for (const char* help : {"--help", "-h"}) {
        const SimRun run = RunSim(folder, help);
        EXPECT_EQ(run.status, 0) << help;
        EXPECT_EQ(run.errors, "") << help;
        EXPECT_EQ(run.out.rfind("usage: orbisk-sim DATA.bbd", 0), 0u) << run.out;
        for (const Switch& s : switches) {
            const std::string names =
                std::string(s.name) + (s.argument ? std::string(" ") + s.argument : "");
            const std::string explanation = HelpLine(run.out, names);
            EXPECT_GT(explanation.size(), 20u) << names << " is not explained";
        }
    }
    // Each switch is taken as the help shows it.
    for (const Switch& s : switches) {
        std::string arguments = "'" + data.string() + "' " + s.name;
        if (s.value)
            arguments +=
                std::string(" ") +
                (std::string(s.name) == "--save" ? (folder.Folder() / s.value).string() : s.value);
        if (std::string(s.name) != "--exit-after") arguments += " --exit-after 0";
        const SimRun run = RunSim(folder, arguments);
        EXPECT_EQ(run.status, 0) << s.name << ": " << run.errors;
        EXPECT_EQ(run.out.rfind("/dev/", 0), 0u) << s.name << ": " << run.out;
    }
}

TEST_F(EmulatorProgram, MistakesAreUsageErrorsOnStandardError) {
    for (const std::string& arguments :
         {std::string("--bogus"), std::string("'") + data.string() + "' --trickle 0",
          std::string("'") + data.string() + "' --unplug-after x", std::string("")}) {
        const SimRun run = RunSim(folder, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_NE(run.errors.find("--help"), std::string::npos) << arguments << run.errors;
    }
}

}  // namespace
}  // namespace orbisk
