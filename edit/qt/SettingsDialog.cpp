#include "edit/qt/SettingsDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtText.h"
#include "edit/qt/EditCaptions.h"

namespace orbisk {

SettingsDialog::SettingsDialog(QWidget* owner, const char* name, const char* caption,
                               QString helpFile)
    : QDialog(owner), helpFile_(std::move(helpFile)) {
    setObjectName(name);
    setWindowTitle(Q(caption));
    setModal(true);
}

QHBoxLayout* SettingsDialog::Buttons(DialogCode exitResult) {
    bbEnter_ = new QPushButton(Q(ui::kEnterButton));
    bbEnter_->setObjectName("bbEnter");
    bbEnter_->setDefault(true);
    connect(bbEnter_, &QPushButton::clicked, this, [this] { bbEnterClick(); });
    auto* cancel = new QPushButton(Q(ui::kCancelDialogButton));
    cancel->setObjectName("bbCancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, [this] { bbCancelClick(); });
    auto* exit = new QPushButton(Q(ui::kExitButton));
    exit->setObjectName("bbExit");
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, [this, exitResult] { done(exitResult); });
    auto* row = new QHBoxLayout;
    row->addWidget(bbEnter_);
    row->addWidget(cancel);
    row->addWidget(exit);
    return row;
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
    if (HelpKeyPressed(this, event, helpFile_)) return;
    if (event->key() == Qt::Key_Escape) {
        bbCancelClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orbisk
