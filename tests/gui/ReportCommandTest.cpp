// The report command in the desktop program: the toolbar button and its menu build the chosen
// document through the real question and register dialogs, write it into the report folder and
// hand it to the page opener.
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QToolButton>
#include <fstream>
#include <sstream>

#include "ReportWindowSupport.h"
#include "base/TextCodec.h"
#include "reports/BuildReport.h"
#include "reports/ReportTexts.h"

namespace orbisk::test {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class FixedAnswer final : public ReportQuestions {
public:
    explicit FixedAnswer(std::string answer) : answer_(std::move(answer)) {}
    std::optional<std::string> AskText(const std::string&, const std::string&,
                                       const std::string&) override {
        return answer_;
    }

private:
    std::string answer_;
};

// What the user saw in the cycle-count question.
struct SeenQuestion {
    QString caption;
    QString prompt;
    QString proposed;
};

class ReportCommand : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(reportDir_.isValid());
        folder_ = Utf8ToPath(S(reportDir_.path()));
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        EXPECT_EQ(watchdog_.stray, 0) << "a dialog was left open";
    }

    TfMain& StartWithSample() {
        TfMain& w = Start(SamplePath("current.bbd"));
        w.SetPageOpener([this](const QString& path) { opened_ << path; });
        w.SetReportFolder([this] { return folder_; });
        return w;
    }

    // Answers the question (Cancel when there is no answer) and, when asked, the register with
    // the particulars typed in, closed by `how`.
    void Script(std::optional<QString> answer, Specialist who = {}, Closing how = Closing::Ok) {
        WhenShown<QInputDialog>([this, answer, who, how](QInputDialog* question) {
            seen_.push_back(
                {question->windowTitle(), question->labelText(), question->textValue()});
            if (!answer) {
                question->reject();
                return;
            }
            WhenShown<TfSpec>([who, how](TfSpec* fSpec) {
                TypeSpecialist(fSpec, who);
                CloseSpec(fSpec, how);
            });
            question->setTextValue(*answer);
            question->accept();
        });
    }

    // The page the core composes for the window's model, the answer and the specialist.
    std::string Expected(int kind, const std::string& answer, const Specialist& who) {
        RecordingPrompter prompter;
        FixedAnswer questions(answer);
        FixedSpecialist specialist(who);
        ReportEnvironment env{prompter, questions, specialist,
                              std::string(report::kApplicationTitle)};
        const auto page = ComposeReport(kind, window_->GetSession().Model(), env);
        EXPECT_TRUE(page && page->complete);
        return page ? page->bytes : std::string();
    }

    fs::path PageFile() const { return folder_ / "ORBIS_K.HTML"; }

    QTemporaryDir reportDir_;
    fs::path folder_;
    QStringList opened_;
    std::vector<SeenQuestion> seen_;
    ModalWatchdog watchdog_;
};

const Specialist kPetrov{
    "Петров", "Пётр", "Ильич", "ООО \"Кран & Ко\"", "17-42", "03.04.2020 г. Тверь", "03.04.2025"};

TEST_F(ReportCommand, TheButtonAndEachMenuItemBuildTheirDocument) {
    TfMain& w = StartWithSample();
    const std::size_t rows = w.GetSession().Model().cycles.size();
    ASSERT_GT(rows, 10u);

    Script("5", kPetrov);
    QTest::mouseClick(Find<QToolButton>("tbPreview"), Qt::LeftButton);
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_EQ(fs::path(S(opened_[0])), PageFile());
    const std::string fromButton = ReadBytes(PageFile());
    EXPECT_EQ(fromButton, Expected(2, "5", kPetrov));

    const char* names[] = {"Протокол №1", "Протокол №2", "Протокол №3", "Протокол №4", "Журнал"};
    for (int kind = 1; kind <= 5; ++kind) {
        SCOPED_TRACE(kind);
        Script("5", kPetrov);
        w.DataModule().Reports[kind - 1]->trigger();
        ASSERT_EQ(opened_.size(), kind + 1);
        EXPECT_EQ(ReadBytes(PageFile()), Expected(kind, "5", kPetrov));
        ASSERT_EQ(seen_.size(), static_cast<std::size_t>(kind + 1));
        EXPECT_EQ(seen_.back().caption, names[kind - 1]);
        EXPECT_EQ(seen_.back().prompt,
                  QString("Введите количество отображаемых циклов (макс=%1):").arg(rows));
        EXPECT_EQ(seen_.back().proposed, "10");
    }
    // The button's face is the menu's default item.
    EXPECT_EQ(fromButton, Expected(2, "5", kPetrov));
    EXPECT_TRUE(prompter_.texts.empty());
    // The page is Windows-1251 and carries the specialist with the escaping of its values.
    EXPECT_NE(fromButton.find(Utf8ToCp1251("Петров Пётр Ильич")), std::string::npos);
    EXPECT_NE(fromButton.find(Utf8ToCp1251("ООО &quot;Кран &amp; Ко&quot;")), std::string::npos);
    EXPECT_TRUE(fromButton.ends_with("</HTML>\r\n"));
}

TEST_F(ReportCommand, ShortListsAreProposedWholeExceptForTheJournal) {
    TfMain& w = Start();  // nothing loaded: an empty list
    w.SetPageOpener([this](const QString& path) { opened_ << path; });
    w.SetReportFolder([this] { return folder_; });
    Script("0");
    w.DataModule().Reports[0]->trigger();
    Script("0");
    w.DataModule().Reports[4]->trigger();
    ASSERT_EQ(seen_.size(), 2u);
    EXPECT_EQ(seen_[0].proposed, "0");
    EXPECT_EQ(seen_[0].prompt, "Введите количество отображаемых циклов (макс=0):");
    EXPECT_EQ(seen_[1].proposed, "10");
    EXPECT_EQ(opened_.size(), 2);
}

TEST_F(ReportCommand, CancelWritesAndOpensNothing) {
    TfMain& w = StartWithSample();
    Script(std::nullopt);
    w.DataModule().Reports[0]->trigger();
    EXPECT_EQ(seen_.size(), 1u);
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_FALSE(fs::exists(PageFile()));
    EXPECT_TRUE(prompter_.texts.empty());
}

TEST_F(ReportCommand, AnAnswerThatIsNoNumberListsTenCycles) {
    TfMain& w = StartWithSample();
    Script("много", kPetrov);
    w.DataModule().Reports[0]->trigger();
    ASSERT_EQ(opened_.size(), 1);
    const std::string page = ReadBytes(PageFile());
    EXPECT_EQ(page, Expected(1, "10", kPetrov));
    EXPECT_NE(page, Expected(1, "11", kPetrov));
}

TEST_F(ReportCommand, TheRegisterIsAskedAfreshAndItsFieldsCountHoweverItCloses) {
    TfMain& w = StartWithSample();
    const Specialist sidorov{"Сидоров", "", "", "", "5", "", ""};
    for (Closing how : {Closing::Ok, Closing::CloseBox, Closing::Escape}) {
        Script("3", sidorov, how);
        w.DataModule().Reports[2]->trigger();
        ASSERT_FALSE(opened_.isEmpty());
        EXPECT_EQ(ReadBytes(PageFile()), Expected(3, "3", sidorov));
    }
    EXPECT_EQ(opened_.size(), 3);
    // Typed, never saved: the register in the configuration file stays without him.
    EXPECT_FALSE(w.GetConfig().Ini().SectionExists("Сидоров"));
}

TEST_F(ReportCommand, AFileThatCannotBeWrittenIsReportedAndNotOpened) {
    TfMain& w = StartWithSample();
    fs::create_directories(PageFile() / "inside");  // neither removable nor writable as a file
    Script("2", kPetrov);
    w.DataModule().Reports[3]->trigger();
    EXPECT_TRUE(opened_.isEmpty());
    ASSERT_EQ(prompter_.texts.size(), 1u);
    const DisplayModel& m = w.GetSession().Model();
    EXPECT_TRUE(prompter_.texts[0].starts_with("Ошибка формирования:\n Протокол №4 от " +
                                               m.Text(Ctl::eDateCheck) + "  РП №" +
                                               m.Text(Ctl::eRegNum) + "\nEFCreateError"))
        << prompter_.texts[0];
}

TEST_F(ReportCommand, WithoutATemporaryFolderNothingIsWrittenOrSaid) {
    TfMain& w = StartWithSample();
    w.SetReportFolder([] { return fs::path(); });
    Script("2", kPetrov);
    w.DataModule().Reports[1]->trigger();
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_TRUE(prompter_.texts.empty());
}

TEST_F(ReportCommand, ANewReportReplacesThePreviousPage) {
    TfMain& w = StartWithSample();
    Script("1", kPetrov);
    w.DataModule().Reports[4]->trigger();
    Script("1", kPetrov);
    w.DataModule().Reports[0]->trigger();
    ASSERT_EQ(opened_.size(), 2);
    EXPECT_EQ(opened_[0], opened_[1]);
    EXPECT_EQ(ReadBytes(PageFile()), Expected(1, "1", kPetrov));
    EXPECT_EQ(QDir(reportDir_.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 1);
}

}  // namespace
}  // namespace orbisk::test
