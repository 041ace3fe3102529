// orbisk-cli report end to end: the page is the one the report command composes from the same
// image, the specialist comes from the register, and mistakes end with their exit codes.
#include <gtest/gtest.h>

#include <unistd.h>

#include "ReportFixtures.h"
#include "SampleSession.h"
#include "app/Config.h"
#include "reports/CommandLineReport.h"
#include "reports/ReportTexts.h"
#include "reports/SpecialistRegister.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using testing::RunProcess;
using testing::ShellQuote;

std::string CliPath() {
    if (const char* env = std::getenv("ORBISK_CLI"); env && *env) return env;
    return std::string(ORBISK_BINARY_DIR) + "/bin/orbisk-cli";
}

class CliReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access(CliPath().c_str(), X_OK) != 0) GTEST_SKIP() << "orbisk-cli is not built";
        ASSERT_TRUE(sample_.opened);
        testing::WriteBytes(ini_, Utf8ToCp1251("[_Вид_]\r\nСлева=0\r\n[Иванов]\r\nИмя=Иван\r\n"
                                               "Работает=ООО <Кран>\r\nУдостоверение=7\r\n"));
    }
    testing::ProcessResult Run(const std::string& args) {
        return RunProcess(ShellQuote(CliPath()) + " --config " + ShellQuote(ini_.string()) +
                          " --now " + ShellQuote(testing::kSampleNow) + " report " + args + " 2>" +
                          ShellQuote(errors_.string()));
    }
    std::string Errors() const { return testing::ReadBytes(errors_); }

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

    testing::TempDir dir_;
    fs::path ini_ = dir_.Path() / "orbisk.ini";
    fs::path errors_ = dir_.Path() / "stderr.txt";
    testing::SampleSession sample_;
    std::string file_ = ShellQuote(testing::SamplePath());
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
    EXPECT_EQ(testing::ReadBytes(out), Expected(3, "10", ""));
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
    testing::WriteBytes(shortFile, std::string(100, '\0'));
    const auto refused = Run(ShellQuote(shortFile.string()) + " --kind 1");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.empty());
    const auto unwritable = Run(file_ + " --kind 1 -o " +
                                ShellQuote((dir_.Path() / "no" / "such" / "p.html").string()));
    EXPECT_EQ(unwritable.exitCode, 1);
}

}  // namespace
}  // namespace orbisk
