#include "reports/qt/Specu.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <utility>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtText.h"

namespace orbisk {

namespace {

constexpr char kCaption[] = "Специалист по обработке информации РП";
constexpr char kFamilyLabel[] = "Фамилия";
constexpr char kNameLabel[] = "Имя";
constexpr char kFatherLabel[] = "Отчество";
constexpr char kWorkLabel[] = "Место работы";
constexpr char kNumLabel[] = "Удостоверение №";
constexpr char kDateLabel[] = "дата и место выдачи";
constexpr char kSrokLabel[] = "срок действия";
constexpr char kAddCaption[] = "Сохранить";
constexpr char kDelCaption[] = "Удалить";
// The dialog's place in the help document; the document is always opened as a whole.
constexpr int kHelpContext = 16;

QLineEdit* MakeField(const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

// A field with its label above it.
QVBoxLayout* Labelled(const char* label, QWidget* field) {
    auto* box = new QVBoxLayout;
    box->setSpacing(2);
    auto* caption = new QLabel(Q(label));
    caption->setBuddy(field);
    box->addWidget(caption);
    box->addWidget(field);
    return box;
}

// The family field. Its list is read only when the user picks from it: with the drop-down list
// or the arrow keys and wheel that walk it. A typed name that happens to be in the register,
// finished with Enter or Tab, is just a typed name, so the particulars typed with it stay.
class FamilyBox final : public QComboBox {
public:
    using QComboBox::QComboBox;

    // True once for each activation that came from a pick.
    bool TakePick() { return std::exchange(picking_, false); }

    void showPopup() override {
        picking_ = true;
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // A choice from the list is announced right after the list closes; a list closed
        // without a choice must not make the next typed name a pick.
        QTimer::singleShot(0, this, [this] { picking_ = false; });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                picking_ = true;
                QComboBox::keyPressEvent(event);
                picking_ = false;
                return;
            default:
                QComboBox::keyPressEvent(event);
        }
    }
#if QT_CONFIG(wheelevent)
    void wheelEvent(QWheelEvent* event) override {
        picking_ = true;
        QComboBox::wheelEvent(event);
        picking_ = false;
    }
#endif

private:
    bool picking_ = false;
};

}  // namespace

TfSpec::TfSpec(QWidget* parent, Config& config, QString helpFile)
    : QDialog(parent), register_(config), helpFile_(std::move(helpFile)) {
    setObjectName("fSpec");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setProperty("HelpContext", kHelpContext);
    setWindowTitle(Q(kCaption));
    setModal(true);

    auto* family = new FamilyBox;
    cbFamily_ = family;
    cbFamily_->setObjectName("cbFamily");
    cbFamily_->setEditable(true);
    // The list is the register as the file held it when the dialog opened: typing a name adds
    // nothing to it, and a typed name stays exactly as typed.
    cbFamily_->setInsertPolicy(QComboBox::NoInsert);
    cbFamily_->setCompleter(nullptr);
    eName_ = MakeField("eName");
    eFather_ = MakeField("eFather");
    eWork_ = MakeField("eWork");
    eNum_ = MakeField("eNum");
    eDate_ = MakeField("eDate");
    eSrok_ = MakeField("eSrok");

    bbAdd_ = new QPushButton(Q(kAddCaption));
    bbAdd_->setObjectName("bbAdd");
    bbAdd_->setAutoDefault(false);
    bbDel_ = new QPushButton(Q(kDelCaption));
    bbDel_->setObjectName("bbDel");
    bbDel_->setAutoDefault(false);
    bbOk_ = new QPushButton(Q(ui::kOkButton));
    bbOk_->setObjectName("bbOk");
    bbOk_->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addLayout(Labelled(kFamilyLabel, cbFamily_), 0, 0, 1, 2);
    fields->addLayout(Labelled(kNameLabel, eName_), 1, 0);
    fields->addLayout(Labelled(kFatherLabel, eFather_), 1, 1);
    fields->addLayout(Labelled(kWorkLabel, eWork_), 2, 0, 1, 2);
    fields->addLayout(Labelled(kNumLabel, eNum_), 3, 0, 1, 2);
    fields->addLayout(Labelled(kDateLabel, eDate_), 4, 0, 1, 2);
    fields->addLayout(Labelled(kSrokLabel, eSrok_), 5, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(bbAdd_);
    buttons->addWidget(bbDel_);
    buttons->addWidget(bbOk_);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    QWidget* order[] = {cbFamily_, eName_, eFather_, eWork_, eNum_,
                        eDate_,    eSrok_, bbAdd_,   bbDel_, bbOk_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(cbFamily_, &QComboBox::activated, this, [this, family](int index) {
        if (family->TakePick()) cbFamilySelect(index);
    });
    connect(bbAdd_, &QPushButton::clicked, this, &TfSpec::bbAddClick);
    connect(bbDel_, &QPushButton::clicked, this, &TfSpec::bbDelClick);
    connect(bbOk_, &QPushButton::clicked, this, &QDialog::accept);

    resize(520, sizeHint().height());
    if (parent) {
        const QRect p = parent->frameGeometry();
        move(p.center() - rect().center());
    }
}

void TfSpec::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FormShow();
    QDialog::showEvent(event);
}

void TfSpec::keyPressEvent(QKeyEvent* event) {
    if (!HelpKeyPressed(this, event, helpFile_)) QDialog::keyPressEvent(event);
}

void TfSpec::FormShow() {
    // Filling the list must not put its first name into the family field.
    const QString typed = cbFamily_->currentText();
    cbFamily_->blockSignals(true);
    cbFamily_->clear();
    for (const std::string& family : register_.Families()) cbFamily_->addItem(Q(family));
    cbFamily_->setCurrentIndex(-1);
    cbFamily_->setEditText(typed);
    cbFamily_->blockSignals(false);
}

void TfSpec::cbFamilySelect(int index) {
    if (index < 0) return;
    const Specialist s = register_.Read(S(cbFamily_->itemText(index)));
    eName_->setText(Q(s.name));
    eFather_->setText(Q(s.father));
    eWork_->setText(Q(s.work));
    eNum_->setText(Q(s.number));
    eDate_->setText(Q(s.issued));
    eSrok_->setText(Q(s.validity));
}

void TfSpec::bbAddClick() {
    register_.Save(Fields());
}

void TfSpec::bbDelClick() {
    if (!register_.Delete(S(cbFamily_->currentText()))) return;
    // Only a name still selected from the list leaves it; a typed name leaves the list as it is.
    const int index = cbFamily_->currentIndex();
    if (index >= 0 && cbFamily_->itemText(index) == cbFamily_->currentText()) {
        const QString typed = cbFamily_->currentText();
        cbFamily_->blockSignals(true);
        cbFamily_->removeItem(index);
        cbFamily_->setCurrentIndex(-1);
        cbFamily_->setEditText(typed);
        cbFamily_->blockSignals(false);
    }
}

Specialist TfSpec::Fields() const {
    Specialist s;
    s.family = S(cbFamily_->currentText());
    s.name = S(eName_->text());
    s.father = S(eFather_->text());
    s.work = S(eWork_->text());
    s.number = S(eNum_->text());
    s.issued = S(eDate_->text());
    s.validity = S(eSrok_->text());
    return s;
}

Specialist DialogSpecialist::ChooseSpecialist() {
    TfSpec fSpec(parent_, config_, helpFile_);
    fSpec.exec();  // OK, Escape and the close box alike: the fields are what counts
    return fSpec.Fields();
}

}  // namespace orbisk
