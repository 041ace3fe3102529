#pragma once
// Shared pieces of the window tests: a scripted prompter that records every text, a private
// configuration folder, and helpers to find controls by their object names.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Locations.h"
#include "base/DateTime.h"
#include "base/qt/QtText.h"
#include "desktop/qt/Datau.h"
#include "desktop/qt/Mainu.h"
#include "support/RecordingPrompter.h"

namespace orbisk::test {

// Types a text as key presses (the test library's own typing knows Latin-1 only).
inline void Type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(c), Qt::NoModifier);
    }
}

inline QString SamplePath(const char* name) {
    return QString(ORBISK_SOURCE_DIR) + "/samples/" + name;
}

// Runs `act` on the next modal window that opens (it is expected to close it).
inline void OnNextModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Runs `check` on the next modal window that opens, then closes it.
inline void CheckNextModal(std::function<void(QWidget*)> check) {
    OnNextModal([check](QWidget* modal) {
        check(modal);
        modal->close();
    });
}

// A main window over a private INI file and data folder, with a fixed clock (18.03.2025 12:00).
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        locations_.programFolder = Utf8ToPath(S(dir_.path()));
        locations_.iniPath = Utf8ToPath(S(dir_.filePath("orbisk.ini")));
        locations_.dataFolder = Utf8ToPath(S(dir_.filePath("Данные")));
        DialogHooks::Installed() = {};
    }
    void TearDown() override {
        DialogHooks::Installed() = {};
        window_.reset();
    }

    TfMain& Start(const QString& commandLineFile = {}) {
        window_ = std::make_unique<TfMain>(locations_, &prompter_, &clock_);
        if (!commandLineFile.isEmpty()) window_->SetCommandLineFile(commandLineFile);
        window_->show();
        return *window_;
    }
    void Restart() {
        window_->close();
        window_.reset();
        Start();
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* w = window_->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(const char* name) { return Find<QLineEdit>(name)->text(); }
    QTreeWidget* List(const char* name) { return Find<QTreeWidget>(name); }
    void Click(const char* name) { Find<QAbstractButton>(name)->click(); }
    // The explicit enabled state of a control, whatever its page's state.
    bool SelfEnabled(const char* name) { return !Find(name)->testAttribute(Qt::WA_ForceDisabled); }

    QTemporaryDir dir_;
    ProgramLocations locations_;
    RecordingPrompter prompter_;
    FixedClock clock_{EncodeDateTime(2025, 3, 18, 12, 0)};
    std::unique_ptr<TfMain> window_;
};

// The suite of the main window's tests, shared by the files that hold them.
class MainWindow : public MainWindowFixture {};

}  // namespace orbisk::test
