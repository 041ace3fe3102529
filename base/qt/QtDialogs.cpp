#include "base/qt/QtDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtText.h"

namespace orbisk {

DialogHooks& DialogHooks::Installed() {
    static DialogHooks hooks;
    return hooks;
}

QString OpenDataFileDialog(QWidget* parent, const QString& title, const QString& folder) {
    if (DialogHooks::Installed().openDataFile)
        return DialogHooks::Installed().openDataFile(title, folder);
    return QFileDialog::getOpenFileName(parent, title, folder, Q(ui::kDataFileFilter));
}

QString SaveDataFileDialog(QWidget* parent, const QString& folder, const QString& name) {
    if (DialogHooks::Installed().saveDataFile)
        return DialogHooks::Installed().saveDataFile(folder, name);
    QFileDialog dialog(parent, Q(ui::kSaveDialogTitle), folder, Q(ui::kDataFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(ui::kDataFileSuffix));
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString SavePictureDialog(QWidget* parent) {
    if (DialogHooks::Installed().savePicture) return DialogHooks::Installed().savePicture();
    QFileDialog dialog(parent, Q(ui::kPictureDialogTitle));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({Q(ui::kPictureFilterBmp), Q(ui::kPictureFilterPng)});
    dialog.setDefaultSuffix(Q(ui::kPictureSuffix));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.contains("png") ? "png" : Q(ui::kPictureSuffix));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool PrintDialog(QWidget* parent, QPrinter& printer) {
    if (DialogHooks::Installed().print) return DialogHooks::Installed().print();
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void BindButton(QAbstractButton* button, QAction* action) {
    const auto sync = [button, action] {
        button->setText(action->text());
        button->setToolTip(action->toolTip());
        button->setStatusTip(action->statusTip());
        button->setEnabled(action->isEnabled());
    };
    sync();
    QObject::connect(action, &QAction::changed, button, sync);
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
}

}  // namespace orbisk
