#pragma once
// TDataModule1: the program's commands as actions (captions, hints, shortcuts), bound to the
// toolbar and the page buttons, and the shared file, print and picture dialogs.
#include <QAction>
#include <QMenu>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAbstractButton;
class QPrinter;
class QWidget;

namespace orbisk {

// Replacements of the modal dialogs, for window tests and scripted screenshots. An unset member
// shows the real dialog.
struct DialogHooks {
    std::function<QString(const QString& title, const QString& folder)> openDataFile;
    std::function<QString(const QString& folder, const QString& proposedName)> saveDataFile;
    std::function<QString()> savePicture;
    std::function<bool()> print;  // true: print on the default printer without asking
};

class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent);

    QAction* GetFromCopyr;
    QAction* GetFromFile;
    QAction* SaveData;
    QAction* OpenPrev;
    QAction* PkrSave;
    QAction* LevelSave;
    QAction* Help;
    QAction* ShutDown;
    QAction* Preview;                 // the "Протокол" button: the default report
    std::array<QAction*, 5> Reports;  // items of PopMenuView, reports 1 to 5
    QMenu* PopMenuView;

    // The dialogs of the data files; an empty text when cancelled.
    QString OpenDataFileDialog(QWidget* parent, const QString& title, const QString& folder);
    QString SaveDataFileDialog(QWidget* parent, const QString& folder, const QString& name);
    // The picture-save dialog of the charts: BMP as the recorder's users know it, PNG as well.
    static QString SavePictureDialog(QWidget* parent);
    // The print dialog; true when the user chose to print.
    static bool PrintDialog(QWidget* parent, QPrinter& printer);

    static DialogHooks& Hooks();

public Q_SLOTS:
    // The "Протокол" button and every item of its menu: asks for the document numbered by the
    // `Tag` property of the command that was clicked.
    void MenuItem1Click();

Q_SIGNALS:
    void ReportRequested(int kind);
};

// Makes a page button show and run an action: caption, hint, enabled state and trigger.
void BindButton(QAbstractButton* button, QAction* action);

}  // namespace orbisk
