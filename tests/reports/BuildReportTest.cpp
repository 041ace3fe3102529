// The report command: the question, the title, the file in the private folder and the failure
// paths, through recording fakes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include "reports/BuildReport.h"
#include "reports/ReportTexts.h"
#include "support/ReportFixtures.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordingPrompter;
using test::SampleModel;
using test::SetCycles;
using test::TempDir;

class ScriptedQuestions final : public ReportQuestions {
public:
    explicit ScriptedQuestions(std::optional<std::string> answer) : answer_(std::move(answer)) {}
    std::optional<std::string> AskText(const std::string& caption, const std::string& prompt,
                                       const std::string& defaultAnswer) override {
        asked.push_back({caption, prompt, defaultAnswer});
        return answer_;
    }
    std::vector<CycleQuestion> asked;

private:
    std::optional<std::string> answer_;
};

struct Command {
    RecordingPrompter prompter;
    ScriptedQuestions questions;
    FixedSpecialist specialist;
    TempDir dir;
    ReportEnvironment env;

    explicit Command(std::optional<std::string> answer)
        : questions(std::move(answer)),
          env{prompter, questions, specialist, std::string(report::kApplicationTitle)} {
        env.reportFolder = [this] { return dir.Path(); };
    }
};

TEST(ReportCommand, TheQuestionProposesTenOrTheWholeList) {
    DisplayModel m;
    SetCycles(m, std::vector<std::string>(25, "t"));
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(1), m).defaultAnswer, "10");
    const CycleQuestion q = MakeCycleQuestion(*FindReportKind(1), m);
    EXPECT_EQ(q.caption, "Протокол №1");
    EXPECT_EQ(q.prompt, "Введите количество отображаемых циклов (макс=25):");
    SetCycles(m, std::vector<std::string>(7, "t"));
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(3), m).defaultAnswer, "7");
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(3), m).prompt,
              "Введите количество отображаемых циклов (макс=7):");
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(5), m).defaultAnswer, "10");
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(5), m).caption, "Журнал");
    SetCycles(m, {});
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(2), m).defaultAnswer, "0");
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(5), m).defaultAnswer, "10");
    SetCycles(m, std::vector<std::string>(10, "t"));
    EXPECT_EQ(MakeCycleQuestion(*FindReportKind(4), m).defaultAnswer, "10");
}

TEST(ReportCommand, AnAnswerThatIsNoWholeNumberCountsAsTen) {
    EXPECT_EQ(CycleCountFromAnswer("25"), 25);
    EXPECT_EQ(CycleCountFromAnswer(" 7 "), 7);
    EXPECT_EQ(CycleCountFromAnswer("-3"), -3);
    EXPECT_EQ(CycleCountFromAnswer("+4"), 4);
    EXPECT_EQ(CycleCountFromAnswer("0"), 0);
    for (const char* bad : {"", "abc", "12x", "1.5", "+-1", "99999999999", "--1", "+"}) {
        EXPECT_EQ(CycleCountFromAnswer(bad), 10) << bad;
    }
}

TEST(ReportCommand, TitleJoinsNameReadingTimeAndRecorderNumber) {
    DisplayModel m;
    EXPECT_EQ(ReportTitle(*FindReportKind(1), m), "Протокол №1 от   РП №");
    m.SetText(Ctl::eDateCheck, "14.05.2009 10:30 ");
    m.SetText(Ctl::eRegNum, "777");
    EXPECT_EQ(ReportTitle(*FindReportKind(5), m), "Журнал от 14.05.2009 10:30   РП №777");
}

TEST(ReportCommand, WritesThePageAndReplacesThePreviousOne) {
    DisplayModel m = SampleModel();
    SetCycles(m, {"P", "Q"});
    Command c("1");
    const auto first = BuildReport(1, m, c.env);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, c.dir.Path() / "ORBIS_K.HTML");
    ASSERT_EQ(c.questions.asked.size(), 1u);
    EXPECT_EQ(c.questions.asked[0].defaultAnswer, "2");
    const std::string bytes = ReadBytes(*first);
    EXPECT_TRUE(bytes.ends_with("</HTML>\r\n"));
    EXPECT_EQ(bytes.find("\n\n"), std::string::npos);
    // Every line feed follows a carriage return.
    for (std::size_t i = bytes.find('\n'); i != std::string::npos; i = bytes.find('\n', i + 1)) {
        ASSERT_EQ(bytes[i - 1], '\r');
    }
    EXPECT_NE(bytes.find("<TITLE>\xCF\xF0\xEE\xF2\xEE\xEA\xEE\xEB \xB9\x31 \xEE\xF2 14.05.2009"),
              std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(first->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);
    EXPECT_TRUE(c.prompter.messages.empty());

    const auto second = BuildReport(5, m, c.env);
    ASSERT_TRUE(second);
    EXPECT_NE(ReadBytes(*second).find("\xC6\xD3\xD0\xCD\xC0\xCB"), std::string::npos);  // ЖУРНАЛ
    EXPECT_EQ(std::distance(fs::directory_iterator(c.dir.Path()), fs::directory_iterator()), 1);
}

TEST(ReportCommand, CancelDoesNothing) {
    Command c(std::nullopt);
    EXPECT_FALSE(BuildReport(2, SampleModel(), c.env));
    EXPECT_EQ(c.questions.asked.size(), 1u);
    EXPECT_TRUE(c.prompter.messages.empty());
    EXPECT_TRUE(fs::is_empty(c.dir.Path()));
}

TEST(ReportCommand, NoTemporaryFolderStopsSilently) {
    Command c("3");
    c.env.reportFolder = [] { return fs::path(); };
    EXPECT_FALSE(BuildReport(2, SampleModel(), c.env));
    EXPECT_TRUE(c.prompter.messages.empty());
}

TEST(ReportCommand, AFileThatCannotBeWrittenIsReportedWithTheTitle) {
    Command c("3");
    const fs::path blocked = c.dir.Path() / "ORBIS_K.HTML";
    fs::create_directory(blocked);  // neither removable as a file nor writable
    fs::create_directory(blocked / "inside");
    DisplayModel m = SampleModel();
    EXPECT_FALSE(BuildReport(4, m, c.env));
    ASSERT_EQ(c.prompter.messages.size(), 1u);
    EXPECT_TRUE(c.prompter.messages[0].text.starts_with(
        "Ошибка формирования:\n Протокол №4 от 14.05.2009 10:30   РП №777\nEFCreateError"))
        << c.prompter.messages[0].text;
    EXPECT_EQ(c.prompter.messages[0].icon, MessageIcon::Error);
}

TEST(ReportCommand, ALinkInPlaceOfTheFileIsNotFollowed) {
    Command c("3");
    TempDir elsewhere;
    const fs::path victim = elsewhere.Path() / "victim.txt";
    test::WriteBytes(victim, "keep");
    fs::create_symlink(victim, c.dir.Path() / "ORBIS_K.HTML");
    ASSERT_TRUE(BuildReport(2, SampleModel(), c.env));
    EXPECT_EQ(ReadBytes(victim), "keep");
    EXPECT_FALSE(fs::is_symlink(c.dir.Path() / "ORBIS_K.HTML"));
}

TEST(ReportCommand, APartialPageIsStillWritten) {
    struct Failing final : SpecialistProvider {
        Specialist ChooseSpecialist() override { throw std::runtime_error("сбой"); }
    } failing;
    RecordingPrompter prompter;
    ScriptedQuestions questions("2");
    TempDir dir;
    ReportEnvironment env{prompter, questions, failing, "App"};
    env.reportFolder = [&] { return dir.Path(); };
    const auto page = BuildReport(3, SampleModel(), env);
    ASSERT_TRUE(page);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "сбой");
    const std::string bytes = ReadBytes(*page);
    EXPECT_TRUE(bytes.ends_with("</P>\r\n"));
    EXPECT_EQ(bytes.find("</HTML>"), std::string::npos);
}

// The private folder under the system temporary folder when there is no runtime folder.
class PrivateFolder : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
            if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
        }
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", base_.Path().c_str(), 1);
        expected_ = base_.Path() / ("orbisk-" + std::to_string(::geteuid()));
    }
    void TearDown() override {
        ::unsetenv("TMPDIR");
        for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
    }
    TempDir base_;
    fs::path expected_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(PrivateFolder, IsCreatedClosedToOthers) {
    EXPECT_EQ(PrivateReportFolder(), expected_);
    struct stat st {};
    ASSERT_EQ(::lstat(expected_.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ::chmod(expected_.c_str(), 0755);
    EXPECT_EQ(PrivateReportFolder(), expected_);
    ASSERT_EQ(::lstat(expected_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(PrivateFolder, RefusesALinkPlantedInItsPlace) {
    TempDir target;
    fs::create_directory_symlink(target.Path(), expected_);
    EXPECT_THROW(PrivateReportFolder(), ReportError);
    fs::remove(expected_);
    test::WriteBytes(expected_, "");
    EXPECT_THROW(PrivateReportFolder(), ReportError);
}

TEST_F(PrivateFolder, UsesTheRuntimeFolderWhenItIsPrivate) {
    TempDir runtime;
    ::chmod(runtime.Path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    EXPECT_EQ(PrivateReportFolder(), runtime.Path());
    ::chmod(runtime.Path().c_str(), 0777);
    EXPECT_EQ(PrivateReportFolder(), expected_);  // an open runtime folder is not used
}

}  // namespace
}  // namespace orbisk
