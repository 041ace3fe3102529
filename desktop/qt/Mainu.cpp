#include "desktop/qt/Mainu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <cmath>

#include "app/ProgramIdentity.h"
#include "app/WindowPlacement.h"
#include "archive/ArchiveTexts.h"
#include "base/DateTime.h"
#include "base/qt/QtCaptions.h"
#include "base/qt/QtControlEdits.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtIcons.h"
#include "base/qt/QtPrompter.h"
#include "base/qt/QtText.h"
#include "desktop/qt/Datau.h"
#include "desktop/qt/DesktopCaptions.h"
#include "desktop/qt/HistoryWindow.h"
#include "desktop/qt/MainuReader.h"
#include "desktop/qt/QtArchive.h"
#include "edit/WriteBack.h"
#include "edit/qt/IdentificationPage.h"
#include "edit/qt/SettingsPage.h"
#include "image/DataFile.h"
#include "image/Decoding.h"
#include "image/Messages.h"
#include "link/LinkTexts.h"
#include "views/qt/Gistu.h"
#include "views/qt/OperPage.h"
#include "views/qt/RegDataPage.h"

namespace orbisk {

namespace {

constexpr int kPanelWidths[4] = {400, 100, 100, 200};

// Small enough for a 1366 × 768 laptop with a title bar and a taskbar, and for 1024 × 600.
constexpr QSize kSmallestWindow(800, 560);
// The inside size of a first start, where the screen has room for it.
constexpr QSize kDesignWindow(960, 720);
// How narrow the path panel may get when the window is: the other panels keep their widths.
constexpr int kPathPanelNarrowest = 150;

// The path panel: its design width while there is room, narrower in a narrow window.
class PathPanel final : public QLabel {
public:
    QSize sizeHint() const override { return {kPanelWidths[0], QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override {
        return {kPathPanelNarrowest, QLabel::minimumSizeHint().height()};
    }
};

}  // namespace

TfMain::TfMain(const ProgramLocations& locations, Prompter* prompter, const Clock* clock)
    : locations_(locations), config_(locations) {
    setObjectName("fMain");
    setWindowTitle(Q(ui::kAppTitle));
    setWindowIcon(ResourceIcon("app"));
    if (prompter) {
        prompter_ = prompter;
    } else {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    clock_ = clock ? clock : &systemClock_;
    session_ = std::make_unique<Session>(*prompter_, *clock_);
    archive_ = std::make_unique<DesktopArchive>(
        ArchiveLocation(config_.Ini().Path(), config_.DataFolder()), config_.DataFolder(),
        *prompter_, *clock_);

    dataModule_ = new TDataModule1(this);
    BuildToolbarAndStatus();
    AttachReaderLink();

    DisplayModel& model = session_->Model();
    edits_ = std::make_unique<ControlEdits>(
        [&model](Ctl control, const QString& text) { model.Text(control) = S(text); });
    fGistogram_ = new TfGistogram(this, model);
    tsMain_ = new IdentificationPage(model, *edits_, *clock_, dataModule_->PkrSave);
    tsRegData_ = new RegDataPage(*session_, *edits_, dataModule_->OpenPrev, *fGistogram_);
    tsOper_ = new OperPage(*session_);
    tsTools_ = new SettingsPage(model, *edits_, dataModule_->LevelSave, *prompter_, HelpFile());
    connect(tsMain_, &IdentificationPage::ChannelNameEdited, this, &TfMain::ChannelNameEdited);

    pages_ = new QTabWidget;
    pages_->setObjectName("PageControl1");
    // A page taller or wider than the window scrolls: a small screen still reaches every
    // control, the write buttons at the foot of the pages among them.
    const auto addPage = [this](QWidget* page, const QString& caption) {
        auto* scroll = new QScrollArea;
        scroll->setObjectName(page->objectName() + "Scroll");
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        pages_->addTab(scroll, caption);
    };
    addPage(tsMain_, Q(ui::kPageMain));
    addPage(tsRegData_, Q(ui::kPageRegData));
    addPage(tsOper_, Q(ui::kPageOper));
    addPage(tsTools_, Q(ui::kPageTools));
    setCentralWidget(pages_);

    connect(dataModule_->GetFromCopyr, &QAction::triggered, this, &TfMain::GetFromCopyrExecute);
    connect(dataModule_->GetFromFile, &QAction::triggered, this, &TfMain::GetFromFileExecute);
    connect(dataModule_->SaveData, &QAction::triggered, this, &TfMain::SaveDataExecute);
    connect(dataModule_->OpenPrev, &QAction::triggered, this, &TfMain::OpenPrevExecute);
    connect(dataModule_->CraneHistory, &QAction::triggered, this, &TfMain::CraneHistoryExecute);
    connect(dataModule_->PkrSave, &QAction::triggered, this, &TfMain::PkrSaveExecute);
    connect(dataModule_->LevelSave, &QAction::triggered, this, &TfMain::LevelSaveExecute);
    connect(dataModule_->Help, &QAction::triggered, this, &TfMain::HelpExecute);
    connect(dataModule_->ShutDown, &QAction::triggered, this, &QWidget::close);
    connect(dataModule_, &TDataModule1::ReportRequested, this, &TfMain::ReportExecute);
    addActions({dataModule_->GetFromCopyr, dataModule_->GetFromFile, dataModule_->SaveData,
                dataModule_->Help, dataModule_->ShutDown, dataModule_->Preview});

    ShowModel();
    tsTools_->ShowDesignRelayTexts();
    setMinimumSize(kSmallestWindow);
    FitStartSize();
}

TfMain::~TfMain() = default;

// ---------------------------------------------------------------------------------------------
// Building the window.

void TfMain::BuildToolbarAndStatus() {
    tbMain_ = addToolBar(QString());
    tbMain_->setObjectName("tbMain");
    tbMain_->setMovable(false);
    tbMain_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbMain_->setIconSize(QSize(32, 32));
    const auto add = [this](QAction* action, const char* name, const char* icon) {
        action->setIcon(ResourceIcon(icon));
        tbMain_->addAction(action);
        tbMain_->widgetForAction(action)->setObjectName(name);
    };
    add(dataModule_->GetFromCopyr, "tbGetCopyr", "load");
    add(dataModule_->GetFromFile, "tbGetFile", "open");
    add(dataModule_->SaveData, "tbSave", "save");
    tbMain_->addSeparator();
    auto* preview = new QToolButton;
    preview->setObjectName("tbPreview");
    dataModule_->Preview->setIcon(ResourceIcon("report"));
    preview->setDefaultAction(dataModule_->Preview);
    preview->setMenu(dataModule_->PopMenuView);
    preview->setPopupMode(QToolButton::MenuButtonPopup);
    preview->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbMain_->addWidget(preview);
    add(dataModule_->CraneHistory, "tbCraneHistory", "history");
    tbMain_->addSeparator();
    add(dataModule_->Help, "tbHelp", "help");
    add(dataModule_->ShutDown, "tbShutDown", "exit");

    auto* bar = new QStatusBar;
    bar->setObjectName("StatusBar1");
    setStatusBar(bar);
    for (int i = 0; i < 4; ++i) {
        if (i == 1) {
            auto* holder = new QWidget;
            holder->setObjectName("StatusPanel1");
            holder->setFixedWidth(kPanelWidths[1]);
            auto* layout = new QHBoxLayout(holder);
            layout->setContentsMargins(2, 2, 0, 2);
            progressBar_ = new QProgressBar;
            progressBar_->setObjectName("ProgressBar1");
            progressBar_->setTextVisible(false);
            progressBar_->setRange(0, 100);
            progressBar_->setValue(0);
            layout->addWidget(progressBar_);
            bar->addWidget(holder);
            panels_[1] = nullptr;
            continue;
        }
        QLabel* panel = i == 0 ? new PathPanel : new QLabel;
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        if (i == 0) {
            panel->setMaximumWidth(kPanelWidths[i]);
        } else {
            panel->setFixedWidth(kPanelWidths[i]);
        }
        panel->setFrameShape(QFrame::StyledPanel);
        bar->addWidget(panel);
        panels_[i] = panel;
    }
    if (ownPrompter_) ownPrompter_->SetStatusBar(panels_, progressBar_);
}

// ---------------------------------------------------------------------------------------------
// Showing the model.

void TfMain::ShowModel() {
    edits_->Show(session_->Model());
    tsRegData_->ShowChoices();
    tsOper_->ShowChoices();
    tsTools_->Show();
    tsRegData_->Show();
    tsOper_->ShowCycleList();
    tsOper_->ShowReportDate();
    ShowChannelCaptions();
}

void TfMain::ShowChannelCaptions() {
    tsRegData_->ShowChannelCaptions();
    tsOper_->ShowChannelCaptions();
    tsTools_->ShowChannelCaptions();
}

void TfMain::ChannelNameEdited(int group) {
    DisplayModel& m = session_->Model();
    m.TypeChannelName(group, m.Text(ChannelNameControl(group)));
    ShowChannelCaptions();
}

void TfMain::ShowPath(const QString& path) {
    currentPath_ = path;
    if (!panels_[0]) return;
    const QFontMetrics metrics(panels_[0]->font());
    panels_[0]->setText(
        metrics.elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle, kPanelWidths[0] - 8));
    panels_[0]->setToolTip(QDir::toNativeSeparators(path));
}

void TfMain::SetDataCommandsEnabled(bool on) {
    dataModule_->OpenPrev->setEnabled(on);
    dataModule_->SaveData->setEnabled(on);
}

bool TfMain::event(QEvent* event) {
    // A status-bar tip hides the panels while it shows; during a transfer the person watches the
    // progress bar and the status texts, so no tip may cover them.
    if (event->type() == QEvent::StatusTip && reader_ && reader_->Busy()) return true;
    return QMainWindow::event(event);
}

// ---------------------------------------------------------------------------------------------
// Start-up and closing.

void TfMain::setVisible(bool visible) {
    const bool first = visible && !placed_;
    if (first) {
        placed_ = true;
        RestorePlace();
        if (config_.WindowMaximized()) setWindowState(windowState() | Qt::WindowMaximized);
    }
    QMainWindow::setVisible(visible);
    if (first && windowHandle()) windowHandle()->installEventFilter(this);
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        // Framed now: a size nobody has changed yet is fitted again with the frame around it.
        if (size() == startSize_ && !isMaximized()) FitStartSize();
        // A window manager that took the saved corner for the inside of the window put the
        // title bar above it, and each closing would save a place higher up.
        RestorePlace();
    }
    return QMainWindow::eventFilter(watched, event);
}

// The size left at the last closing, or on a first start the design size; either no larger than
// the screen's area that windows may use leaves room for with the frame.
void TfMain::FitStartSize() {
    const QScreen* on =
        QGuiApplication::screenAt(QPoint(config_.WindowLeft(), config_.WindowTop()));
    if (!on) on = QGuiApplication::primaryScreen();
    if (!on) return;
    const QRect area = on->availableGeometry();
    const QSize frame = frameGeometry().size() - geometry().size();
    const WindowSize fitted = StartSize({config_.WindowWidth(), config_.WindowHeight()},
                                        {kDesignWindow.width(), kDesignWindow.height()},
                                        {kSmallestWindow.width(), kSmallestWindow.height()},
                                        {frame.width(), frame.height()},
                                        {area.x(), area.y(), area.width(), area.height()});
    startSize_ = QSize(fitted.width, fitted.height);
    resize(startSize_);
}

// "Слева" and "Сверху" are the corner of the frame, title bar included, as closing saves them.
void TfMain::RestorePlace() {
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.push_back({area.x(), area.y(), area.width(), area.height()});
    }
    const QRect frame = frameGeometry();
    const WindowPosition at = PlaceOnScreens({config_.WindowLeft(), config_.WindowTop()},
                                             frame.width(), frame.height(), screens);
    if (frame.topLeft() != QPoint(at.left, at.top)) move(at.left, at.top);
}

void TfMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TfMain::FormShow() {
    DisplayModel& m = session_->Model();
    m.choices.rgLast = config_.CycleFilter();
    m.choices.rgStep = config_.DistributionStep();
    session_->SetDataCorrection(config_.DataCorrection());

    const QString version = QCoreApplication::applicationVersion();
    panels_[2]->setText(version.isEmpty() ? QString() : Q(ui::kVersionPrefix) + version);
    panels_[3]->setText(QCoreApplication::organizationName());

    for (int page : {3, 1, 2, 0}) pages_->setCurrentIndex(page);
    pages_->setFocus();

    m.reportDate = std::floor(clock_->Now());
    m.Text(Ctl::dtpReportDate) = ShortDateText(m.reportDate);
    tsRegData_->ShowChoices();
    tsOper_->ShowChoices();
    tsOper_->ShowReportDate();

    edits_->LimitLengths();

    if (!commandLineFile_.isEmpty()) OpenDataFileCommand(commandLineFile_);
}

void TfMain::closeEvent(QCloseEvent* event) {
    if (ownPrompter_) ownPrompter_->SetShuttingDown();
    reader_->WindowClosing();
    const DisplayModel& m = session_->Model();
    // A maximized window keeps the place and size it goes back to.
    const QRect normal = isMaximized() ? normalGeometry() : geometry();
    if (normal.isValid()) {
        const QPoint frameCorner =
            normal.topLeft() - (geometry().topLeft() - frameGeometry().topLeft());
        config_.SetWindowLeft(frameCorner.x());
        config_.SetWindowTop(frameCorner.y());
        config_.SetWindowWidth(normal.width());
        config_.SetWindowHeight(normal.height());
    }
    config_.SetWindowMaximized(isMaximized());
    config_.SetCycleFilter(m.choices.rgLast);
    config_.SetDistributionStep(m.choices.rgStep);
    config_.SetDataCorrection(session_->DataCorrection());
    fGistogram_->close();
    event->accept();
}

void TfMain::ActivateWithFile(const QString& path) {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    if (!path.isEmpty()) OpenHandedOverFile(path);
}

// A file handed over while a transfer fills the image waits until the transfer has ended, so
// the two never write into the image at the same time. One handed over while a modal window is
// open (a cycle chart, a dialog, a question) waits until it closes: that window shows and steps
// through the image as it was when it opened.
void TfMain::OpenHandedOverFile(const QString& path) {
    if (Reader().Busy() || QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, [this, path] { OpenHandedOverFile(path); });
        return;
    }
    OpenDataFileCommand(path);
}

// ---------------------------------------------------------------------------------------------
// Commands.

void TfMain::OpenDataFileCommand(const QString& path) {
    const OpenResult result = session_->OpenDataFile(Utf8ToPath(S(path)));
    if (result == OpenResult::Refused) return;  // the image and the pages stay as they were
    ShowPath(path);
    SetDataCommandsEnabled(true);
    if (result == OpenResult::Opened) {
        ShowModel();
        archive_->Record(Utf8ToPath(S(path)), *session_);
    }
}

void TfMain::GetFromFileExecute() {
    const QString path = OpenDataFileDialog(this, Q(ui::kOpenDialogTitle),
                                            Q(config_.DialogFolder(config_.OpenFolder())));
    if (path.isEmpty()) {
        config_.SetOpenFolder(PathToUtf8(config_.DataFolder()));
        return;
    }
    config_.SetOpenFolder(S(QFileInfo(path).absolutePath()));
    OpenDataFileCommand(path);
}

void TfMain::SaveDataExecute() {
    // The fresh image comes from the reader; without it nothing is saved.
    if (!readerLoad_ || !readerLoad_()) {
        // A read ended by closing the window ends without a message.
        if (!reader_->Closing()) prompter_->Message(linktext::kNotSaved, MessageIcon::Warning);
        return;
    }
    const QString path = SaveDataFileDialog(this, Q(config_.DialogFolder(config_.SaveFolder())),
                                            Q(session_->ProposedFileName()));
    if (path.isEmpty()) {
        config_.SetSaveFolder(PathToUtf8(config_.DataFolder()));
        prompter_->Message(linktext::kNotSaved, MessageIcon::Warning);
        return;
    }
    config_.SetSaveFolder(S(QFileInfo(path).absolutePath()));
    const std::string error = WriteDataFile(Utf8ToPath(S(path)), session_->Image());
    if (!error.empty()) {
        prompter_->Message(error, MessageIcon::Error);
        return;
    }
    ShowPath(path);
    archive_->Record(Utf8ToPath(S(path)), *session_);
}

void TfMain::OpenPrevExecute() {
    // The crane's latest earlier check, selected in the dialog, when the archive knows one.
    const auto previous = archive_->PreviousFile(*session_);
    const QString path =
        OpenDataFileDialog(this, Q(ui::kPrevDialogTitle),
                           previous ? Q(PathToUtf8(*previous))
                                    : Q(config_.DialogFolder(PathToUtf8(config_.DataFolder()))));
    if (path.isEmpty()) return;
    if (!HasDataFileExtension(Utf8ToPath(S(path)))) {
        prompter_->Message(msg::kWrongExtension, MessageIcon::Warning);
        return;
    }
    if (session_->CompareWithPrevious(Utf8ToPath(S(path)))) {
        SetDataCommandsEnabled(false);
        ShowModel();
    }
}

void TfMain::CraneHistoryExecute() {
    const auto checks = archive_->History(*session_);
    if (!checks) return;  // the archive has told what is wrong with it
    if (checks->empty()) {
        prompter_->Message(archive_text::kNotInArchive, MessageIcon::Information);
        return;
    }
    TfHistory window(*checks, clock_->Now(), this);
    window.exec();
}

void TfMain::GetFromCopyrExecute() {
    // readerLoad_ reads the image and asks the checksum question (LoadFromReader).
    dataModule_->GetFromCopyr->setEnabled(false);
    const bool loaded = readerLoad_ && readerLoad_();
    dataModule_->GetFromCopyr->setEnabled(true);
    if (loaded) {
        // A reading replaces a period image; a failed one may have left it half overwritten,
        // so it stays unwritable until a load succeeds.
        session_->EndPeriodImage();
        session_->Refresh();
        ShowModel();
    }
    SetDataCommandsEnabled(true);
}

bool TfMain::WriteConfirmed(bool editMode) {
    if (editMode) return true;
    const DisplayModel& m = session_->Model();
    return prompter_->Ask(ui::WriteShownQuestion(m.Text(Ctl::eMarka), m.Text(Ctl::eNumber)),
                          QuestionButtons::YesNo);
}

void TfMain::ShowWrittenBlocks() {
    // The assembly brings texts into their bounds and formats (a year out of range, an empty
    // winch capacity): the pages show what the reader now holds, not what was typed.
    FillPassportsAndSettings(session_->Image(), session_->Model());
    ShowModel();
}

void TfMain::PkrSaveExecute() {
    if (!WriteConfirmed(tsMain_->EditMode())) return;
    const bool written = reader_->Run([this](ReaderLink& link) {
        return WriteIdentification(*session_, {link, reader_->LinkPrompter(), {}},
                                   tsMain_->WithLongTermInformation()) == WriteResult::Written;
    });
    if (written) {
        tsMain_->EndEditMode();
        ShowWrittenBlocks();
    } else {
        // The assembly may have changed texts of the page (empty winch capacities become "0").
        edits_->Show(session_->Model());
    }
}

void TfMain::LevelSaveExecute() {
    if (!WriteConfirmed(tsTools_->EditMode())) return;
    const bool written = reader_->Run([this](ReaderLink& link) {
        const auto showField = [this](Ctl control) {
            auto* scroll = pages_->findChild<QScrollArea*>(tsTools_->objectName() + "Scroll");
            pages_->setCurrentWidget(scroll);
            tsTools_->ShowField(control);
            if (QLineEdit* edit = (*edits_)[control]) scroll->ensureWidgetVisible(edit);
        };
        return WriteSettings(*session_, {link, reader_->LinkPrompter(), {}, showField}) ==
               WriteResult::Written;
    });
    if (written) {
        tsTools_->EndEditMode();
        ShowWrittenBlocks();
    } else {
        // The edits hold the clamped values from the moment they were read, written or not.
        edits_->Show(session_->Model());
    }
}

QString TfMain::HelpFile() const {
    return Q(PathToUtf8(locations_.helpFile));
}

void TfMain::HelpExecute() {
    OpenWithSystem(HelpFile(), NotOpenedTeller(HelpFile()));
}

std::function<void()> TfMain::NotOpenedTeller(const QString& file) {
    // The opener may end after the window has closed.
    QPointer<TfMain> window(this);
    return [window, file] {
        if (!window) return;
        window->prompter_->Message(ui::NotOpenedText(S(QDir::toNativeSeparators(file))),
                                   MessageIcon::Warning);
    };
}

void TfMain::AttachReaderLink() {
    MainReader::WindowParts parts;
    parts.window = this;
    parts.statusPanel = panels_[0];
    parts.progress = progressBar_;
    parts.commands = dataModule_;
    parts.helpFile = HelpFile();
    reader_ = std::make_unique<MainReader>(*prompter_, config_, std::move(parts));
    SetReaderLoad([this] { return reader_->Load(session_->Image()); });
}

}  // namespace orbisk
