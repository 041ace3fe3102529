#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
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
#include "base/qt/QtHintTiming.h"
#include "base/qt/QtPrompter.h"
#include "desktop/qt/QtSingleInstance.h"
#include "edit/SettingsPageRules.h"
#include "image/Messages.h"
#include "views/qt/Opformu.h"

namespace orbisk::test {
namespace {

QColor Base(QWidget* w) {
    return w->palette().color(QPalette::Active, QPalette::Base);
}
QColor WindowColor() {
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}
QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

QStringList Header(QTreeWidget* list) {
    QStringList h;
    for (int c = 0; c < list->columnCount(); ++c) h << list->headerItem()->text(c);
    return h;
}

TEST_F(MainWindow, StartWithTheSampleOnTheCommandLineFillsEveryPage) {
    TfMain& w = Start(SamplePath("current.bbd"));
    EXPECT_EQ(w.windowTitle(), "Регистратор параметров работы крана");
    EXPECT_TRUE(prompter_.texts.empty());

    auto* pages = Find<QTabWidget>("PageControl1");
    EXPECT_EQ(qobject_cast<QScrollArea*>(pages->currentWidget())->widget()->objectName(), "tsMain");
    EXPECT_EQ(pages->tabText(0), "Идентификационная ");
    EXPECT_EQ(pages->tabText(3), "Настройки");

    // Identification page.
    EXPECT_EQ(Text("eMarka"), "КС-45717К-1");
    EXPECT_EQ(Text("eRegNum"), "0417/19-2");
    EXPECT_EQ(Text("eSumGruz"), "25.00");
    EXPECT_EQ(Text("eLebName3"), "Лебёдка №3");
    EXPECT_EQ(Text("eRegSetup"), "20.05.2019");
    EXPECT_EQ(Text("eChangePassport"), "12.03.2024 10:02   Ключ № 00000A1C4EB7");
    EXPECT_EQ(Find<QLineEdit>("eChangeRTC")->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(Find<QLineEdit>("eMarka")->maxLength(), 32);

    // Long-term page.
    EXPECT_EQ(Text("eDateCheck"), "17.03.2025 11:42 ");
    EXPECT_EQ(Text("eStartDateCheck"), "20.05.2019");
    QTreeWidget* load = List("lvLoad");
    EXPECT_EQ(load->topLevelItemCount(), 13);
    EXPECT_EQ(Header(load), QStringList({"№", "Нагрузка, %", "Автокран", "Основная",
                                         "Вспомогательная", "Лебедка №3"}));
    EXPECT_EQ(load->columnWidth(1), 140);
    EXPECT_EQ(load->topLevelItem(12)->text(1), "от 121% до 130%");
    QTreeWidget* stat = List("lvRegStat");
    ASSERT_EQ(stat->topLevelItemCount(), 12);
    EXPECT_EQ(stat->topLevelItem(0)->text(0), "Суммарное число рабочих циклов");
    EXPECT_EQ(stat->topLevelItem(0)->text(1), "13235");
    EXPECT_EQ(stat->topLevelItem(8)->text(2), "M2");
    EXPECT_EQ(stat->topLevelItem(3)->text(4), "-");
    // At least its design width, and wide enough that no parameter's name is cut.
    EXPECT_GE(stat->columnWidth(0), 340);
    for (int r = 0; r < stat->topLevelItemCount(); ++r) {
        EXPECT_LT(stat->fontMetrics().horizontalAdvance(stat->topLevelItem(r)->text(0)),
                  stat->columnWidth(0) - 8)
            << r;
    }

    // Operational page.
    QTreeWidget* last = List("lvLast");
    EXPECT_EQ(last->topLevelItemCount(), 1728);
    EXPECT_EQ(Header(last).at(4), "Леб. №3");
    EXPECT_EQ(last->topLevelItem(1)->text(6), " Блок");
    EXPECT_EQ(last->topLevelItem(0)->text(7), "16338");
    EXPECT_EQ(last->columnWidth(0), 160);
    EXPECT_FALSE(Find<QDateEdit>("dtpReportDate")->isEnabled());
    EXPECT_TRUE(Find<QRadioButton>("rgLast_3")->isChecked());

    // Settings page and its live reactions as decoding filled it.
    EXPECT_EQ(Text("eVersion"), "1.05 ");
    EXPECT_EQ(Base(Find("eStopSens")), QColor(0, 255, 0));
    EXPECT_EQ(Base(Find("eCtrlRele3_Off")), QColor(255, 0, 0));
    EXPECT_EQ(Base(Find("eCtrlRele4")), ButtonFace());
    EXPECT_TRUE(SelfEnabled("rgRele3"));
    EXPECT_FALSE(SelfEnabled("rgRele4"));
    EXPECT_EQ(Find<QLabel>("lExtR1")->text(), "ВКЛЮЧЕНО,если нагрузка на Лебедке №1 > Порога");
    EXPECT_EQ(Find<QLabel>("lExtR4")->text(), "ВЫКЛЮЧЕНО(не используется)");
    EXPECT_EQ(Find<QLabel>("lLeb1")->text(), "Основная");
    EXPECT_EQ(List("lvCalibr")->topLevelItemCount(), 3);
    EXPECT_TRUE(Find<QCheckBox>("chbSensWorkMode")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("rgRele3_1")->isChecked());

    // The file's path in the status bar, the data commands enabled.
    EXPECT_TRUE(Find<QLabel>("StatusPanel0")->text().endsWith("current.bbd"));
    EXPECT_TRUE(Find("bbStartReport")->isEnabled());
    EXPECT_TRUE(Find("tbSave")->isEnabled());
}

TEST_F(MainWindow, DesignDefaultsBeforeAnyImage) {
    Start();
    EXPECT_EQ(Text("eMarka"), "");
    EXPECT_EQ(Text("eLebName1"), "Лебёдка №1");
    EXPECT_EQ(Text("eWarning"), "90");
    EXPECT_EQ(Find<QLabel>("lExtR2")->text(), "ВЫКЛЮЧЕНО (не используется)");
    EXPECT_EQ(Header(List("lvLoad")).at(3), "Лебедка №1");
    EXPECT_EQ(List("lvRegStat")->topLevelItemCount(), 12);
    EXPECT_EQ(List("lvLast")->topLevelItemCount(), 0);
    EXPECT_EQ(Header(List("lvWorkModeVal")).at(0), "");
    EXPECT_EQ(List("lvWorkModeVal")->topLevelItem(0)->text(1), "100");
    EXPECT_TRUE(Find("bbStartReport")->isEnabled());
    EXPECT_EQ(Find<QDateEdit>("dtpReportDate")->date(), QDate(2025, 3, 18));
}

// The settings page puts each setting on the tab its table row names.
TEST_F(MainWindow, EachSettingSitsOnTheTabOfItsRow) {
    Start();
    for (const SettingField& f : kSettingFields) {
        SCOPED_TRACE(ControlName(f.control));
        QWidget* tab = Find(kSettingsTabNames[static_cast<std::size_t>(f.tab)]);
        EXPECT_TRUE(tab->isAncestorOf(Find(std::string(ControlName(f.control)).c_str())));
    }
}

TEST_F(MainWindow, ToolbarStatusBarAndCommands) {
    TfMain& w = Start();
    for (const char* name :
         {"tbGetCopyr", "tbGetFile", "tbSave", "tbPreview", "tbHelp", "tbShutDown"}) {
        Find(name);
    }
    auto* preview = Find<QToolButton>("tbPreview");
    EXPECT_EQ(preview->text(), "Протокол");
    EXPECT_EQ(preview->toolTip(), "Оформление протоколов");
    ASSERT_NE(preview->menu(), nullptr);
    QStringList items;
    for (QAction* a : preview->menu()->actions()) items << a->text();
    EXPECT_EQ(items, QStringList({"Протокол №1 (проверка)", "Протокол №2 (использование)",
                                  "Протокол №3 (экспертиза)", "Протокол №4 (авария)",
                                  "Журнал (проверка)", "", "История крана"}));
    QList<int> reports;
    // Only the numbers the commands carry; the report itself is tested with its dialogs.
    QObject::disconnect(&w.DataModule(), &TDataModule1::ReportRequested, &w, nullptr);
    QObject::connect(&w.DataModule(), &TDataModule1::ReportRequested,
                     [&](int kind) { reports << kind; });
    w.DataModule().Preview->trigger();
    for (QAction* item : w.DataModule().Reports) item->trigger();
    EXPECT_EQ(reports, QList<int>({2, 1, 2, 3, 4, 5}));
    EXPECT_EQ(w.DataModule().Preview->property("Tag").toInt(), 2);
    EXPECT_EQ(w.DataModule().Reports[0]->property("Tag").toInt(), 1);

    EXPECT_EQ(w.DataModule().SaveData->toolTip(), "Сохранить данные в файле ");
    EXPECT_EQ(w.DataModule().OpenPrev->text(), "&Начало отчета");
    EXPECT_EQ(Find<QAbstractButton>("bbStartReport")->text(), "&Начало отчета");
    EXPECT_EQ(Find<QAbstractButton>("bbChangeIdent")->text(), "Записать в ПСИ");

    EXPECT_EQ(Find("StatusPanel0")->width(), 400);
    EXPECT_EQ(Find("StatusPanel1")->width(), 100);
    EXPECT_EQ(Find("StatusPanel3")->width(), 200);
    EXPECT_NE(Find<QProgressBar>("ProgressBar1"), nullptr);
    EXPECT_EQ(Find<QLabel>("StatusPanel2")->text(), "Версия 1.0.0");
}

TEST_F(MainWindow, FiltersAndStepsRefillTheLists) {
    Start(SamplePath("current.bbd"));
    Click("rgStep_2");
    QTreeWidget* load = List("lvLoad");
    ASSERT_EQ(load->topLevelItemCount(), 6);
    EXPECT_EQ(load->topLevelItem(5)->text(1), "от 126% до 150%");
    Click("rgStep_0");
    ASSERT_EQ(load->topLevelItemCount(), 127);
    EXPECT_EQ(load->topLevelItem(0)->text(1), "1%");

    QTreeWidget* last = List("lvLast");
    Click("rgLast_2");
    ASSERT_GT(last->topLevelItemCount(), 0);
    for (int i = 0; i < last->topLevelItemCount(); ++i) {
        const QString state = last->topLevelItem(i)->text(6);
        EXPECT_TRUE(state.startsWith(" Вкл") || state.startsWith(" Выкл")) << state.toStdString();
    }
    Click("rgLast_1");
    EXPECT_EQ(last->topLevelItemCount(), 64);

    Click("rgLast_0");
    auto* date = Find<QDateEdit>("dtpReportDate");
    EXPECT_TRUE(date->isEnabled());
    EXPECT_EQ(date->date(), QDate(2025, 3, 17));  // the reading date of the opened file
    date->setDate(QDate(2025, 3, 13));
    ASSERT_GT(last->topLevelItemCount(), 0);
    for (int i = 0; i < last->topLevelItemCount(); ++i) {
        EXPECT_TRUE(last->topLevelItem(i)->text(0).startsWith("13.03.2025"));
    }
    date->setDate(QDate(2001, 1, 1));
    EXPECT_EQ(last->topLevelItemCount(), 0);
    Click("rgLast_3");
    EXPECT_FALSE(date->isEnabled());
    EXPECT_EQ(last->topLevelItemCount(), 1728);
}

TEST_F(MainWindow, TypedChannelNamesRenameTheCaptions) {
    Start(SamplePath("current.bbd"));
    Click("chbEditPKR");
    auto* winch3 = Find<QLineEdit>("eLebName3");
    winch3->selectAll();
    Type(winch3, "Стрела");
    EXPECT_EQ(Header(List("lvLoad")).at(5), "Стрела");
    EXPECT_EQ(Header(List("lvRegStat")).at(4), "Стрела");
    EXPECT_EQ(Header(List("lvLast")).at(4), "Стрела");
    EXPECT_EQ(Find<QLabel>("lLeb3")->text(), "Стрела");
    EXPECT_EQ(Find<QRadioButton>("rgRele3_2")->text(), "Вспомогательная");

    auto* crane = Find<QLineEdit>("eLebNameK");
    crane->selectAll();
    Type(crane, "Кран-1");
    EXPECT_EQ(Find<QRadioButton>("rgRele3_0")->text(), "Кран-1");
    EXPECT_EQ(Header(List("lvLast")).at(1), "Кран-1");

    // A long name widens its columns so it can be read whole; a short one keeps the design width.
    winch3->selectAll();
    Type(winch3, "ШШШШШШШШШШШШШШШШ");  // as wide as sixteen letters get
    for (const auto& [list, column] : {std::pair{"lvLoad", 5}, {"lvRegStat", 4}, {"lvLast", 4}}) {
        QTreeWidget* l = List(list);
        EXPECT_LT(l->header()->fontMetrics().horizontalAdvance("ШШШШШШШШШШШШШШШШ"),
                  l->columnWidth(column))
            << list;
    }
    EXPECT_EQ(List("lvLast")->columnWidth(1), 70);

    // An emptied name gives the design captions and widths back.
    winch3->selectAll();
    QTest::keyClick(winch3, Qt::Key_Delete);
    EXPECT_EQ(Header(List("lvLoad")).at(5), "Лебедка №3");
    EXPECT_EQ(Header(List("lvLast")).at(4), "Леб. №3");
    EXPECT_EQ(List("lvLast")->columnWidth(4), 70);
}

TEST_F(MainWindow, EditModeSwitchesEnableGroupsAndColourTheEdits) {
    Start(SamplePath("current.bbd"));
    EXPECT_FALSE(Find("gbInfo")->isEnabled());
    EXPECT_FALSE(Find("chbEditPKR_LONG")->isEnabled());
    EXPECT_EQ(Base(Find("eMarka")), ButtonFace());
    Click("chbEditPKR");
    EXPECT_TRUE(Find("gbInfo")->isEnabled());
    EXPECT_TRUE(Find("gbGruz")->isEnabled());
    EXPECT_TRUE(Find("gbRegistrator")->isEnabled());
    EXPECT_TRUE(Find("chbEditPKR_LONG")->isEnabled());
    EXPECT_EQ(Base(Find("eRegType")), WindowColor());
    Click("chbEditPKR_LONG");
    Click("chbEditPKR");
    EXPECT_FALSE(Find("gbGruz")->isEnabled());
    EXPECT_FALSE(Find("chbEditPKR_LONG")->isEnabled());
    EXPECT_TRUE(Find<QCheckBox>("chbEditPKR_LONG")->isChecked());  // its check stays

    EXPECT_FALSE(Find("tsLevel")->isEnabled());
    EXPECT_FALSE(Find("tsConfig")->isEnabled());
    Click("chbEditLevel");
    EXPECT_TRUE(Find("tsLevel")->isEnabled());
    EXPECT_TRUE(Find("tsExtRele")->isEnabled());
    EXPECT_TRUE(Find("gbCalibration")->isEnabled());
    EXPECT_EQ(Base(Find("eWarning")), WindowColor());
    EXPECT_EQ(Base(Find("eStopSens")), WindowColor());  // edit mode paints over the indicator

    // Live reactions while typing.
    auto* sens = Find<QLineEdit>("eStopSens");
    sens->selectAll();
    Type(sens, "0");
    EXPECT_EQ(Base(sens), ButtonFace());
    Type(sens, "x");
    EXPECT_EQ(Base(sens), ButtonFace());  // a text that is no number changes nothing
    sens->selectAll();
    Type(sens, "7");
    EXPECT_EQ(Base(sens), QColor(0, 255, 0));
    auto* off4 = Find<QLineEdit>("eCtrlRele4_Off");
    off4->selectAll();
    Type(off4, "20");
    EXPECT_TRUE(SelfEnabled("rgRele4"));
    EXPECT_EQ(Base(off4), QColor(255, 0, 0));
    auto* stop1 = Find<QLineEdit>("eStop1");
    stop1->selectAll();
    Type(stop1, "0");
    EXPECT_FALSE(Find("lStop1")->isEnabled());
    Click("rgExtReleAlg_2");
    EXPECT_EQ(Find<QLabel>("lExtR3")->text(), "ВКЛЮЧЕНО,если нагрузка на Лебедке №3 < Порога");
    Click("rgExtReleAlg_3");
    EXPECT_EQ(Find<QLabel>("lExtR1")->text(), "ВЫКЛЮЧЕНО(не используется)");
}

// The owner's and the maker's names are longer than their edits at the window's first size;
// out of edit mode the edits are disabled and cannot be scrolled, so the tooltip gives the
// whole text, and a wider window widens the edits.
TEST_F(MainWindow, LongNamesShowWholeInTheTooltipAndTheEditsWidenWithTheWindow) {
    Start(SamplePath("current.bbd"));
    QApplication::processEvents();
    const auto tipOf = [](QLineEdit* edit) {
        QToolTip::hideText();  // it goes after a short delay
        for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) QTest::qWait(10);
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    auto* owner = Find<QLineEdit>("eOwner");
    auto* maker = Find<QLineEdit>("eProd");
    ASSERT_FALSE(owner->isEnabled());
    for (QLineEdit* edit : {owner, maker}) {
        if (edit->fontMetrics().horizontalAdvance(edit->text()) < edit->width()) continue;
        EXPECT_EQ(S(tipOf(edit)), S(edit->text())) << S(edit->objectName());
    }
    ASSERT_GT(owner->fontMetrics().horizontalAdvance(owner->text()), owner->width())
        << "the sample's owner is longer than its edit at the first size";
    EXPECT_EQ(S(tipOf(Find<QLineEdit>("eYear"))), "") << "a text that fits needs no tooltip";

    const int narrow = owner->width();
    window_->resize(1400, window_->height());
    QApplication::processEvents();
    EXPECT_GT(owner->width(), narrow + 150);
    EXPECT_LT(owner->fontMetrics().horizontalAdvance(owner->text()), owner->width());
    EXPECT_EQ(S(tipOf(owner)), "") << "now it fits";
    QToolTip::hideText();
}

TEST_F(MainWindow, KeyFiltersOfNumberFields) {
    Start(SamplePath("current.bbd"));
    Click("chbEditPKR");
    auto* capacity = Find<QLineEdit>("eGruz2");
    capacity->selectAll();
    Type(capacity, "12,5x");
    EXPECT_EQ(capacity->text(), "12.5");
    EXPECT_EQ(window_->GetSession().Model().Text(Ctl::eGruz2), "12.5");
    auto* year = Find<QLineEdit>("eYear");
    year->selectAll();
    Type(year, "2a0.1");
    EXPECT_EQ(year->text(), "201");
    QTest::keyClick(year, Qt::Key_Backspace);
    EXPECT_EQ(year->text(), "20");
}

TEST_F(MainWindow, InstallationDateIsPickedInTheCalendar) {
    Start(SamplePath("current.bbd"));
    Click("chbEditPKR");
    auto* setup = Find<QLineEdit>("eRegSetup");
    EXPECT_TRUE(setup->isReadOnly());
    QTest::mouseClick(setup, Qt::LeftButton);
    auto* calendar = Find<QCalendarWidget>("MonthCalendar1");
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->selectedDate(), QDate(2019, 5, 20));
    calendar->setSelectedDate(QDate(2020, 1, 2));
    Q_EMIT calendar->clicked(QDate(2020, 1, 2));
    EXPECT_EQ(setup->text(), "02.01.2020");
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_FALSE(setup->isReadOnly());
}

TEST_F(MainWindow, ViewSettingsSurviveARestart) {
    Start();
    Click("rgStep_2");
    Click("rgLast_2");
    window_->move(40, 30);
    Restart();
    EXPECT_TRUE(Find<QRadioButton>("rgStep_2")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>("rgLast_2")->isChecked());
    EXPECT_EQ(window_->GetConfig().DistributionStep(), 2);
    EXPECT_EQ(window_->GetConfig().CycleFilter(), 2);
    EXPECT_EQ(window_->GetConfig().WindowLeft(), window_->x());

    // A data-correction switch set in the file is written back as it was read.
    window_->close();
    window_.reset();
    Config(locations_).SetDataCorrection(true);
    Start();
    EXPECT_TRUE(window_->GetSession().DataCorrection());
    window_->close();
    EXPECT_TRUE(Config(locations_).DataCorrection());
}

TEST_F(MainWindow, TheWindowOpensWhereItWasLeftWithItsTitleBarOnTheScreen) {
    // The corner saved is the corner restored: restarts do not move the window. (A window
    // manager that frames the window after it is shown is where they once did: run under Xvfb
    // with one to see it.)
    Config(locations_).SetWindowLeft(99);
    Config(locations_).SetWindowTop(60);
    for (int start = 0; start < 3; ++start) {
        Start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        EXPECT_EQ(window_->frameGeometry().topLeft(), QPoint(99, 60)) << "start " << start;
        window_->close();
        window_.reset();
        EXPECT_EQ(Config(locations_).WindowLeft(), 99);
        EXPECT_EQ(Config(locations_).WindowTop(), 60);
    }

    // Places out of reach: the title bar above the screen, a monitor no longer there.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint saved : {QPoint(95, -20), QPoint(screen.right() + 400, 200),
                               QPoint(-3000, screen.bottom() + 900)}) {
        Config(locations_).SetWindowLeft(saved.x());
        Config(locations_).SetWindowTop(saved.y());
        Start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        const QRect frame = window_->frameGeometry();
        EXPECT_TRUE(screen.contains(frame.topLeft())) << saved.x() << "," << saved.y();
        window_->close();
        window_.reset();
    }
}

// A first start fits the design size to the screen; later starts keep the size and the
// maximized state the window was left with.
TEST_F(MainWindow, TheWindowKeepsTheSizeAndTheMaximizedStateItWasLeftWith) {
    Start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    const QRect area = window_->screen()->availableGeometry();
    const QSize frame = window_->frameGeometry().size() - window_->size();
    EXPECT_EQ(window_->size(),
              QSize(960, 720).boundedTo(area.size() - frame).expandedTo(window_->minimumSize()));
    const QSize left = window_->minimumSize() + QSize(0, 10);
    window_->resize(left);
    Restart();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    EXPECT_EQ(window_->size(), left);
    EXPECT_FALSE(window_->isMaximized());

    window_->showMaximized();
    Restart();
    EXPECT_TRUE(window_->isMaximized());
    EXPECT_TRUE(Config(locations_).WindowMaximized());
    window_->showNormal();
    EXPECT_EQ(window_->size(), left);
}

TEST_F(MainWindow, OpenCommandUsesItsDialogAndRemembersTheFolder) {
    TfMain& w = Start();
    QString askedTitle, askedFolder;
    DialogHooks::Installed().openDataFile = [&](const QString& title, const QString& folder) {
        askedTitle = title;
        askedFolder = folder;
        return SamplePath("previous.bbd");
    };
    w.DataModule().GetFromFile->trigger();
    EXPECT_EQ(askedTitle, "Выбор файла данных регистратора параметров");
    EXPECT_EQ(askedFolder, dir_.filePath("Данные"));
    EXPECT_EQ(w.GetConfig().OpenFolder(), S(QFileInfo(SamplePath("previous.bbd")).absolutePath()));
    EXPECT_TRUE(Find<QLabel>("StatusPanel0")->text().endsWith("previous.bbd"));
    EXPECT_FALSE(Text("eDateCheck").isEmpty());

    DialogHooks::Installed().openDataFile = [&](const QString&, const QString& folder) {
        askedFolder = folder;
        return QString();
    };
    w.DataModule().GetFromFile->trigger();
    EXPECT_EQ(askedFolder, QFileInfo(SamplePath("previous.bbd")).absolutePath());
    EXPECT_EQ(w.GetConfig().OpenFolder(), S(dir_.filePath("Данные")));
}

// A new installation has no data folder: each file dialog finds one, never a missing folder.
TEST_F(MainWindow, FileDialogsOpenInTheDataFolderMadeWhenFirstNeeded) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const QString data = dir_.filePath("Данные");
    // The archive of checks has made it for the file opened; a user may remove it.
    QDir(data).removeRecursively();
    QStringList asked;
    const auto record = [&](const QString& folder) {
        asked << (QDir(folder).exists() ? folder : "missing " + folder);
        return QString();
    };
    DialogHooks::Installed().openDataFile = [&](const QString&, const QString& folder) {
        return record(folder);
    };
    DialogHooks::Installed().saveDataFile = [&](const QString& folder, const QString&) {
        return record(folder);
    };
    w.SetReaderLoad([] { return true; });

    w.DataModule().GetFromFile->trigger();
    QDir(data).removeRecursively();
    Click("bbStartReport");
    QDir(data).removeRecursively();
    w.DataModule().SaveData->trigger();
    // A remembered folder that is gone (a memory stick taken out) gives way to the data folder.
    w.GetConfig().SetOpenFolder(S(dir_.filePath("флешка")));
    w.DataModule().GetFromFile->trigger();
    EXPECT_EQ(S(asked.join("\n")), S(QStringList({data, data, data, data}).join("\n")));
}

TEST_F(MainWindow, ShortFileIsRefusedAndChangesNothing) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const QString shortFile = dir_.filePath("short.bbd");
    QFile f(shortFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();
    w.OpenDataFileCommand(shortFile);
    ASSERT_EQ(prompter_.texts.size(), 1u);
    EXPECT_EQ(prompter_.texts[0],
              "Неправильный размер файла данных: 100 байт.\nОжидается 65536 байт.");
    EXPECT_TRUE(Find<QLabel>("StatusPanel0")->text().endsWith("current.bbd"));
    EXPECT_EQ(Text("eMarka"), "КС-45717К-1");
}

TEST_F(MainWindow, ComparisonWithThePreviousCheck) {
    TfMain& w = Start(SamplePath("current.bbd"));
    const QString before = Text("eStartDateCheck");
    QString askedTitle;
    QString chosen = dir_.filePath("notes.txt");
    DialogHooks::Installed().openDataFile = [&](const QString& title, const QString&) {
        askedTitle = title;
        return chosen;
    };
    Click("bbStartReport");
    EXPECT_EQ(askedTitle, "Выбор файла данных");
    ASSERT_EQ(prompter_.texts.size(), 1u);
    EXPECT_EQ(prompter_.texts.back(), msg::kWrongExtension);

    chosen = SamplePath("current.bbd");  // the same reading time: not an older check
    Click("bbStartReport");
    EXPECT_EQ(prompter_.texts.back(), msg::kWrongPreviousFile);
    EXPECT_TRUE(Find("bbStartReport")->isEnabled());

    chosen = SamplePath("previous.bbd");
    const std::size_t messages = prompter_.texts.size();
    Click("bbStartReport");
    EXPECT_EQ(prompter_.texts.size(), messages);
    EXPECT_NE(Text("eStartDateCheck"), before);
    EXPECT_FALSE(Find("bbStartReport")->isEnabled());
    EXPECT_FALSE(Find("tbSave")->isEnabled());
    EXPECT_FALSE(w.DataModule().SaveData->isEnabled());

    // Loading an image enables both again.
    w.OpenDataFileCommand(SamplePath("current.bbd"));
    EXPECT_TRUE(Find("bbStartReport")->isEnabled());
    EXPECT_EQ(Text("eStartDateCheck"), before);
}

TEST_F(MainWindow, SavingStoresTheFreshImageUnderTheProposedName) {
    TfMain& w = Start(SamplePath("current.bbd"));
    w.SetReaderLoad([] { return false; });  // no reader answers
    w.DataModule().SaveData->trigger();
    ASSERT_EQ(prompter_.texts.size(), 1u);
    EXPECT_EQ(prompter_.texts[0], "Файл данных регистратора не сохранен!");

    w.SetReaderLoad([] { return true; });
    QString proposed;
    const QString target = dir_.filePath("saved.bbd");
    DialogHooks::Installed().saveDataFile = [&](const QString&, const QString& name) {
        proposed = name;
        return target;
    };
    w.DataModule().SaveData->trigger();
    EXPECT_TRUE(proposed.startsWith("РП_№0417192 от 17_03_2025 1142")) << proposed.toStdString();
    EXPECT_EQ(QFileInfo(target).size(), 65536);
    EXPECT_EQ(w.GetConfig().SaveFolder(), S(dir_.path()));
    EXPECT_TRUE(Find<QLabel>("StatusPanel0")->text().endsWith("saved.bbd"));
}

}  // namespace
}  // namespace orbisk::test
