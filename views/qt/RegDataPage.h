#pragma once
// The page "Долговременная": the distribution of cycles by load at the chosen step, the report
// period with "Начало отчета", and the operating parameters with the classification.
#include <QWidget>

class QAction;
class QButtonGroup;
class QTreeWidget;

namespace orbisk {

class ControlEdits;
class Session;
class TfGistogram;

class RegDataPage : public QWidget {
    Q_OBJECT
public:
    // `openPrev` is the command of "&Начало отчета"; the histogram window shows this page's
    // series.
    RegDataPage(Session& session, ControlEdits& edits, QAction* openPrev, TfGistogram& gistogram,
                QWidget* parent = nullptr);

    void Show();
    void ShowChoices();
    void ShowChannelCaptions();

private:
    void ShowLoadDistribution();

    Session& session_;
    TfGistogram& gistogram_;
    QTreeWidget* lvLoad_ = nullptr;
    QTreeWidget* lvRegStat_ = nullptr;
    QButtonGroup* rgStep_ = nullptr;
};

}  // namespace orbisk
