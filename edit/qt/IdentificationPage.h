#pragma once
// The page "Идентификационная ": the crane's and the recorder's passports, the rated capacities
// with the display names, and the last changes. In edit mode its groups take typing (the number
// fields through their key filters) and the installation date is picked in a calendar.
#include <QWidget>

#include "image/DisplayModel.h"

class QAction;
class QCalendarWidget;
class QCheckBox;
class QGroupBox;

namespace orbisk {

class Clock;
class ControlEdits;

class IdentificationPage : public QWidget {
    Q_OBJECT
public:
    // `write` is the command of the page's button "Записать в ПСИ".
    IdentificationPage(DisplayModel& model, ControlEdits& edits, const Clock& clock, QAction* write,
                       QWidget* parent = nullptr);

    bool EditMode() const;
    // "Записать с долговременной информацией [F-82]" is checked.
    bool WithLongTermInformation() const;
    // A successful write clears both check boxes and the page returns to read-only.
    void EndEditMode();

    void chbEditPKRClick();

Q_SIGNALS:
    // The user changed the display name of a group (0 crane, 1..3 winches).
    void ChannelNameEdited(int group);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void eRegSetupClick();
    void MonthCalendar1Click();

    DisplayModel& model_;
    ControlEdits& edits_;
    const Clock& clock_;
    QGroupBox* gbInfo_ = nullptr;
    QGroupBox* gbRegistrator_ = nullptr;
    QGroupBox* gbGruz_ = nullptr;
    QCheckBox* chbEditPKR_ = nullptr;
    QCheckBox* chbEditPKR_LONG_ = nullptr;
    QCalendarWidget* MonthCalendar1_ = nullptr;
};

}  // namespace orbisk
