// The register in the configuration file: the list in file order without the program's own
// sections, reading, saving and deleting.
#include <gtest/gtest.h>

#include "base/TextCodec.h"
#include "reports/SpecialistRegister.h"
#include "support/ReportFixtures.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class Register : public ::testing::Test {
protected:
    fs::path Ini() const { return dir_.Path() / "orbisk.ini"; }
    void WriteIni(const std::string& utf8) { WriteBytes(Ini(), Utf8ToCp1251(utf8)); }
    std::string IniText() const { return Cp1251ToUtf8(ReadBytes(Ini())); }

    TempDir dir_;
    Config config_{Ini(), dir_.Path()};
    SpecialistRegister register_{config_};
};

TEST_F(Register, ListsSpecialistsInFileOrderWithoutTheProgramsSections) {
    WriteIni(
        "[Сидоров]\r\nИмя=Пётр\r\n[_Вид_]\r\nСлева=10\r\n[Иванов]\r\nИмя=Иван\r\n"
        "[_Конфигурация_]\r\nПорт_ПСИ=COM1\r\n[_Вид_копия]\r\n[Абрамов]\r\n");
    EXPECT_EQ(register_.Families(), (std::vector<std::string>{"Сидоров", "Иванов", "Абрамов"}));
}

TEST_F(Register, AMissingFileIsAnEmptyRegisterAndTheFirstSaveCreatesIt) {
    EXPECT_TRUE(register_.Families().empty());
    EXPECT_EQ(register_.Read("Иванов"), Specialist{.family = "Иванов"});
    ASSERT_TRUE(register_.Save({.family = "Иванов", .name = "Иван", .validity = "2030"}));
    EXPECT_EQ(register_.Families(), std::vector<std::string>{"Иванов"});
}

TEST_F(Register, ReadsEveryKeyAndLeavesMissingOnesEmpty) {
    WriteIni(
        "[Иванов]\r\nИмя=Иван\r\nОтчество=Иванович\r\nРаботает=ООО \"Кран\"\r\n"
        "Удостоверение=123\r\nВыдано=01.02.2009 Москва\r\n");
    const Specialist s = register_.Read("Иванов");
    EXPECT_EQ(s.family, "Иванов");
    EXPECT_EQ(s.name, "Иван");
    EXPECT_EQ(s.father, "Иванович");
    EXPECT_EQ(s.number, "123");
    EXPECT_EQ(s.issued, "01.02.2009 Москва");
    EXPECT_EQ(s.validity, "");
    EXPECT_TRUE(register_.Exists("Иванов"));
    EXPECT_FALSE(register_.Exists("Петров"));
    // The command line's specialist: an unknown family is named alone.
    RegisterSpecialist unknown(register_, "Петров");
    EXPECT_EQ(unknown.ChooseSpecialist(), Specialist{.family = "Петров"});
    RegisterSpecialist none(register_, "");
    EXPECT_EQ(none.ChooseSpecialist(), Specialist{});
    RegisterSpecialist known(register_, "Иванов");
    EXPECT_EQ(known.ChooseSpecialist().father, "Иванович");
}

TEST_F(Register, SavesTheSixKeysInTheirOrderAndKeepsOtherSections) {
    WriteIni("[_Вид_]\r\nСлева=10\r\n");
    ASSERT_TRUE(register_.Save({"Петров", "Пётр", "", "СМУ-5", "77", "01.01.2010", "5 лет"}));
    EXPECT_EQ(IniText(),
              "[_Вид_]\r\nСлева=10\r\n\r\n[Петров]\r\nИмя=Пётр\r\nОтчество=\r\nРаботает=СМУ-5\r\n"
              "Удостоверение=77\r\nВыдано=01.01.2010\r\nСрок=5 лет\r\n")
        << IniText();
    ASSERT_TRUE(register_.Save({.family = "Петров", .name = "Павел"}));
    EXPECT_EQ(register_.Read("Петров").name, "Павел");
    EXPECT_EQ(register_.Read("Петров").work, "");
}

TEST_F(Register, DeleteErasesTheSectionOnly) {
    WriteIni("[Иванов]\r\nИмя=Иван\r\n[_Вид_]\r\nСлева=10\r\n[Петров]\r\nИмя=Пётр\r\n");
    ASSERT_TRUE(register_.Delete("Иванов"));
    EXPECT_EQ(register_.Families(), std::vector<std::string>{"Петров"});
    const std::string before = IniText();
    EXPECT_TRUE(register_.Delete("Никто"));
    EXPECT_EQ(IniText(), before);
    EXPECT_EQ(config_.WindowLeft(), 10);
}

TEST_F(Register, NeverTouchesTheProgramsOwnSections) {
    WriteIni("[_Вид_]\r\nСлева=10\r\n[_Конфигурация_]\r\nПорт_ПСИ=COM3\r\n");
    const std::string before = IniText();
    EXPECT_FALSE(register_.Delete("_Вид_"));
    EXPECT_FALSE(register_.Delete("_Конфигурация_"));
    EXPECT_FALSE(register_.Save({.family = "_Конфигурация_", .name = "x"}));
    EXPECT_FALSE(register_.Save({.family = "", .name = "x"}));
    EXPECT_EQ(IniText(), before);
    EXPECT_EQ(register_.Read("_Конфигурация_"), Specialist{.family = "_Конфигурация_"});
}

}  // namespace
}  // namespace orbisk
