#include "app/qt/Mainu.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/AppTexts.h"
#include "app/qt/Datau.h"
#include "app/qt/MainuReader.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtIcons.h"
#include "base/qt/QtPrompter.h"
#include "base/qt/QtText.h"
#include "edit/IdentificationEdit.h"
#include "image/DataFile.h"
#include "base/DateTime.h"
#include "image/Messages.h"
#include "views/qt/Gistu.h"
#include "views/qt/Opformu.h"

namespace orbisk {

namespace {

constexpr int kPanelWidths[4] = {400, 100, 100, 200};

QDate ToQDate(double value) {
    const CivilDate d = DateOfDay(WholeDays(value));
    return QDate(d.year, d.month, d.day);
}

double FromQDate(const QDate& date) {
    return static_cast<double>(DayNumber(date.year(), date.month(), date.day()));
}

// The cells of a list drawn with grid lines between them, as a report-style list with grid
// lines shows them.
class GridLinesDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(option.palette.color(QPalette::Mid));
        const QRect r = option.rect;
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

QTreeWidget* MakeList(const char* name, const std::vector<std::pair<int, bool>>& columns) {
    auto* list = new QTreeWidget;
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setColumnCount(static_cast<int>(columns.size()));
    QVariantList design;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        design << columns[c].first;
        list->setColumnWidth(c, columns[c].first);
        if (columns[c].second) list->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    }
    list->header()->setStretchLastSection(false);
    list->setProperty("designWidths", design);
    return list;
}

// The width a text needs in a list's column on this screen's font, its cell margins included.
int TextWidth(const QFontMetrics& metrics, const QTreeWidget* list, const QString& text) {
    return metrics.horizontalAdvance(text) +
           2 * list->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list) + 8;
}

// Raises a column's design width to what the texts it always shows need.
void WidenDesignWidth(QTreeWidget* list, int column, const QStringList& texts) {
    QVariantList design = list->property("designWidths").toList();
    for (const QString& text : texts) {
        design[column] = std::max(design[column].toInt(), TextWidth(list->fontMetrics(), list, text));
    }
    list->setProperty("designWidths", design);
    list->setColumnWidth(column, design[column].toInt());
}

// A column keeps its design width unless its caption needs more on this screen's font: the
// channel names the user gives the crane and winches must be readable in every list.
void SetHeader(QTreeWidget* list, const std::vector<std::string>& columns) {
    const QVariantList design = list->property("designWidths").toList();
    for (int c = 0; c < static_cast<int>(columns.size()) && c < list->columnCount(); ++c) {
        const QString caption = Q(columns[c]);
        list->headerItem()->setText(c, caption);
        if (c >= design.size()) continue;
        const int needed = TextWidth(list->header()->fontMetrics(), list, caption);
        list->setColumnWidth(c, std::max(design[c].toInt(), needed));
    }
}

// Fills a list in one batch with its updates suspended.
void FillList(QTreeWidget* list, const TableList& table, int centredFrom) {
    list->setUpdatesEnabled(false);
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(table.rows.size()));
    for (const auto& row : table.rows) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < static_cast<int>(row.size()); ++c) {
            item->setText(c, Q(row[c]));
            if (centredFrom >= 0 && c >= centredFrom) item->setTextAlignment(c, Qt::AlignCenter);
        }
        items.append(item);
    }
    list->addTopLevelItems(items);
    list->setUpdatesEnabled(true);
}

// A list as high as its header and rows, so that every row shows without scrolling.
void FitHeightToRows(QTreeWidget* list) {
    int height = list->header()->sizeHint().height() + 2 * list->frameWidth();
    for (int row = 0; row < list->topLevelItemCount(); ++row) height += list->sizeHintForRow(row);
    list->setFixedHeight(height);
}

QLabel* MakeLabel(const QString& text, const char* name = nullptr) {
    auto* label = new QLabel(text);
    if (name) label->setObjectName(name);
    return label;
}

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

    dataModule_ = new TDataModule1(this);
    BuildToolbarAndStatus();
    AttachReaderLink();

    pages_ = new QTabWidget;
    pages_->setObjectName("PageControl1");
    pages_->addTab(BuildMainPage(), Q(ui::kPageMain));
    pages_->addTab(BuildRegDataPage(), Q(ui::kPageRegData));
    pages_->addTab(BuildOperPage(), Q(ui::kPageOper));
    pages_->addTab(BuildToolsPage(), Q(ui::kPageTools));
    setCentralWidget(pages_);

    fGistogram_ = new TfGistogram(this, session_->Model());

    connect(dataModule_->GetFromCopyr, &QAction::triggered, this, &TfMain::GetFromCopyrExecute);
    connect(dataModule_->GetFromFile, &QAction::triggered, this, &TfMain::GetFromFileExecute);
    connect(dataModule_->SaveData, &QAction::triggered, this, &TfMain::SaveDataExecute);
    connect(dataModule_->OpenPrev, &QAction::triggered, this, &TfMain::OpenPrevExecute);
    connect(dataModule_->PkrSave, &QAction::triggered, this, &TfMain::PkrSaveExecute);
    connect(dataModule_->LevelSave, &QAction::triggered, this, &TfMain::LevelSaveExecute);
    connect(dataModule_->Help, &QAction::triggered, this, &TfMain::HelpExecute);
    connect(dataModule_->ShutDown, &QAction::triggered, this, &QWidget::close);
    connect(dataModule_, &TDataModule1::ReportRequested, this, &TfMain::ReportExecute);
    addActions({dataModule_->GetFromCopyr, dataModule_->GetFromFile, dataModule_->SaveData,
                dataModule_->Help, dataModule_->ShutDown, dataModule_->Preview});

    chbEditPKRClick();
    chbEditLevelClick();
    ShowModel();
    // Before any image the relay unit's rows keep their design texts.
    for (QLabel* label : lExtR_) label->setText(Q(kExtRelayInitial));
    resize(960, 720);
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
        auto* panel = new QLabel;
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        panel->setFixedWidth(kPanelWidths[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        bar->addWidget(panel);
        panels_[i] = panel;
    }
    if (ownPrompter_) ownPrompter_->SetStatusBar(panels_, progressBar_);
}

QLineEdit* TfMain::MakeEdit(Ctl control, bool readOnly) {
    auto* edit = new QLineEdit;
    edit->setObjectName(Q(std::string(ControlName(control))));
    edit->setReadOnly(readOnly);
    edits_[static_cast<int>(control)] = edit;
    if (KeyFilterOf(control) != KeyFilter::None) edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this, control](const QString& text) { session_->Model().Text(control) = S(text); });
    return edit;
}

QButtonGroup* TfMain::MakeChoice(QGroupBox* box, const QStringList& items, int columns) {
    auto* group = new QButtonGroup(box);
    group->setObjectName(box->objectName());
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i]);
        radio->setObjectName(box->objectName() + QString("_%1").arg(i));
        group->addButton(radio, i);
        grid->addWidget(radio, i / columns, i % columns);
    }
    return group;
}

QWidget* TfMain::BuildMainPage() {
    auto* page = new QWidget;
    page->setObjectName("tsMain");

    gbInfo_ = new QGroupBox(Q(ui::kGbInfo));
    gbInfo_->setObjectName("gbInfo");
    auto* info = new QFormLayout(gbInfo_);
    info->addRow(Q(ui::kCraneType), MakeEdit(Ctl::eMarka));
    info->addRow(Q(ui::kSerial), MakeEdit(Ctl::eNumber));
    info->addRow(Q(ui::kYear), MakeEdit(Ctl::eYear));
    info->addRow(Q(ui::kMaker), MakeEdit(Ctl::eProd));
    info->addRow(Q(ui::kOwner), MakeEdit(Ctl::eOwner));
    info->addRow(Q(ui::kClassGroup), MakeEdit(Ctl::eGroup));
    info->addRow(Q(ui::kServiceLife), MakeEdit(Ctl::eSrok));
    info->addRow(Q(ui::kCommissioning), MakeEdit(Ctl::eEnter));

    gbRegistrator_ = new QGroupBox(Q(ui::kGbRegistrator));
    gbRegistrator_->setObjectName("gbRegistrator");
    auto* reg = new QFormLayout(gbRegistrator_);
    reg->addRow(Q(ui::kRecorderType), MakeEdit(Ctl::eRegType));
    reg->addRow(Q(ui::kSerial), MakeEdit(Ctl::eRegNum));
    reg->addRow(Q(ui::kYear), MakeEdit(Ctl::eRegYear));
    reg->addRow(Q(ui::kMaker), MakeEdit(Ctl::eRegProd));
    reg->addRow(Q(ui::kInstaller), MakeEdit(Ctl::eRegSetupName));
    QLineEdit* setup = MakeEdit(Ctl::eRegSetup, true);
    setup->installEventFilter(this);
    reg->addRow(Q(ui::kInstallDate), setup);
    MonthCalendar1_ = new QCalendarWidget(this);
    MonthCalendar1_->setObjectName("MonthCalendar1");
    MonthCalendar1_->setWindowFlags(Qt::Popup);
    MonthCalendar1_->setGridVisible(true);
    MonthCalendar1_->hide();
    connect(MonthCalendar1_, &QCalendarWidget::clicked, this, [this] { MonthCalendar1Click(); });

    gbGruz_ = new QGroupBox(Q(ui::kGbGruz));
    gbGruz_->setObjectName("gbGruz");
    auto* gruz = new QGridLayout(gbGruz_);
    constexpr Ctl kCapacity[] = {Ctl::eSumGruz, Ctl::eGruz1, Ctl::eGruz2, Ctl::eGruz3};
    for (int g = 0; g < kGroups; ++g) {
        QLineEdit* name = MakeEdit(ChannelNameControl(g));
        connect(name, &QLineEdit::textEdited, this,
                [this, g](const QString& text) { ChannelNameEdited(g, text); });
        gruz->addWidget(name, g, 0);
        gruz->addWidget(MakeEdit(kCapacity[g]), g, 1);
        gruz->addWidget(new QLabel(Q(ui::kCapacityUnits[g])), g, 2);
    }

    auto* changes = new QGroupBox(Q(ui::kGbChanges));
    changes->setObjectName("GroupBox9");
    auto* ch = new QFormLayout(changes);
    ch->addRow(Q(ui::kChangeIdent), MakeEdit(Ctl::eChangePassport, true));
    ch->addRow(Q(ui::kChangeClock), MakeEdit(Ctl::eChangeRTC, true));
    ch->addRow(Q(ui::kChangeSettings), MakeEdit(Ctl::eProgramChange, true));

    chbEditPKR_ = new QCheckBox(Q(ui::kEditPkr));
    chbEditPKR_->setObjectName("chbEditPKR");
    SetHint(chbEditPKR_, ui::kEditHint);
    chbEditPKR_LONG_ = new QCheckBox(Q(ui::kEditPkrLong));
    chbEditPKR_LONG_->setObjectName("chbEditPKR_LONG");
    SetHint(chbEditPKR_LONG_, ui::kEditPkrLongHint);
    chbEditPKR_LONG_->setEnabled(false);
    connect(chbEditPKR_, &QCheckBox::clicked, this, &TfMain::chbEditPKRClick);
    connect(chbEditPKR_LONG_, &QCheckBox::clicked, this, &TfMain::chbEditPKRClick);
    auto* write = new QPushButton;
    write->setObjectName("bbChangeIdent");
    write->setDefault(true);
    BindButton(write, dataModule_->PkrSave);

    auto* grid = new QGridLayout(page);
    grid->addWidget(gbInfo_, 0, 0, 2, 1);
    grid->addWidget(gbRegistrator_, 0, 1);
    grid->addWidget(gbGruz_, 1, 1);
    grid->addWidget(changes, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chbEditPKR_);
    buttons->addWidget(write);
    buttons->addWidget(chbEditPKR_LONG_);
    buttons->addStretch();
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* TfMain::BuildRegDataPage() {
    auto* page = new QWidget;
    page->setObjectName("tsRegData");
    lvLoad_ = MakeList("lvLoad",
                       {{30, false}, {140, false}, {90, true}, {90, true}, {90, true}, {90, true}});
    lvRegStat_ =
        MakeList("lvRegStat", {{340, false}, {100, true}, {100, true}, {100, true}, {100, true}});
    // The twelve row captions are the parameters' names, shown whole.
    QStringList parameterNames;
    for (const char* caption : kRegStatCaptions) parameterNames << Q(caption);
    WidenDesignWidth(lvRegStat_, 0, parameterNames);

    auto* gistogram = new QPushButton(Q(ui::kGistogramButton));
    gistogram->setObjectName("bbGistogram");
    connect(gistogram, &QPushButton::clicked, this, [this] { fGistogram_->exec(); });

    auto* stepBox = new QGroupBox(Q(ui::kStepGroup));
    stepBox->setObjectName("rgStep");
    rgStep_ = MakeChoice(stepBox, {ui::kStepItems[0], ui::kStepItems[1], ui::kStepItems[2]}, 3);
    connect(rgStep_, &QButtonGroup::idClicked, this, [this](int id) {
        session_->Model().choices.rgStep = id;
        session_->FillLoadDistribution();
        ShowLoadDistribution();
    });

    auto* period = new QGroupBox(Q(ui::kPeriodGroup));
    period->setObjectName("gbPeriod");
    auto* pl = new QGridLayout(period);
    auto* start = new QPushButton;
    start->setObjectName("bbStartReport");
    BindButton(start, dataModule_->OpenPrev);
    QLineEdit* from = MakeEdit(Ctl::eStartDateCheck, true);
    SetHint(from, ui::kPeriodStartHint);
    QLineEdit* to = MakeEdit(Ctl::eDateCheck, true);
    SetHint(to, ui::kPeriodEndHint);
    pl->addWidget(start, 0, 0, 2, 1);
    pl->addWidget(new QLabel(Q(ui::kPeriodStart)), 0, 1);
    pl->addWidget(from, 0, 2);
    pl->addWidget(new QLabel(Q(ui::kPeriodEnd)), 1, 1);
    pl->addWidget(to, 1, 2);

    auto* work = new QGroupBox(Q(ui::kWorkGroup));
    work->setObjectName("gbWork");
    auto* wl = new QVBoxLayout(work);
    wl->addWidget(lvRegStat_);

    auto* layout = new QGridLayout(page);
    layout->addWidget(MakeLabel(Q(ui::kLoadTitle)), 0, 0, 1, 3);
    layout->addWidget(lvLoad_, 1, 0, 1, 3);
    layout->addWidget(gistogram, 2, 0);
    layout->addWidget(stepBox, 2, 1);
    layout->addWidget(period, 2, 2);
    layout->addWidget(work, 3, 0, 1, 3);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(3, 0);  // the parameters list is as high as its rows
    return page;
}

QWidget* TfMain::BuildOperPage() {
    auto* page = new QWidget;
    page->setObjectName("tsOper");
    auto* box = new QGroupBox(Q(ui::kCyclesGroup));
    box->setObjectName("gbCycles");
    lvLast_ = MakeList("lvLast", {{160, false},
                                  {70, false},
                                  {70, false},
                                  {70, false},
                                  {70, false},
                                  {90, false},
                                  {150, false},
                                  {70, false}});
    SetHint(lvLast_, ui::kCyclesHint);
    lvLast_->setItemDelegate(new GridLinesDelegate(lvLast_));
    lvLast_->setIconSize(QSize(34, 16));
    connect(lvLast_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { lvLastDblClick(item); });

    dtpReportDate_ = new QDateEdit;
    dtpReportDate_->setObjectName("dtpReportDate");
    dtpReportDate_->setDisplayFormat("dd.MM.yyyy");
    dtpReportDate_->setCalendarPopup(true);
    connect(dtpReportDate_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (filling_) return;
        session_->Model().reportDate = FromQDate(date);
        session_->Model().Text(Ctl::dtpReportDate) = ShortDateText(FromQDate(date));
        session_->FillCycleList();
        ShowCycleList();
    });

    auto* filterBox = new QGroupBox;
    filterBox->setObjectName("rgLast");
    rgLast_ = MakeChoice(filterBox,
                         {ui::kCycleFilterItems[0], ui::kCycleFilterItems[1],
                          ui::kCycleFilterItems[2], ui::kCycleFilterItems[3]},
                         4);
    connect(rgLast_, &QButtonGroup::idClicked, this, [this](int id) {
        session_->Model().choices.rgLast = id;
        dtpReportDate_->setEnabled(id == static_cast<int>(CycleFilter::ByDate));
        session_->FillCycleList();
        ShowCycleList();
    });

    auto* bl = new QVBoxLayout(box);
    bl->addWidget(lvLast_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(dtpReportDate_);
    bottom->addWidget(filterBox, 1);
    bl->addLayout(bottom);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box);
    return page;
}

QWidget* TfMain::BuildToolsPage() {
    auto* page = new QWidget;
    page->setObjectName("tsTools");
    auto* outer = new QGroupBox(Q(ui::kSettingsGroup));
    outer->setObjectName("gbSettings");
    settingsTabs_ = new QTabWidget;
    settingsTabs_->setObjectName("pcSettings");
    std::array<QGridLayout*, 4> tabGrids{};
    for (int t = 0; t < 4; ++t) {
        auto* tab = new QWidget;
        tab->setObjectName(kSettingsTabNames[t]);
        settingsTabPages_[t] = tab;
        settingsTabs_->addTab(tab, Q(kSettingsTabCaptions[t]));
        tabGrids[t] = new QGridLayout(tab);
    }

    const auto settingEdit = [this](Ctl control) {
        QLineEdit* edit = MakeEdit(control);
        const SettingField* field = FindSettingField(control);
        if (field) SetHint(edit, field->hint);
        edit->setMaximumWidth(80);
        connect(edit, &QLineEdit::textChanged, this,
                [this, control] { ApplySettingReaction(control); });
        return edit;
    };
    const auto caption = [](Ctl control) { return Q(FindSettingField(control)->caption); };

    // Configuration tab.
    {
        QGridLayout* g = tabGrids[0];
        g->addWidget(new QLabel(Q(kVersionCaption)), 0, 0);
        g->addWidget(MakeEdit(Ctl::eVersion, true), 0, 1);
        gbSensorCount_ = new QGroupBox(Q(kSensorCountGroup));
        gbSensorCount_->setObjectName("gbSensorCount");
        auto* sc = new QGridLayout(gbSensorCount_);
        constexpr Ctl kCounts[] = {Ctl::eLeb1Cnt, Ctl::eLeb2Cnt, Ctl::eLeb3Cnt};
        for (int w = 0; w < 3; ++w) {
            lLeb_[w] = MakeLabel(QString(), w == 0 ? "lLeb1" : w == 1 ? "lLeb2" : "lLeb3");
            sc->addWidget(lLeb_[w], w, 0);
            sc->addWidget(new QLabel(caption(kCounts[w])), w, 1);
            sc->addWidget(settingEdit(kCounts[w]), w, 2);
        }
        g->addWidget(gbSensorCount_, 1, 0, 1, 2);

        gbCalibration_ = new QGroupBox(Q(kCalibrationGroup));
        gbCalibration_->setObjectName("gbCalibration");
        lvCalibr_ = MakeList("lvCalibr", {{90, false}, {80, true}, {80, true}, {70, true}});
        SetHeader(lvCalibr_, DisplayModel().LvCalibr().columns);
        // The normalisation dialog opens here in edit mode.
        auto* cl = new QVBoxLayout(gbCalibration_);
        cl->addWidget(lvCalibr_);
        g->addWidget(gbCalibration_, 0, 2, 3, 1);

        gbWorkModes_ = new QGroupBox(Q(kWorkModesGroup));
        gbWorkModes_->setObjectName("gbWorkModes");
        auto* wm = new QGridLayout(gbWorkModes_);
        lWorkMode_ = MakeLabel(caption(Ctl::eWorkMode), "lWorkMode");
        wm->addWidget(lWorkMode_, 0, 0);
        wm->addWidget(settingEdit(Ctl::eWorkMode), 0, 1);
        chbSensWorkMode_ = new QCheckBox(Q(kSensWorkModeCaption));
        chbSensWorkMode_->setObjectName("chbSensWorkMode");
        connect(chbSensWorkMode_, &QCheckBox::clicked, this,
                [this](bool on) { session_->Model().choices.chbSensWorkMode = on; });
        wm->addWidget(chbSensWorkMode_, 1, 0, 1, 2);
        lvWorkModeVal_ = MakeList("lvWorkModeVal",
                                  {{60, false}, {70, true}, {70, true}, {70, true}, {70, true}});
        lvWorkModeVal_->setMaximumHeight(60);
        SetHeader(lvWorkModeVal_, DisplayModel().LvWorkModeVal().columns);
        wm->addWidget(lvWorkModeVal_, 2, 0, 1, 2);
        g->addWidget(gbWorkModes_, 2, 0, 1, 2);

        rgExtPultBox_ = new QGroupBox(Q(kExtPultChoice.caption));
        rgExtPultBox_->setObjectName(kExtPultChoice.name);
        QStringList pult;
        for (int i = 0; i < kExtPultChoice.itemCount; ++i) pult << Q(kExtPultChoice.items[i]);
        rgExtPult_ = MakeChoice(rgExtPultBox_, pult, kExtPultChoice.columns);
        g->addWidget(rgExtPultBox_, 3, 0, 1, 2);
        rgExtDACBox_ = new QGroupBox(Q(kExtDacChoice.caption));
        rgExtDACBox_->setObjectName(kExtDacChoice.name);
        QStringList dac;
        for (int i = 0; i < kExtDacChoice.itemCount; ++i) dac << Q(kExtDacChoice.items[i]);
        rgExtDAC_ = MakeChoice(rgExtDACBox_, dac, kExtDacChoice.columns);
        g->addWidget(rgExtDACBox_, 3, 2);
        connect(rgExtPult_, &QButtonGroup::idClicked, this,
                [this](int id) { session_->Model().choices.rgExtPult = id; });
        connect(rgExtDAC_, &QButtonGroup::idClicked, this,
                [this](int id) { session_->Model().choices.rgExtDAC = id; });
    }

    // Main thresholds.
    {
        QGridLayout* g = tabGrids[1];
        int row = 0;
        for (Ctl c :
             {Ctl::eStop1, Ctl::eStop, Ctl::eStopMax, Ctl::eWarning, Ctl::eCycleStart,
              Ctl::eCycleEnd, Ctl::eCycleTime, Ctl::eEnable, Ctl::eAvrScale, Ctl::eMassScale}) {
            QLabel* label = new QLabel(caption(c));
            if (c == Ctl::eStop1) (lStop1_ = label)->setObjectName("lStop1");
            if (c == Ctl::eStopMax) (lStopMax_ = label)->setObjectName("lStopMax");
            g->addWidget(label, row, 0);
            g->addWidget(settingEdit(c), row, 1);
            ++row;
        }
        g->setColumnStretch(2, 1);
        g->setRowStretch(row, 1);
    }

    // Additional functions: sensor checks and relays 3 and 4.
    {
        QGridLayout* g = tabGrids[2];
        g->addWidget(new QLabel(caption(Ctl::eStopSens)), 0, 0);
        g->addWidget(settingEdit(Ctl::eStopSens), 0, 1);
        g->addWidget(new QLabel(caption(Ctl::eStopPerekos)), 1, 0);
        g->addWidget(settingEdit(Ctl::eStopPerekos), 1, 1);
        const auto relayGroup = [&](const char* title, const char* name, Ctl on, Ctl off,
                                    const SettingChoice& choice, QGroupBox*& box,
                                    QButtonGroup*& buttons, int relay) {
            auto* group = new QGroupBox(Q(title));
            group->setObjectName(name);
            auto* rl = new QGridLayout(group);
            rl->addWidget(new QLabel(caption(on)), 0, 0);
            rl->addWidget(settingEdit(on), 0, 1);
            rl->addWidget(new QLabel(caption(off)), 1, 0);
            rl->addWidget(settingEdit(off), 1, 1);
            box = new QGroupBox(Q(choice.caption));
            box->setObjectName(choice.name);
            QStringList items;
            for (int i = 0; i < choice.itemCount; ++i) items << Q(choice.items[i]);
            buttons = MakeChoice(box, items, choice.columns);
            rl->addWidget(box, 2, 0, 1, 2);
            connect(buttons, &QButtonGroup::idClicked, this, [this, relay](int id) {
                (relay == 3 ? session_->Model().choices.rgRele3
                            : session_->Model().choices.rgRele4) = id;
            });
            return group;
        };
        g->addWidget(relayGroup(kRelay3Group, "gbRele3", Ctl::eCtrlRele3, Ctl::eCtrlRele3_Off,
                                kRele3Choice, rgRele3Box_, rgRele3_, 3),
                     2, 0, 1, 2);
        g->addWidget(relayGroup(kRelay4Group, "gbRele4", Ctl::eCtrlRele4, Ctl::eCtrlRele4_Off,
                                kRele4Choice, rgRele4Box_, rgRele4_, 4),
                     3, 0, 1, 2);
        g->setColumnStretch(2, 1);
        g->setRowStretch(4, 1);
    }

    // Additional relay unit.
    {
        QGridLayout* g = tabGrids[3];
        auto* algBox = new QGroupBox(Q(kExtReleAlgChoice.caption));
        algBox->setObjectName(kExtReleAlgChoice.name);
        QStringList items;
        for (int i = 0; i < kExtReleAlgChoice.itemCount; ++i)
            items << Q(kExtReleAlgChoice.items[i]);
        rgExtReleAlg_ = MakeChoice(algBox, items, kExtReleAlgChoice.columns);
        connect(rgExtReleAlg_, &QButtonGroup::idClicked, this, [this](int id) {
            session_->Model().choices.rgExtReleAlg = id;
            rgExtReleAlgClick(id);
        });
        g->addWidget(algBox, 0, 0, 1, 3);
        constexpr Ctl kExt[] = {Ctl::eExtRele1, Ctl::eExtRele2, Ctl::eExtRele3, Ctl::eExtRele4};
        for (int r = 0; r < 4; ++r) {
            g->addWidget(new QLabel(caption(kExt[r])), r + 1, 0);
            g->addWidget(settingEdit(kExt[r]), r + 1, 1);
            lExtR_[r] = MakeLabel(Q(kExtRelayInitial));
            lExtR_[r]->setObjectName(QString("lExtR%1").arg(r + 1));
            g->addWidget(lExtR_[r], r + 1, 2);
        }
        g->setColumnStretch(2, 1);
        g->setRowStretch(5, 1);
    }

    chbEditLevel_ = new QCheckBox(Q(ui::kEditLevel));
    chbEditLevel_->setObjectName("chbEditLevel");
    SetHint(chbEditLevel_, ui::kEditHint);
    connect(chbEditLevel_, &QCheckBox::clicked, this, &TfMain::chbEditLevelClick);
    auto* write = new QPushButton;
    write->setObjectName("bbChangeLevel");
    write->setDefault(true);
    BindButton(write, dataModule_->LevelSave);

    auto* ol = new QVBoxLayout(outer);
    ol->addWidget(settingsTabs_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chbEditLevel_);
    buttons->addWidget(write);
    buttons->addStretch();
    ol->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(outer);
    return page;
}

// ---------------------------------------------------------------------------------------------
// Showing the model.

void TfMain::ShowModel() {
    const DisplayModel& m = session_->Model();
    filling_ = true;
    for (int i = 0; i < kControlCount; ++i) {
        QLineEdit* edit = edits_[i];
        if (!edit) continue;
        const Ctl c = static_cast<Ctl>(i);
        edit->setText(Q(m.Text(c)));
        edit->setCursorPosition(0);
        QPalette p = edit->palette();
        const QColor text = m.Color(c) == TextColor::Red ? QColor(255, 0, 0) : QColor(0, 0, 0);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Text, text);
        }
        edit->setPalette(p);
    }
    ShowChoices();
    chbSensWorkMode_->setChecked(m.choices.chbSensWorkMode);
    FillList(lvCalibr_, m.LvCalibr(), 1);
    FillList(lvWorkModeVal_, m.LvWorkModeVal(), 1);
    FillList(lvRegStat_, m.LvRegStat(), 1);
    FitHeightToRows(lvRegStat_);
    ShowLoadDistribution();
    ShowCycleList();
    if (m.reportDate != 0) dtpReportDate_->setDate(ToQDate(m.reportDate));
    ShowChannelCaptions();
    filling_ = false;

    // The page's live reactions run when decoding fills it, as when the user types.
    for (Ctl c : {Ctl::eStopSens, Ctl::eStopPerekos, Ctl::eCtrlRele3, Ctl::eCtrlRele3_Off,
                  Ctl::eCtrlRele4, Ctl::eCtrlRele4_Off, Ctl::eStop1, Ctl::eStopMax}) {
        ApplySettingReaction(c);
    }
    rgExtReleAlgClick(m.choices.rgExtReleAlg);
}

void TfMain::ShowChoices() {
    const Choices& c = session_->Model().choices;
    const auto select = [](QButtonGroup* group, int index) {
        QAbstractButton* button = group->button(index);
        if (button) {
            button->setChecked(true);
            return;
        }
        group->setExclusive(false);
        for (auto* b : group->buttons()) b->setChecked(false);
        group->setExclusive(true);
    };
    select(rgRele3_, c.rgRele3);
    select(rgRele4_, c.rgRele4);
    select(rgExtPult_, c.rgExtPult);
    select(rgExtDAC_, c.rgExtDAC);
    select(rgExtReleAlg_, c.rgExtReleAlg);
    select(rgStep_, c.rgStep);
    select(rgLast_, c.rgLast);
    dtpReportDate_->setEnabled(c.rgLast == static_cast<int>(CycleFilter::ByDate));
}

void TfMain::ShowLoadDistribution() {
    FillList(lvLoad_, session_->Model().LvLoad(), 2);
    fGistogram_->BuildSeries();
}

void TfMain::ShowCycleList() {
    const auto& rows = session_->Model().cycles;
    lvLast_->setUpdatesEnabled(false);
    lvLast_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const CycleRow& row : rows) {
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < CycleRow::kCells; ++c) item->setText(c, Q(row.cells[c]));
        if (row.icon != RowIcon::None || row.hasFrame) {
            item->setIcon(0, CycleRowIcon(row.icon, row.hasFrame));
        }
        item->setData(0, Qt::UserRole, row.hasFrame);
        items.append(item);
    }
    lvLast_->addTopLevelItems(items);
    lvLast_->setUpdatesEnabled(true);
}

void TfMain::ShowChannelCaptions() {
    const DisplayModel& m = session_->Model();
    SetHeader(lvLoad_, m.LvLoad().columns);
    SetHeader(lvRegStat_, m.LvRegStat().columns);
    SetHeader(lvLast_, m.LvLast().columns);
    for (int w = 0; w < 3; ++w) lLeb_[w]->setText(Q(m.GroupCaption(CaptionList::Load, w + 1)));
    for (int g = 0; g < 3; ++g) {
        rgRele3_->button(g)->setText(Q(m.GroupCaption(CaptionList::Load, g)));
    }
}

void TfMain::ChannelNameEdited(int group, const QString& text) {
    DisplayModel& m = session_->Model();
    m.SetChannelName(group, S(text));
    m.Text(ChannelNameControl(group)) = S(text);  // the edit shows what was typed
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

// ---------------------------------------------------------------------------------------------
// Colours and the live reactions of the settings page.

void TfMain::SetEditColor(QWidget* edit, EditColor color) {
    QColor c;
    switch (color) {
        case EditColor::Window:
            c = QApplication::palette().color(QPalette::Active, QPalette::Base);
            break;
        case EditColor::ButtonFace:
            c = QApplication::palette().color(QPalette::Active, QPalette::Button);
            break;
        case EditColor::Green:
            c = QColor(0, 255, 0);
            break;
        case EditColor::Red:
            c = QColor(255, 0, 0);
            break;
    }
    QPalette p = edit->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, c);
    }
    edit->setPalette(p);
}

void TfMain::ApplySettingReaction(Ctl control) {
    const std::string text = S(edits_[static_cast<int>(control)]->text());
    if (const auto color = IndicatorColor(control, text)) {
        SetEditColor(edits_[static_cast<int>(control)], *color);
    }
    if (control == Ctl::eStop1 || control == Ctl::eStopMax) {
        if (const auto enabled = ThresholdLabelEnabled(text)) {
            (control == Ctl::eStop1 ? lStop1_ : lStopMax_)->setEnabled(*enabled);
        }
    }
    if (control == Ctl::eCtrlRele3 || control == Ctl::eCtrlRele3_Off) ApplyRelayRule(3);
    if (control == Ctl::eCtrlRele4 || control == Ctl::eCtrlRele4_Off) ApplyRelayRule(4);
}

void TfMain::ApplyRelayRule(int relay) {
    const Ctl on = relay == 3 ? Ctl::eCtrlRele3 : Ctl::eCtrlRele4;
    const Ctl off = relay == 3 ? Ctl::eCtrlRele3_Off : Ctl::eCtrlRele4_Off;
    const auto enabled = RelayChoiceEnabled(S(edits_[static_cast<int>(on)]->text()),
                                            S(edits_[static_cast<int>(off)]->text()));
    if (enabled) (relay == 3 ? rgRele3Box_ : rgRele4Box_)->setEnabled(*enabled);
}

void TfMain::rgExtReleAlgClick(int index) {
    const auto texts = ExtRelayTexts(index);
    for (int r = 0; r < 4; ++r) lExtR_[r]->setText(Q(texts[r]));
}

void TfMain::chbEditPKRClick() {
    const bool on = chbEditPKR_->isChecked();
    for (QGroupBox* box : {gbInfo_, gbGruz_, gbRegistrator_}) {
        box->setEnabled(on);
        for (QLineEdit* edit : box->findChildren<QLineEdit*>()) {
            SetEditColor(edit, EditModeColor(on));
        }
        for (QDateEdit* picker : box->findChildren<QDateEdit*>()) {
            SetEditColor(picker, EditModeColor(on));
        }
    }
    chbEditPKR_LONG_->setEnabled(on);
}

void TfMain::chbEditLevelClick() {
    const bool on = chbEditLevel_->isChecked();
    const EditColor color = EditModeColor(on);
    const auto paint = [&](std::initializer_list<Ctl> controls) {
        for (Ctl c : controls) SetEditColor(edits_[static_cast<int>(c)], color);
    };
    settingsTabPages_[0]->setEnabled(on);
    gbSensorCount_->setEnabled(on);
    paint({Ctl::eLeb1Cnt, Ctl::eLeb2Cnt, Ctl::eLeb3Cnt});
    gbCalibration_->setEnabled(on);
    SetEditColor(lvCalibr_, color);
    gbWorkModes_->setEnabled(on);
    chbSensWorkMode_->setEnabled(on);
    lWorkMode_->setEnabled(on);
    paint({Ctl::eWorkMode});
    SetEditColor(lvWorkModeVal_, color);
    rgExtPultBox_->setEnabled(on);
    rgExtDACBox_->setEnabled(on);
    settingsTabPages_[1]->setEnabled(on);
    for (QLineEdit* edit : settingsTabPages_[1]->findChildren<QLineEdit*>()) {
        SetEditColor(edit, color);
        edit->setEnabled(on);
    }
    settingsTabPages_[2]->setEnabled(on);
    paint({Ctl::eStopSens, Ctl::eStopPerekos, Ctl::eCtrlRele3, Ctl::eCtrlRele3_Off, Ctl::eCtrlRele4,
           Ctl::eCtrlRele4_Off});
    settingsTabPages_[3]->setEnabled(on);
    paint({Ctl::eExtRele1, Ctl::eExtRele2, Ctl::eExtRele3, Ctl::eExtRele4});
}

// ---------------------------------------------------------------------------------------------
// The installation-date calendar and the key filters.

void TfMain::eRegSetupClick() {
    QLineEdit* setup = edits_[static_cast<int>(Ctl::eRegSetup)];
    const long long today = WholeDays(clock_->Now());
    const long long day = CalendarDayFor(S(setup->text()), today);
    MonthCalendar1_->setSelectedDate(ToQDate(static_cast<double>(day)));
    MonthCalendar1_->move(setup->mapToGlobal(QPoint(0, setup->height())));
    MonthCalendar1_->show();
    setup->setReadOnly(true);
}

void TfMain::MonthCalendar1Click() {
    QLineEdit* setup = edits_[static_cast<int>(Ctl::eRegSetup)];
    const QString text =
        Q(InstallDateText(static_cast<long long>(FromQDate(MonthCalendar1_->selectedDate()))));
    setup->setText(text);
    session_->Model().Text(Ctl::eRegSetup) = S(text);
    MonthCalendar1_->hide();
    setup->setReadOnly(false);
}

bool TfMain::event(QEvent* event) {
    // A status-bar tip hides the panels while it shows; during a transfer the person watches the
    // progress bar and the status texts, so no tip may cover them.
    if (event->type() == QEvent::StatusTip && reader_ && reader_->Busy()) return true;
    return QMainWindow::event(event);
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
    QLineEdit* setup = edits_[static_cast<int>(Ctl::eRegSetup)];
    if (watched == setup && (event->type() == QEvent::MouseButtonPress ||
                             event->type() == QEvent::MouseButtonDblClick)) {
        eRegSetupClick();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto control = edit ? ControlByName(S(edit->objectName())) : std::nullopt;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (control && text.size() == 1 && !(key->modifiers() & Qt::ControlModifier)) {
            const auto passed = FilterKey(KeyFilterOf(*control), text.at(0).unicode());
            if (!passed) return true;
            if (*passed != text.at(0).unicode()) {
                edit->insert(QString(QChar(static_cast<char16_t>(*passed))));
                session_->Model().Text(*control) = S(edit->text());
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Start-up and closing.

void TfMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TfMain::FormShow() {
    move(config_.WindowLeft(), config_.WindowTop());
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
    filling_ = true;
    ShowChoices();
    dtpReportDate_->setDate(ToQDate(m.reportDate));
    filling_ = false;

    for (int i = 0; i < kControlCount; ++i) {
        const int length = MaxTextLength(static_cast<Ctl>(i));
        if (length > 0 && edits_[i]) edits_[i]->setMaxLength(length);
    }

    if (!commandLineFile_.isEmpty()) OpenDataFileCommand(commandLineFile_);
}

void TfMain::closeEvent(QCloseEvent* event) {
    if (ownPrompter_) ownPrompter_->SetShuttingDown();
    reader_->WindowClosing();
    const DisplayModel& m = session_->Model();
    config_.SetWindowLeft(x());
    config_.SetWindowTop(y());
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
// the two never write into the image at the same time.
void TfMain::OpenHandedOverFile(const QString& path) {
    if (Reader().Busy()) {
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
    if (result == OpenResult::Opened) ShowModel();
}

void TfMain::GetFromFileExecute() {
    const QString path =
        OpenDataFileDialog(this, Q(ui::kOpenDialogTitle), Q(config_.OpenFolder()));
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
        if (!reader_->Closing()) prompter_->Message(ui::kNotSaved, MessageIcon::Warning);
        return;
    }
    const QString path = SaveDataFileDialog(this, Q(config_.SaveFolder()),
                                                         Q(session_->ProposedFileName()));
    if (path.isEmpty()) {
        config_.SetSaveFolder(PathToUtf8(config_.DataFolder()));
        prompter_->Message(ui::kNotSaved, MessageIcon::Warning);
        return;
    }
    config_.SetSaveFolder(S(QFileInfo(path).absolutePath()));
    const std::string error = WriteDataFile(Utf8ToPath(S(path)), session_->Image());
    if (!error.empty()) {
        prompter_->Message(error, MessageIcon::Error);
        return;
    }
    ShowPath(path);
}

void TfMain::OpenPrevExecute() {
    const QString path = OpenDataFileDialog(this, Q(ui::kPrevDialogTitle),
                                                         Q(PathToUtf8(config_.DataFolder())));
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

void TfMain::GetFromCopyrExecute() {
    // readerLoad_ reads the image and asks the checksum question (LoadFromReader).
    dataModule_->GetFromCopyr->setEnabled(false);
    const bool loaded = readerLoad_ && readerLoad_();
    dataModule_->GetFromCopyr->setEnabled(true);
    if (loaded) {
        session_->Refresh();
        ShowModel();
    }
    SetDataCommandsEnabled(true);
}

void TfMain::PkrSaveExecute() {
    // Integration point: WriteIdentification of the identification editor.
}

void TfMain::LevelSaveExecute() {
    // Integration point: WriteSettings of the settings editor.
}

QString TfMain::HelpFile() const {
    return QDir(Q(PathToUtf8(locations_.programFolder))).filePath(Q(ui::kHelpFileName));
}

void TfMain::HelpExecute() {
    OpenHelpDocument(HelpFile());
}

void TfMain::lvLastDblClick(QTreeWidgetItem* item) {
    if (!item || !item->data(0, Qt::UserRole).toBool()) return;
    const int row = lvLast_->indexOfTopLevelItem(item);
    const auto& rows = session_->Model().cycles;
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    TfOper fOper(this, *session_, lvLast_, rows[row].frameOffset);
    fOper.exec();
}

}  // namespace orbisk
