// The specialists register dialog against a real configuration file in a private folder.
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <fstream>
#include <sstream>

#include "ReportWindowSupport.h"
#include "base/TextCodec.h"

namespace orbisk::test {
namespace {

namespace fs = std::filesystem;

class SpecDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ini_ = Utf8ToPath(S(dir_.filePath("orbisk.ini")));
        config_ = std::make_unique<Config>(ini_, Utf8ToPath(S(dir_.filePath("Данные"))));
    }
    void TearDown() override { EXPECT_EQ(watchdog_.stray, 0) << "a dialog was left open"; }

    // The file as the program keeps it: Windows-1251, CR LF.
    void WriteIni(const std::string& utf8) {
        std::string text;
        for (char c : Utf8ToCp1251(utf8)) {
            if (c == '\n') text += '\r';
            text += c;
        }
        std::ofstream(ini_, std::ios::binary) << text;
    }
    std::string IniText() const {
        std::ifstream in(ini_, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return Cp1251ToUtf8(out.str());
    }

    QComboBox* Family(TfSpec& fSpec) { return fSpec.findChild<QComboBox*>("cbFamily"); }
    QString Field(TfSpec& fSpec, const char* name) {
        return fSpec.findChild<QLineEdit*>(name)->text();
    }
    QStringList Listed(TfSpec& fSpec) {
        QStringList names;
        for (int i = 0; i < Family(fSpec)->count(); ++i) names << Family(fSpec)->itemText(i);
        return names;
    }
    void Press(TfSpec& fSpec, const char* button) {
        QTest::mouseClick(fSpec.findChild<QAbstractButton*>(button), Qt::LeftButton);
    }
    // Picks the entry at `index` from the drop-down list as the keyboard does.
    void Pick(TfSpec& fSpec, int index) {
        QComboBox* family = Family(fSpec);
        family->setFocus();
        family->setCurrentIndex(-1);
        for (int i = 0; i <= index; ++i) QTest::keyClick(family, Qt::Key_Down);
        ASSERT_EQ(family->currentIndex(), index);
    }

    QTemporaryDir dir_;
    fs::path ini_;
    std::unique_ptr<Config> config_;
    ModalWatchdog watchdog_;
};

constexpr char kRegister[] =
    "[_Конфигурация_]\n"
    "Порт_ПСИ=888\n"
    "[Иванов]\n"
    "Имя=Иван\n"
    "Отчество=Петрович\n"
    "Работает=ООО \"Кран & Ко\"\n"
    "Удостоверение=12-345\n"
    "Выдано=01.02.2020 Москва\n"
    "Срок=01.02.2025\n"
    "[_Вид_]\n"
    "Слева=10\n"
    "[_Вид_старый]\n"
    "Слева=1\n"
    "[Абрамов]\n"
    "Имя=Пётр\n"
    "[_Конфигурация_копия]\n"
    "Порт_ПСИ=COM3\n";

TEST_F(SpecDialog, HasItsCaptionFieldsLabelsButtonsAndTabOrder) {
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    EXPECT_EQ(fSpec.windowTitle(), "Специалист по обработке информации РП");
    QStringList labels;
    for (QLabel* l : fSpec.findChildren<QLabel*>()) labels << l->text();
    for (const char* text : {"Фамилия", "Имя", "Отчество", "Место работы", "Удостоверение №",
                             "дата и место выдачи", "срок действия"}) {
        EXPECT_TRUE(labels.contains(text)) << text;
    }
    EXPECT_EQ(fSpec.findChild<QPushButton*>("bbAdd")->text(), "Сохранить");
    EXPECT_EQ(fSpec.findChild<QPushButton*>("bbDel")->text(), "Удалить");
    EXPECT_EQ(fSpec.findChild<QPushButton*>("bbOk")->text(), "OK");
    EXPECT_TRUE(Family(fSpec)->isEditable());

    // Tab walks the fields in reading order, then the three buttons.
    const QStringList order = {"cbFamily", "eName", "eFather", "eWork", "eNum",
                               "eDate",    "eSrok", "bbAdd",   "bbDel", "bbOk"};
    QStringList walked;
    QWidget* w = Family(fSpec);
    for (int steps = 0; steps < 100 && walked.size() < order.size(); ++steps) {
        if (order.contains(w->objectName()) && !walked.contains(w->objectName())) {
            walked << w->objectName();
        }
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(walked, order);
    fSpec.close();
}

TEST_F(SpecDialog, ListsTheSpecialistsInFileOrderWithoutTheProgramsSections) {
    WriteIni(kRegister);
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    EXPECT_EQ(Listed(fSpec), QStringList({"Иванов", "Абрамов"}));
    // A new dialog starts with empty fields; listing puts no name into the family field.
    EXPECT_EQ(Family(fSpec)->currentText(), "");
    EXPECT_EQ(Field(fSpec, "eName"), "");
    fSpec.close();
}

TEST_F(SpecDialog, AMissingFileIsAnEmptyRegisterCreatedByTheFirstSave) {
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    EXPECT_EQ(Family(fSpec)->count(), 0);
    TypeSpecialist(&fSpec, {"Орлов", "Олег", "", "", "", "", "2030"});
    Press(fSpec, "bbAdd");
    ASSERT_TRUE(fs::exists(ini_));
    EXPECT_EQ(config_->Ini().ReadString("Орлов", "Срок", "x"), "2030");
    EXPECT_EQ(config_->Ini().ReadString("Орлов", "Отчество", "x"), "");
    fSpec.close();
}

TEST_F(SpecDialog, PickingLoadsTheParticularsAndMissingKeysGiveEmptyFields) {
    WriteIni(kRegister);
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    Pick(fSpec, 0);
    EXPECT_EQ(Family(fSpec)->currentText(), "Иванов");
    EXPECT_EQ(Field(fSpec, "eName"), "Иван");
    EXPECT_EQ(Field(fSpec, "eFather"), "Петрович");
    EXPECT_EQ(Field(fSpec, "eWork"), "ООО \"Кран & Ко\"");
    EXPECT_EQ(Field(fSpec, "eNum"), "12-345");
    EXPECT_EQ(Field(fSpec, "eDate"), "01.02.2020 Москва");
    EXPECT_EQ(Field(fSpec, "eSrok"), "01.02.2025");
    Pick(fSpec, 1);
    EXPECT_EQ(Family(fSpec)->currentText(), "Абрамов");
    EXPECT_EQ(Field(fSpec, "eName"), "Пётр");
    for (const char* name : {"eFather", "eWork", "eNum", "eDate", "eSrok"}) {
        EXPECT_EQ(Field(fSpec, name), "") << name;
    }
    fSpec.close();
}

// Catches what the program hands to the system to open, instead of the system.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList opened;
public Q_SLOTS:
    void Open(const QUrl& url) { opened << url.toLocalFile(); }
};

TEST_F(SpecDialog, F1OpensTheHelpDocumentAtTheDialogsPlace) {
    OpenedUrls urls;
    TfSpec fSpec(nullptr, *config_, "/opt/orbisk/orbis_k.pdf");
    fSpec.show();
    EXPECT_EQ(fSpec.property("HelpContext").toInt(), 16);
    QTest::keyClick(&fSpec, Qt::Key_F1);
    EXPECT_EQ(urls.opened, QStringList({"/opt/orbisk/orbis_k.pdf"}));
    EXPECT_TRUE(fSpec.isVisible());
    // Without a help document F1 does nothing.
    TfSpec bare(nullptr, *config_);
    bare.show();
    QTest::keyClick(&bare, Qt::Key_F1);
    EXPECT_EQ(urls.opened.size(), 1);
}

// Typing as the keyboard does, for texts QTest cannot type (it knows Latin keys only).
void TypeText(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

TEST_F(SpecDialog, ATypedRegisteredNameKeepsTheTypedParticularsAndAListPickLoads) {
    WriteIni(kRegister);
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    QApplication::setActiveWindow(&fSpec);
    // The particulars first, then a family name that the register happens to hold.
    fSpec.findChild<QLineEdit*>("eName")->setText("Игорь");
    fSpec.findChild<QLineEdit*>("eSrok")->setText("31.12.2030");
    QComboBox* family = Family(fSpec);
    family->setFocus();
    TypeText(family, "Иванов");
    QTest::keyClick(family, Qt::Key_Tab);
    EXPECT_EQ(Field(fSpec, "eName"), "Игорь");
    EXPECT_EQ(Field(fSpec, "eSrok"), "31.12.2030");
    family->setFocus();
    family->lineEdit()->selectAll();
    TypeText(family, "Абрамов");
    QTest::keyClick(family, Qt::Key_Return);
    EXPECT_EQ(Field(fSpec, "eName"), "Игорь");
    EXPECT_EQ(Field(fSpec, "eSrok"), "31.12.2030");

    // A list opened and closed without a choice does not turn the next typed name into a pick.
    family->showPopup();
    family->hidePopup();
    QApplication::processEvents();
    family->lineEdit()->selectAll();
    TypeText(family, "Иванов");
    QTest::keyClick(family, Qt::Key_Tab);
    EXPECT_EQ(Field(fSpec, "eName"), "Игорь");

    // Choosing from the opened list loads the specialist.
    family->setFocus();
    family->showPopup();
    QAbstractItemView* list = family->view();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(family->currentText(), "Иванов");
    EXPECT_EQ(Field(fSpec, "eName"), "Иван");
    EXPECT_EQ(Field(fSpec, "eSrok"), "01.02.2025");
    fSpec.close();
}

TEST_F(SpecDialog, SaveStoresTheSixKeysInOrderAndTheListWaitsForTheNextDialog) {
    WriteIni(kRegister);
    {
        TfSpec fSpec(nullptr, *config_);
        fSpec.show();
        TypeSpecialist(&fSpec, {"Новиков", "Нил", "", "СМУ-5", "9", "", "2031"});
        Press(fSpec, "bbAdd");
        EXPECT_EQ(Listed(fSpec), QStringList({"Иванов", "Абрамов"}));
        EXPECT_EQ(Family(fSpec)->currentText(), "Новиков");
        fSpec.close();
    }
    EXPECT_TRUE(
        IniText().ends_with("[Новиков]\r\nИмя=Нил\r\nОтчество=\r\nРаботает=СМУ-5\r\n"
                            "Удостоверение=9\r\nВыдано=\r\nСрок=2031\r\n"))
        << IniText();
    EXPECT_EQ(config_->Ini().ReadInteger("_Вид_", "Слева", 0), 10);
    TfSpec next(nullptr, *config_);
    next.show();
    EXPECT_EQ(Listed(next), QStringList({"Иванов", "Абрамов", "Новиков"}));

    // Saving over a picked specialist changes his keys only.
    Pick(next, 0);
    auto* name = next.findChild<QLineEdit*>("eName");
    name->clear();
    Type(name, "Иоанн");
    Press(next, "bbAdd");
    EXPECT_EQ(config_->Ini().ReadString("Иванов", "Имя", ""), "Иоанн");
    EXPECT_EQ(config_->Ini().ReadString("Иванов", "Срок", ""), "01.02.2025");
    next.close();
}

TEST_F(SpecDialog, DeleteErasesThePickedSpecialistAndDropsHimFromTheList) {
    WriteIni(kRegister);
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    Pick(fSpec, 0);
    Press(fSpec, "bbDel");
    EXPECT_FALSE(config_->Ini().SectionExists("Иванов"));
    EXPECT_TRUE(config_->Ini().SectionExists("Абрамов"));
    EXPECT_EQ(config_->Ini().ReadInteger("_Вид_", "Слева", 0), 10);
    EXPECT_EQ(Listed(fSpec), QStringList({"Абрамов"}));
    // The particulars stay on screen.
    EXPECT_EQ(Family(fSpec)->currentText(), "Иванов");
    EXPECT_EQ(Field(fSpec, "eName"), "Иван");
    fSpec.close();
}

TEST_F(SpecDialog, DeleteOfATypedNameErasesItsSectionAndLeavesTheListAlone) {
    WriteIni(kRegister);
    TfSpec fSpec(nullptr, *config_);
    fSpec.show();
    config_->Ini().WriteString("Захаров", "Имя", "Зиновий");  // stored after the list was read
    Type(Family(fSpec)->lineEdit(), "Захаров");
    Press(fSpec, "bbDel");
    EXPECT_FALSE(config_->Ini().SectionExists("Захаров"));
    EXPECT_EQ(Listed(fSpec), QStringList({"Иванов", "Абрамов"}));

    // A picked name edited into one that is not in the file: nothing leaves the list.
    Pick(fSpec, 1);
    Type(Family(fSpec)->lineEdit(), "ин");
    const std::string before = IniText();
    Press(fSpec, "bbDel");
    EXPECT_EQ(IniText(), before);
    EXPECT_EQ(Listed(fSpec), QStringList({"Иванов", "Абрамов"}));
    fSpec.close();
}

TEST_F(SpecDialog, TheFieldsAreHandedOverHoweverTheDialogClosesAndNothingIsWritten) {
    WriteIni(kRegister);
    const std::string before = IniText();
    const Specialist typed{"Кузнецов", "Карп", "Кузьмич", "Завод <Прогресс>", "77", "2021", "2026"};
    for (Closing how : {Closing::Ok, Closing::CloseBox, Closing::Escape}) {
        DialogSpecialist provider(nullptr, *config_, QString());
        WhenShown<TfSpec>([&](TfSpec* fSpec) {
            TypeSpecialist(fSpec, typed);
            CloseSpec(fSpec, how);
        });
        EXPECT_EQ(provider.ChooseSpecialist(), typed) << static_cast<int>(how);
    }
    // A picked specialist comes over as the file has him.
    DialogSpecialist provider(nullptr, *config_, QString());
    WhenShown<TfSpec>([&](TfSpec* fSpec) {
        Pick(*fSpec, 1);
        CloseSpec(fSpec, Closing::Ok);
    });
    EXPECT_EQ(provider.ChooseSpecialist(), (Specialist{"Абрамов", "Пётр", "", "", "", "", ""}));
    EXPECT_EQ(IniText(), before);
}

}  // namespace
}  // namespace orbisk::test

#include "SpecDialogTest.moc"
