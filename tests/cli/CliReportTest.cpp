// orbisk-cli report end to end: the page is the one the report command composes from the same
// image, the specialist comes from the register, and mistakes end with their exit codes.
#include <gtest/gtest.h>

#include <unistd.h>

#include "support/ReportFixtures.h"
#include "support/SampleSession.h"
#include "app/Config.h"
#include "tools/orbisk-cli/CommandLineReport.h"
#include "reports/ReportTexts.h"
#include "reports/SpecialistRegister.h"

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

TEST_F(CliReport, AnUnknownSpecialistIsNamedByTheFamilyAlone) {
    const auto r = Run(file_ + " --kind 2 --cycles 1 --specialist Петров");
    ASSERT_EQ(r.exitCode, 0) << Errors();
    EXPECT_NE(r.out.find(Utf8ToCp1251("Ф.И.О.  . . . . . . . . . Петров  <BR>")),
              std::string::npos);
    EXPECT_NE(r.out.find(Utf8ToCp1251("Место работы ____")), std::string::npos);
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
