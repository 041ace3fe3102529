#pragma once
// The page "Оперативная": the work-cycle list with its four filters and the date of the first
// one; a double-click on a cycle whose frame is still in memory opens its chart.
#include <QWidget>

class QButtonGroup;
class QDateEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace orbisk {

class Session;

class OperPage : public QWidget {
    Q_OBJECT
public:
    explicit OperPage(Session& session, QWidget* parent = nullptr);

    void ShowCycleList();
    void ShowChoices();
    void ShowReportDate();
    void ShowChannelCaptions();

private:
    void lvLastDblClick(QTreeWidgetItem* item);

    Session& session_;
    QTreeWidget* lvLast_ = nullptr;
    QDateEdit* dtpReportDate_ = nullptr;
    QButtonGroup* rgLast_ = nullptr;
    bool filling_ = false;  // the date is being shown, not picked
};

}  // namespace orbisk
