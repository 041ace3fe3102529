#include "edit/qt/Normiru.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/qt/QtIcons.h"
#include "base/qt/QtText.h"
#include "edit/IdentificationEdit.h"
#include "edit/SettingsDialogs.h"
#include "edit/qt/EditCaptions.h"

namespace orbisk {

TfNormir::TfNormir(QWidget* owner, DisplayModel& model, Prompter& prompter, QString helpFile)
    : SettingsDialog(owner, "fNormir", ui::kNormirCaption, std::move(helpFile)),
      model_(model),
      prompter_(prompter) {
    eNum_ = new QSpinBox;
    eNum_->setObjectName("eNum");
    // The number is chosen with the arrows only.
    if (auto* text = eNum_->findChild<QLineEdit*>()) text->setReadOnly(true);
    connect(eNum_, &QSpinBox::valueChanged, this, [this] { eNumChange(); });

    const auto edit = [this](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->installEventFilter(this);
        return e;
    };
    eQo_ = edit("eQo");
    eQnom_ = edit("eQnom");
    eKoef_ = edit("eKoef");
    SpeedButton1_ = new QToolButton;
    SpeedButton1_->setObjectName("SpeedButton1");
    SpeedButton1_->setAutoRaise(true);
    SpeedButton1_->setIcon(ResourceIcon("scale"));
    connect(SpeedButton1_, &QToolButton::clicked, this, &TfNormir::SpeedButton1Click);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Q(ui::kNormirNumber)), 0, 0);
    grid->addWidget(eNum_, 0, 1);
    grid->addWidget(new QLabel(Q(ui::kNormirQo)), 1, 0);
    grid->addWidget(eQo_, 1, 1);
    grid->addWidget(new QLabel(Q(ui::kNormirQnom)), 2, 0);
    grid->addWidget(eQnom_, 2, 1);
    grid->addWidget(new QLabel(Q(ui::kNormirScale)), 3, 0);
    grid->addWidget(eKoef_, 3, 1);
    grid->addWidget(SpeedButton1_, 3, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    // "Вы&ход" only closes: every pair entered is in the list already.
    layout->addLayout(Buttons(Accepted));

    FormShow();
}

void TfNormir::FormShow() {
    const SensorRange range = SensorNumbers(model_);
    // Without sensors there is no row to show or change.
    const bool any = !range.Empty();
    eNum_->blockSignals(true);
    eNum_->setRange(any ? range.first : 0, any ? range.last : 0);
    eNum_->setValue(any ? range.first : 0);
    eNum_->blockSignals(false);
    for (QWidget* w : std::initializer_list<QWidget*>{eNum_, eQo_, eQnom_, eKoef_, SpeedButton1_,
                                                      EnterButton()}) {
        w->setEnabled(any);
    }
    eNumChange();
}

void TfNormir::eNumChange() {
    const auto texts = CalibrationTexts(model_, eNum_->value());
    eQo_->setText(Q(texts[0]));
    eQnom_->setText(Q(texts[1]));
}

void TfNormir::bbCancelClick() {
    eNumChange();
}

void TfNormir::bbEnterClick() {
    if (SensorNumbers(model_).Empty()) return;
    if (EnterCalibration(model_, eNum_->value(), S(eQo_->text()), S(eQnom_->text()), prompter_)) {
        Q_EMIT ListChanged();
    }
}

void TfNormir::SpeedButton1Click() {
    const auto qnom = ScaledQnom(S(eQo_->text()), S(eQnom_->text()), S(eKoef_->text()), prompter_);
    if (qnom) eQnom_->setText(Q(*qnom));
}

bool TfNormir::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && !(key->modifiers() & Qt::ControlModifier)) {
            const KeyFilter filter = watched == eKoef_ ? KeyFilter::Capacity : KeyFilter::Digits;
            const auto passed = FilterKey(filter, text.at(0).unicode());
            if (!passed) return true;
            if (*passed != text.at(0).unicode()) {
                static_cast<QLineEdit*>(watched)->insert(
                    QString(QChar(static_cast<char16_t>(*passed))));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace orbisk
