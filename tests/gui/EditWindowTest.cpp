// Editing under the offscreen platform: edit mode, typing into the pages, "Записать в ПСИ"
// against the emulated reader over either link, the page back to read-only, a fresh reading that
// shows the new values, and the two settings dialogs opened from their lists.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "ReaderWindowSupport.h"
#include "base/qt/QtControlEdits.h"
#include "desktop/qt/DesktopCaptions.h"
#include "edit/EditTexts.h"
#include "edit/qt/Normiru.h"
#include "edit/qt/Regimyu.h"
#include "link/LinkTexts.h"

namespace orbisk::test {
namespace {

class EditWindow : public ReaderWindow {
protected:
    // The sample on the pages and a reader holding it behind the adapter or the parallel port.
    TfMain& StartWithReader(bool usb) {
        const auto bytes = SampleBytes("current.bbd");
        if (usb) {
            adapter_ = std::make_unique<EmulatedAdapter>(bytes);
            UsePorts({adapter_->Path()});
        }
        TfMain& w = StartRecorded(SamplePath("current.bbd"));
        w.GetConfig().SetMaxCom(1);
        if (usb) {
            w.GetConfig().SetReaderPort("COM1");
        } else {
            memory_ = ModelWith(bytes);
            UseLpt(memory_);
            w.GetConfig().SetReaderPort("888");
        }
        return w;
    }
    std::vector<std::uint8_t> ReaderMemory() {
        if (memory_) return {memory_->Memory().begin(), memory_->Memory().end()};
        std::vector<std::uint8_t> bytes;
        adapter_->With(
            [&](AdapterEmulator& e) { bytes.assign(e.Memory().begin(), e.Memory().end()); });
        return bytes;
    }
    void Retype(const char* edit, const QString& text) {
        QLineEdit* e = Find<QLineEdit>(edit);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        Type(e, text);
    }
    bool Checked(const char* box) { return Find<QCheckBox>(box)->isChecked(); }

    std::unique_ptr<EmulatedAdapter> adapter_;
    std::shared_ptr<I2cMemoryModel> memory_;
};

TEST_F(EditWindow, AChangedPassportReachesTheReaderAndComesBackWithTheNextReading) {
    for (bool usb : {true, false}) {
        SCOPED_TRACE(usb ? "USB adapter" : "parallel port");
        TfMain& w = StartWithReader(usb);
        EXPECT_FALSE(Find("gbInfo")->isEnabled());
        Click("chbEditPKR");
        EXPECT_TRUE(Find("gbInfo")->isEnabled());
        EXPECT_TRUE(Find("chbEditPKR_LONG")->isEnabled());
        Retype("eOwner", "ООО «Новый владелец»");
        Retype("eGruz2", "12,5");  // the key filter turns the comma into the separator
        EXPECT_EQ(Text("eGruz2"), "12.5");

        Click("bbChangeIdent");
        EXPECT_TRUE(recorder_.messages.empty()) << MessageTexts().front();
        EXPECT_EQ(recorder_.statuses.back(), linktext::kWritten);
        EXPECT_FALSE(Checked("chbEditPKR"));
        EXPECT_FALSE(Find("gbInfo")->isEnabled());
        const auto memory = ReaderMemory();
        RecorderImage written;
        std::copy(memory.begin(), memory.end(), written.Data());
        EXPECT_EQ(written.Text(addr::Owner, width::Owner), "ООО «Новый владелец»");
        EXPECT_EQ(written.F32(addr::Capacities + 8), 12.5f);

        // Another file on the pages, then the reader read again: the new values show.
        w.OpenDataFileCommand(SamplePath("previous.bbd"));
        // The program never computes the image's check value: the reader's image now fails the
        // checksum until the recorder has taken the block over, and the person goes on.
        recorder_.Clear();
        recorder_.answers = {true};
        Command("GetFromCopyr")->trigger();
        EXPECT_EQ(recorder_.questions,
                  (std::vector<std::string>{linktext::kReaderChecksumQuestion}));
        EXPECT_EQ(Text("eOwner"), "ООО «Новый владелец»");
        EXPECT_EQ(Text("eGruz2"), "12.50");
        window_.reset();
        adapter_.reset();
        memory_.reset();
        recorder_ = RecordingPrompter(false);
    }
}

TEST_F(EditWindow, SettingsAreClampedWrittenAndThePageReturnsToReadOnly) {
    StartWithReader(false);
    EXPECT_FALSE(Find("tsLevel")->isEnabled());
    Click("chbEditLevel");
    EXPECT_TRUE(Find("tsLevel")->isEnabled());
    Retype("eStop", "110");
    for (const char* count : {"eLeb1Cnt", "eLeb2Cnt", "eLeb3Cnt"}) Retype(count, "5");

    Click("bbChangeLevel");
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{std::string(edittext::kAboveMaximum) + "3",
                                        std::string(edittext::kAboveMaximum) + "0"}));
    EXPECT_EQ(Text("eLeb2Cnt"), "3");
    EXPECT_EQ(Text("eLeb3Cnt"), "0");
    EXPECT_FALSE(Checked("chbEditLevel"));
    EXPECT_FALSE(Find("tsLevel")->isEnabled());
    const auto memory = ReaderMemory();
    EXPECT_EQ(memory[addr::AverageMaxLoad], 110);
    EXPECT_EQ(memory[addr::SensorCounts + 1], 3);
}

TEST_F(EditWindow, AFailedWriteLeavesEditModeOnAndAPeriodImageIsNotWritten) {
    StartWithReader(true);
    adapter_->Faults().droppedWrites = true;
    Click("chbEditLevel");
    Retype("eStop", "111");
    Click("bbChangeLevel");
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{linktext::kWriteMismatch, edittext::kSettingsWriteFailed}));
    EXPECT_TRUE(Checked("chbEditLevel"));
    EXPECT_EQ(Panel0(), linktext::kNotWritten);

    recorder_.Clear();
    DialogHooks::Installed().openDataFile = [](const QString&, const QString&) {
        return SamplePath("previous.bbd");
    };
    Command("OpenPrev")->trigger();
    Click("chbEditPKR");
    Click("bbChangeIdent");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{edittext::kPeriodNotWritten}));
    EXPECT_TRUE(Checked("chbEditPKR"));
    adapter_->With([](AdapterEmulator& e) { EXPECT_EQ(e.Commands('W'), 240); });
}

// A click in the empty part of a list opens its dialog as well, so that rows can be added.
void ClickList(QTreeWidget* list) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(5, list->viewport()->height() - 5));
}

TEST_F(EditWindow, TheNormalisationDialogEditsTheCalibrationListInEditModeOnly) {
    StartWithReader(true);
    QTreeWidget* list = List("lvCalibr");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_FALSE(list->isEnabled());  // outside edit mode the list takes no click

    Click("chbEditLevel");
    OnNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<TfNormir*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Ввод значения нормировки");
        auto* number = dialog->findChild<QSpinBox*>("eNum");
        auto* qo = dialog->findChild<QLineEdit*>("eQo");
        auto* qnom = dialog->findChild<QLineEdit*>("eQnom");
        auto* scale = dialog->findChild<QLineEdit*>("eKoef");
        EXPECT_EQ(number->maximum(), 3);
        EXPECT_EQ(qo->text(), list->topLevelItem(0)->text(1));
        number->setValue(2);
        EXPECT_EQ(qnom->text(), list->topLevelItem(1)->text(2));
        // Typing: digits only in the readings; "," becomes "." in the scale.
        qo->clear();
        Type(qo, "1x00");
        EXPECT_EQ(qo->text(), "100");
        qnom->setText("1100");
        Type(scale, "2,0");
        EXPECT_EQ(scale->text(), "2.0");
        dialog->findChild<QToolButton*>("SpeedButton1")->click();
        EXPECT_EQ(qnom->text(), "600");
        dialog->findChild<QPushButton*>("bbEnter")->click();  // stored; the dialog stays
        EXPECT_TRUE(dialog->isVisible());
        qo->setText("40000");
        dialog->findChild<QPushButton*>("bbEnter")->click();
        // Esc brings back the stored values and keeps the dialog open.
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_EQ(qo->text(), "100");
        EXPECT_TRUE(dialog->isVisible());
        dialog->findChild<QPushButton*>("bbExit")->click();
    });
    ClickList(list);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{edittext::kQoOutOfRange}));
    EXPECT_EQ(list->topLevelItem(1)->text(1), "100");
    EXPECT_EQ(list->topLevelItem(1)->text(2), "600");
    EXPECT_EQ(list->topLevelItem(1)->text(3), "500");
}

TEST_F(EditWindow, TheWorkModeDialogStoresOnEnterOnly) {
    StartWithReader(true);
    QTreeWidget* list = List("lvWorkModeVal");
    const QString before = list->topLevelItem(0)->text(3);
    Click("chbEditLevel");
    const auto change = [&](const char* button) {
        OnNextModal([button](QWidget* modal) {
            auto* dialog = qobject_cast<TfRegimy*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Режимы работы");
            auto* r2 = dialog->findChild<QSpinBox*>("cseR2");
            EXPECT_EQ(r2->maximum(), 125);
            r2->setValue(70);
            QTest::keyClick(dialog, Qt::Key_Escape);  // back to the list's value
            EXPECT_NE(r2->value(), 70);
            r2->setValue(70);
            dialog->findChild<QPushButton*>(button)->click();
        });
        ClickList(list);
    };
    change("bbExit");
    EXPECT_EQ(list->topLevelItem(0)->text(3), before);
    change("bbEnter");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "70");
}

TEST_F(EditWindow, OutsideEditModeTheListsAndTheInstallationDateOpenNothing) {
    StartWithReader(false);
    int opened = 0;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++opened;
            modal->close();
        }
    });
    closer.start();
    const auto before = Pages();
    for (const char* list : {"lvCalibr", "lvWorkModeVal"}) {
        ClickList(List(list));
        QTest::mouseDClick(List(list)->viewport(), Qt::LeftButton);
    }
    QTest::mouseClick(Find("eRegSetup"), Qt::LeftButton);
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(Find("MonthCalendar1")->isVisible());
    EXPECT_EQ(Pages(), before);
}

TEST_F(EditWindow, EnterNeverWritesAndAWriteOutsideEditModeAsksFirst) {
    StartWithReader(false);
    const auto before = ReaderMemory();
    const std::string question = ui::WriteShownQuestion(S(Text("eMarka")), S(Text("eNumber")));
    for (const char* name : {"bbChangeIdent", "bbChangeLevel"}) {
        SCOPED_TRACE(name);
        auto* button = Find<QPushButton>(name);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_TRUE(recorder_.questions.empty());
        EXPECT_TRUE(recorder_.statuses.empty()) << "no transfer";
        recorder_.answers = {false};
        button->click();
        EXPECT_EQ(recorder_.questions, std::vector<std::string>{question});
        EXPECT_EQ(ReaderMemory(), before);
        EXPECT_TRUE(button->isEnabled());
        recorder_.Clear();
    }
    // Yes writes the shown passport, as to a new recorder.
    recorder_.answers = {true};
    Click("bbChangeIdent");
    EXPECT_EQ(recorder_.statuses.back(), linktext::kWritten);
}

TEST_F(EditWindow, AfterAWriteThePageShowsWhatTheReaderHolds) {
    StartWithReader(false);
    Click("chbEditPKR");
    Retype("eYear", "1800");
    recorder_.answers = {true};  // go on with the year's fallback
    Click("bbChangeIdent");
    EXPECT_EQ(recorder_.statuses.back(), linktext::kWritten);
    EXPECT_EQ(Text("eYear"), "2000");
}

TEST_F(EditWindow, ARefusedOrClampedSettingComesToTheFrontBeforeItsMessage) {
    StartWithReader(false);
    auto* tabs = Find<QTabWidget>("pcSettings");
    auto* pages = Find<QTabWidget>("PageControl1");
    const std::pair<const char*, QString> cases[] = {
        {"eStop", "999"}, {"eStopSens", "999"}, {"eExtRele2", ""}};
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        if (!Checked("chbEditLevel")) Click("chbEditLevel");
        Retype(name, text);
        pages->setCurrentIndex(0);
        tabs->setCurrentIndex(0);
        Find("chbEditLevel")->setFocus();
        QWidget* tab = nullptr;
        QWidget* focused = nullptr;
        recorder_.onMessage = [&] {
            if (tab) return;
            tab = tabs->currentWidget();
            focused = window_->focusWidget();
            EXPECT_EQ(pages->currentIndex(), 3);
        };
        Click("bbChangeLevel");
        recorder_.onMessage = nullptr;
        ASSERT_NE(tab, nullptr);
        EXPECT_TRUE(tab->isAncestorOf(Find(name)));
        EXPECT_EQ(focused, Find(name));
    }
}

TEST(WorkModeDialogWindow, EveryKeyIsTakenAndEnterStoresTheSettledValues) {
    DisplayModel model;
    model.workModeValues = {100, 80, 60, 40};
    TfRegimy dialog(nullptr, model);
    const char* typed[] = {"130", "-5", "", "200"};
    for (int r = 0; r < 4; ++r) {
        auto* spin = dialog.findChild<QSpinBox*>(QString("cseR%1").arg(r));
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Delete);
        QTest::keyClicks(spin, typed[r]);
        EXPECT_EQ(spin->text(), typed[r]);
    }
    // Leaving an edit brings its value into the range; the others settle on "&Ввод".
    auto* r0 = dialog.findChild<QSpinBox*>("cseR0");
    QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(r0, &left);
    EXPECT_EQ(r0->text(), "125");
    dialog.findChild<QPushButton*>("bbEnter")->click();
    EXPECT_EQ(model.workModeValues, (std::array<std::uint8_t, 4>{125, 0, 60, 125}));
}

TEST(NormalisationDialogWindow, WithoutSensorsNoRowCanBeAddressed) {
    DisplayModel model;
    model.totalSensors = 0;
    RecordingPrompter prompter;
    TfNormir dialog(nullptr, model, prompter);
    EXPECT_FALSE(dialog.findChild<QSpinBox*>("eNum")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("bbEnter")->isEnabled());
    dialog.bbEnterClick();
    EXPECT_TRUE(model.calibration.empty());
}

TEST(ControlEditsWindow, AShownTextIsWholeAndTypingKeepsTheLimit) {
    DisplayModel model;
    ControlEdits edits([&model](Ctl c, const QString& text) { model.Text(c) = S(text); });
    const std::unique_ptr<QLineEdit> edit(edits.Make(Ctl::eSrok));
    edits.LimitLengths();
    model.Text(Ctl::eSrok) = "100";
    edits.Show(model);
    EXPECT_EQ(edit->text(), "100");
    edit->end(false);
    Type(edit.get(), "5");
    EXPECT_EQ(edit->text(), "100");
    QTest::keyClick(edit.get(), Qt::Key_Backspace);
    Type(edit.get(), "55");
    EXPECT_EQ(edit->text(), "10");
}

}  // namespace
}  // namespace orbisk::test
