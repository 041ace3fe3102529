#pragma once
// The main window with a reader: a prompter that records every text and skips the pauses, a
// private INI file, the machine's serial ports replaced by the emulated adapter's pty, and the
// parallel port by the simulated bus; and what the tests compare the pages with.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTreeWidget>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "desktop/qt/MainuReader.h"
#include "support/LinkTestSupport.h"

namespace orbisk::test {

inline std::vector<std::uint8_t> SampleBytes(const char* name) {
    QFile file(SamplePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

inline std::vector<std::uint8_t> FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

// Everything the pages show: the texts and colours of the edits, the labels, every cell and
// header of the lists, the choices and check boxes with their enabled states.
inline std::map<QString, QString> PageSnapshot(QWidget* pages) {
    std::map<QString, QString> shown;
    int n = 0;
    const auto key = [&n](const char* kind, QObject* o) {
        return QString("%1:%2:%3").arg(kind).arg(o->objectName()).arg(++n);
    };
    for (auto* e : pages->findChildren<QLineEdit*>()) {
        shown[key("edit", e)] = e->text() + "|" + e->palette().color(QPalette::Base).name() + "|" +
                                e->palette().color(QPalette::Text).name();
    }
    for (auto* l : pages->findChildren<QLabel*>()) shown[key("label", l)] = l->text();
    for (auto* list : pages->findChildren<QTreeWidget*>()) {
        QString all;
        for (int c = 0; c < list->columnCount(); ++c) all += list->headerItem()->text(c) + "\t";
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            all += "\n";
            for (int c = 0; c < list->columnCount(); ++c) {
                all += list->topLevelItem(r)->text(c) + "\t";
            }
        }
        shown[key("list", list)] = all;
    }
    for (auto* b : pages->findChildren<QAbstractButton*>()) {
        shown[key("button", b)] = QString("%1%2").arg(b->isChecked()).arg(b->isEnabled());
    }
    for (auto* g : pages->findChildren<QGroupBox*>()) {
        shown[key("group", g)] = g->title() + QString::number(g->isEnabled());
    }
    return shown;
}

// A main window whose prompter records every text and skips the pauses, over a private INI
// file, with the machine's serial ports replaced by the ones the test names.
class ReaderWindow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ports_ = std::make_unique<SerialPortList>(std::vector<std::string>{});
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        ports_.reset();
    }

    TfMain& StartRecorded(const QString& commandLineFile = {}) {
        window_ = std::make_unique<TfMain>(locations_, &recorder_, &clock_);
        if (!commandLineFile.isEmpty()) window_->SetCommandLineFile(commandLineFile);
        window_->show();
        window_->Reader().SetConnectionDialog(&dialog_);
        return *window_;
    }
    void UsePorts(const std::vector<std::string>& devices) {
        ports_.reset();
        ports_ = std::make_unique<SerialPortList>(devices);
    }
    // A parallel port at `base` with the simulated reader; no bus delay.
    void UseLpt(std::shared_ptr<I2cMemoryModel> model, std::uint16_t base = 0x378) {
        ASSERT_TRUE(window_->Reader().MakeLink(SimulatedLpt(std::move(model), base)));
        window_->Reader().SetConnectionDialog(&dialog_);
    }
    QAction* Command(const char* name) { return window_->findChild<QAction*>(name); }
    bool Enabled(const char* action) { return Command(action)->isEnabled(); }
    QString Panel0() { return Find<QLabel>("StatusPanel0")->text(); }
    QProgressBar* Progress() { return Find<QProgressBar>("ProgressBar1"); }
    std::map<QString, QString> Pages() { return PageSnapshot(window_->centralWidget()); }
    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& m : recorder_.messages) texts.push_back(m.text);
        return texts;
    }
    void ExpectUsable() {
        for (const char* name : {"GetFromCopyr", "GetFromFile", "SaveData", "OpenPrev"}) {
            EXPECT_TRUE(Enabled(name)) << name;
        }
        EXPECT_EQ(Progress()->value(), 0);
        EXPECT_FALSE(window_->Reader().Busy());
    }

    RecordingPrompter recorder_{false};
    ScriptedDialog dialog_;
    std::unique_ptr<SerialPortList> ports_;
};

}  // namespace orbisk::test
