#include "edit/qt/Regimyu.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "base/qt/QtText.h"
#include "edit/SettingsDialogs.h"

namespace orbisk {

TfRegimy::TfRegimy(QWidget* owner, DisplayModel& model, QString helpFile)
    : SettingsDialog(owner, "fRegimy", ui::kRegimyCaption, std::move(helpFile)), model_(model) {
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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(grid);
    // "Вы&ход" closes without storing.
    layout->addLayout(Buttons(Rejected));

    FormShow();
}

void TfRegimy::FormShow() {
    bbCancelClick();
}

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

}  // namespace orbisk
