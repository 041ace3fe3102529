#pragma once
// TfRegimy: the load permitted in each of the four work modes, R0 to R3, in per cent of the
// rated capacity. "&Ввод" stores them in the settings page's list and closes; "&Отмена" (and Esc)
// brings back the list's values; "Вы&ход" closes without storing.
#include <array>

#include "edit/qt/SettingsDialog.h"

#include "image/DisplayModel.h"

class QSpinBox;

namespace orbisk {

class TfRegimy : public SettingsDialog {
    Q_OBJECT
public:
    TfRegimy(QWidget* owner, DisplayModel& model, QString helpFile = {});

    void FormShow();
    void bbCancelClick() override;
    void bbEnterClick() override;

private:
    DisplayModel& model_;
    std::array<QSpinBox*, 4> cseR_{};
};

}  // namespace orbisk
