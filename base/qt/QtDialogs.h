#pragma once
// The dialogs every window shares: the data-file dialogs, the picture-save and print dialogs of
// the charts, and the binding of a page button to a command.
#include <QString>
#include <functional>

class QAbstractButton;
class QAction;
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

    static DialogHooks& Installed();
};

// The dialogs of the data files; an empty text when cancelled.
QString OpenDataFileDialog(QWidget* parent, const QString& title, const QString& folder);
QString SaveDataFileDialog(QWidget* parent, const QString& folder, const QString& name);
// The picture-save dialog of the charts: BMP as the recorder's users know it, PNG as well.
QString SavePictureDialog(QWidget* parent);
// The print dialog; true when the user chose to print.
bool PrintDialog(QWidget* parent, QPrinter& printer);

// Makes a page button show and run an action: caption, hint, enabled state and trigger.
void BindButton(QAbstractButton* button, QAction* action);

}  // namespace orbisk
