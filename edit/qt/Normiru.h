#pragma once
// TfNormir: the calibration pair of one load sensor in the settings page's list — its zero and
// rated readings, and the rescaling of the rated one. "&Ввод" changes the list and keeps the
// dialog open; "&Отмена" (and Esc) brings back the list's values; "Вы&ход" closes.
#include <QDialog>

#include "image/DisplayModel.h"

class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace orbisk {

class Prompter;

class TfNormir : public QDialog {
    Q_OBJECT
public:
    TfNormir(QWidget* owner, DisplayModel& model, Prompter& prompter, QString helpFile = {});

    void FormShow();
    void eNumChange();
    void bbEnterClick();
    void bbCancelClick();
    void SpeedButton1Click();

Q_SIGNALS:
    // The calibration list changed.
    void ListChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DisplayModel& model_;
    Prompter& prompter_;
    QString helpFile_;
    QSpinBox* eNum_ = nullptr;
    QLineEdit* eQo_ = nullptr;
    QLineEdit* eQnom_ = nullptr;
    QLineEdit* eKoef_ = nullptr;
    QToolButton* SpeedButton1_ = nullptr;
    QPushButton* bbEnter_ = nullptr;
};

}  // namespace orbisk
