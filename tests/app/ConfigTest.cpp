#include "app/Config.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/TextCodec.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using Names = std::vector<std::string>;

class ConfigTest : public ::testing::Test {
protected:
    fs::path IniPath() const { return folder_ / "orbisk.ini"; }
    fs::path DataFolder() const { return folder_ / "Данные"; }
    Config MakeConfig() const { return Config(IniPath(), DataFolder()); }
    void WriteFile(const std::string& utf8) { WriteBytes(IniPath(), Utf8ToCp1251(utf8)); }
    std::string FileText() const { return Cp1251ToUtf8(ReadBytes(IniPath())); }

    TempFolder folder_;
};

TEST_F(ConfigTest, MissingFileGivesTheDefaults) {
    const Config config = MakeConfig();
    EXPECT_EQ(config.WindowLeft(), 0);
    EXPECT_EQ(config.WindowTop(), 0);
    EXPECT_EQ(config.CycleFilter(), 3);
    EXPECT_EQ(config.DistributionStep(), 1);
    EXPECT_FALSE(config.DataCorrection());
    EXPECT_EQ(config.OpenFolder(), PathToUtf8(DataFolder()));
    EXPECT_EQ(config.SaveFolder(), PathToUtf8(DataFolder()));
    EXPECT_EQ(config.ReaderPort(), "");
    EXPECT_EQ(config.MaxCom(), 0);
    EXPECT_TRUE(config.SpecialistFamilies().empty());
    EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(ConfigTest, ViewChoicesSurviveTheNextStart) {
    {
        Config config = MakeConfig();
        ASSERT_TRUE(config.SetWindowLeft(-40));
        ASSERT_TRUE(config.SetWindowTop(250));
        ASSERT_TRUE(config.SetCycleFilter(2));
        ASSERT_TRUE(config.SetDistributionStep(2));
        ASSERT_TRUE(config.SetOpenFolder("/home/инспектор/Проверки"));
        ASSERT_TRUE(config.SetSaveFolder("D:\\Архив"));
        ASSERT_TRUE(config.SetReaderPort("COM4"));
    }
    const Config config = MakeConfig();
    EXPECT_EQ(config.WindowLeft(), -40);
    EXPECT_EQ(config.WindowTop(), 250);
    EXPECT_EQ(config.CycleFilter(), 2);
    EXPECT_EQ(config.DistributionStep(), 2);
    EXPECT_EQ(config.OpenFolder(), "/home/инспектор/Проверки");
    EXPECT_EQ(config.SaveFolder(), "D:\\Архив");
    EXPECT_EQ(config.ReaderPort(), "COM4");
    EXPECT_EQ(FileText(),
              "[_Вид_]\r\nСлева=-40\r\nСверху=250\r\nЦиклы=2\r\nШаг=2\r\n\r\n"
              "[_Конфигурация_]\r\nПапка_ОТКР=/home/инспектор/Проверки\r\n"
              "Папка_СОХР=D:\\Архив\r\nПорт_ПСИ=COM4\r\n");
}

TEST_F(ConfigTest, DataCorrectionSetInTheFileSurvivesARun) {
    WriteFile("[_конфигурация_]\r\nКоррекцияДанных=1\r\n");
    {
        Config config = MakeConfig();
        const bool correction = config.DataCorrection();  // read at start
        EXPECT_TRUE(correction);
        ASSERT_TRUE(config.SetDataCorrection(correction));  // written back at closing
    }
    EXPECT_EQ(FileText(), "[_конфигурация_]\r\nКоррекцияДанных=1\r\n");

    Config config = MakeConfig();
    ASSERT_TRUE(config.SetDataCorrection(false));
    EXPECT_EQ(FileText(), "[_конфигурация_]\r\nКоррекцияДанных=0\r\n");
    WriteFile("[_Конфигурация_]\r\nКоррекцияДанных=$10\r\n");
    EXPECT_TRUE(config.DataCorrection());
    WriteFile("[_Конфигурация_]\r\nКоррекцияДанных=да\r\n");
    EXPECT_FALSE(config.DataCorrection());
}

TEST_F(ConfigTest, FilterAndStepOutsideTheirChoicesReadAsDefaults) {
    const Config config = MakeConfig();
    const struct {
        const char* filter;
        int expectedFilter;
        const char* step;
        int expectedStep;
    } cases[] = {
        {"0", 0, "0", 0},    {"3", 3, "2", 2},
        {"4", 3, "3", 1},    {"-1", 3, "-1", 1},
        {"$2", 2, "0x2", 2}, {"1.0", 3, "один", 1},
        {"", 3, "", 1},      {"99999999999", 3, "$FFFFFFFF", 1},
    };
    for (const auto& c : cases) {
        WriteFile(std::string("[_Вид_]\nЦиклы=") + c.filter + "\nШаг=" + c.step + "\n");
        EXPECT_EQ(config.CycleFilter(), c.expectedFilter) << "Циклы=" << c.filter;
        EXPECT_EQ(config.DistributionStep(), c.expectedStep) << "Шаг=" << c.step;
    }
}

TEST_F(ConfigTest, MaxComIsStoredAs32OnFirstUse) {
    Config config = MakeConfig();
    EXPECT_EQ(config.MaxComForSearch(), 32);
    EXPECT_EQ(config.MaxCom(), 32);
    // The key name is written with Cyrillic letters "СОМ", as the program has always had it.
    EXPECT_EQ(ReadBytes(IniPath()),
              "[_\xCA\xEE\xED\xF4\xE8\xE3\xF3\xF0\xE0\xF6\xE8\xFF_]\r\n"
              "\xCC\xE0\xEA\xF1_\xD1\xCE\xCC=32\r\n");

    ASSERT_TRUE(config.SetMaxCom(0));
    EXPECT_EQ(config.MaxComForSearch(), 32);
    EXPECT_EQ(config.MaxCom(), 32);

    ASSERT_TRUE(config.SetMaxCom(12));
    EXPECT_EQ(config.MaxComForSearch(), 12);
    EXPECT_EQ(config.MaxCom(), 12);
}

TEST_F(ConfigTest, SpecialistsAreTheOtherSectionsInFileOrder) {
    WriteFile(
        "[Петров]\r\nИмя=Пётр\r\n[_Конфигурация_]\r\nПорт_ПСИ=888\r\n[Иванов]\r\n"
        "[_ВИД_]\r\nСлева=1\r\n[_Вид_старый]\r\n[_Конфигурация_2]\r\n[Вид]\r\n[Сидоров]\r\n");
    const Config config = MakeConfig();
    EXPECT_EQ(config.SpecialistFamilies(), (Names{"Петров", "Иванов", "Вид", "Сидоров"}));

    EXPECT_TRUE(Config::IsProgramSection("_Вид_"));
    EXPECT_TRUE(Config::IsProgramSection("_вид_"));
    EXPECT_TRUE(Config::IsProgramSection("_КОНФИГУРАЦИЯ_"));
    EXPECT_FALSE(Config::IsProgramSection("_Вид_старый"));
    EXPECT_FALSE(Config::IsProgramSection("Вид"));
    EXPECT_FALSE(Config::IsProgramSection(""));
}

TEST_F(ConfigTest, SpecialistsAndProgramSettingsShareTheFileWithoutDisturbingEachOther) {
    WriteFile("[Иванов]\r\nИмя=Иван\r\nСрок=2030\r\n");
    Config config = MakeConfig();
    ASSERT_TRUE(config.SetCycleFilter(1));
    ASSERT_TRUE(config.Ini().WriteString("Петров", "Имя", "Пётр"));
    ASSERT_TRUE(config.SetReaderPort("888"));
    ASSERT_TRUE(config.Ini().EraseSection("Иванов"));
    EXPECT_EQ(config.SpecialistFamilies(), (Names{"Петров"}));
    EXPECT_EQ(config.CycleFilter(), 1);
    EXPECT_EQ(config.ReaderPort(), "888");
}

TEST_F(ConfigTest, UnwritableFileMakesTheSettersFailAndTheGettersGiveDefaults) {
    Config config(folder_ / "missing" / "orbisk.ini", DataFolder());
    EXPECT_FALSE(config.SetCycleFilter(1));
    EXPECT_FALSE(config.SetDataCorrection(true));
    EXPECT_EQ(config.CycleFilter(), 3);
    EXPECT_EQ(config.MaxComForSearch(), 32) << "the search still runs with 32";
}

TEST_F(ConfigTest, TheTableNamesEveryKeyOnceInTheProgramSections) {
    std::set<std::string> keys;
    for (const config::Setting* setting : config::kAllSettings) {
        EXPECT_TRUE(Config::IsProgramSection(setting->section)) << setting->key;
        EXPECT_TRUE(keys.insert(std::string(setting->key)).second) << setting->key;
        EXPECT_GE(setting->defaultNumber, setting->minimum) << setting->key;
        EXPECT_LE(setting->defaultNumber, setting->maximum) << setting->key;
    }
}

TEST_F(ConfigTest, DialogsOpenInAnExistingFolderAndTheDataFolderIsMadeWhenFirstNeeded) {
    const Config config = MakeConfig();
    const std::string data = PathToUtf8(DataFolder());
    ASSERT_FALSE(fs::exists(DataFolder()));

    // A new installation: the default folder is made for the first dialog.
    EXPECT_EQ(config.DialogFolder(config.OpenFolder()), data);
    EXPECT_TRUE(fs::is_directory(DataFolder()));

    fs::create_directories(folder_ / "Проверки");
    const std::string checks = PathToUtf8(folder_ / "Проверки");
    const struct {
        std::string remembered;
        std::string expected;
    } cases[] = {
        {checks, checks},
        {data, data},
        {PathToUtf8(folder_ / "снятая флешка"), data},
        {"", data},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(config.DialogFolder(c.remembered), c.expected) << c.remembered;
    }

    // A data folder that cannot be made (a file of its name is in the way): its parent.
    const Config blocked(IniPath(), folder_ / "файл" / "Данные");
    WriteBytes(folder_ / "файл", "x");
    EXPECT_EQ(blocked.DialogFolder(""), PathToUtf8(folder_.Path()));
}

TEST_F(ConfigTest, LocationsGiveTheDefaultFolders) {
    const ProgramLocations locations{folder_ / "orbisk.ini", folder_ / "Данные", folder_.Path()};
    const Config config(locations);
    EXPECT_EQ(config.Ini().Path(), locations.iniPath);
    EXPECT_EQ(config.OpenFolder(), PathToUtf8(folder_ / "Данные"));
}

}  // namespace
}  // namespace orbisk
