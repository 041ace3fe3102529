#pragma once
// The page "Настройки": the limiter settings on four tabs, the calibration list and the work
// modes. Its edits react as the user types (indicator colours, enabled relay choices and labels,
// the additional relay texts); in edit mode the lists open their dialogs.
#include <QWidget>
#include <array>

#include "image/DisplayModel.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTreeWidget;

namespace orbisk {

class ControlEdits;
class Prompter;
struct SettingChoice;

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    // `write` is the command of the page's button "Записать в ПСИ".
    // The dialogs of the lists show their messages through `prompter` and open the help document
    // `helpFile` on F1.
    SettingsPage(DisplayModel& model, ControlEdits& edits, QAction* write, Prompter& prompter,
                 QString helpFile, QWidget* parent = nullptr);

    // Shows what the edits do not: the choices, the check box, the two lists, and the reactions
    // the edits' texts call for.
    void Show();
    // Before any image the additional relay unit's rows keep their design texts.
    void ShowDesignRelayTexts();
    // The names of the crane and winches 1 and 2 on the sensor-count labels and relay-3 items.
    void ShowChannelCaptions();

    bool EditMode() const;
    // A successful write clears the check box and the page returns to read-only.
    void EndEditMode();

    void chbEditLevelClick();

    // The tab of a setting's edit comes to the front and the edit takes the focus: a message
    // about the setting follows.
    void ShowField(Ctl control);

    // A click or double-click in a list (possible in edit mode only): its dialog, modally.
    void lvCalibrDblClick();
    void lvWorkModeValDblClick();

private:
    QWidget* BuildConfigTab();
    void BuildLevelTab(QWidget* tab);
    void BuildExtLevelTab(QWidget* tab);
    void BuildExtReleTab(QWidget* tab);
    QLineEdit* SettingEdit(Ctl control);
    QButtonGroup* Choice(QGroupBox* box, const SettingChoice& choice);
    void ApplySettingReaction(Ctl control);
    void ApplyRelayRule(int relay);
    void rgExtReleAlgClick(int index);

    DisplayModel& model_;
    ControlEdits& edits_;
    Prompter& prompter_;
    QString helpFile_;
    QCheckBox* chbEditLevel_ = nullptr;
    QTabWidget* settingsTabs_ = nullptr;
    std::array<QWidget*, 4> settingsTabPages_{};
    QGroupBox* gbSensorCount_ = nullptr;
    QGroupBox* gbCalibration_ = nullptr;
    QGroupBox* gbWorkModes_ = nullptr;
    QLabel* lWorkMode_ = nullptr;
    QCheckBox* chbSensWorkMode_ = nullptr;
    QTreeWidget* lvCalibr_ = nullptr;
    QTreeWidget* lvWorkModeVal_ = nullptr;
    std::array<QLabel*, 3> lLeb_{};
    QLabel* lStop1_ = nullptr;
    QLabel* lStopMax_ = nullptr;
    std::array<QLabel*, 4> lExtR_{};
    QGroupBox* rgRele3Box_ = nullptr;
    QGroupBox* rgRele4Box_ = nullptr;
    QGroupBox* rgExtPultBox_ = nullptr;
    QGroupBox* rgExtDACBox_ = nullptr;
    QButtonGroup* rgRele3_ = nullptr;
    QButtonGroup* rgRele4_ = nullptr;
    QButtonGroup* rgExtPult_ = nullptr;
    QButtonGroup* rgExtDAC_ = nullptr;
    QButtonGroup* rgExtReleAlg_ = nullptr;
};

}  // namespace orbisk
