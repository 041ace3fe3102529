// The desktop program's "Загрузить" and "Сохранить" against the reader emulators: the USB
// adapter on a pseudo-terminal through the program's own serial line, and the simulated reader
// on the parallel port. What the person sees: the same pages as from the data file, the file
// saved byte for byte, the status texts, the progress bar, the connection dialog, and a program
// that still works after every failure.
#include <QAction>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <map>

#include "GuiTestSupport.h"
#include "ReaderWindowSupport.h"
#include "desktop/qt/MainuReader.h"
#include "link/Cdcu.h"
#include "link/LinkTexts.h"
#include "link/qt/QtSerialLine.h"
#include "link/qt/Selectpsi.h"
#include "support/LinkTestSupport.h"

namespace orbisk::test {
namespace {

const std::string kAdapter = linktext::kAdapterName;
const std::string kNotSaved = "Файл данных регистратора не сохранен!";

std::string Searching(const std::string& port) {
    return "Поиск <" + kAdapter + "> : " + port;
}

// The pages of a fresh window that opened the data file as "Открыть" does.
std::map<QString, QString> PagesOfTheFile(const ProgramLocations& locations, const char* sample) {
    RecordingPrompter prompter;
    FixedClock clock{EncodeDateTime(2025, 3, 18, 12, 0)};
    TfMain window(locations, &prompter, &clock);
    window.show();
    window.OpenDataFileCommand(SamplePath(sample));
    return PageSnapshot(window.centralWidget());
}

ConnectionChoice Choice(LinkType type, const std::string& port) {
    ConnectionChoice c;
    c.type = type;
    c.port = port;
    return c;
}

TEST_F(ReaderWindow, LoadOverTheAdapterShowsWhatTheDataFileShows) {
    const auto bytes = SampleBytes("current.bbd");
    EmulatedAdapter adapter(bytes);
    UsePorts({adapter.Path()});
    TfMain& w = StartRecorded();
    w.GetConfig().SetReaderPort("COM1");
    w.GetConfig().SetMaxCom(1);

    Command("GetFromCopyr")->trigger();

    EXPECT_TRUE(recorder_.messages.empty()) << MessageTexts().front();
    EXPECT_TRUE(recorder_.questions.empty());
    EXPECT_EQ(recorder_.statuses,
              (std::vector<std::string>{
                  Searching("COM1"), Searching("COM1") + " обнаружен!", "ПСИ обнаружен! Порт: COM1",
                  "Подождите, идет загрузка данных ...", "Данные загружены."}));
    // The search's pauses, 500 ms after it, at the start of the read and before the blocks.
    EXPECT_EQ(recorder_.pauses, (std::vector<int>{400, 1000, 1000, 500, 500, 500}));
    EXPECT_EQ(Panel0(), "Данные загружены.");
    EXPECT_EQ(Progress()->maximum(), 65535);
    EXPECT_EQ(Progress()->value(), 0);
    // A progress step for every 64-byte block.
    EXPECT_EQ(recorder_.progress.size(), 1024u + 2);
    EXPECT_EQ(recorder_.progress[512].first, 512 * 64);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), w.GetSession().Image().Data()));
    EXPECT_FALSE(w.Reader().Link()->Cdc().IsOpen());
    ExpectUsable();

    const auto fromReader = Pages();
    EXPECT_EQ(Text("eMarka"), "КС-45717К-1");
    EXPECT_EQ(List("lvLast")->topLevelItemCount(), 1728);
    EXPECT_EQ(fromReader, PagesOfTheFile(locations_, "current.bbd"));
}

TEST_F(ReaderWindow, LoadOverTheParallelPortShowsWhatTheDataFileShows) {
    const auto bytes = SampleBytes("previous.bbd");
    TfMain& w = StartRecorded();
    auto model = ModelWith(bytes);
    UseLpt(model);

    Command("GetFromCopyr")->trigger();

    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(recorder_.statuses, (std::vector<std::string>{
                                      "Поиск ПСИ по адресу 0x378...", "ПСИ обнаружен! Порт: 0x378.",
                                      "Подождите, идет загрузка данных ...", "Данные загружены."}));
    EXPECT_EQ(recorder_.progress.size(), 64u + 2);
    EXPECT_EQ(w.GetConfig().ReaderPort(), "888");
    EXPECT_EQ(Panel0(), "Данные загружены.");
    ExpectUsable();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), w.GetSession().Image().Data()));
    EXPECT_EQ(Pages(), PagesOfTheFile(locations_, "previous.bbd"));
}

TEST_F(ReaderWindow, SaveStoresAFreshReadingByteForByteOverEitherLink) {
    const auto fresh = SampleBytes("previous.bbd");
    EmulatedAdapter adapter(fresh);
    UsePorts({adapter.Path()});
    TfMain& w = StartRecorded(SamplePath("current.bbd"));
    const auto shownBefore = Pages();
    w.GetConfig().SetReaderPort("COM1");
    w.GetConfig().SetMaxCom(1);
    QStringList proposed;
    QString target = dir_.filePath("usb.bbd");
    DialogHooks::Installed().saveDataFile = [&](const QString&, const QString& name) {
        proposed << name;
        return target;
    };

    Command("SaveData")->trigger();
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(FileBytes(target), fresh);
    ASSERT_EQ(proposed.size(), 1);
    // The name is the fresh image's; the pages keep showing the earlier one.
    EXPECT_EQ(S(proposed[0]), w.GetSession().ProposedFileName());
    EXPECT_FALSE(proposed[0].startsWith("РП_№0417192 от 17_03_2025 1142"));
    EXPECT_EQ(Pages(), shownBefore);
    EXPECT_TRUE(Panel0().endsWith("usb.bbd"));
    ExpectUsable();

    // The same over the parallel port.
    auto model = ModelWith(fresh);
    UseLpt(model);
    w.GetConfig().SetReaderPort("888");
    target = dir_.filePath("lpt.bbd");
    Command("SaveData")->trigger();
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(FileBytes(target), fresh);
    EXPECT_EQ(Pages(), shownBefore);
    EXPECT_TRUE(Panel0().endsWith("lpt.bbd"));
    ExpectUsable();
}

TEST_F(ReaderWindow, WithoutAReaderTheSearchIsShownAndNothingIsSaved) {
    TfMain& w = StartRecorded(SamplePath("current.bbd"));
    const auto shownBefore = Pages();
    auto model = ModelWith(SampleBytes("previous.bbd"));
    model->SetPresent(false);
    UseLpt(model);
    w.GetConfig().SetMaxCom(2);
    dialog_.choices = {Choice(LinkType::UsbAdapter, "COM1")};
    bool dialogCalled = false;
    DialogHooks::Installed().saveDataFile = [&](const QString&, const QString&) {
        dialogCalled = true;
        return QString();
    };

    Command("SaveData")->trigger();

    EXPECT_EQ(
        recorder_.statuses,
        (std::vector<std::string>{"Поиск ПСИ по адресу 0x378...", "Нет ответа от ПСИ (порт 0x378).",
                                  "Поиск ПСИ по адресу 0x278...", "Поиск ПСИ по адресу 0x3BC...",
                                  "Прибор считывания информации не обнаружен!", Searching("COM1"),
                                  Searching("COM1"), Searching("COM2"),
                                  "Прибор считывания информации не обнаружен!"}));
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kNotSaved}));
    EXPECT_EQ(dialog_.shown, 1);
    EXPECT_FALSE(dialogCalled);
    EXPECT_EQ(w.GetConfig().ReaderPort(), "COM1");
    EXPECT_EQ(Panel0(), "Прибор считывания информации не обнаружен!");
    EXPECT_EQ(Pages(), shownBefore);
    ExpectUsable();

    // "Загрузить" without a reader changes nothing either; with the reader attached it works.
    recorder_.messages.clear();
    dialog_.choices = {std::nullopt};
    Command("GetFromCopyr")->trigger();
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(Pages(), shownBefore);
    ExpectUsable();

    model->SetPresent(true);
    dialog_.choices = {Choice(LinkType::LptPort, "0x378")};
    Command("GetFromCopyr")->trigger();
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(Panel0(), "Данные загружены.");
    EXPECT_EQ(Pages(), PagesOfTheFile(locations_, "previous.bbd"));
}

TEST_F(ReaderWindow, TheConnectionDialogPicksTheLinkAndThePort) {
    TfMain& w = StartRecorded();
    w.Reader().SetConnectionDialog(nullptr);  // the real TfSelectPSI
    auto model = ModelWith(SampleBytes("current.bbd"));
    ASSERT_TRUE(w.Reader().MakeLink(SimulatedLpt(model, 0x278)));
    w.GetConfig().SetReaderPort("COM1");
    w.GetConfig().SetMaxCom(1);
    QString shownTitle, portAfterLpt;
    QWidget* dialogParent = nullptr;
    OnNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<TfSelectPSI*>(modal);
        ASSERT_NE(dialog, nullptr);
        shownTitle = dialog->windowTitle();
        dialogParent = dialog->parentWidget();
        dialog->findChild<QRadioButton*>("rgType_1")->click();
        auto* port = dialog->findChild<QLineEdit*>("ePort");
        portAfterLpt = port->text();
        port->setText("0x278");
        dialog->findChild<QPushButton*>("bbSelect")->click();
    });

    Command("GetFromCopyr")->trigger();

    EXPECT_EQ(shownTitle, "Выбор порта подключения ПСИ");
    EXPECT_EQ(dialogParent, &w);
    EXPECT_EQ(portAfterLpt, "0x378");
    EXPECT_TRUE(w.Reader().Link()->LptConnected());
    EXPECT_EQ(w.Reader().Link()->I2c()->PortBase(), 0x278);
    EXPECT_EQ(w.GetConfig().ReaderPort(), "632");  // the typed text until the search succeeded
    EXPECT_EQ(Panel0(), "Данные загружены.");
    EXPECT_EQ(Text("eMarka"), "КС-45717К-1");

    // Cancel: nothing more happens.
    w.GetConfig().SetReaderPort("COM1");
    model->SetPresent(false);
    OnNextModal([](QWidget* modal) {
        ASSERT_NE(qobject_cast<TfSelectPSI*>(modal), nullptr);
        modal->findChild<QPushButton*>("BitBtn1")->click();
    });
    recorder_.statuses.clear();
    Command("GetFromCopyr")->trigger();
    EXPECT_EQ(recorder_.statuses.back(), "Прибор считывания информации не обнаружен!");
    EXPECT_EQ(w.GetConfig().ReaderPort(), "COM1");
    ExpectUsable();
}

TEST_F(ReaderWindow, AReaderUnpluggedMidReadLeavesThePagesAndTheProgramWorking) {
    TfMain& w = StartRecorded(SamplePath("current.bbd"));
    const auto shownBefore = Pages();
    {
        EmulatedAdapter adapter(SampleBytes("previous.bbd"));
        adapter.Faults().unplugAfterBlocks = 100;
        UsePorts({adapter.Path()});
        w.GetConfig().SetReaderPort("COM1");
        w.GetConfig().SetMaxCom(1);
        QElapsedTimer clock;
        clock.start();
        Command("GetFromCopyr")->trigger();
        EXPECT_LT(clock.elapsed(), 5000);
        ASSERT_EQ(recorder_.messages.size(), 1u);
        EXPECT_EQ(recorder_.messages[0].text, "Разрыв связи с ПСИ или адаптером!");
        EXPECT_EQ(recorder_.messages[0].caption, "Загрузка через USB адаптер");
        EXPECT_EQ(recorder_.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(Panel0(), "Разрыв связи с ПСИ или адаптером!");
        EXPECT_FALSE(w.Reader().Link()->Cdc().IsOpen());
        EXPECT_EQ(Pages(), shownBefore);
        ExpectUsable();
    }
    {
        // The bus reader pulled off: the bus master's own message, under the parallel caption.
        auto model = ModelWith(SampleBytes("previous.bbd"));
        model->DisconnectAfterBytesSent(5000);
        UseLpt(model);
        w.GetConfig().SetReaderPort("888");
        recorder_.messages.clear();
        Command("SaveData")->trigger();
        ASSERT_EQ(recorder_.messages.size(), 2u);
        const std::vector<std::string> busMessages{
            "Превышено время ожидания ответа!", "Ошибка передачи данных!", "Ошибка чтения данных!",
            "Конфликт шины I2C!", "Нет ответа от ПСИ!"};
        EXPECT_NE(std::find(busMessages.begin(), busMessages.end(), recorder_.messages[0].text),
                  busMessages.end())
            << recorder_.messages[0].text;
        EXPECT_EQ(recorder_.messages[0].caption, "Загрузка через LPT порт");
        EXPECT_EQ(S(Panel0()), recorder_.messages[0].text);
        EXPECT_EQ(recorder_.messages[1].text, kNotSaved);
        EXPECT_EQ(Pages(), shownBefore);
        ExpectUsable();
    }
    {
        // Plugged in again, on another device: the next load works.
        EmulatedAdapter adapter(SampleBytes("previous.bbd"));
        UsePorts({adapter.Path()});
        ASSERT_TRUE(w.Reader().MakeLink());
        w.Reader().SetConnectionDialog(&dialog_);
        w.GetConfig().SetReaderPort("COM1");
        recorder_.messages.clear();
        Command("GetFromCopyr")->trigger();
        EXPECT_TRUE(recorder_.messages.empty());
        EXPECT_EQ(Pages(), PagesOfTheFile(locations_, "previous.bbd"));
    }
}

TEST_F(ReaderWindow, ACorruptReadingIsUsedOnlyWhenThePersonSaysSo) {
    auto bytes = SampleBytes("current.bbd");
    bytes[2] ^= 0x40;  // breaks the checksum
    TfMain& w = StartRecorded(SamplePath("previous.bbd"));
    const auto shownBefore = Pages();
    UseLpt(ModelWith(bytes));
    w.GetConfig().SetReaderPort("888");

    recorder_.answers = {false};
    Command("GetFromCopyr")->trigger();
    EXPECT_EQ(recorder_.questions, (std::vector<std::string>{linktext::kReaderChecksumQuestion}));
    EXPECT_EQ(Pages(), shownBefore);
    ExpectUsable();

    recorder_.answers = {false};
    Command("SaveData")->trigger();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kNotSaved}));

    recorder_.answers = {true};
    Command("GetFromCopyr")->trigger();
    EXPECT_NE(Pages(), shownBefore);
    EXPECT_EQ(Text("eMarka"), "КС-45717К-1");
}

TEST_F(ReaderWindow, CommandsStayOffWhileATransferRuns) {
    EmulatedAdapter adapter(SampleBytes("current.bbd"));
    UsePorts({adapter.Path()});
    TfMain& w = StartRecorded();
    w.GetConfig().SetReaderPort("COM1");
    w.GetConfig().SetMaxCom(1);
    bool saveDialog = false;
    DialogHooks::Installed().saveDataFile = [&](const QString&, const QString&) {
        saveDialog = true;
        return QString();
    };
    std::map<std::string, bool> seen;
    bool poked = false;
    bool progressInView = false;
    QString tipDuringTransfer = "unset";
    recorder_.onProcessMessages = [&] {
        if (poked || Progress()->value() < 8192) return;
        poked = true;
        for (const char* name : {"GetFromCopyr", "GetFromFile", "SaveData", "OpenPrev"}) {
            seen[name] = Enabled(name);
        }
        // The pointer passes over a hinted control: its tip must not cover the progress bar.
        QStatusTipEvent tip(QString("Загрузить данные из ПСИ"));
        QApplication::sendEvent(&w, &tip);
        tipDuringTransfer = w.statusBar()->currentMessage();
        progressInView = Progress()->isVisible();
        // The person presses the buttons and keys of the disabled commands.
        Command("GetFromCopyr")->trigger();
        Command("SaveData")->trigger();
    };

    // The tip of the button pressed to start is showing when the transfer begins.
    w.statusBar()->showMessage("Загрузить данные из ПСИ");
    Command("GetFromCopyr")->trigger();

    ASSERT_TRUE(poked);
    EXPECT_EQ(tipDuringTransfer, QString());
    EXPECT_TRUE(progressInView);
    EXPECT_EQ(seen, (std::map<std::string, bool>{{"GetFromCopyr", false},
                                                 {"GetFromFile", false},
                                                 {"OpenPrev", false},
                                                 {"SaveData", false}}));
    EXPECT_FALSE(saveDialog);
    adapter.With([](AdapterEmulator& e) {
        EXPECT_EQ(e.Commands('A'), 1);  // one transfer only
        EXPECT_EQ(e.Commands('R'), 1024);
    });
    EXPECT_TRUE(recorder_.messages.empty());
    ExpectUsable();
}

TEST_F(ReaderWindow, AFileHandedOverDuringATransferOpensAfterIt) {
    EmulatedAdapter adapter(SampleBytes("current.bbd"));
    UsePorts({adapter.Path()});
    TfMain& w = StartRecorded();
    w.GetConfig().SetReaderPort("COM1");
    w.GetConfig().SetMaxCom(1);
    bool handedOver = false;
    recorder_.onProcessMessages = [&] {
        if (handedOver || Progress()->value() < 8192) return;
        handedOver = true;
        // A second start of the program hands the previous check's file over mid-read.
        w.ActivateWithFile(SamplePath("previous.bbd"));
    };

    Command("GetFromCopyr")->trigger();
    ASSERT_TRUE(handedOver);
    // The read ended with the reader's image; the file has not been mixed into it.
    EXPECT_EQ(Find<QLineEdit>("eDateCheck")->text(), "17.03.2025 11:42 ");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Find<QLineEdit>("eDateCheck")->text() == "12.03.2024 09:15 "; }, 3000));
    EXPECT_TRUE(Panel0().contains("previous.bbd"));
    ExpectUsable();
}

TEST_F(ReaderWindow, ClosingTheWindowStopsTheReadWithoutAMessage) {
    for (const char* command : {"GetFromCopyr", "SaveData"}) {
        SCOPED_TRACE(command);
        EmulatedAdapter adapter(SampleBytes("previous.bbd"));
        UsePorts({adapter.Path()});
        recorder_ = RecordingPrompter(false);
        TfMain& w = StartRecorded(SamplePath("current.bbd"));
        const auto shownBefore = Pages();
        w.GetConfig().SetReaderPort("COM1");
        w.GetConfig().SetMaxCom(1);
        bool saveDialog = false;
        DialogHooks::Installed().saveDataFile = [&](const QString&, const QString&) {
            saveDialog = true;
            return QString();
        };
        recorder_.onProcessMessages = [&] {
            if (w.isVisible() && Progress()->value() >= 4096) w.close();
        };

        Command(command)->trigger();

        EXPECT_FALSE(w.isVisible());
        EXPECT_TRUE(recorder_.messages.empty()) << recorder_.messages.front().text;
        EXPECT_TRUE(recorder_.questions.empty());
        EXPECT_FALSE(saveDialog);
        adapter.With([](AdapterEmulator& e) { EXPECT_LT(e.Commands('R'), 100); });
        EXPECT_EQ(w.Reader().Link(), nullptr);  // released with the window
        EXPECT_EQ(Pages(), shownBefore);
        window_.reset();
    }
}

TEST_F(ReaderWindow, TheRealProgramKeepsItsPausesAndShowsTheErrorBox) {
    EmulatedAdapter adapter(SampleBytes("previous.bbd"));
    adapter.Faults().unplugAfterBlocks = 100;
    UsePorts({adapter.Path()});
    // The window's own prompter: real message boxes, real pauses.
    window_ = std::make_unique<TfMain>(locations_, nullptr, &clock_);
    window_->show();
    window_->GetConfig().SetReaderPort("COM1");
    window_->GetConfig().SetMaxCom(1);
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        caption = box->windowTitle();
        icon = box->icon();
        box->accept();
    });
    QElapsedTimer clock;
    clock.start();
    Command("GetFromCopyr")->trigger();
    // 400 + 1000 + 1000 in the search, 500 after it, 500 + 500 in the read.
    EXPECT_GE(clock.elapsed(), 3900);
    EXPECT_EQ(text, "Разрыв связи с ПСИ или адаптером!");
    EXPECT_EQ(caption, "Загрузка через USB адаптер");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(Panel0(), "Разрыв связи с ПСИ или адаптером!");
    ExpectUsable();
}

TEST_F(ReaderWindow, TheLinkIsReleasedWhenTheWindowCloses) {
    TfMain& w = StartRecorded();
    ASSERT_NE(w.Reader().Link(), nullptr);
    EXPECT_EQ(w.Reader().Link()->I2c(), nullptr);  // the bus master comes with the first search
    w.close();
    EXPECT_EQ(w.Reader().Link(), nullptr);
    EXPECT_FALSE(w.Reader().Load(w.GetSession().Image()));
}

}  // namespace
}  // namespace orbisk::test
