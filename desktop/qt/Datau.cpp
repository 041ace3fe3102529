#include "desktop/qt/Datau.h"

#include "base/qt/QtHint.h"
#include "base/qt/QtText.h"
#include "desktop/qt/DesktopCaptions.h"
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
    CraneHistory = MakeAction(this, "CraneHistory", ui::kCraneHistory);
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
    PopMenuView->addSeparator();
    PopMenuView->addAction(CraneHistory);
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

}  // namespace orbisk
