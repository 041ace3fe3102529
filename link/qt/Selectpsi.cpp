#include "link/qt/Selectpsi.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "base/qt/QtCaptions.h"
#include "base/qt/QtHelp.h"
#include "base/qt/QtText.h"
#include "link/LinkTexts.h"

namespace orbisk {

namespace {

// The dialog's place in the help document; the document is always opened as a whole.
constexpr int kHelpContext = 8;
constexpr int kWidth = 394;
constexpr int kHeight = 168;
constexpr int kMargin = 16;   // the left margin, kept on the right of the widest text as well
constexpr int kLabelGap = 6;  // between "Адрес:" and its edit

// A label at its designed place, at least its designed size and as large as its text in the
// font it has (a larger font than the design's would otherwise clip the text).
void PlaceLabel(QLabel* label, int left, int top, int width, int height) {
    const QFontMetrics metrics(label->font());
    const QSize hint = label->sizeHint();
    label->setGeometry(left, top,
                       std::max({width, metrics.horizontalAdvance(label->text()), hint.width()}),
                       std::max({height, metrics.height(), hint.height()}));
}

}  // namespace

TfSelectPSI::TfSelectPSI(QWidget* parent, QString helpFile)
    : QDialog(parent), helpFile_(std::move(helpFile)) {
    setObjectName("fSelectPSI");
    setWindowTitle(Q(linktext::kDialogCaption));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(true);
    setProperty("HelpContext", kHelpContext);

    Label2_ = new QLabel(Q(linktext::kDialogPrompt), this);
    Label2_->setObjectName("Label2");
    PlaceLabel(Label2_, 16, 8, 215, 13);

    auto* box = new QGroupBox(Q(linktext::kDialogTypeCaption), this);
    box->setObjectName("rgType");
    box->setGeometry(16, 32, 177, 81);
    auto* boxLayout = new QVBoxLayout(box);
    rgType_ = new QButtonGroup(box);
    rgType_->setObjectName("rgType");
    const char* items[] = {linktext::kDialogTypeUsb, linktext::kDialogTypeLpt};
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(Q(items[i]), box);
        radio->setObjectName(QString("rgType_%1").arg(i));
        rgType_->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    rgType_->button(0)->setChecked(true);

    Label1_ = new QLabel(Q(linktext::kDialogAddressLabel), this);
    Label1_->setObjectName("Label1");
    PlaceLabel(Label1_, 216, 40, 34, 13);

    // The edit moves right only as far as a wide "Адрес:" needs.
    ePort_ = new QLineEdit(Q(linktext::kDialogDefaultUsbPort), this);
    ePort_->setObjectName("ePort");
    ePort_->setGeometry(std::max(256, Label1_->geometry().right() + 1 + kLabelGap), 36, 73, 21);
    Label1_->setBuddy(ePort_);

    bbSelect_ = new QPushButton(Q(ui::kOkButton), this);
    bbSelect_->setObjectName("bbSelect");
    bbSelect_->setGeometry(208, 88, 75, 25);
    bbSelect_->setDefault(true);

    BitBtn1_ = new QPushButton(Q(ui::kCancelButton), this);
    BitBtn1_->setObjectName("BitBtn1");
    BitBtn1_->setGeometry(288, 88, 75, 25);

    // Wide enough for every text; wider than designed only when the font asks for it.
    const int rightmost = std::max(Label2_->geometry().right(), ePort_->geometry().right()) + 1;
    setFixedSize(std::max(kWidth, rightmost + kMargin), kHeight);

    // The type, the port, then OK and Cancel.
    setTabOrder(rgType_->button(0), rgType_->button(1));
    setTabOrder(rgType_->button(1), ePort_);
    setTabOrder(ePort_, bbSelect_);
    setTabOrder(bbSelect_, BitBtn1_);

    // Only a real change of the type proposes its port: clicking the chosen item again keeps
    // what was typed.
    connect(rgType_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) rgTypeClick(id);
    });
    connect(bbSelect_, &QPushButton::clicked, this, &TfSelectPSI::bbSelectClick);
    connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfSelectPSI::rgTypeClick(int index) {
    ePort_->setText(Q(DefaultPortFor(index == 1 ? LinkType::LptPort : LinkType::UsbAdapter)));
}

// The text goes unchecked: the search that follows finds out whether a reader is there.
void TfSelectPSI::bbSelectClick() {
    accept();
}

ConnectionChoice TfSelectPSI::Choice() const {
    ConnectionChoice choice;
    choice.type = rgType_->checkedId() == 1 ? LinkType::LptPort : LinkType::UsbAdapter;
    choice.port = S(ePort_->text());
    return choice;
}

std::optional<ConnectionChoice> TfSelectPSI::Choose() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    return Choice();
}

void TfSelectPSI::keyPressEvent(QKeyEvent* event) {
    if (!HelpKeyPressed(this, event, helpFile_)) QDialog::keyPressEvent(event);
}

std::optional<ConnectionChoice> SelectPsiConnection::Choose() {
    TfSelectPSI fSelectPSI(parent_, helpFile_);
    return fSelectPSI.Choose();
}

}  // namespace orbisk
