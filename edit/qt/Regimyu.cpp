#include "edit/qt/Regimyu.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtText.h"
#include "edit/SettingsDialogs.h"

namespace orbisk {

TfRegimy::TfRegimy(QWidget* owner, DisplayModel& model, QString helpFile)
    : QDialog(owner), model_(model), helpFile_(std::move(helpFile)) {
    setObjectName("fRegimy");
    setWindowTitle(Q(ui::kRegimyCaption));
    setModal(true);

    auto* explanation = new QLabel(Q(ui::kRegimyExplanation));
    explanation->setObjectName("lExplanation");
    explanation->setWordWrap(true);
    auto* grid = new QGridLayout;
    for (int r = 0; r < 4; ++r) {
        cseR_[r] = new QSpinBox;
        cseR_[r]->setObjectName(QString("cseR%1").arg(r));
        cseR_[r]->setRange(kWorkModeMin, kWorkModeMax);
        // An entry out of range is brought back into it when the edit loses the focus.
        cseR_[r]->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        grid->addWidget(new QLabel(Q(ui::kRegimyLabels[r])), r, 0);
        grid->addWidget(cseR_[r], r, 1);
    }

    auto* enter = new QPushButton(Q(ui::kEnterButton));
    enter->setObjectName("bbEnter");
    enter->setDefault(true);
    connect(enter, &QPushButton::clicked, this, &TfRegimy::bbEnterClick);
    auto* cancel = new QPushButton(Q(ui::kCancelDialogButton));
    cancel->setObjectName("bbCancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &TfRegimy::bbCancelClick);
    auto* exit = new QPushButton(Q(ui::kExitButton));
    exit->setObjectName("bbExit");
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(enter);
    buttons->addWidget(cancel);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    FormShow();
}

void TfRegimy::FormShow() { bbCancelClick(); }

void TfRegimy::bbCancelClick() {
    for (int r = 0; r < 4; ++r) cseR_[r]->setValue(model_.workModeValues[r]);
}

void TfRegimy::bbEnterClick() {
    for (int r = 0; r < 4; ++r) {
        cseR_[r]->interpretText();
        model_.workModeValues[r] = static_cast<std::uint8_t>(ClampWorkMode(cseR_[r]->value()));
    }
    accept();
}

void TfRegimy::keyPressEvent(QKeyEvent* event) {
    if (HelpKeyPressed(event, helpFile_)) return;
    if (event->key() == Qt::Key_Escape) {
        bbCancelClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orbisk
