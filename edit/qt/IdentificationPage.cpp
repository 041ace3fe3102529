#include "edit/qt/IdentificationPage.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "base/qt/QtControlEdits.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtLists.h"
#include "base/qt/QtText.h"
#include "edit/IdentificationEdit.h"
#include "edit/qt/EditCaptions.h"

namespace orbisk {

namespace {

QString Caption(Ctl control) {
    return Q(IdentificationCaption(control));
}

}  // namespace

IdentificationPage::IdentificationPage(DisplayModel& model, ControlEdits& edits, const Clock& clock,
                                       QAction* write, QWidget* parent)
    : QWidget(parent), model_(model), edits_(edits), clock_(clock) {
    setObjectName("tsMain");
    const auto edit = [this](Ctl control, bool readOnly = false) {
        QLineEdit* e = edits_.Make(control, readOnly);
        if (KeyFilterOf(control) != KeyFilter::None) e->installEventFilter(this);
        return e;
    };

    gbInfo_ = new QGroupBox(Q(ui::kGbInfo));
    gbInfo_->setObjectName("gbInfo");
    auto* info = new QFormLayout(gbInfo_);
    // The edits widen with the window, whatever the style's habit: owners' and makers' names
    // are long.
    info->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    info->addRow(Caption(Ctl::eMarka), edit(Ctl::eMarka));
    info->addRow(Caption(Ctl::eNumber), edit(Ctl::eNumber));
    info->addRow(Caption(Ctl::eYear), edit(Ctl::eYear));
    info->addRow(Caption(Ctl::eProd), edit(Ctl::eProd));
    info->addRow(Caption(Ctl::eOwner), edit(Ctl::eOwner));
    info->addRow(Caption(Ctl::eGroup), edit(Ctl::eGroup));
    info->addRow(Caption(Ctl::eSrok), edit(Ctl::eSrok));
    info->addRow(Caption(Ctl::eEnter), edit(Ctl::eEnter));

    gbRegistrator_ = new QGroupBox(Q(ui::kGbRegistrator));
    gbRegistrator_->setObjectName("gbRegistrator");
    auto* reg = new QFormLayout(gbRegistrator_);
    reg->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    reg->addRow(Caption(Ctl::eRegType), edit(Ctl::eRegType));
    reg->addRow(Caption(Ctl::eRegNum), edit(Ctl::eRegNum));
    reg->addRow(Caption(Ctl::eRegYear), edit(Ctl::eRegYear));
    reg->addRow(Caption(Ctl::eRegProd), edit(Ctl::eRegProd));
    reg->addRow(Caption(Ctl::eRegSetupName), edit(Ctl::eRegSetupName));
    QLineEdit* setup = edit(Ctl::eRegSetup, true);
    setup->installEventFilter(this);
    reg->addRow(Caption(Ctl::eRegSetup), setup);
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
        QLineEdit* name = edit(ChannelNameControl(g));
        connect(name, &QLineEdit::textEdited, this, [this, g] { Q_EMIT ChannelNameEdited(g); });
        gruz->addWidget(name, g, 0);
        gruz->addWidget(edit(kCapacity[g]), g, 1);
        gruz->addWidget(new QLabel(Caption(kCapacity[g])), g, 2);
    }

    auto* changes = new QGroupBox(Q(ui::kGbChanges));
    changes->setObjectName("GroupBox9");
    auto* ch = new QFormLayout(changes);
    ch->addRow(Q(ui::kChangeIdent), edit(Ctl::eChangePassport, true));
    ch->addRow(Q(ui::kChangeClock), edit(Ctl::eChangeRTC, true));
    ch->addRow(Q(ui::kChangeSettings), edit(Ctl::eProgramChange, true));

    chbEditPKR_ = new QCheckBox(Q(ui::kEditPkr));
    chbEditPKR_->setObjectName("chbEditPKR");
    SetHint(chbEditPKR_, ui::kEditHint);
    chbEditPKR_LONG_ = new QCheckBox(Q(ui::kEditPkrLong));
    chbEditPKR_LONG_->setObjectName("chbEditPKR_LONG");
    SetHint(chbEditPKR_LONG_, ui::kEditPkrLongHint);
    chbEditPKR_LONG_->setEnabled(false);
    connect(chbEditPKR_, &QCheckBox::clicked, this, &IdentificationPage::chbEditPKRClick);
    connect(chbEditPKR_LONG_, &QCheckBox::clicked, this, &IdentificationPage::chbEditPKRClick);
    auto* button = new QPushButton;
    button->setObjectName("bbChangeIdent");
    // Enter never writes: the focus may rest on the button long after its write.
    button->setAutoDefault(false);
    BindButton(button, write);

    auto* grid = new QGridLayout(this);
    grid->addWidget(gbInfo_, 0, 0, 2, 1);
    grid->addWidget(gbRegistrator_, 0, 1);
    grid->addWidget(gbGruz_, 1, 1);
    grid->addWidget(changes, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chbEditPKR_);
    buttons->addWidget(button);
    buttons->addWidget(chbEditPKR_LONG_);
    buttons->addStretch();
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);

    chbEditPKRClick();
}

bool IdentificationPage::EditMode() const {
    return chbEditPKR_->isChecked();
}

bool IdentificationPage::WithLongTermInformation() const {
    return chbEditPKR_LONG_->isChecked();
}

void IdentificationPage::EndEditMode() {
    chbEditPKR_->setChecked(false);
    chbEditPKR_LONG_->setChecked(false);
    chbEditPKRClick();
}

void IdentificationPage::chbEditPKRClick() {
    const bool on = chbEditPKR_->isChecked();
    for (QGroupBox* box : {gbInfo_, gbGruz_, gbRegistrator_}) {
        box->setEnabled(on);
        for (QLineEdit* e : box->findChildren<QLineEdit*>()) SetEditColor(e, EditModeColor(on));
        for (QDateEdit* picker : box->findChildren<QDateEdit*>()) {
            SetEditColor(picker, EditModeColor(on));
        }
    }
    chbEditPKR_LONG_->setEnabled(on);
}

void IdentificationPage::eRegSetupClick() {
    QLineEdit* setup = edits_[Ctl::eRegSetup];
    const long long today = WholeDays(clock_.Now());
    const long long day = CalendarDayFor(S(setup->text()), today);
    MonthCalendar1_->setSelectedDate(ToQDate(static_cast<double>(day)));
    MonthCalendar1_->move(setup->mapToGlobal(QPoint(0, setup->height())));
    MonthCalendar1_->show();
    setup->setReadOnly(true);
}

void IdentificationPage::MonthCalendar1Click() {
    QLineEdit* setup = edits_[Ctl::eRegSetup];
    const QString text =
        Q(InstallDateText(static_cast<long long>(FromQDate(MonthCalendar1_->selectedDate()))));
    setup->setText(text);
    model_.Text(Ctl::eRegSetup) = S(text);
    MonthCalendar1_->hide();
    setup->setReadOnly(false);
}

bool IdentificationPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edits_[Ctl::eRegSetup] && (event->type() == QEvent::MouseButtonPress ||
                                              event->type() == QEvent::MouseButtonDblClick)) {
        // A press may reach the date of a read-only page: no calendar then.
        if (EditMode()) eRegSetupClick();
        return !EditMode();
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
                model_.Text(*control) = S(edit->text());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace orbisk
