#include "app/Datau.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "app/AppTexts.h"
#include "app/QtHint.h"
#include "app/QtText.h"
#include "reports/BuildReport.h"

namespace orbisk {

namespace {

QAction* MakeAction(QObject* parent, const char* name, const ui::CommandText& text,
                    const QKeySequence& shortcut = {}) {
    auto* a = new QAction(Q(text.caption), parent);
    a->setObjectName(name);
    SetHint(a, text.hint);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    return a;
}

}  // namespace

TDataModule1::TDataModule1(QObject* parent) : QObject(parent) {
    setObjectName("DataModule1");
    GetFromCopyr = MakeAction(this, "GetFromCopyr", ui::kGetFromCopyr, QKeySequence(Qt::Key_F5));
    GetFromFile = MakeAction(this, "GetFromFile", ui::kGetFromFile, QKeySequence::Open);
    SaveData = MakeAction(this, "SaveData", ui::kSaveData, QKeySequence::Save);
    OpenPrev = MakeAction(this, "OpenPrev", ui::kOpenPrev);
    PkrSave = MakeAction(this, "PkrSave", ui::kPkrSave);
    LevelSave = MakeAction(this, "LevelSave", ui::kLevelSave);
    Help = MakeAction(this, "Help", ui::kHelp, QKeySequence::HelpContents);
    ShutDown = MakeAction(this, "ShutDown", ui::kShutDown, QKeySequence(Qt::ALT | Qt::Key_X));
    Preview = MakeAction(this, "Preview", ui::kPreview, QKeySequence::Print);

    PopMenuView = new QMenu();
    PopMenuView->setObjectName("PopMenuView");
    for (int i = 0; i < 5; ++i) {
        const ReportKindInfo& kind = ReportKinds()[i];
        Reports[i] = new QAction(Q(std::string(kind.menuCaption)), this);
        Reports[i]->setObjectName(Q(std::string(kind.menuItem)));
        Reports[i]->setProperty("Tag", kind.kind);
        PopMenuView->addAction(Reports[i]);
        connect(Reports[i], &QAction::triggered, this, &TDataModule1::MenuItem1Click);
        if (kind.kind == ui::kDefaultReport) PopMenuView->setDefaultAction(Reports[i]);
    }
    Preview->setProperty("Tag", ui::kDefaultReport);
    connect(Preview, &QAction::triggered, this, &TDataModule1::MenuItem1Click);
    connect(this, &QObject::destroyed, PopMenuView, &QObject::deleteLater);
}

void TDataModule1::MenuItem1Click() {
    // The document is the one whose number the clicked command carries.
    const QObject* clicked = sender();
    const QVariant tag = clicked ? clicked->property("Tag") : QVariant();
    if (tag.isValid()) Q_EMIT ReportRequested(tag.toInt());
}

DialogHooks& TDataModule1::Hooks() {
    static DialogHooks hooks;
    return hooks;
}

QString TDataModule1::OpenDataFileDialog(QWidget* parent, const QString& title,
                                         const QString& folder) {
    if (Hooks().openDataFile) return Hooks().openDataFile(title, folder);
    return QFileDialog::getOpenFileName(parent, title, folder, Q(ui::kDataFileFilter));
}

QString TDataModule1::SaveDataFileDialog(QWidget* parent, const QString& folder,
                                         const QString& name) {
    if (Hooks().saveDataFile) return Hooks().saveDataFile(folder, name);
    QFileDialog dialog(parent, Q(ui::kSaveDialogTitle), folder, Q(ui::kDataFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(ui::kDataFileSuffix));
    dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QString TDataModule1::SavePictureDialog(QWidget* parent) {
    if (Hooks().savePicture) return Hooks().savePicture();
    QFileDialog dialog(parent, Q(ui::kPictureDialogTitle));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({Q(ui::kPictureFilterBmp), Q(ui::kPictureFilterPng)});
    dialog.setDefaultSuffix(Q(ui::kPictureSuffix));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.contains("png") ? "png" : Q(ui::kPictureSuffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool TDataModule1::PrintDialog(QWidget* parent, QPrinter& printer) {
    if (Hooks().print) return Hooks().print();
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
