#include "views/qt/RegDataPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/qt/QtControlEdits.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtLists.h"
#include "base/qt/QtText.h"
#include "image/Session.h"
#include "views/qt/Gistu.h"
#include "views/qt/ViewCaptions.h"

namespace orbisk {

RegDataPage::RegDataPage(Session& session, ControlEdits& edits, QAction* openPrev,
                         TfGistogram& gistogram, QWidget* parent)
    : QWidget(parent), session_(session), gistogram_(gistogram) {
    setObjectName("tsRegData");
    lvLoad_ = MakeList("lvLoad",
                       {{30, false}, {140, false}, {90, true}, {90, true}, {90, true}, {90, true}});
    lvRegStat_ =
        MakeList("lvRegStat", {{340, false}, {100, true}, {100, true}, {100, true}, {100, true}});
    // The twelve row captions are the parameters' names, shown whole.
    QStringList parameterNames;
    for (const char* caption : kRegStatCaptions) parameterNames << Q(caption);
    WidenDesignWidth(lvRegStat_, 0, parameterNames);

    auto* histogram = new QPushButton(Q(ui::kGistogramButton));
    histogram->setObjectName("bbGistogram");
    connect(histogram, &QPushButton::clicked, this, [this] { gistogram_.exec(); });

    auto* stepBox = new QGroupBox(Q(ui::kStepGroup));
    stepBox->setObjectName("rgStep");
    rgStep_ = MakeChoice(stepBox, {ui::kStepItems[0], ui::kStepItems[1], ui::kStepItems[2]}, 3);
    connect(rgStep_, &QButtonGroup::idClicked, this, [this](int id) {
        session_.Model().choices.rgStep = id;
        session_.FillLoadDistribution();
        ShowLoadDistribution();
    });

    auto* period = new QGroupBox(Q(ui::kPeriodGroup));
    period->setObjectName("gbPeriod");
    auto* pl = new QGridLayout(period);
    auto* start = new QPushButton;
    start->setObjectName("bbStartReport");
    BindButton(start, openPrev);
    QLineEdit* from = edits.Make(Ctl::eStartDateCheck, true);
    SetHint(from, ui::kPeriodStartHint);
    QLineEdit* to = edits.Make(Ctl::eDateCheck, true);
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

    auto* layout = new QGridLayout(this);
    layout->addWidget(MakeLabel(Q(ui::kLoadTitle)), 0, 0, 1, 3);
    layout->addWidget(lvLoad_, 1, 0, 1, 3);
    layout->addWidget(histogram, 2, 0);
    layout->addWidget(stepBox, 2, 1);
    layout->addWidget(period, 2, 2);
    layout->addWidget(work, 3, 0, 1, 3);
    layout->setRowStretch(1, 3);
    layout->setRowStretch(3, 0);  // the parameters list is as high as its rows
}

void RegDataPage::Show() {
    FillList(lvRegStat_, session_.Model().LvRegStat(), 1);
    FitHeightToRows(lvRegStat_);
    ShowLoadDistribution();
}

void RegDataPage::ShowChoices() {
    SelectChoice(rgStep_, session_.Model().choices.rgStep);
}

void RegDataPage::ShowChannelCaptions() {
    SetHeader(lvLoad_, session_.Model().LvLoad().columns);
    SetHeader(lvRegStat_, session_.Model().LvRegStat().columns);
}

void RegDataPage::ShowLoadDistribution() {
    FillList(lvLoad_, session_.Model().LvLoad(), 2);
    gistogram_.BuildSeries();
}

}  // namespace orbisk
