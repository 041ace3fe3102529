#pragma once
// TDataModule1: the program's commands as actions (captions, hints, shortcuts), bound to the
// toolbar and the page buttons (the dialogs they open are in base/qt/QtDialogs.h).
#include <QAction>
#include <QMenu>
#include <QObject>
#include <QString>
#include <array>

#include "base/qt/QtDialogs.h"

namespace orbisk {

class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent);

    QAction* GetFromCopyr;
    QAction* GetFromFile;
    QAction* SaveData;
    QAction* OpenPrev;
    QAction* CraneHistory;
    QAction* PkrSave;
    QAction* LevelSave;
    QAction* Help;
    QAction* ShutDown;
    QAction* Preview;                 // the "Протокол" button: the default report
    std::array<QAction*, 5> Reports;  // items of PopMenuView, reports 1 to 5
    QMenu* PopMenuView;

public Q_SLOTS:
    // The "Протокол" button and every item of its menu: asks for the document numbered by the
    // `Tag` property of the command that was clicked.
    void MenuItem1Click();

Q_SIGNALS:
    void ReportRequested(int kind);
};

}  // namespace orbisk
