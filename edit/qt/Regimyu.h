#pragma once
// TfRegimy: the load permitted in each of the four work modes, R0 to R3, in per cent of the
// rated capacity. "&Ввод" stores them in the settings page's list and closes; "&Отмена" (and Esc)
// brings back the list's values; "Вы&ход" closes without storing.
#include <QDialog>
#include <array>

#include "image/DisplayModel.h"

class QSpinBox;

namespace orbisk {

class TfRegimy : public QDialog {
    Q_OBJECT
public:
    TfRegimy(QWidget* owner, DisplayModel& model, QString helpFile = {});

    void FormShow();
    void bbCancelClick();
    void bbEnterClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    DisplayModel& model_;
    QString helpFile_;
    std::array<QSpinBox*, 4> cseR_{};
};

}  // namespace orbisk
