#include "app/IniFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/FileReplace.h"
#include "base/TextCodec.h"
#include "support/TempFolder.h"

namespace orbisk {
namespace {

namespace fs = std::filesystem;
using test::EntryCount;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using Names = std::vector<std::string>;

class IniFileTest : public ::testing::Test {
protected:
    fs::path IniPath() const { return folder_ / "orbisk.ini"; }
    // Writes the file in the code page of the disk from a UTF-8 text.
    void WriteFile(const std::string& utf8) { WriteBytes(IniPath(), Utf8ToCp1251(utf8)); }
    std::string FileText() const { return Cp1251ToUtf8(ReadBytes(IniPath())); }

    TempFolder folder_;
};

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndIsNotCreatedByReading) {
    const IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("_Вид_", "Слева", "нет"), "нет");
    EXPECT_EQ(ini.ReadInteger("_Вид_", "Шаг", 7), 7);
    EXPECT_TRUE(ini.ReadBool("_Вид_", "Флаг", true));
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_TRUE(ini.ReadSectionKeys("_Вид_").empty());
    EXPECT_FALSE(ini.SectionExists("_Вид_"));
    EXPECT_FALSE(ini.ValueExists("_Вид_", "Слева"));
    EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileInWindows1251WithCrLf) {
    IniFile ini(IniPath());
    ASSERT_TRUE(ini.WriteInteger("_Вид_", "Слева", 120));
    ASSERT_TRUE(ini.WriteString("_Вид_", "Имя", "Пётр"));
    ASSERT_TRUE(ini.WriteBool("_Конфигурация_", "КоррекцияДанных", true));

    // [_Вид_] Слева=120 Имя=Пётр, blank line, [_Конфигурация_] КоррекцияДанных=1
    const std::string expected =
        "[_\xC2\xE8\xE4_]\r\n"
        "\xD1\xEB\xE5\xE2\xE0=120\r\n"
        "\xC8\xEC\xFF=\xCF\xB8\xF2\xF0\r\n"
        "\r\n"
        "[_\xCA\xEE\xED\xF4\xE8\xE3\xF3\xF0\xE0\xF6\xE8\xFF_]\r\n"
        "\xCA\xEE\xF0\xF0\xE5\xEA\xF6\xE8\xFF\xC4\xE0\xED\xED\xFB\xF5=1\r\n";
    EXPECT_EQ(ReadBytes(IniPath()), expected);
    // The file and the lock file its writers share; no temporary file may stay behind.
    EXPECT_TRUE(fs::is_regular_file(folder_ / "orbisk.ini.lock"));
    EXPECT_EQ(EntryCount(folder_.Path()), 2u);
}

TEST_F(IniFileTest, ReadsWindows1251FileWithLfOrCrLfLineEnds) {
    // [Иванов] Имя=Иван on LF lines, then a CR LF line and a last line without a line end.
    WriteBytes(IniPath(),
               "[\xC8\xE2\xE0\xED\xEE\xE2]\n\xC8\xEC\xFF=\xC8\xE2\xE0\xED\n"
               "\xD1\xF0\xEE\xEA=2030\r\nX=\xAB\xE3\xEE\xE4\xBB");
    const IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("Иванов", "Имя", ""), "Иван");
    EXPECT_EQ(ini.ReadString("Иванов", "Срок", ""), "2030");
    EXPECT_EQ(ini.ReadString("Иванов", "X", ""), "«год»");
}

TEST_F(IniFileTest, SectionAndKeyNamesMatchWithoutRegardToCase) {
    WriteFile("[_ВИД_]\r\nСЛЕВА=5\r\nMixed=a\r\n[Ёлкин]\r\nОтчество=Ильич\r\n[Ђурић]\r\nІмя=b\r\n");
    IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadInteger("_вид_", "слева", 0), 5);
    EXPECT_EQ(ini.ReadString("_Вид_", "MIXED", ""), "a");
    EXPECT_EQ(ini.ReadString("ёлкин", "ОТЧЕСТВО", ""), "Ильич");
    EXPECT_EQ(ini.ReadString("ђУРИЋ", "імя", ""), "b");
    EXPECT_TRUE(ini.SectionExists("ЁЛКИН"));
    EXPECT_FALSE(ini.SectionExists("Елкин")) << "Ё and Е are different letters";
    EXPECT_TRUE(IniNamesEqual("_Конфигурация_", " _КОНФИГУРАЦИЯ_ "));

    // Writing under another spelling replaces the existing line, keeping the file's spelling.
    ASSERT_TRUE(ini.WriteInteger("_вид_", "Слева", 9));
    EXPECT_EQ(FileText(),
              "[_ВИД_]\r\nСЛЕВА=9\r\nMixed=a\r\n[Ёлкин]\r\nОтчество=Ильич\r\n[Ђурић]\r\nІмя=b\r\n");
}

TEST_F(IniFileTest, ValuesAreTrimmedAndLoseOnePairOfEnclosingQuotes) {
    WriteFile(
        "[S]\n"
        "  Padded  =   value with  inner blanks \t\n"
        "Quoted=\"  keeps inner blanks  \"\n"
        "Single='x'\n"
        "Unmatched=\"abc\n"
        "Mixed=\"abc'\n"
        "Lone=\"\n"
        "Nested=\"\"a\"\"\n"
        "Empty=\n"
        "Equals=a=b\n");
    const IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadString("S", "Padded", ""), "value with  inner blanks");
    EXPECT_EQ(ini.ReadString("S", "Quoted", ""), "  keeps inner blanks  ");
    EXPECT_EQ(ini.ReadString("S", "Single", ""), "x");
    EXPECT_EQ(ini.ReadString("S", "Unmatched", ""), "\"abc");
    EXPECT_EQ(ini.ReadString("S", "Mixed", ""), "\"abc'");
    EXPECT_EQ(ini.ReadString("S", "Lone", ""), "\"");
    EXPECT_EQ(ini.ReadString("S", "Nested", ""), "\"a\"");
    EXPECT_EQ(ini.ReadString("S", "Empty", "default"), "") << "an existing empty key is empty";
    EXPECT_EQ(ini.ReadString("S", "Equals", ""), "a=b");
    EXPECT_EQ(ini.ReadString("S", " Padded ", ""), "value with  inner blanks");
}

TEST_F(IniFileTest, IntegersAreDecimalOrHexadecimalAndAnythingElseIsTheDefault) {
    WriteFile(
        "[N]\nDec=42\nNeg=-7\nPlus=+8\nDollar=$1F\nZeroX=0x1f\nBigX=0X10\nAllOnes=$FFFFFFFF\n"
        "Min=-2147483648\nMax=2147483647\nOver=2147483648\nHexOver=$100000000\nTail=12abc\n"
        "Empty=\nBlank=  \nQuoted=\"5\"\nFloat=1.5\nBareDollar=$\nBareX=0x\nSpaceInside=1 2\n"
        "Zero=0\nYes=yes\n");
    const IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadInteger("N", "Dec", -1), 42);
    EXPECT_EQ(ini.ReadInteger("N", "Neg", -1), -7);
    EXPECT_EQ(ini.ReadInteger("N", "Plus", -1), 8);
    EXPECT_EQ(ini.ReadInteger("N", "Dollar", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "ZeroX", -1), 31);
    EXPECT_EQ(ini.ReadInteger("N", "BigX", -1), 16);
    EXPECT_EQ(ini.ReadInteger("N", "AllOnes", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "Min", 0), -2147483647 - 1);
    EXPECT_EQ(ini.ReadInteger("N", "Max", 0), 2147483647);
    EXPECT_EQ(ini.ReadInteger("N", "Quoted", -1), 5);
    for (const char* key : {"Over", "HexOver", "Tail", "Empty", "Blank", "Float", "BareDollar",
                            "BareX", "SpaceInside", "Yes", "Missing"}) {
        EXPECT_EQ(ini.ReadInteger("N", key, -99), -99) << key;
    }

    EXPECT_FALSE(ini.ReadBool("N", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("N", "Dec", false));
    EXPECT_TRUE(ini.ReadBool("N", "Neg", false));
    EXPECT_TRUE(ini.ReadBool("N", "Yes", true));
    EXPECT_FALSE(ini.ReadBool("N", "Yes", false));
    EXPECT_TRUE(ini.ReadBool("N", "Missing", true));
}

TEST_F(IniFileTest, WritesChangeOnlyTheirLineAndKeepCommentsAndLayout) {
    const std::string original =
        "; settings of the program\r\n"
        "Loose=before any section\r\n"
        "\r\n"
        "[_Вид_]\r\n"
        "; window position\r\n"
        "Слева = 10\r\n"
        "Сверху=20\r\n"
        "  ; trailing comment of the section\r\n"
        "\r\n"
        "[Иванов]\r\n"
        "Имя=Иван\r\n";
    WriteFile(original);
    IniFile ini(IniPath());

    ASSERT_TRUE(ini.WriteInteger("_Вид_", "Слева", 300));
    ASSERT_TRUE(ini.WriteString("_Вид_", "Шаг", "2"));
    ASSERT_TRUE(ini.WriteString("Иванов", "Отчество", "Иванович"));
    ASSERT_TRUE(ini.WriteString("Петров", "Имя", "Пётр"));

    EXPECT_EQ(FileText(),
              "; settings of the program\r\n"
              "Loose=before any section\r\n"
              "\r\n"
              "[_Вид_]\r\n"
              "; window position\r\n"
              "Слева=300\r\n"
              "Сверху=20\r\n"
              "Шаг=2\r\n"
              "  ; trailing comment of the section\r\n"
              "\r\n"
              "[Иванов]\r\n"
              "Имя=Иван\r\n"
              "Отчество=Иванович\r\n"
              "\r\n"
              "[Петров]\r\n"
              "Имя=Пётр\r\n");
    EXPECT_EQ(ini.ReadSections(), (Names{"_Вид_", "Иванов", "Петров"}))
        << "lines before the first section belong to no section";
    EXPECT_EQ(ini.ReadString("", "Loose", "none"), "none");
}

TEST_F(IniFileTest, NewKeyOfAnEmptySectionGoesRightBelowItsHeader) {
    WriteFile("[Пустой]\r\n\r\n[Другой]\r\nA=1\r\n");
    IniFile ini(IniPath());
    EXPECT_TRUE(ini.SectionExists("Пустой"));
    EXPECT_TRUE(ini.ReadSectionKeys("Пустой").empty());
    ASSERT_TRUE(ini.WriteString("Пустой", "B", "2"));
    EXPECT_EQ(FileText(), "[Пустой]\r\nB=2\r\n\r\n[Другой]\r\nA=1\r\n");
}

TEST_F(IniFileTest, SectionsAndKeysAreListedInFileOrder) {
    WriteFile(
        "[Сидоров]\nСрок=1\nИмя=С\n[_Конфигурация_]\nПорт_ПСИ=COM3\n[Абрамов]\nbad line\n"
        ";Имя=commented\nОтчество=А\nИМЯ=А\nимя=second\n[_Вид_]\n[сидоров]\nВыдано=x\n");
    const IniFile ini(IniPath());
    EXPECT_EQ(ini.ReadSections(), (Names{"Сидоров", "_Конфигурация_", "Абрамов", "_Вид_"}));
    EXPECT_EQ(ini.ReadSectionKeys("абрамов"), (Names{"Отчество", "ИМЯ"}));
    EXPECT_EQ(ini.ReadSectionKeys("Сидоров"), (Names{"Срок", "Имя"}));
    EXPECT_EQ(ini.ReadString("Абрамов", "Имя", ""), "А") << "the first of two equal keys counts";
    EXPECT_TRUE(ini.ValueExists("Абрамов", "отчество"));
    EXPECT_FALSE(ini.ValueExists("Абрамов", ";Имя"));
    EXPECT_FALSE(ini.ValueExists("Абрамов", "bad line"));
    EXPECT_TRUE(ini.SectionExists("_Вид_"));
}

TEST_F(IniFileTest, EraseSectionRemovesItWholeAndOnlyIt) {
    WriteFile(
        "[Первый]\r\nA=1\r\n\r\n[Иванов]\r\n; его комментарий\r\nИмя=Иван\r\nСрок=2030\r\n"
        "[Последний]\r\nB=2\r\n[ИВАНОВ]\r\nИмя=дубль\r\n");
    IniFile ini(IniPath());
    ASSERT_TRUE(ini.EraseSection("иванов"));
    EXPECT_EQ(FileText(), "[Первый]\r\nA=1\r\n\r\n[Последний]\r\nB=2\r\n");
    EXPECT_FALSE(ini.SectionExists("Иванов")) << "a second copy of the section is erased too";

    // A section that does not exist leaves the file untouched, bytes and all.
    WriteBytes(IniPath(), "[A]\nx=1\n");
    ASSERT_TRUE(ini.EraseSection("Нет такого"));
    EXPECT_EQ(ReadBytes(IniPath()), "[A]\nx=1\n");
    ASSERT_TRUE(ini.EraseSection("A"));
    EXPECT_EQ(ReadBytes(IniPath()), "");
    EXPECT_TRUE(ini.ReadSections().empty());
}

TEST_F(IniFileTest, EveryCallSeesTheFileAsItIsNow) {
    IniFile first(IniPath());
    const IniFile second(IniPath());
    ASSERT_TRUE(first.WriteString("S", "K", "one"));
    EXPECT_EQ(second.ReadString("S", "K", ""), "one");
    WriteFile("[S]\nK=edited by hand\n");
    EXPECT_EQ(first.ReadString("S", "K", ""), "edited by hand");
    fs::remove(IniPath());
    EXPECT_EQ(second.ReadString("S", "K", "gone"), "gone");
}

TEST_F(IniFileTest, ValuesCannotAddLinesOrSectionsToTheFile) {
    IniFile ini(IniPath());
    ASSERT_TRUE(ini.WriteString("Иванов", "Выдано", "01.01.2020\r\n[_Вид_]\nСлева=5"));
    EXPECT_EQ(ini.ReadSections(), (Names{"Иванов"}));
    EXPECT_EQ(ini.ReadString("Иванов", "Выдано", ""), "01.01.2020  [_Вид_] Слева=5");
    EXPECT_EQ(ini.ReadString("Иванов", "Слева", "none"), "none");
}

TEST_F(IniFileTest, NamesTheFileCannotHoldAreRefused) {
    IniFile ini(IniPath());
    EXPECT_FALSE(ini.WriteString("", "Key", "v"));
    EXPECT_FALSE(ini.WriteString("   ", "Key", "v"));
    EXPECT_FALSE(ini.WriteString("S", "", "v"));
    EXPECT_FALSE(ini.WriteString("S", "a=b", "v"));
    EXPECT_FALSE(ini.WriteString("S", ";comment", "v"));
    EXPECT_FALSE(fs::exists(IniPath()));

    // A section name with a bracket inside reads back whole.
    ASSERT_TRUE(ini.WriteString("ООО [Кран]", "Имя", "v"));
    EXPECT_EQ(ini.ReadSections(), (Names{"ООО [Кран]"}));
    EXPECT_EQ(ini.ReadString("ООО [Кран]", "Имя", ""), "v");
}

TEST_F(IniFileTest, CharactersOutsideTheCodePageAreStoredAsQuestionMarks) {
    IniFile ini(IniPath());
    ASSERT_TRUE(ini.WriteString("S", "K", "Ω≈ж"));
    EXPECT_EQ(ReadBytes(IniPath()), "[S]\r\nK=??\xE6\r\n");
    EXPECT_EQ(ini.ReadString("S", "K", ""), "??ж");
}

TEST_F(IniFileTest, UnwritablePlacesReturnFalseAndLeaveNothingBehind) {
    // The folder does not exist.
    IniFile inMissingFolder(folder_ / "no-such-folder" / "orbisk.ini");
    EXPECT_FALSE(inMissingFolder.WriteString("S", "K", "v"));
    EXPECT_FALSE(fs::exists(folder_ / "no-such-folder"));

    // The "folder" is a regular file.
    WriteBytes(folder_ / "plain-file", "data");
    IniFile belowAFile(folder_ / "plain-file" / "orbisk.ini");
    EXPECT_FALSE(belowAFile.WriteString("S", "K", "v"));
    EXPECT_TRUE(belowAFile.EraseSection("S")) << "no file: nothing to erase";
    EXPECT_EQ(ReadBytes(folder_ / "plain-file"), "data");

    // The target is a folder: refused before anything is written.
    fs::create_directory(folder_ / "a-folder.ini");
    IniFile aFolder(folder_ / "a-folder.ini");
    EXPECT_FALSE(aFolder.WriteString("S", "K", "v"));
    EXPECT_TRUE(fs::is_directory(folder_ / "a-folder.ini"));
    EXPECT_EQ(EntryCount(folder_.Path()), 2u) << "no temporary file may stay behind";
    EXPECT_TRUE(aFolder.ReadSections().empty());
}

#ifndef _WIN32
// Two programs writing the file at once (the desktop program and orbisk-cli, two users'
// sessions): each write reads the file, changes it and replaces it, and none may replace it with
// a copy that misses the other's keys.
TEST_F(IniFileTest, TwoProcessesWritingAtOnceKeepEveryKey) {
    constexpr int kKeys = 300;
    auto writeKeys = [this](const std::string& prefix) {
        IniFile ini(IniPath());
        int failed = 0;
        for (int i = 0; i < kKeys; ++i) {
            const std::string key = prefix + std::to_string(i);
            if (!ini.WriteString(i % 2 ? "Нечётные" : "Чётные", key, "значение " + key)) ++failed;
        }
        return failed;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(writeKeys("B") == 0 ? 0 : 1);
    EXPECT_EQ(writeKeys("A"), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a write of the other process failed";

    const IniFile ini(IniPath());
    const std::size_t keys =
        ini.ReadSectionKeys("Чётные").size() + ini.ReadSectionKeys("Нечётные").size();
    EXPECT_EQ(keys, 2u * kKeys);
    for (const char* prefix : {"A", "B"}) {
        for (int i = 0; i < kKeys; ++i) {
            const std::string key = prefix + std::to_string(i);
            ASSERT_EQ(ini.ReadString(i % 2 ? "Нечётные" : "Чётные", key, ""), "значение " + key);
        }
    }
}

// The lock is the file's, not the process's: a second taker in the same process waits too,
// and has it as soon as the first lets go; the file itself can be replaced meanwhile.
TEST_F(IniFileTest, TheUpdateLockExcludesEveryOtherTakerUntilReleased) {
    WriteFile("[S]\r\nK=1\r\n");
    {
        const FileUpdateLock first(IniPath());
        ASSERT_TRUE(first.Held());
        ASSERT_EQ(ReplaceFileContents(IniPath(), "[S]\r\nK=2\r\n"), ReplaceResult::Replaced);
        const auto start = std::chrono::steady_clock::now();
        const FileUpdateLock second(IniPath(), std::chrono::milliseconds(100));
        EXPECT_FALSE(second.Held());
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    }
    const FileUpdateLock third(IniPath(), std::chrono::milliseconds(0));
    EXPECT_TRUE(third.Held());
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNotOverwritten) {
    // A link pointing at itself can be neither read nor resolved; writing must not replace it
    // with a file holding only the new key.
    fs::create_symlink("loop.ini", folder_ / "loop.ini");
    IniFile ini(folder_ / "loop.ini");
    EXPECT_FALSE(ini.WriteString("S", "K", "v"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder_ / "loop.ini")));
    EXPECT_EQ(EntryCount(folder_.Path()), 1u);
}

TEST_F(IniFileTest, WritingThroughALinkReplacesTheLinkedFile) {
    fs::create_directory(folder_ / "real");
    WriteBytes(folder_ / "real" / "orbisk.ini", "[S]\r\nK=old\r\n");
    fs::create_symlink(folder_ / "real" / "orbisk.ini", IniPath());
    IniFile ini(IniPath());
    ASSERT_TRUE(ini.WriteString("S", "K", "new"));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(IniPath())));
    EXPECT_EQ(ReadBytes(folder_ / "real" / "orbisk.ini"), "[S]\r\nK=new\r\n");
}
#endif

}  // namespace
}  // namespace orbisk
