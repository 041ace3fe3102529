#include "edit/qt/SettingsPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/qt/QtControlEdits.h"
#include "base/qt/QtDialogs.h"
#include "base/qt/QtHint.h"
#include "base/qt/QtLists.h"
#include "base/qt/QtText.h"
#include "edit/SettingsPageRules.h"
#include "edit/qt/EditCaptions.h"
#include "edit/qt/Normiru.h"
#include "edit/qt/Regimyu.h"

namespace orbisk {

namespace {

// Turns every click and double-click in a list into one signal: an empty list opens its dialog
// as well, so that the first rows can be entered.
class ListClicks final : public QObject {
public:
    ListClicks(QTreeWidget* list, std::function<void()> clicked)
        : QObject(list), clicked_(std::move(clicked)) {
        list->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease ||
            event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) clicked_();
        }
        return false;
    }

private:
    std::function<void()> clicked_;
};

}  // namespace

SettingsPage::SettingsPage(DisplayModel& model, ControlEdits& edits, QAction* write,
                           Prompter& prompter, QString helpFile, QWidget* parent)
    : QWidget(parent),
      model_(model),
      edits_(edits),
      prompter_(prompter),
      helpFile_(std::move(helpFile)) {
    setObjectName("tsTools");
    auto* outer = new QGroupBox(Q(ui::kSettingsGroup));
    outer->setObjectName("gbSettings");
    settingsTabs_ = new QTabWidget;
    settingsTabs_->setObjectName("pcSettings");
    for (int t = 0; t < 4; ++t) {
        QWidget* tab = t == 0 ? BuildConfigTab() : new QWidget;
        tab->setObjectName(kSettingsTabNames[t]);
        settingsTabPages_[t] = tab;
        settingsTabs_->addTab(tab, Q(kSettingsTabCaptions[t]));
    }
    BuildLevelTab(settingsTabPages_[1]);
    BuildExtLevelTab(settingsTabPages_[2]);
    BuildExtReleTab(settingsTabPages_[3]);

    chbEditLevel_ = new QCheckBox(Q(ui::kEditLevel));
    chbEditLevel_->setObjectName("chbEditLevel");
    SetHint(chbEditLevel_, ui::kEditHint);
    connect(chbEditLevel_, &QCheckBox::clicked, this, &SettingsPage::chbEditLevelClick);
    auto* button = new QPushButton;
    button->setObjectName("bbChangeLevel");
    // Enter never writes: the focus may rest on the button long after its write.
    button->setAutoDefault(false);
    BindButton(button, write);

    auto* ol = new QVBoxLayout(outer);
    ol->addWidget(settingsTabs_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chbEditLevel_);
    buttons->addWidget(button);
    buttons->addStretch();
    ol->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outer);

    chbEditLevelClick();
    ShowDesignRelayTexts();
}

QLineEdit* SettingsPage::SettingEdit(Ctl control) {
    QLineEdit* edit = edits_.Make(control);
    if (const SettingField* field = FindSettingField(control)) SetHint(edit, field->hint);
    edit->setMaximumWidth(80);
    connect(edit, &QLineEdit::textChanged, this,
            [this, control] { ApplySettingReaction(control); });
    return edit;
}

QButtonGroup* SettingsPage::Choice(QGroupBox* box, const SettingChoice& choice) {
    box->setObjectName(choice.name);
    QStringList items;
    for (int i = 0; i < choice.itemCount; ++i) items << Q(choice.items[i]);
    QButtonGroup* group = MakeChoice(box, items, choice.columns);
    connect(group, &QButtonGroup::idClicked, this,
            [this, &choice](int id) { ChoiceIndexOf(model_.choices, choice) = id; });
    return group;
}

static QString Caption(Ctl control) {
    return Q(FindSettingField(control)->caption);
}

QWidget* SettingsPage::BuildConfigTab() {
    auto* tab = new QWidget;
    auto* g = new QGridLayout(tab);
    g->addWidget(new QLabel(Q(kVersionCaption)), 0, 0);
    g->addWidget(edits_.Make(Ctl::eVersion, true), 0, 1);
    gbSensorCount_ = new QGroupBox(Q(kSensorCountGroup));
    gbSensorCount_->setObjectName("gbSensorCount");
    auto* sc = new QGridLayout(gbSensorCount_);
    constexpr Ctl kCounts[] = {Ctl::eLeb1Cnt, Ctl::eLeb2Cnt, Ctl::eLeb3Cnt};
    constexpr const char* kCountLabels[] = {"lLeb1", "lLeb2", "lLeb3"};
    for (int w = 0; w < 3; ++w) {
        lLeb_[w] = MakeLabel(QString(), kCountLabels[w]);
        sc->addWidget(lLeb_[w], w, 0);
        sc->addWidget(new QLabel(Caption(kCounts[w])), w, 1);
        sc->addWidget(SettingEdit(kCounts[w]), w, 2);
    }
    g->addWidget(gbSensorCount_, 1, 0, 1, 2);

    gbCalibration_ = new QGroupBox(Q(kCalibrationGroup));
    gbCalibration_->setObjectName("gbCalibration");
    lvCalibr_ = MakeList("lvCalibr", {{90, false}, {80, true}, {80, true}, {70, true}});
    SetHeader(lvCalibr_, DisplayModel().LvCalibr().columns);
    new ListClicks(lvCalibr_, [this] { lvCalibrDblClick(); });
    auto* cl = new QVBoxLayout(gbCalibration_);
    cl->addWidget(lvCalibr_);
    g->addWidget(gbCalibration_, 0, 2, 3, 1);

    gbWorkModes_ = new QGroupBox(Q(kWorkModesGroup));
    gbWorkModes_->setObjectName("gbWorkModes");
    auto* wm = new QGridLayout(gbWorkModes_);
    lWorkMode_ = MakeLabel(Caption(Ctl::eWorkMode), "lWorkMode");
    wm->addWidget(lWorkMode_, 0, 0);
    wm->addWidget(SettingEdit(Ctl::eWorkMode), 0, 1);
    chbSensWorkMode_ = new QCheckBox(Q(kSensWorkModeCaption));
    chbSensWorkMode_->setObjectName("chbSensWorkMode");
    connect(chbSensWorkMode_, &QCheckBox::clicked, this,
            [this](bool on) { model_.choices.chbSensWorkMode = on; });
    wm->addWidget(chbSensWorkMode_, 1, 0, 1, 2);
    lvWorkModeVal_ =
        MakeList("lvWorkModeVal", {{60, false}, {70, true}, {70, true}, {70, true}, {70, true}});
    lvWorkModeVal_->setMaximumHeight(60);
    SetHeader(lvWorkModeVal_, DisplayModel().LvWorkModeVal().columns);
    new ListClicks(lvWorkModeVal_, [this] { lvWorkModeValDblClick(); });
    wm->addWidget(lvWorkModeVal_, 2, 0, 1, 2);
    g->addWidget(gbWorkModes_, 2, 0, 1, 2);

    rgExtPultBox_ = new QGroupBox(Q(kExtPultChoice.caption));
    rgExtPult_ = Choice(rgExtPultBox_, kExtPultChoice);
    g->addWidget(rgExtPultBox_, 3, 0, 1, 2);
    rgExtDACBox_ = new QGroupBox(Q(kExtDacChoice.caption));
    rgExtDAC_ = Choice(rgExtDACBox_, kExtDacChoice);
    g->addWidget(rgExtDACBox_, 3, 2);
    return tab;
}

void SettingsPage::BuildLevelTab(QWidget* tab) {
    auto* g = new QGridLayout(tab);
    int row = 0;
    for (const SettingField* field : FieldsOnTab(SettingsTab::Level)) {
        const Ctl c = field->control;
        QLabel* label = new QLabel(Caption(c));
        if (c == Ctl::eStop1) (lStop1_ = label)->setObjectName("lStop1");
        if (c == Ctl::eStopMax) (lStopMax_ = label)->setObjectName("lStopMax");
        g->addWidget(label, row, 0);
        g->addWidget(SettingEdit(c), row, 1);
        ++row;
    }
    g->setColumnStretch(2, 1);
    g->setRowStretch(row, 1);
}

void SettingsPage::BuildExtLevelTab(QWidget* tab) {
    auto* g = new QGridLayout(tab);
    // The sensor checks on their own rows; the relay thresholds in their relays' groups.
    int row = 0;
    for (const SettingField* field : FieldsOnTab(SettingsTab::ExtLevel)) {
        const Ctl c = field->control;
        if (c != Ctl::eStopSens && c != Ctl::eStopPerekos) continue;
        g->addWidget(new QLabel(Caption(c)), row, 0);
        g->addWidget(SettingEdit(c), row++, 1);
    }
    const auto relayGroup = [&](const char* title, const char* name, Ctl on, Ctl off,
                                const SettingChoice& choice, QGroupBox*& box,
                                QButtonGroup*& buttons) {
        auto* group = new QGroupBox(Q(title));
        group->setObjectName(name);
        auto* rl = new QGridLayout(group);
        rl->addWidget(new QLabel(Caption(on)), 0, 0);
        rl->addWidget(SettingEdit(on), 0, 1);
        rl->addWidget(new QLabel(Caption(off)), 1, 0);
        rl->addWidget(SettingEdit(off), 1, 1);
        box = new QGroupBox(Q(choice.caption));
        buttons = Choice(box, choice);
        rl->addWidget(box, 2, 0, 1, 2);
        return group;
    };
    g->addWidget(relayGroup(kRelay3Group, "gbRele3", Ctl::eCtrlRele3, Ctl::eCtrlRele3_Off,
                            kRele3Choice, rgRele3Box_, rgRele3_),
                 row++, 0, 1, 2);
    g->addWidget(relayGroup(kRelay4Group, "gbRele4", Ctl::eCtrlRele4, Ctl::eCtrlRele4_Off,
                            kRele4Choice, rgRele4Box_, rgRele4_),
                 row++, 0, 1, 2);
    g->setColumnStretch(2, 1);
    g->setRowStretch(row, 1);
}

void SettingsPage::BuildExtReleTab(QWidget* tab) {
    auto* g = new QGridLayout(tab);
    auto* algBox = new QGroupBox(Q(kExtReleAlgChoice.caption));
    rgExtReleAlg_ = Choice(algBox, kExtReleAlgChoice);
    connect(rgExtReleAlg_, &QButtonGroup::idClicked, this,
            [this](int id) { rgExtReleAlgClick(id); });
    g->addWidget(algBox, 0, 0, 1, 3);
    const auto relays = FieldsOnTab(SettingsTab::ExtRele);
    for (int r = 0; r < 4; ++r) {
        const Ctl c = relays.at(static_cast<std::size_t>(r))->control;
        g->addWidget(new QLabel(Caption(c)), r + 1, 0);
        g->addWidget(SettingEdit(c), r + 1, 1);
        lExtR_[r] = MakeLabel(QString());
        lExtR_[r]->setObjectName(QString("lExtR%1").arg(r + 1));
        g->addWidget(lExtR_[r], r + 1, 2);
    }
    g->setColumnStretch(2, 1);
    g->setRowStretch(5, 1);
}

void SettingsPage::Show() {
    const Choices& c = model_.choices;
    SelectChoice(rgRele3_, c.rgRele3);
    SelectChoice(rgRele4_, c.rgRele4);
    SelectChoice(rgExtPult_, c.rgExtPult);
    SelectChoice(rgExtDAC_, c.rgExtDAC);
    SelectChoice(rgExtReleAlg_, c.rgExtReleAlg);
    chbSensWorkMode_->setChecked(c.chbSensWorkMode);
    FillList(lvCalibr_, model_.LvCalibr(), 1);
    FillList(lvWorkModeVal_, model_.LvWorkModeVal(), 1);

    // The page's live reactions run when decoding fills it, as when the user types.
    for (Ctl control : {Ctl::eStopSens, Ctl::eStopPerekos, Ctl::eCtrlRele3, Ctl::eCtrlRele3_Off,
                        Ctl::eCtrlRele4, Ctl::eCtrlRele4_Off, Ctl::eStop1, Ctl::eStopMax}) {
        ApplySettingReaction(control);
    }
    rgExtReleAlgClick(c.rgExtReleAlg);
}

void SettingsPage::ShowDesignRelayTexts() {
    for (QLabel* label : lExtR_) label->setText(Q(kExtRelayInitial));
}

void SettingsPage::ShowChannelCaptions() {
    for (int w = 0; w < 3; ++w) {
        lLeb_[w]->setText(Q(model_.GroupCaption(CaptionList::Load, w + 1)));
    }
    for (int g = 0; g < 3; ++g) {
        rgRele3_->button(g)->setText(Q(model_.GroupCaption(CaptionList::Load, g)));
    }
}

void SettingsPage::ApplySettingReaction(Ctl control) {
    const std::string text = S(edits_[control]->text());
    if (const auto color = IndicatorColor(control, text)) SetEditColor(edits_[control], *color);
    if (control == Ctl::eStop1 || control == Ctl::eStopMax) {
        if (const auto enabled = ThresholdLabelEnabled(text)) {
            (control == Ctl::eStop1 ? lStop1_ : lStopMax_)->setEnabled(*enabled);
        }
    }
    if (control == Ctl::eCtrlRele3 || control == Ctl::eCtrlRele3_Off) ApplyRelayRule(3);
    if (control == Ctl::eCtrlRele4 || control == Ctl::eCtrlRele4_Off) ApplyRelayRule(4);
}

void SettingsPage::ApplyRelayRule(int relay) {
    const Ctl on = relay == 3 ? Ctl::eCtrlRele3 : Ctl::eCtrlRele4;
    const Ctl off = relay == 3 ? Ctl::eCtrlRele3_Off : Ctl::eCtrlRele4_Off;
    const auto enabled = RelayChoiceEnabled(S(edits_[on]->text()), S(edits_[off]->text()));
    if (enabled) (relay == 3 ? rgRele3Box_ : rgRele4Box_)->setEnabled(*enabled);
}

void SettingsPage::rgExtReleAlgClick(int index) {
    const auto texts = ExtRelayTexts(index);
    for (int r = 0; r < 4; ++r) lExtR_[r]->setText(Q(texts[r]));
}

void SettingsPage::lvCalibrDblClick() {
    // A mouse press may reach a list of a read-only page: its values are for reading then.
    if (!EditMode()) return;
    TfNormir fNormir(window(), model_, prompter_, helpFile_);
    connect(&fNormir, &TfNormir::ListChanged, this,
            [this] { FillList(lvCalibr_, model_.LvCalibr(), 1); });
    fNormir.exec();
}

void SettingsPage::lvWorkModeValDblClick() {
    if (!EditMode()) return;
    TfRegimy fRegimy(window(), model_, helpFile_);
    if (fRegimy.exec() == QDialog::Accepted) FillList(lvWorkModeVal_, model_.LvWorkModeVal(), 1);
}

void SettingsPage::ShowField(Ctl control) {
    QLineEdit* edit = edits_[control];
    if (!edit) return;
    for (int t = 0; t < static_cast<int>(settingsTabPages_.size()); ++t) {
        if (settingsTabPages_[t]->isAncestorOf(edit)) settingsTabs_->setCurrentIndex(t);
    }
    edit->setFocus(Qt::OtherFocusReason);
}

bool SettingsPage::EditMode() const {
    return chbEditLevel_->isChecked();
}

void SettingsPage::EndEditMode() {
    chbEditLevel_->setChecked(false);
    chbEditLevelClick();
}

void SettingsPage::chbEditLevelClick() {
    const bool on = chbEditLevel_->isChecked();
    const EditColor color = EditModeColor(on);
    const auto paint = [&](std::initializer_list<Ctl> controls) {
        for (Ctl c : controls) SetEditColor(edits_[c], color);
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

}  // namespace orbisk
