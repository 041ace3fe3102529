#include "base/qt/QtPrompter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>

#include "app/ProgramIdentity.h"
#include "base/qt/QtText.h"

namespace orbisk {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QString Caption(const std::string& caption) {
    return caption.empty() ? Q(ui::kAppTitle) : Q(caption);
}

}  // namespace

void QtPrompter::Message(const std::string& text, MessageIcon icon, const std::string& caption) {
    QMessageBox box(BoxIcon(icon), Caption(caption), Q(text), QMessageBox::Ok, window_);
    box.setObjectName("PrompterMessage");
    box.exec();
}

bool QtPrompter::Ask(const std::string& text, QuestionButtons buttons, MessageIcon icon,
                     const std::string& caption) {
    const QMessageBox::StandardButton yes =
        buttons == QuestionButtons::OkNo ? QMessageBox::Ok : QMessageBox::Yes;
    QMessageBox box(BoxIcon(icon), Caption(caption), Q(text), yes | QMessageBox::No, window_);
    box.setObjectName("PrompterQuestion");
    box.setDefaultButton(yes);
    return box.exec() == yes;
}

void QtPrompter::Status(int panel, const std::string& text) {
    if (panel >= 0 && panel < 4 && panels_[panel]) panels_[panel]->setText(Q(text));
}

void QtPrompter::Progress(int position, int max) {
    if (!progress_) return;
    progress_->setMaximum(max);
    progress_->setValue(position);
}

void QtPrompter::ProcessMessages() {
    QCoreApplication::processEvents();
}

void QtPrompter::Pause(int milliseconds) {
    // The fixed pauses of the transfers are plain waits, as the reader's timing expects.
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace orbisk
