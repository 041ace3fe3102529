#pragma once
// Driving the report command's modal dialogs from a test: a step runs once its dialog is the
// active modal window, and a watchdog closes any dialog a test forgot, so that a fault fails the
// test instead of hanging it.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "GuiTestSupport.h"
#include "reports/qt/Specu.h"

namespace orbisk::test {

// Runs `step` on the next shown modal dialog of type T.
template <typename T>
void WhenShown(std::function<void(T*)> step) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, step] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        step(dialog);
    });
    timer->start();
}

// Rejects whatever modal dialog is still open after a while and counts it.
class ModalWatchdog {
public:
    ModalWatchdog() {
        timer_.setInterval(5000);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ++stray;
                w->close();
            }
        });
        timer_.start();
    }
    int stray = 0;

private:
    QTimer timer_;
};

// How the user leaves the register dialog.
enum class Closing { Ok, CloseBox, Escape };

inline void CloseSpec(TfSpec* fSpec, Closing how) {
    switch (how) {
        case Closing::Ok:
            QTest::mouseClick(fSpec->findChild<QAbstractButton*>("bbOk"), Qt::LeftButton);
            break;
        case Closing::CloseBox:
            fSpec->close();
            break;
        case Closing::Escape:
            QTest::keyClick(fSpec, Qt::Key_Escape);
            break;
    }
}

// Types the particulars into the register dialog's fields.
inline void TypeSpecialist(TfSpec* fSpec, const Specialist& s) {
    auto* family = fSpec->findChild<QComboBox*>("cbFamily");
    family->lineEdit()->clear();
    Type(family->lineEdit(), Q(s.family));
    const std::pair<const char*, const std::string*> fields[] = {
        {"eName", &s.name},  {"eFather", &s.father}, {"eWork", &s.work},
        {"eNum", &s.number}, {"eDate", &s.issued},   {"eSrok", &s.validity}};
    for (const auto& [name, value] : fields) {
        auto* edit = fSpec->findChild<QLineEdit*>(name);
        edit->clear();
        Type(edit, Q(*value));
    }
}

}  // namespace orbisk::test
