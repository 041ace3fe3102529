// orbisk-cli report end to end: the page is the one the report command composes from the same
// image, the specialist comes from the register, and mistakes end with their exit codes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <iostream>
#include <sstream>

#include "app/Config.h"
#include "reports/ReportTexts.h"
#include "reports/SpecialistRegister.h"
#include "support/ReportFixtures.h"
#include "support/SampleSession.h"
#include "support/SpecialFiles.h"
#include "tools/orbisk-cli/CommandLineReport.h"
#include "tools/orbisk-cli/Usage.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::RecordingPrompter;
using test::RunProcess;
using test::SampleModel;
using test::SetCycles;
using test::ShellQuote;

std::string CliPath() {
    if (const char* env = std::getenv("ORBISK_CLI"); env && *env) return env;
    return std::string(ORBISK_BINARY_DIR) + "/bin/orbisk-cli";
}

class CliReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(CliPath().c_str(), X_OK) != 0) GTEST_SKIP() << "orbisk-cli is not built";
        ASSERT_TRUE(sample_.opened);
        test::WriteBytes(ini_, Utf8ToCp1251("[_Вид_]\r\nСлева=0\r\n[Иванов]\r\nИмя=Иван\r\n"
                                            "Работает=ООО <Кран>\r\nУдостоверение=7\r\n"));
    }
    test::ProcessResult Run(const std::string& args) {
        return RunProcess(ShellQuote(CliPath()) + " --config " + ShellQuote(ini_.string()) +
                          " --now " + ShellQuote(test::kSampleNow) + " report " + args + " 2>" +
                          ShellQuote(errors_.string()));
    }
    std::string Errors() const { return test::ReadBytes(errors_); }

    // The page the report command composes from the sample with that answer and family.
    std::string Expected(int kind, const std::string& answer, const std::string& family) {
        Config config(ini_, dir_.Path());
        SpecialistRegister reg(config);
        RegisterSpecialist specialist(reg, family);
        AnsweredQuestion question(answer);
        ReportEnvironment env{sample_.prompter, question, specialist,
                              std::string(report::kApplicationTitle)};
        return ComposeReport(kind, sample_.session.Model(), env)->bytes;
    }

    test::TempDir dir_;
    fs::path ini_ = dir_.Path() / "orbisk.ini";
    fs::path errors_ = dir_.Path() / "stderr.txt";
    test::SampleSession sample_;
    std::string file_ = ShellQuote(test::SamplePath());
};

TEST_F(CliReport, WritesTheSamePageAsTheReportCommand) {
    for (int kind = 1; kind <= 5; ++kind) {
        const auto r = Run(file_ + " --kind " + std::to_string(kind) +
                           " --cycles 4 --specialist "
                           "Иванов");
        ASSERT_EQ(r.exitCode, 0) << Errors();
        EXPECT_EQ(r.out, Expected(kind, "4", "Иванов")) << kind;
    }
    EXPECT_NE(
        Expected(2, "4", "Иванов").find(Utf8ToCp1251("Место работы . . . ООО &lt;Кран&gt;<BR>")),
        std::string::npos);
}

TEST_F(CliReport, WritesToTheNamedFileAndTakesTheProposedAnswerWithoutCycles) {
    const fs::path out = dir_.Path() / "p3.html";
    const auto r = Run(file_ + " --kind 3 -o " + ShellQuote(out.string()));
    ASSERT_EQ(r.exitCode, 0) << Errors();
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(test::ReadBytes(out), Expected(3, "10", ""));
}

// A family that the register does not hold still gives the document, with the family name
// alone, but not silently: a warning names the register's specialists.
TEST_F(CliReport, AnUnknownSpecialistIsNamedByTheFamilyAloneWithAWarning) {
    const auto r = Run(file_ + " --kind 2 --cycles 1 --specialist Петров");
    ASSERT_EQ(r.exitCode, 0) << Errors();
    EXPECT_NE(r.out.find(Utf8ToCp1251("Ф.И.О.  . . . . . . . . . Петров  <BR>")),
              std::string::npos);
    EXPECT_NE(r.out.find(Utf8ToCp1251("Место работы ____")), std::string::npos);

    struct Case {
        const char* register_;  // the specialists' sections of the configuration file
        const char* family;
        const char* warning;  // a part of the one line on standard error; nullptr: none
    };
    const Case cases[] = {
        {"[Иванов]\r\nИмя=Иван\r\n[Сидоров]\r\n", "Петров", "it has: Иванов, Сидоров)"},
        {"[Иванов]\r\nИмя=Иван\r\n", "Иваноф", "\"Иваноф\" is not in the specialists register"},
        {"", "Петров", "the register is empty"},
        {"[Иванов]\r\n", "_Вид_", "it has: Иванов)"},
        {"[Иванов]\r\nИмя=Иван\r\n[Сидоров]\r\n", "Сидоров", nullptr},
        {"[Иванов]\r\nИмя=Иван\r\n", "иванов", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.family);
        test::WriteBytes(ini_, Utf8ToCp1251(std::string("[_Вид_]\r\nСлева=0\r\n") + c.register_));
        const auto run = Run(file_ + " --kind 1 --cycles 1 --specialist " + c.family);
        EXPECT_EQ(run.exitCode, 0) << Errors();
        EXPECT_TRUE(run.out == Expected(1, "1", c.family));
        const std::string errors = Errors();
        if (c.warning) {
            EXPECT_NE(errors.find(c.warning), std::string::npos) << errors;
            EXPECT_NE(errors.find("warning"), std::string::npos) << errors;
            EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        } else {
            EXPECT_EQ(errors, "");
        }
    }
}

// Whatever OUT names is written by the rule of every file the program writes: a file (through
// links) replaced when the page is complete, a device or a FIFO written to and left what it is,
// anything else refused with the reason.
TEST_F(CliReport, OutputIsWrittenByWhatItNames) {
    const std::string page = Expected(1, "5", "");
    const fs::path null = test::DeviceLike(dir_.Path(), "null", "/dev/null");
    const fs::path full = test::DeviceLike(dir_.Path(), "full", "/dev/full");
    test::WriteBytes(dir_.Path() / "real.html", "old page");
    fs::create_symlink("real.html", dir_.Path() / "link.html");
    fs::create_directory(dir_.Path() / "folder.html");
    struct Case {
        fs::path out;
        int exitCode;
        fs::file_type typeAfter;
        const char* reason;  // a part of the message on standard error
    };
    const Case cases[] = {
        {null, 0, fs::file_type::character, ""},
        {full, 1, fs::file_type::character, "Ошибка записи файла"},
        {dir_.Path() / "link.html", 0, fs::file_type::symlink, ""},
        {dir_.Path() / "folder.html", 1, fs::file_type::directory, "Не удается создать файл"},
    };
    for (const Case& c : cases) {
        const auto r = Run(file_ + " --kind 1 --cycles 5 -o " + ShellQuote(c.out.string()));
        EXPECT_EQ(r.exitCode, c.exitCode) << c.out << Errors();
        EXPECT_TRUE(r.out.empty()) << c.out;
        EXPECT_EQ(fs::symlink_status(c.out).type(), c.typeAfter) << c.out;
        if (*c.reason) {
            EXPECT_NE(Errors().find(c.reason), std::string::npos) << Errors();
            EXPECT_NE(Errors().find(c.out.string()), std::string::npos) << Errors();
        } else {
            EXPECT_EQ(Errors(), "") << c.out;
        }
    }
    EXPECT_TRUE(test::ReadBytes(dir_.Path() / "real.html") == page);
    EXPECT_TRUE(fs::is_empty(dir_.Path() / "folder.html"));

    test::FifoReader fifo(dir_.Path() / "fifo.html");
    ASSERT_TRUE(fifo.Ready());
    const auto r = Run(file_ + " --kind 1 --cycles 5 -o " + ShellQuote(fifo.Path().string()));
    EXPECT_EQ(r.exitCode, 0) << Errors();
    EXPECT_TRUE(fifo.Take() == page);
    EXPECT_EQ(fs::symlink_status(fifo.Path()).type(), fs::file_type::fifo);

    // The standard output by its device name is the pipe behind it.
    const auto stdoutRun = Run(file_ + " --kind 1 --cycles 5 -o /dev/stdout");
    EXPECT_EQ(stdoutRun.exitCode, 0) << Errors();
    EXPECT_TRUE(stdoutRun.out == page);
}

// The page is written through a scratch file of a fresh name that nobody else can have made:
// a file or link that happens to bear OUT's name plus ".part" is somebody's, and stays as it is.
TEST_F(CliReport, NoOtherFileBesideTheOutputIsWrittenThroughOrRemoved) {
    const std::string page = Expected(1, "5", "");
    test::WriteBytes(dir_.Path() / "victim.txt", "not to be touched");
    fs::create_symlink("victim.txt", dir_.Path() / "out.html.part");
    test::WriteBytes(dir_.Path() / "own.html.part", "a user's own file");
    for (const char* name : {"out.html", "own.html"}) {
        const auto r =
            Run(file_ + " --kind 1 --cycles 5 -o " + ShellQuote((dir_.Path() / name).string()));
        ASSERT_EQ(r.exitCode, 0) << Errors();
        EXPECT_EQ(fs::symlink_status(dir_.Path() / name).type(), fs::file_type::regular);
        EXPECT_TRUE(test::ReadBytes(dir_.Path() / name) == page) << name;
    }
    EXPECT_TRUE(test::ReadBytes(dir_.Path() / "victim.txt") == "not to be touched");
    EXPECT_TRUE(fs::is_symlink(dir_.Path() / "out.html.part"));
    EXPECT_EQ(test::ReadBytes(dir_.Path() / "own.html.part"), "a user's own file");
    // Nothing of the program's own stays behind.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"orbisk.ini", "out.html", "out.html.part", "own.html",
                                        "own.html.part", "stderr.txt", "victim.txt"}));
}

// The page never takes the place of a file it is made from, whatever name OUT gives it.
TEST_F(CliReport, TheDataFilesAreNeverWrittenOver) {
    const fs::path data = dir_.Path() / "c.bbd", previous = dir_.Path() / "p.bbd";
    fs::copy_file(test::SamplePath(), data);
    fs::copy_file(fs::path(ORBISK_SOURCE_DIR) / "samples/previous.bbd", previous);
    fs::create_symlink("c.bbd", dir_.Path() / "link.bbd");
    fs::create_hard_link(data, dir_.Path() / "hard.bbd");
    const std::string before = test::ReadBytes(data), previousBefore = test::ReadBytes(previous);
    for (const fs::path& out :
         {data, dir_.Path() / "link.bbd", dir_.Path() / "hard.bbd",
          dir_.Path() / "." / ".." / dir_.Path().filename() / "c.bbd", previous}) {
        SCOPED_TRACE(out);
        const auto r = Run(ShellQuote(data.string()) + " --kind 1 --previous " +
                           ShellQuote(previous.string()) + " -o " + ShellQuote(out.string()));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(Errors().find("is a data file the document is made from"), std::string::npos)
            << Errors();
        EXPECT_TRUE(test::ReadBytes(data) == before);
        EXPECT_TRUE(test::ReadBytes(previous) == previousBefore);
    }
}

TEST_F(CliReport, MistakesEndWithTheirExitCodesAndNoPage) {
    auto usage = Run(file_ + " --kind 9");
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.out.empty());
    EXPECT_NE(Errors().find("--kind"), std::string::npos);
    EXPECT_EQ(Run("--kind 1").exitCode, 2);
    const auto missing = Run(ShellQuote((dir_.Path() / "none.bbd").string()) + " --kind 1");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_FALSE(Errors().empty());
    const fs::path shortFile = dir_.Path() / "short.bbd";
    test::WriteBytes(shortFile, std::string(100, '\0'));
    const auto refused = Run(ShellQuote(shortFile.string()) + " --kind 1");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.empty());
    const auto unwritable = Run(file_ + " --kind 1 -o " +
                                ShellQuote((dir_.Path() / "no" / "such" / "p.html").string()));
    EXPECT_EQ(unwritable.exitCode, 1);
}

// The commands' library needs no program around it for its usage error.
TEST(CommandLineLibrary, TheUsageErrorIsItsOwn) {
    std::ostringstream errors;
    std::streambuf* const standardError = std::cerr.rdbuf(errors.rdbuf());
    const int code = cli::Usage("no command");
    std::cerr.rdbuf(standardError);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(errors.str(), std::string("orbisk-cli: no command\n") + cli::kUsage);
}

// The command line's own part: its options, and the question answered from them.
TEST(CommandLineReport, OptionsAndTheirMistakes) {
    ReportCommandOptions o;
    EXPECT_EQ(ParseReportCommand({"report", "a.bbd", "--kind", "3", "--cycles", "abc", "--previous",
                                  "p.bbd", "--specialist", "Иванов", "-o", "x.html"},
                                 o),
              "");
    EXPECT_EQ(o.file, "a.bbd");
    EXPECT_EQ(o.kind, 3);
    EXPECT_EQ(o.cycles, "abc");
    EXPECT_EQ(o.previous, "p.bbd");
    EXPECT_EQ(o.specialist, "Иванов");
    EXPECT_EQ(o.output, "x.html");
    EXPECT_EQ(ParseReportCommand({"a.bbd", "--kind", "5"}, o), "");
    EXPECT_FALSE(o.cycles);
    EXPECT_NE(ParseReportCommand({"a.bbd"}, o), "");
    EXPECT_NE(ParseReportCommand({"--kind", "1"}, o), "");
    EXPECT_NE(ParseReportCommand({"a.bbd", "--kind", "6"}, o), "");
    EXPECT_NE(ParseReportCommand({"a.bbd", "--kind", "0"}, o), "");
    EXPECT_NE(ParseReportCommand({"a.bbd", "--kind"}, o), "");
    EXPECT_NE(ParseReportCommand({"a.bbd", "b.bbd", "--kind", "1"}, o), "");
    EXPECT_NE(ParseReportCommand({"a.bbd", "--kind", "1", "--bogus"}, o), "");
}

TEST(CommandLineReport, TheAnswerStandsForTheUsersAndDefaultsToTheProposal) {
    DisplayModel m = SampleModel();
    SetCycles(m, {"P", "Q", "R"});
    RecordingPrompter prompter;
    FixedSpecialist nobody;
    AnsweredQuestion given(std::string("x"));
    ReportEnvironment env{prompter, given, nobody, "App"};
    const auto page = ComposeReport(2, m, env);
    ASSERT_TRUE(page);
    ASSERT_TRUE(given.Asked());
    EXPECT_EQ(given.Asked()->prompt, "Введите количество отображаемых циклов (макс=3):");
    EXPECT_EQ(given.Asked()->defaultAnswer, "3");
    EXPECT_TRUE(page->complete);
    EXPECT_EQ(page->title, "Протокол №2 от 14.05.2009 10:30   РП №777");

    // Without an answer the proposed one is taken: all three rows.
    AnsweredQuestion none(std::nullopt);
    ReportEnvironment env2{prompter, none, nobody, "App"};
    const auto whole = ComposeReport(2, m, env2);
    ASSERT_TRUE(whole);
    AnsweredQuestion one(std::string("1"));
    ReportEnvironment env3{prompter, one, nobody, "App"};
    const auto single = ComposeReport(2, m, env3);
    ASSERT_TRUE(single);
    EXPECT_GT(whole->bytes.size(), single->bytes.size());
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace orbisk
