#include "views/qt/OperPage.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/DateTime.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtIcons.h"
#include "base/qt/QtLists.h"
#include "base/qt/QtText.h"
#include "image/Session.h"
#include "views/qt/Opformu.h"
#include "views/qt/ViewCaptions.h"

namespace orbisk {

OperPage::OperPage(Session& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName("tsOper");
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
    ShowGridLines(lvLast_);
    lvLast_->setIconSize(QSize(34, 16));
    connect(lvLast_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { lvLastDblClick(item); });

    dtpReportDate_ = new QDateEdit;
    dtpReportDate_->setObjectName("dtpReportDate");
    dtpReportDate_->setDisplayFormat("dd.MM.yyyy");
    dtpReportDate_->setCalendarPopup(true);
    connect(dtpReportDate_, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (filling_) return;
        DisplayModel& m = session_.Model();
        m.reportDate = FromQDate(date);
        m.Text(Ctl::dtpReportDate) = ShortDateText(m.reportDate);
        session_.FillCycleList();
        ShowCycleList();
    });

    auto* filterBox = new QGroupBox;
    filterBox->setObjectName("rgLast");
    rgLast_ = MakeChoice(filterBox,
                         {ui::kCycleFilterItems[0], ui::kCycleFilterItems[1],
                          ui::kCycleFilterItems[2], ui::kCycleFilterItems[3]},
                         4);
    connect(rgLast_, &QButtonGroup::idClicked, this, [this](int id) {
        session_.Model().choices.rgLast = id;
        dtpReportDate_->setEnabled(id == static_cast<int>(CycleFilter::ByDate));
        session_.FillCycleList();
        ShowCycleList();
    });

    auto* bl = new QVBoxLayout(box);
    bl->addWidget(lvLast_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(dtpReportDate_);
    bottom->addWidget(filterBox, 1);
    bl->addLayout(bottom);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
}

void OperPage::ShowCycleList() {
    const auto& rows = session_.Model().cycles;
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

void OperPage::ShowChoices() {
    const int filter = session_.Model().choices.rgLast;
    SelectChoice(rgLast_, filter);
    dtpReportDate_->setEnabled(filter == static_cast<int>(CycleFilter::ByDate));
}

void OperPage::ShowReportDate() {
    const double date = session_.Model().reportDate;
    if (date == 0) return;
    filling_ = true;
    dtpReportDate_->setDate(ToQDate(date));
    filling_ = false;
}

void OperPage::ShowChannelCaptions() {
    SetHeader(lvLast_, session_.Model().LvLast().columns);
}

void OperPage::lvLastDblClick(QTreeWidgetItem* item) {
    if (!item || !item->data(0, Qt::UserRole).toBool()) return;
    const int row = lvLast_->indexOfTopLevelItem(item);
    const auto& rows = session_.Model().cycles;
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    TfOper fOper(window(), session_, lvLast_, rows[row].frameOffset);
    fOper.exec();
}

}  // namespace orbisk
