#pragma once
// TfMain: the main window. It owns the session (the current image and its display model), shows
// the model on four pages, passes the user's changes back into it, and runs the commands of the
// data module. Every rule it applies comes from the core.
#include <QButtonGroup>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

#include "base/Clock.h"
#include "app/Config.h"
#include "app/Locations.h"
#include "base/Prompter.h"
#include "edit/SettingsPageRules.h"
#include "image/DisplayModel.h"
#include "image/Session.h"

class QCalendarWidget;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace orbisk {

class MainReader;
class QtPrompter;
class TDataModule1;
class TfGistogram;

class TfMain : public QMainWindow {
    Q_OBJECT
public:
    // A prompter or clock given here replaces the real ones (tests).
    TfMain(const ProgramLocations& locations, Prompter* prompter = nullptr,
           const Clock* clock = nullptr);
    ~TfMain() override;

    Session& GetSession() { return *session_; }
    TDataModule1& DataModule() { return *dataModule_; }
    TfGistogram& Gistogram() { return *fGistogram_; }
    Config& GetConfig() { return config_; }

    // The first command-line argument, opened when the window is first shown.
    void SetCommandLineFile(const QString& path) { commandLineFile_ = path; }
    // A file handed over by a second start: come to the front and open it.
    void ActivateWithFile(const QString& path);
    void OpenHandedOverFile(const QString& path);

    // The reader read of "Загрузить" and "Сохранить": reads the image into the session and
    // returns true when it is to be used. Set by the reader link.
    void SetReaderLoad(std::function<bool()> load) { readerLoad_ = std::move(load); }
    // The report command: how a written page is opened (the system's browser unless set) and
    // where it is written (the private temporary folder unless set).
    void SetPageOpener(std::function<void(const QString& path)> open) {
        pageOpener_ = std::move(open);
    }
    void SetReportFolder(std::function<std::filesystem::path()> folder) {
        reportFolder_ = std::move(folder);
    }
    // The window's side of the reader link (its ReaderLink, status texts, connection dialog).
    MainReader& Reader() { return *reader_; }

    // Opens a data file as "Открыть" does after its dialog.
    void OpenDataFileCommand(const QString& path);

    // Shows the whole display model on the pages.
    void ShowModel();

public Q_SLOTS:
    void GetFromFileExecute();
    void SaveDataExecute();
    void OpenPrevExecute();
    void GetFromCopyrExecute();
    void PkrSaveExecute();
    void LevelSaveExecute();
    void HelpExecute();
    // The help document: the program's folder and its fixed name.
    QString HelpFile() const;
    void ReportExecute(int kind);
    void chbEditPKRClick();
    void chbEditLevelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbarAndStatus();
    QWidget* BuildMainPage();
    QWidget* BuildRegDataPage();
    QWidget* BuildOperPage();
    QWidget* BuildToolsPage();
    QLineEdit* MakeEdit(Ctl control, bool readOnly = false);
    QButtonGroup* MakeChoice(QGroupBox* box, const QStringList& items, int columns);
    void FormShow();
    void AttachReaderLink();

    void ShowCycleList();
    void ShowLoadDistribution();
    void ShowChannelCaptions();
    void ShowChoices();
    void ShowPath(const QString& path);
    void SetDataCommandsEnabled(bool on);
    void SetEditColor(QWidget* edit, EditColor color);
    void ApplySettingReaction(Ctl control);
    void ApplyRelayRule(int relay);
    void rgExtReleAlgClick(int index);
    void lvLastDblClick(QTreeWidgetItem* item);
    void eRegSetupClick();
    void MonthCalendar1Click();
    void ChannelNameEdited(int group, const QString& text);

    ProgramLocations locations_;
    Config config_;
    std::unique_ptr<QtPrompter> ownPrompter_;
    Prompter* prompter_;
    SystemClock systemClock_;
    const Clock* clock_;
    std::unique_ptr<Session> session_;
    TDataModule1* dataModule_ = nullptr;
    TfGistogram* fGistogram_ = nullptr;

    QString commandLineFile_;
    QString currentPath_;
    std::function<bool()> readerLoad_;
    std::function<void(const QString& path)> pageOpener_;
    std::function<std::filesystem::path()> reportFolder_;
    // Declared after the configuration and the prompter it uses, so it goes first.
    std::unique_ptr<MainReader> reader_;
    bool shownOnce_ = false;
    bool filling_ = false;

    std::array<QLineEdit*, kControlCount> edits_{};
    QTabWidget* pages_ = nullptr;
    QToolBar* tbMain_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    QProgressBar* progressBar_ = nullptr;

    // Identification page.
    QGroupBox* gbInfo_ = nullptr;
    QGroupBox* gbRegistrator_ = nullptr;
    QGroupBox* gbGruz_ = nullptr;
    QCheckBox* chbEditPKR_ = nullptr;
    QCheckBox* chbEditPKR_LONG_ = nullptr;
    QCalendarWidget* MonthCalendar1_ = nullptr;

    // Long-term page.
    QTreeWidget* lvLoad_ = nullptr;
    QTreeWidget* lvRegStat_ = nullptr;
    QButtonGroup* rgStep_ = nullptr;

    // Operational page.
    QTreeWidget* lvLast_ = nullptr;
    QDateEdit* dtpReportDate_ = nullptr;
    QButtonGroup* rgLast_ = nullptr;

    // Settings page.
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
