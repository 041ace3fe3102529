#include "edit/qt/Regimyu.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "base/qt/QtText.h"
#include "edit/SettingsDialogs.h"
#include "edit/qt/EditCaptions.h"

namespace orbisk {

namespace {

// A spin edit that takes the whole value as typed, in range or not, and brings it into the range
// only when it is left: the plain one refuses a key that leads out of the range (130 became 13).
class WorkModeSpin final : public QSpinBox {
public:
    QValidator::State validate(QString& text, int&) const override {
        switch (TypedWorkMode(S(text))) {
            case WorkModeTyping::InRange:
                return QValidator::Acceptable;
            case WorkModeTyping::Unfinished:
                return QValidator::Intermediate;
            case WorkModeTyping::Refused:
                break;
        }
        return QValidator::Invalid;
    }
    void fixup(QString& text) const override {
        text = QString::number(SettledWorkMode(S(text), value()));
    }
};

}  // namespace

TfRegimy::TfRegimy(QWidget* owner, DisplayModel& model, QString helpFile)
    : SettingsDialog(owner, "fRegimy", ui::kRegimyCaption, std::move(helpFile)), model_(model) {
    auto* explanation = new QLabel(Q(ui::kRegimyExplanation));
    explanation->setObjectName("lExplanation");
    explanation->setWordWrap(true);
    auto* grid = new QGridLayout;
    for (int r = 0; r < 4; ++r) {
        cseR_[r] = new WorkModeSpin;
        cseR_[r]->setObjectName(QString("cseR%1").arg(r));
        cseR_[r]->setRange(kWorkModeMin, kWorkModeMax);
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
    // The edit with the focus still holds the text as typed.
    std::array<int, 4> values{};
    for (int r = 0; r < 4; ++r) {
        values[r] = SettledWorkMode(S(cseR_[r]->text()), cseR_[r]->value());
        cseR_[r]->setValue(values[r]);
    }
    StoreWorkModes(model_, values);
    accept();
}

}  // namespace orbisk
