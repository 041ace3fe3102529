#pragma once
// TfNormir: the calibration pair of one load sensor in the settings page's list — its zero and
// rated readings, and the rescaling of the rated one. "&Ввод" changes the list and keeps the
// dialog open; "&Отмена" (and Esc) brings back the list's values; "Вы&ход" closes.
#include "edit/qt/SettingsDialog.h"

#include "image/DisplayModel.h"

class QLineEdit;
class QSpinBox;
class QToolButton;

namespace orbisk {

class Prompter;

class TfNormir : public SettingsDialog {
    Q_OBJECT
public:
    TfNormir(QWidget* owner, DisplayModel& model, Prompter& prompter, QString helpFile = {});

    void FormShow();
    void eNumChange();
    void bbEnterClick() override;
    void bbCancelClick() override;
    void SpeedButton1Click();

Q_SIGNALS:
    // The calibration list changed.
    void ListChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DisplayModel& model_;
    Prompter& prompter_;
    QSpinBox* eNum_ = nullptr;
    QLineEdit* eQo_ = nullptr;
    QLineEdit* eQnom_ = nullptr;
    QLineEdit* eKoef_ = nullptr;
    QToolButton* SpeedButton1_ = nullptr;
};

}  // namespace orbisk
