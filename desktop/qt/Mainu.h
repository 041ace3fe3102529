#pragma once
// TfMain: the main window, a shell of four pages. It owns the session (the current image and its
// display model), shows the model on the pages, keeps the channel captions of every page in step,
// and runs the commands of the data module. Every rule it applies comes from the core.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/Config.h"
#include "app/Locations.h"
#include "base/Clock.h"
#include "base/Prompter.h"
#include "image/DisplayModel.h"
#include "image/Session.h"

class QLabel;
class QProgressBar;
class QTabWidget;
class QToolBar;

namespace orbisk {

class ControlEdits;
class DesktopArchive;
class IdentificationPage;
class MainReader;
class OperPage;
class QtPrompter;
class RegDataPage;
class SettingsPage;
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
    // The archive of checks the window records into and reads from.
    DesktopArchive& Archive() { return *archive_; }

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
    void CraneHistoryExecute();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolbarAndStatus();
    void FormShow();
    void RestorePlace();
    void FitStartSize();
    void AttachReaderLink();
    void ShowChannelCaptions();
    void ShowPath(const QString& path);
    void SetDataCommandsEnabled(bool on);
    void ChannelNameEdited(int group);
    // What tells the person that nothing opened `file`.
    std::function<void()> NotOpenedTeller(const QString& file);
    // A write started outside the page's edit mode asks first; true to go on.
    bool WriteConfirmed(bool editMode);
    // After a successful write: both editing pages from the image buffer.
    void ShowWrittenBlocks();

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
    bool placed_ = false;
    QSize startSize_;

    std::unique_ptr<DesktopArchive> archive_;
    std::unique_ptr<ControlEdits> edits_;
    QTabWidget* pages_ = nullptr;
    IdentificationPage* tsMain_ = nullptr;
    RegDataPage* tsRegData_ = nullptr;
    OperPage* tsOper_ = nullptr;
    SettingsPage* tsTools_ = nullptr;
    QToolBar* tbMain_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    QProgressBar* progressBar_ = nullptr;
};

}  // namespace orbisk
