// The main window as a desktop program: real message boxes and the toolkit's texts in Russian,
// dialog titles, a second start, a small window, the status bar, hints, and the lists' look.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include "GuiTestSupport.h"
#include "base/qt/QtCaptions.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtHintTiming.h"
#include "base/qt/QtPrompter.h"
#include "desktop/qt/QtSingleInstance.h"
#include "image/Messages.h"
#include "views/qt/Opformu.h"

namespace orbisk::test {
namespace {

TEST_F(MainWindow, DoubleClickOpensTheChartOnlyForRowsWithTheirFrame) {
    TfMain& w = Start(SamplePath("current.bbd"));
    QTreeWidget* last = List("lvLast");
    const auto& rows = w.GetSession().Model().cycles;
    int withFrame = -1, without = -1;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        if (rows[i].hasFrame && withFrame < 0) withFrame = i;
        if (!rows[i].hasFrame && without < 0) without = i;
    }
    ASSERT_GE(withFrame, 0);
    ASSERT_GE(without, 0);

    QTreeWidgetItem* plain = last->topLevelItem(without);
    last->setCurrentItem(plain);
    Q_EMIT last->itemDoubleClicked(plain, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QString title;
    QTreeWidgetItem* framed = last->topLevelItem(withFrame);
    last->setCurrentItem(framed);
    CheckNextModal([&](QWidget* modal) {
        auto* oper = qobject_cast<TfOper*>(modal);
        ASSERT_NE(oper, nullptr);
        title = oper->windowTitle();
        EXPECT_EQ(oper->StartOffset(), rows[withFrame].frameOffset);
    });
    Q_EMIT last->itemDoubleClicked(framed, 0);
    EXPECT_EQ(title, "Оперативная информация");
}

TEST_F(MainWindow, PrompterShowsRealMessageBoxes) {
    QWidget owner;
    QtPrompter prompter(&owner);
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    CheckNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_FALSE(
        prompter.Ask(msg::kBadChecksum, QuestionButtons::YesNo, MessageIcon::Question, {}));
    EXPECT_EQ(text, Q(msg::kBadChecksum));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);

    CheckNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_TRUE(prompter.Ask("?", QuestionButtons::OkNo, MessageIcon::Question, {}));
    EXPECT_EQ(buttons, QMessageBox::Ok | QMessageBox::No);

    CheckNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        icon = box->icon();
        EXPECT_EQ(box->windowTitle(), "Регистратор параметров работы крана");
    });
    prompter.Message(msg::kLongTermFailed, MessageIcon::Error, {});
    EXPECT_EQ(icon, QMessageBox::Critical);
}

// The toolkit's own texts are Russian like the program's, its numbers stay the program's.
TEST_F(MainWindow, QuestionsDialogsAndCalendarsSpeakRussian) {
    TfMain& w = Start(SamplePath("current.bbd"));
    QtPrompter prompter(&w);
    QStringList answers;
    CheckNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        for (auto button : {QMessageBox::Yes, QMessageBox::No}) {
            answers << box->button(button)->text().remove('&');
        }
        box->button(QMessageBox::No)->click();
    });
    prompter.Ask(msg::kBadChecksum, QuestionButtons::YesNo, MessageIcon::Question, {});
    EXPECT_EQ(answers, QStringList({"Да", "Нет"}));

    QStringList dialog;
    CheckNextModal([&](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(files, nullptr);
        auto* buttons = files->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        for (QAbstractButton* b : buttons->buttons()) dialog << b->text().remove('&');
        for (QLabel* l : files->findChildren<QLabel*>()) dialog << l->text().remove('&');
    });
    w.DataModule().GetFromFile->trigger();
    for (const char* text : {"Открыть", "Отмена", "Перейти к:", "Имя файла:"}) {
        EXPECT_TRUE(dialog.contains(text)) << text << " in " << S(dialog.join(" | "));
    }

    // Month and day names in the calendar of the installation date.
    auto* calendar = Find<QCalendarWidget>("MonthCalendar1");
    calendar->setSelectedDate(QDate(2025, 3, 18));
    auto* month = calendar->findChild<QToolButton*>("qt_calendar_monthbutton");
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), "март");
    EXPECT_EQ(calendar->locale().dayName(1, QLocale::ShortFormat), "пн");

    // Numbers are still the program's own, and the translations come from where the set-up
    // installs them.
    EXPECT_EQ(Text("eSumGruz"), "25.00");
    EXPECT_EQ(QFileInfo(ORBISK_QT_TRANSLATION).absolutePath(),
              QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

// Every dialog's title reaches the window manager as the dialog has it: the toolkit adds an
// application display name, when one is set, to every title that does not end in it
// ("Сохранение графика — Регистратор параметров работы крана"), and the window manager cuts
// the result in the middle. The main window's own title names the program.
TEST_F(MainWindow, DialogTitlesAreNotLengthenedWithTheProgramsName) {
    TfMain& w = Start();
    EXPECT_EQ(w.windowTitle(), "Регистратор параметров работы крана");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_EQ(QCoreApplication::applicationName(), "orbisk");
}

TEST_F(MainWindow, SecondStartHandsItsFileToTheFirst) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const QString name = QString("orbisk-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstanceServer server(&w);
    ASSERT_TRUE(server.Listen(name));
    QObject::connect(&server, &SingleInstanceServer::Activate, &w, &TfMain::ActivateWithFile);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORBISK_INSTANCE", name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(ORBISK_APP, {SamplePath("previous.bbd")});
    ASSERT_TRUE(second.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 10000);
    EXPECT_EQ(second.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(Find<QLabel>("StatusPanel0")->text().endsWith("previous.bbd"), 5000);
    EXPECT_TRUE(w.isVisible());
}

// A laptop of 1366 × 768 with a title bar and a taskbar leaves less than the pages need: the
// window gets smaller, every page scrolls to its last control, the status panels stay in view.
TEST_F(MainWindow, ASmallWindowScrollsItsPagesToEveryControl) {
    TfMain& w = Start(SamplePath("current.bbd"));
    w.resize(800, 560);
    QApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(800, 560));

    auto* pages = Find<QTabWidget>("PageControl1");
    const std::pair<int, const char*> lastControls[] = {
        {0, "bbChangeIdent"}, {1, "bbGistogram"}, {2, "lvLast"}, {3, "bbChangeLevel"}};
    for (const auto& [page, name] : lastControls) {
        pages->setCurrentIndex(page);
        QApplication::processEvents();
        auto* scroll = qobject_cast<QScrollArea*>(pages->currentWidget());
        ASSERT_NE(scroll, nullptr) << page;
        // The page keeps the room its controls need and scrolls instead of squeezing them.
        QWidget* content = scroll->widget();
        EXPECT_GE(content->height(), content->minimumSizeHint().height()) << page;
        EXPECT_GE(content->width(), content->minimumSizeHint().width()) << page;
        QWidget* control = Find(name);
        scroll->ensureWidgetVisible(control);
        QApplication::processEvents();
        const QRect shown(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(scroll->viewport()->rect().intersects(shown)) << name;
        EXPECT_TRUE(control->isVisible()) << name;
    }
    pages->setCurrentIndex(0);

    // The path panel gives up width; the others keep theirs and all stay inside the bar.
    w.statusBar()->clearMessage();
    QApplication::processEvents();
    auto* last = Find("StatusPanel3");
    EXPECT_EQ(last->width(), 200);
    EXPECT_LE(last->mapTo(w.statusBar(), QPoint(last->width(), 0)).x(), w.statusBar()->width());
    EXPECT_LT(Find("StatusPanel0")->width(), 400);
    w.resize(1100, 720);
    QApplication::processEvents();
    EXPECT_EQ(Find("StatusPanel0")->width(), 400);
}

// A second start while the cycle chart is open: the chart keeps its file to the end, the
// handed-over file opens when the chart closes.
TEST_F(MainWindow, AFileHandedOverDuringAModalWindowOpensAfterIt) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const QString before = Text("eDateCheck");
    QTreeWidget* last = List("lvLast");
    const auto& rows = w.GetSession().Model().cycles;
    int framed = 0;
    while (framed < static_cast<int>(rows.size()) && !rows[framed].hasFrame) ++framed;
    ASSERT_LT(framed, static_cast<int>(rows.size()));
    const std::uint16_t offset = rows[framed].frameOffset;
    last->setCurrentItem(last->topLevelItem(framed));

    bool checked = false;
    CheckNextModal([&](QWidget* modal) {
        auto* oper = qobject_cast<TfOper*>(modal);
        ASSERT_NE(oper, nullptr);
        w.ActivateWithFile(SamplePath("previous.bbd"));
        QTest::qWait(500);
        EXPECT_EQ(S(Text("eDateCheck")), S(before));
        EXPECT_TRUE(Find<QLabel>("StatusPanel0")->text().endsWith("current.bbd"));
        QTest::mouseClick(oper->findChild<QAbstractButton*>("bbPrev"), Qt::LeftButton);
        QTest::mouseClick(oper->findChild<QAbstractButton*>("bbNext"), Qt::LeftButton);
        EXPECT_EQ(oper->StartOffset(), offset) << "stepping stays within the chart's own file";
        checked = true;
    });
    Q_EMIT last->itemDoubleClicked(last->topLevelItem(framed), 0);
    EXPECT_TRUE(checked);
    QTRY_VERIFY_WITH_TIMEOUT(Find<QLabel>("StatusPanel0")->text().endsWith("previous.bbd"), 5000);
    EXPECT_NE(Text("eDateCheck"), before);
}

TEST_F(MainWindow, StatusBarPanelsStartAtItsLeftEdgeInTheirOrder) {
    TfMain& w = Start(SamplePath("current.bbd"));
    QApplication::processEvents();
    w.statusBar()->clearMessage();  // a status-bar tip covers the panels while it shows
    QApplication::processEvents();
    const int widths[] = {400, 100, 100, 200};
    int right = 0;
    for (int i = 0; i < 4; ++i) {
        QWidget* panel = Find(QString("StatusPanel%1").arg(i).toUtf8().constData());
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(panel->isVisible()) << i;
        EXPECT_EQ(panel->width(), widths[i]) << i;
        if (i == 0) {
            EXPECT_LE(panel->x(), 8) << "the first panel starts at the left edge";
        } else {
            EXPECT_GE(panel->x(), right) << i;
            EXPECT_LE(panel->x(), right + 8) << i;
        }
        right = panel->x() + panel->width();
    }
}

TEST_F(MainWindow, HintsSplitIntoTooltipAndStatusBarTip) {
    TfMain& w = Start(SamplePath("current.bbd"));
    auto* start = Find<QLineEdit>("eStartDateCheck");
    EXPECT_EQ(S(start->toolTip()), "Начало");
    EXPECT_EQ(S(start->statusTip()), "Дата начала отчетного периода");
    auto* end = Find<QLineEdit>("eDateCheck");
    EXPECT_EQ(S(end->toolTip()), "Конец");
    EXPECT_EQ(S(end->statusTip()), "Дата и время чтения данных из регистратора параметров");
    // A hint without the bar is both.
    auto* edit = Find<QCheckBox>("chbEditPKR");
    EXPECT_EQ(S(edit->toolTip()), "Разрешить редактирование");
    EXPECT_EQ(S(edit->statusTip()), "Разрешить редактирование");
    EXPECT_EQ(S(w.DataModule().GetFromFile->statusTip()), "Загрузить данные из файла");
    EXPECT_EQ(S(Find<QAbstractButton>("bbStartReport")->statusTip()),
              "Выбор файла данных начала отчетного периода");

    // Pointing at the edit puts its long hint into the status bar.
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(start, &enter);
    EXPECT_EQ(S(w.statusBar()->currentMessage()), "Дата начала отчетного периода");
    EXPECT_FALSE(Find("StatusPanel0")->isVisible());
    // Leaving it brings the panels back.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(start, &leave);
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(Find("StatusPanel0")->isVisible());
}

TEST_F(MainWindow, TheCycleListDrawsGridLinesBetweenItsCells) {
    TfMain& w = Start(SamplePath("current.bbd"));
    Find<QTabWidget>("PageControl1")->setCurrentIndex(2);
    QTreeWidget* last = List("lvLast");
    last->clearSelection();
    last->setCurrentItem(nullptr);
    QApplication::processEvents();
    const QImage picture = last->viewport()->grab().toImage();
    const QColor grid = last->palette().color(QPalette::Mid);
    const QRect cell = last->visualItemRect(last->topLevelItem(3));
    ASSERT_TRUE(cell.isValid());
    // The line at the right edge of the first column, in the middle of a row...
    const int columnEnd = last->header()->sectionViewportPosition(0) + last->columnWidth(0) - 1;
    EXPECT_EQ(picture.pixelColor(columnEnd, cell.center().y()).rgb(), grid.rgb());
    // ...and the line under the row, in the middle of the state column.
    const int stateMiddle = last->header()->sectionViewportPosition(6) + last->columnWidth(6) / 2;
    EXPECT_EQ(picture.pixelColor(stateMiddle, cell.bottom()).rgb(), grid.rgb());
    (void)w;
}

TEST_F(MainWindow, HintsAppearAfterHalfASecondAndHideAfterTwoAndAHalfInLaterWindowsToo) {
    InstallHintTiming(*qApp);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
    TfMain& w = Start(SamplePath("current.bbd"));
    // A window made after start-up, as the chart windows are.
    QDialog later(&w);
    auto* button = new QPushButton("Печать", &later);
    button->setToolTip("Печать графика");
    later.show();
    EXPECT_EQ(button->toolTipDuration(), -1);
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &help);
    EXPECT_EQ(button->toolTipDuration(), 2500);
    // A duration a control chose for itself is kept.
    auto* own = new QPushButton("Свой", &later);
    own->setToolTipDuration(700);
    QApplication::sendEvent(own, &help);
    EXPECT_EQ(own->toolTipDuration(), 700);
}

TEST_F(MainWindow, OperatingParametersShowAllTwelveRowsWithoutScrolling) {
    TfMain& w = Start(SamplePath("current.bbd"));
    Find<QTabWidget>("PageControl1")->setCurrentIndex(1);
    QApplication::processEvents();
    QTreeWidget* stat = List("lvRegStat");
    ASSERT_EQ(stat->topLevelItemCount(), 12);
    EXPECT_FALSE(stat->verticalScrollBar()->isVisible());
    const QRect viewport = stat->viewport()->rect();
    for (int row = 0; row < 12; ++row) {
        EXPECT_TRUE(viewport.contains(stat->visualItemRect(stat->topLevelItem(row))))
            << "row " << row << " at " << w.width() << "x" << w.height();
    }
    // The load distribution takes the rest of the page.
    EXPECT_GT(List("lvLoad")->height(), stat->height() / 2);
}

TEST_F(MainWindow, ReportMenuItemsAreTheReportKindsWithTheirNames) {
    TfMain& w = Start();
    const char* names[] = {"N11", "N21", "N31", "N41", "N1"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(S(w.DataModule().Reports[i]->objectName()), names[i]);
    }
    EXPECT_EQ(w.DataModule().PopMenuView->defaultAction(), w.DataModule().Reports[1]);
}

// A help document that nothing opens (no opener, or one that fails) is named in a message, so
// that the person can open it by hand; one that opens says nothing.
TEST_F(MainWindow, AFileNothingOpensIsNamedWithItsFullPath) {
    locations_.helpFile = Utf8ToPath(S(dir_.filePath("orbis_k.pdf")));
    TfMain& w = Start();
    const std::string told = ui::NotOpenedText(S(QDir::toNativeSeparators(w.HelpFile())));
    const std::pair<QString, bool> openers[] = {
        {"/bin/false", true}, {"/bin/true", false}, {dir_.filePath("no-such-opener"), true}};
    for (const auto& [program, failing] : openers) {
        SCOPED_TRACE(S(program));
        SystemFileOpener opener(program);
        QDesktopServices::setUrlHandler("file", &opener, "Open");
        prompter_.Clear();
        Find<QAction>("Help")->trigger();
        QTRY_VERIFY(opener.findChildren<QProcess*>().isEmpty());
        QDesktopServices::unsetUrlHandler("file");
        EXPECT_EQ(prompter_.texts,
                  failing ? std::vector<std::string>{told} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace orbisk::test
