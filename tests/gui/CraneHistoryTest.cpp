// The main window's wiring to the archive of checks: files opened are recorded, «Начало отчета»
// proposes the crane's previous check, «История крана» shows the crane's checks, and a damaged
// archive is told once and stops nothing.
#include <QChartView>
#include <QFile>
#include <QLabel>
#include <QTableWidget>

#include "GuiTestSupport.h"
#include "base/qt/QtDialogs.h"

namespace orbisk::test {
namespace {

class CraneHistory : public MainWindowFixture {
protected:
    // A copy of a sample in the test's own folder.
    QString Copy(const char* name) {
        const QString path = dir_.filePath(name);
        QFile::copy(SamplePath(name), path);
        return path;
    }
};

TEST_F(CraneHistory, OpenedChecksGiveThePreviousCheckAndTheHistory) {
    TfMain& w = Start();
    const QString previous = Copy("previous.bbd");
    w.OpenDataFileCommand(previous);
    w.OpenDataFileCommand(Copy("current.bbd"));

    QString proposed;
    DialogHooks::Installed().openDataFile = [&](const QString&, const QString& folder) {
        proposed = folder;
        return QString();
    };
    Click("bbStartReport");
    EXPECT_EQ(proposed, previous);

    CheckNextModal([](QWidget* window) {
        auto* table = window->findChild<QTableWidget*>("tblHistory");
        ASSERT_NE(table, nullptr);
        ASSERT_EQ(table->rowCount(), 2);
        EXPECT_TRUE(table->item(0, 0)->text().startsWith("17.03.2025"));
        EXPECT_EQ(table->item(1, 1)->text(), "previous.bbd");
        EXPECT_NE(window->findChild<QChartView*>("chUse"), nullptr);
        EXPECT_NE(window->findChild<QChartView*>("chRate"), nullptr);
        EXPECT_TRUE(window->findChild<QLabel*>("lblVerdict")->text().contains("A3"));
    });
    Click("tbCraneHistory");
    EXPECT_TRUE(prompter_.texts.empty());
}

TEST_F(CraneHistory, ADamagedArchiveIsToldOnceAndOpeningGoesOn) {
    QDir().mkpath(dir_.filePath("Данные"));
    QFile damaged(dir_.filePath("Данные/archive.sqlite"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    prompter_.answers = {false};  // not rebuilt now

    TfMain& w = Start();
    w.OpenDataFileCommand(SamplePath("previous.bbd"));
    w.OpenDataFileCommand(SamplePath("current.bbd"));
    EXPECT_EQ(Text("eDateCheck").left(10), "17.03.2025");
    ASSERT_EQ(prompter_.texts.size(), 1u);
    EXPECT_NE(prompter_.texts[0].find("archive.sqlite»"), std::string::npos);
}

}  // namespace
}  // namespace orbisk::test
