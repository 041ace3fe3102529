#include <gtest/gtest.h>
#include <algorithm>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "image/DataFile.h"
#include "image/Session.h"
#include "support/ImageBuilder.h"
#include "support/RecordingPrompter.h"

namespace orbisk {
namespace {

using namespace orbisk::test;

constexpr char kChecksumQuestion[] =
    "Неправильная контрольная сумма!\nВозможно, ошибка чтения ПСИ.\nПродолжить обработку?";
constexpr char kWrongFile[] =
    "Выбран неправильный файл данных регистратора параметров!\nУкажите файл, содержащий "
    "результаты предыдущей проверки.";
constexpr char kBadFile[] =
    "Неправильный файл данных!\nУкажите файл, содержащий результаты предыдущей проверки.";

class SessionTest : public ::testing::Test {
protected:
    RecordingPrompter prompter;
    FixedClock clock{EncodeDateTime(2026, 12, 8, 10, 0)};
    Session session{prompter, clock};
    std::filesystem::path dir =
        TempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());

    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path Save(const std::string& name, RecorderImage image, bool balance = true) {
        if (balance) Balance(image);
        const auto path = dir / name;
        WriteImage(path, image);
        return path;
    }
};

TEST_F(SessionTest, ZeroImageOpensWithoutQuestionAndShowsDefaults) {
    RecorderImage zero;
    ASSERT_EQ(session.OpenDataFile(Save("zero.bbd", zero, false)), OpenResult::Opened);
    const DisplayModel& m = session.Model();
    EXPECT_EQ(m.Text(Ctl::eMarka), "");
    EXPECT_EQ(m.Text(Ctl::eLebName3), "Лебёдка №3");
    EXPECT_EQ(m.Color(Ctl::eDateCheck), TextColor::Red);
    ASSERT_GE(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0],
              "Неправильное значение даты или времени!\nТребуется коррекция часов регистратора "
              "параметров.");
    EXPECT_EQ(m.cycles.size(), 1728u);
}

TEST_F(SessionTest, ChecksumQuestionDecidesWhetherThePagesAreRefreshed) {
    RecorderImage image = MakeBasicImage();
    image.SetText(addr::CraneType, width::CraneType, "КС-3577");
    Balance(image);
    image.SetU8(0x0002, 0x55);  // breaks the checksum
    const auto path = Save("broken.bbd", image, false);

    prompter.answers = {false};
    EXPECT_EQ(session.OpenDataFile(path), OpenResult::Abandoned);
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0], kChecksumQuestion);
    EXPECT_EQ(session.Model().Text(Ctl::eMarka), "");  // not refreshed
    EXPECT_EQ(session.Image().U8(0x0002), 0x55);       // but the bytes are in the image

    prompter.Clear();
    prompter.answers = {true};
    EXPECT_EQ(session.OpenDataFile(path), OpenResult::Opened);
    EXPECT_EQ(session.Model().Text(Ctl::eMarka), "КС-3577");
}

TEST_F(SessionTest, ShortOrMissingFilesAreRefusedAndLeaveEverythingAsItWas) {
    RecorderImage image = MakeBasicImage();
    image.SetText(addr::CraneType, width::CraneType, "Первый");
    ASSERT_EQ(session.OpenDataFile(Save("first.bbd", image)), OpenResult::Opened);
    const RecorderImage before = session.Image();
    prompter.Clear();

    std::vector<std::uint8_t> bytes(100, 0xAB);
    WriteFile(dir / "short.bbd", bytes.data(), bytes.size());
    EXPECT_EQ(session.OpenDataFile(dir / "short.bbd"), OpenResult::Refused);
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0],
              "Неправильный размер файла данных: 100 байт.\nОжидается 65536 байт.");
    EXPECT_TRUE(session.Image() == before);
    EXPECT_EQ(session.Model().Text(Ctl::eMarka), "Первый");

    prompter.Clear();
    EXPECT_EQ(session.OpenDataFile(dir / "absent.bbd"), OpenResult::Refused);
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_NE(prompter.texts[0].find("absent.bbd"), std::string::npos);
    EXPECT_TRUE(session.Image() == before);

    // A longer file is read up to the image's size.
    std::vector<std::uint8_t> longer(kImageSize + 10, 0);
    WriteFile(dir / "long.bbd", longer.data(), longer.size());
    EXPECT_EQ(session.OpenDataFile(dir / "long.bbd"), OpenResult::Opened);
}

TEST_F(SessionTest, WrittenDataFilesReadBackAndFailuresKeepTheOldFile) {
    RecorderImage image = MakeBasicImage();
    Balance(image);
    const auto path = dir / "saved.bbd";
    EXPECT_EQ(WriteDataFile(path, image), "");
    RecorderImage back;
    EXPECT_TRUE(ReadDataFile(path, back, prompter));
    EXPECT_TRUE(back == image);
    EXPECT_EQ(WriteDataFile(dir / "missing-folder" / "x.bbd", image),
              "Не удается создать файл \"" + (dir / "missing-folder" / "x.bbd").string() + "\".");
    EXPECT_FALSE(std::filesystem::exists(dir / "missing-folder"));
}

TEST_F(SessionTest, SavingOverAFileKeepsItsModeFollowsLinksAndLeavesNoScratchFiles) {
    namespace fs = std::filesystem;
    RecorderImage first = MakeBasicImage();
    RecorderImage second = MakeBasicImage();
    second.SetText(addr::CraneType, width::CraneType, "Второй");
    const auto path = dir / "saved.bbd";
    ASSERT_EQ(WriteDataFile(path, first), "");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A file that happens to bear a scratch-like name belongs to somebody: it stays as it is.
    const std::uint8_t keep[] = {1, 2, 3, 4};
    WriteFile(dir / "saved.bbd.tmp~", keep, sizeof keep);
    ASSERT_EQ(WriteDataFile(path, second), "");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::file_size(dir / "saved.bbd.tmp~"), 4u);

    // Saving through a link replaces the file it points to and keeps the link.
    const auto link = dir / "link.bbd";
    fs::create_symlink(path, link);
    ASSERT_EQ(WriteDataFile(link, first), "");
    EXPECT_TRUE(fs::is_symlink(link));
    RecorderImage back;
    ASSERT_TRUE(ReadDataFile(path, back, prompter));
    EXPECT_TRUE(back == first);

    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"link.bbd", "saved.bbd", "saved.bbd.tmp~"}));
}

TEST(ProposedName, SerialAndReadingTime) {
    RecorderImage image;
    image.SetText(addr::RecorderSerial, width::Serial, "1234");
    image.SetTime(addr::ReadingTime, MakeTime(3, 3, 2009, 14, 5));
    EXPECT_EQ(ProposedFileName(image), "РП_№1234 от 03_03_2009 1405 ");
    image.SetText(addr::RecorderSerial, width::Serial, "12/3-A");
    EXPECT_EQ(ProposedFileName(image).rfind("РП_№123A от ", 0), 0u);
    image.SetText(addr::RecorderSerial, width::Serial, "Ж<1>|?\\2");
    EXPECT_EQ(ProposedFileName(image).rfind("РП_№Ж12 от ", 0), 0u);
    image.SetTime(addr::ReadingTime, RecorderTime{{0xFF, 0, 1, 1, 1}});
    EXPECT_EQ(ProposedFileName(image), "РП_№Ж12 от ");
    EXPECT_TRUE(HasDataFileExtension("a/b.BbD"));
    EXPECT_FALSE(HasDataFileExtension("a/b.bbdx"));
}

// A current image and the image of its previous check, consistent with each other.
class ComparisonTest : public SessionTest {
protected:
    RecorderImage current = MakeBasicImage();
    RecorderImage previous = MakeBasicImage();

    void SetUp() override {
        previous.SetTime(addr::ReadingTime, MakeTime(3, 3, 2008, 9, 0));
        for (RecorderImage* im : {&current, &previous}) {
            im->SetU16(addr::CycleLogWrite, RecorderImage::SlotAddress(kCycleLog, 2));
            WriteRecord(*im, RecorderImage::SlotAddress(kCycleLog, 0), MakeTime(1, 3, 2008, 8, 0),
                        0, 50, 50, 0, 0, 12.0f, 0);
        }
        WriteRecord(previous, RecorderImage::SlotAddress(kCycleLog, 1), MakeTime(2, 3, 2008, 8, 0),
                    0, 10, 10, 0, 0, 2.0f, 0);
        WriteRecord(current, RecorderImage::SlotAddress(kCycleLog, 1), MakeTime(2, 3, 2009, 8, 0),
                    0, 60, 60, 0, 0, 15.0f, 0);
        current.SetBin(0, 50, 30);
        previous.SetBin(0, 50, 10);
        current.SetBin(1, 40, 7);
        current.SetF32(addr::LiftedMass, 500.0f);
        previous.SetF32(addr::LiftedMass, 200.0f);
        current.SetU32(addr::OperatingMinutes, 6000);
        previous.SetU32(addr::OperatingMinutes, 1000);
        current.SetU32(addr::LimiterTrips, 9);
        previous.SetU32(addr::LimiterTrips, 4);
    }

    void OpenCurrent() {
        ASSERT_EQ(session.OpenDataFile(Save("current.bbd", current)), OpenResult::Opened);
        prompter.Clear();
    }
};

TEST_F(ComparisonTest, ReducesTheImageToThePeriod) {
    OpenCurrent();
    ASSERT_TRUE(session.CompareWithPrevious(Save("previous.bbd", previous)));
    EXPECT_TRUE(prompter.texts.empty());
    const RecorderImage& im = session.Image();
    EXPECT_EQ(im.Bin(0, 50), 20u);
    EXPECT_EQ(im.Bin(1, 40), 7u);
    EXPECT_FLOAT_EQ(im.LiftedMass(0), 300.0f);
    EXPECT_EQ(im.OperatingMinutes(0), 5000u);
    EXPECT_EQ(im.LimiterTrips(0), 5u);
    const DisplayModel& m = session.Model();
    EXPECT_EQ(m.Text(Ctl::eStartDateCheck), "03.03.2008");
    EXPECT_EQ(m.Text(Ctl::eRegSetup), "03.03.2008");
    // From the previous reading's day (03.03.2008) to 03.03.2009 14:05: 365.59 days.
    EXPECT_EQ(m.regStat[9][0], "366");
    EXPECT_EQ(m.regStat[0][0], "20");
    // The cycle the previous check saw is an empty slot now; the newer one stays.
    EXPECT_EQ(m.cycles[0].cells[0], "02.03.2009 08:00 ");
    const CycleRow& blank = m.cycles[1];
    EXPECT_EQ(blank.cells[0], "00.00.2000 00:00 ");
    EXPECT_EQ(blank.cells[1], "0%");
    EXPECT_EQ(blank.cells[5], "0.00 т");
    EXPECT_EQ(blank.cells[7], "0");
}

TEST_F(ComparisonTest, TheCurrentFileAsItsOwnPreviousFailsTheOrderTest) {
    OpenCurrent();
    const RecorderImage before = session.Image();
    EXPECT_FALSE(session.CompareWithPrevious(dir / "current.bbd"));
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0], kWrongFile);
    EXPECT_TRUE(session.Image() == before);
}

TEST_F(ComparisonTest, SerialNumberQuestions) {
    previous.SetText(addr::RecorderSerial, width::Serial, "9999");
    previous.SetText(addr::CraneSerial, width::Serial, "0000");
    OpenCurrent();
    prompter.answers = {false};
    EXPECT_FALSE(session.CompareWithPrevious(Save("other.bbd", previous)));
    ASSERT_EQ(prompter.texts.size(), 2u);
    EXPECT_EQ(prompter.texts[0], "Заводской номер РП не совпадает!\n Продолжить обработку?");
    EXPECT_EQ(prompter.texts[1], kWrongFile);

    prompter.Clear();
    prompter.answers = {true};
    EXPECT_TRUE(session.CompareWithPrevious(dir / "other.bbd"));
    EXPECT_EQ(prompter.texts.size(), 1u);
}

TEST_F(ComparisonTest, AnInvalidReadingTimeIsAnnouncedEvenAfterNo) {
    previous.SetText(addr::RecorderSerial, width::Serial, "9999");
    previous.SetTime(addr::ReadingTime, RecorderTime{{0x99, 0, 1, 1, 1}});
    OpenCurrent();
    prompter.answers = {false};
    EXPECT_FALSE(session.CompareWithPrevious(Save("other.bbd", previous)));
    ASSERT_EQ(prompter.texts.size(), 3u);
    EXPECT_EQ(prompter.texts[0], "Заводской номер РП не совпадает!\n Продолжить обработку?");
    EXPECT_EQ(prompter.texts[1], "Используется текущая дата!");
    EXPECT_EQ(prompter.texts[2], kWrongFile);
}

TEST_F(ComparisonTest, WithDataCorrectionAnOverloadSeenBeforeIsStillBlanked) {
    // Both checks saw the same overload cycle (crane 130 %, a mass above what 125 % allows) and a
    // switch-on record carrying error code 200 in its crane byte.
    const auto overload = RecorderImage::SlotAddress(kCycleLog, 0);
    const auto switchOn = RecorderImage::SlotAddress(kCycleLog, 2);
    for (RecorderImage* im : {&current, &previous}) {
        im->SetU16(addr::CycleLogWrite, RecorderImage::SlotAddress(kCycleLog, 3));
        WriteRecord(*im, overload, MakeTime(1, 3, 2008, 8, 0), 0, 130, 130, 0, 0, 1.0e6f, 0);
        WriteRecord(*im, switchOn, MakeTime(1, 3, 2008, 7, 0), 0x20, 200, 0, 0, 0, 0.0f, 0);
    }
    session.SetDataCorrection(true);
    OpenCurrent();
    // The list of every cycle corrected the current record in the image.
    ASSERT_EQ(session.Image().U8(static_cast<std::uint16_t>(overload + 6)), 125);
    ASSERT_TRUE(session.CompareWithPrevious(Save("previous.bbd", previous)));
    for (auto slot : {overload, switchOn}) {
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(session.Image().U8(static_cast<std::uint16_t>(slot + i)), 0)
                << slot << " " << i;
        }
    }
    // The cycle only the current check saw stays.
    EXPECT_EQ(session.Model().cycles[1].cells[0], "02.03.2009 08:00 ");
}

TEST_F(ComparisonTest, WithDataCorrectionRecordsAreComparedAsCorrected) {
    const auto slot = RecorderImage::SlotAddress(kCycleLog, 0);
    WriteRecord(current, slot, MakeTime(1, 3, 2008, 8, 0), 0, 130, 130, 0, 0, 40.0f, 0);
    WriteRecord(previous, slot, MakeTime(1, 3, 2008, 8, 0), 0, 131, 130, 0, 0, 40.0f, 0);
    session.SetDataCorrection(true);
    OpenCurrent();
    ASSERT_TRUE(session.CompareWithPrevious(Save("previous.bbd", previous)));
    // The records differ only in an overload byte that the correction makes 125 % in both.
    EXPECT_EQ(session.Image().U8(static_cast<std::uint16_t>(slot + 6)), 0);

    // A record of another time is another cycle, corrected or not.
    WriteRecord(previous, slot, MakeTime(1, 3, 2008, 8, 1), 0, 130, 130, 0, 0, 40.0f, 0);
    OpenCurrent();
    ASSERT_TRUE(session.CompareWithPrevious(Save("previous2.bbd", previous)));
    EXPECT_EQ(session.Image().U8(static_cast<std::uint16_t>(slot + 6)), 125);
}

TEST_F(ComparisonTest, CraneQuestionAtTheThirdByte) {
    current.SetText(addr::CraneSerial, width::Serial, "56789");
    previous.SetText(addr::CraneSerial, width::Serial, "56X89");
    OpenCurrent();
    prompter.answers = {false};
    EXPECT_FALSE(session.CompareWithPrevious(Save("p.bbd", previous)));
    ASSERT_EQ(prompter.texts.size(), 2u);
    EXPECT_EQ(prompter.texts[0], "Заводской номер крана не совпадает!\n Продолжить обработку?");
}

TEST_F(ComparisonTest, AFailedSubtractionTestChangesNothing) {
    // A bin of a later group fails: nothing of the earlier groups may have been reduced.
    previous.SetBin(1, 40, 8);
    OpenCurrent();
    const RecorderImage before = session.Image();
    EXPECT_FALSE(session.CompareWithPrevious(Save("p.bbd", previous)));
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0], kBadFile);
    EXPECT_TRUE(session.Image() == before);

    for (auto change : {+[](RecorderImage& p) { p.SetF32(addr::LiftedMass + 12, 1.0f); },
                        +[](RecorderImage& p) { p.SetU32(addr::OperatingMinutes + 8, 1); },
                        +[](RecorderImage& p) { p.SetU32(addr::LimiterTrips + 4, 1); }}) {
        RecorderImage p = previous;
        p.SetBin(1, 40, 0);
        change(p);
        prompter.Clear();
        EXPECT_FALSE(session.CompareWithPrevious(Save("p2.bbd", p)));
        EXPECT_EQ(prompter.texts.back(), kBadFile);
        EXPECT_TRUE(session.Image() == before);
    }
}

TEST_F(ComparisonTest, PreviousFileChecksumQuestionAndSize) {
    OpenCurrent();
    RecorderImage p = previous;
    Balance(p);
    p.SetU8(0x0002, 1);
    prompter.answers = {false};
    EXPECT_FALSE(session.CompareWithPrevious(Save("p.bbd", p, false)));
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0], kChecksumQuestion);

    prompter.Clear();
    std::vector<std::uint8_t> bytes(10);
    WriteFile(dir / "tiny.bbd", bytes.data(), bytes.size());
    EXPECT_FALSE(session.CompareWithPrevious(dir / "tiny.bbd"));
    EXPECT_EQ(prompter.texts.at(0),
              "Неправильный размер файла данных: 10 байт.\nОжидается 65536 байт.");
}

TEST_F(ComparisonTest, InvalidPreviousReadingTimeUsesTheCurrentDate) {
    previous.SetTime(addr::ReadingTime, RecorderTime{{0x99, 0, 1, 1, 1}});
    OpenCurrent();
    // The current date (2026) is later than the current reading (2009): wrong order.
    EXPECT_FALSE(session.CompareWithPrevious(Save("p.bbd", previous)));
    ASSERT_EQ(prompter.texts.size(), 2u);
    EXPECT_EQ(prompter.texts[0], "Используется текущая дата!");
    EXPECT_EQ(prompter.texts[1], kWrongFile);
}

}  // namespace
}  // namespace orbisk
