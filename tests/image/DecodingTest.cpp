#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/Clock.h"
#include "base/DateTime.h"
#include "image/Decoding.h"
#include "image/Session.h"
#include "support/ImageBuilder.h"
#include "support/RecordingPrompter.h"

namespace orbisk {
namespace {

using test::MakeBasicImage;
using test::MakeTime;
using test::RecordingPrompter;
using test::WriteRecord;

constexpr char kBadReading[] =
    "Неправильное значение даты или времени!\nТребуется коррекция часов регистратора параметров.";

class DecodingTest : public ::testing::Test {
protected:
    RecordingPrompter prompter;
    FixedClock clock{EncodeDateTime(2026, 12, 8, 10, 0)};
    Session session{prompter, clock};
    RecorderImage& image = session.Image();
    DisplayModel& model = session.Model();

    void SetUp() override { image = MakeBasicImage(); }
};

TEST_F(DecodingTest, BalancingCopiesTheCraneToASoleWinchOfEqualCapacity) {
    image.SetU8(addr::SensorCounts + 1, 0);
    image.SetF32(addr::Capacities, 10.0f);
    image.SetF32(addr::Capacities + 4, 10.0f);
    image.SetBin(0, 50, 5);
    image.SetU32(addr::LimiterTrips, 7);
    image.SetF32(addr::LiftedMass, 25.5f);
    image.SetU32(addr::OperatingMinutes, 600);
    image.SetBin(2, 60, 9);  // winch 2 has no sensors: cleared
    BalanceSpectrum(image);
    EXPECT_EQ(image.Bin(1, 50), 5u);
    EXPECT_EQ(image.LimiterTrips(1), 7u);
    EXPECT_EQ(image.LiftedMass(1), 25.5f);
    EXPECT_EQ(image.OperatingMinutes(1), 0u);
    EXPECT_EQ(image.Bin(2, 60), 0u);
}

TEST_F(DecodingTest, BalancingClearsBinsBelowTheStartCondition) {
    for (int j = 0; j < 8; ++j) image.SetBin(0, j, 100);
    image.SetBin(1, 4, 3);
    image.SetBin(1, 5, 4);
    BalanceSpectrum(image);
    for (int j = 0; j < 5; ++j) EXPECT_EQ(image.Bin(0, j), 0u) << j;
    EXPECT_EQ(image.Bin(0, 5), 100u);
    EXPECT_EQ(image.Bin(1, 4), 0u);
    EXPECT_EQ(image.Bin(1, 5), 4u);
    // Different capacities: winch 1 keeps its own figures.
    EXPECT_EQ(image.Bin(1, 7), 0u);

    image.SetU8(addr::CycleStart, 200);  // beyond the spectrum: every bin
    image.SetBin(0, 127, 9);
    BalanceSpectrum(image);
    EXPECT_EQ(image.Bin(0, 127), 0u);
}

TEST_F(DecodingTest, IdentificationControlsAndChangeLines) {
    image.SetText(addr::CraneType, width::CraneType, "КС-45717К-1");
    image.SetU16(addr::CraneYear, 2004);
    image.SetF32(addr::Capacities + 12, 12.5f);
    image.SetText(addr::DisplayNames, 16, "Башня");
    image.SetTime(addr::ChangeIdentification, MakeTime(1, 2, 2008, 9, 30));
    image.SetTime(addr::ChangeClock, MakeTime(1, 2, 2008, 9, 31));
    image.SetU8(addr::ChangeClock + 5, 1);
    const std::uint8_t key[6] = {0xAB, 0x89, 0x67, 0x45, 0x23, 0x01};
    image.WriteBytes(addr::ChangeClock + 6, key, 6);
    image.SetTime(addr::ChangeSettings, MakeTime(31, 4, 2008, 9, 31));
    session.Refresh();

    EXPECT_EQ(model.Text(Ctl::eMarka), "КС-45717К-1");
    EXPECT_EQ(model.Text(Ctl::eYear), "2004");
    EXPECT_EQ(model.Text(Ctl::eSumGruz), "25.00");
    EXPECT_EQ(model.Text(Ctl::eGruz3), "12.50");
    EXPECT_EQ(model.Text(Ctl::eLebNameK), "Башня");
    EXPECT_EQ(model.Text(Ctl::eLebName1), "Лебёдка №1");
    EXPECT_EQ(model.Text(Ctl::eRegNum), "1234");
    EXPECT_EQ(model.Text(Ctl::eRegSetup), "03.03.2005");
    EXPECT_EQ(model.Text(Ctl::eStartDateCheck), "03.03.2005");
    EXPECT_EQ(model.Text(Ctl::eChangePassport), "01.02.2008 09:30   ");
    EXPECT_EQ(model.Color(Ctl::eChangePassport), TextColor::Black);
    EXPECT_EQ(model.Text(Ctl::eChangeRTC), "01.02.2008 09:31   Ключ № 0123456789AB");
    EXPECT_EQ(model.Text(Ctl::eProgramChange), "31.04.2008 09:31   ");
    EXPECT_EQ(model.Color(Ctl::eProgramChange), TextColor::Red);
    EXPECT_EQ(model.Text(Ctl::eDateCheck), "03.03.2009 14:05 ");
    EXPECT_EQ(model.Color(Ctl::eDateCheck), TextColor::Black);
    EXPECT_EQ(model.Text(Ctl::dtpReportDate), "03.03.2009");
    EXPECT_TRUE(prompter.texts.empty());

    // The crane's name becomes the caption of its column in all three lists; the others keep
    // their design texts.
    EXPECT_EQ(model.LvLoad().columns[2], "Башня");
    EXPECT_EQ(model.LvLoad().columns[3], "Лебедка №1");
    EXPECT_EQ(model.LvRegStat().columns[1], "Башня");
    EXPECT_EQ(model.LvLast().columns[1], "Башня");
    EXPECT_EQ(model.LvLast().columns[2], "Леб. №1");
}

TEST_F(DecodingTest, CaptionsNeverDependOnThePreviousImage) {
    image.SetText(addr::DisplayNames + 16, 16, "Главная");
    session.Refresh();
    EXPECT_EQ(model.LvLoad().columns[3], "Главная");
    image.SetText(addr::DisplayNames + 16, 16, "");
    session.Refresh();
    EXPECT_EQ(model.Text(Ctl::eLebName1), "Лебёдка №1");
    EXPECT_EQ(model.LvLoad().columns[3], "Лебедка №1");
    EXPECT_EQ(model.LvLast().columns[2], "Леб. №1");
    // A typed name renames the columns at once; an emptied edit stays empty and the columns
    // take their design captions back.
    model.TypeChannelName(2, "Вспомогательная");
    EXPECT_EQ(model.LvRegStat().columns[3], "Вспомогательная");
    EXPECT_EQ(model.Text(Ctl::eLebName2), "Вспомогательная");
    model.TypeChannelName(2, "");
    EXPECT_EQ(model.Text(Ctl::eLebName2), "");
    EXPECT_EQ(model.LvLoad().columns[4], "Лебедка №2");
}

TEST_F(DecodingTest, InvalidReadingTimeIsRedAndUsesToday) {
    image.SetTime(addr::ReadingTime, RecorderTime{{0x00, 0x00, 0x31, 0x04, 0x09}});
    session.Refresh();
    EXPECT_EQ(model.Text(Ctl::eDateCheck), "31.04.2009 00:00 ");
    EXPECT_EQ(model.Color(Ctl::eDateCheck), TextColor::Red);
    EXPECT_EQ(model.Text(Ctl::dtpReportDate), "08.12.2026");
    ASSERT_EQ(prompter.texts.size(), 2u);
    EXPECT_EQ(prompter.texts[0], kBadReading);
    EXPECT_EQ(prompter.texts[1], "Используется текущая дата!");
    // The statistics count the days in service up to the current date.
    EXPECT_DOUBLE_EQ(model.stats[0].days,
                     EncodeDateTime(2026, 12, 8, 10, 0) - DayNumber(2005, 3, 3));
}

TEST_F(DecodingTest, UnshowableInstallationDayLeavesItsControlsEmptyAndFillsTheRest) {
    image.SetU32(addr::InstallDay, 0x7FFFFFFF);
    image.SetText(addr::Owner, width::Owner, "ООО «Стройка»");
    session.Refresh();
    EXPECT_EQ(model.Text(Ctl::eRegSetup), "");
    EXPECT_EQ(model.Text(Ctl::eStartDateCheck), "");
    EXPECT_EQ(model.Text(Ctl::eOwner), "ООО «Стройка»");
    EXPECT_EQ(model.Text(Ctl::eStop), "115");
    ASSERT_EQ(prompter.texts.size(), 1u);
    EXPECT_EQ(prompter.texts[0], "Ошибка вывода идентификационной информации!");
}

TEST_F(DecodingTest, SettingsChoicesAndSensorLists) {
    image.SetU16(addr::CalibrationPairs, 100);
    image.SetU16(addr::CalibrationPairs + 2, 900);
    image.SetU16(addr::CalibrationPairs + 4, 800);
    image.SetU16(addr::CalibrationPairs + 6, 200);
    image.SetU8(addr::Relay3Load, 2);
    image.SetU8(addr::Relay4Load, 9);  // names no item
    image.SetU8(addr::ExtRelayAlgorithm, 1);
    image.SetU8(addr::UseModeSensor, 7);
    const std::uint8_t modes[4] = {100, 80, 60, 40};
    image.WriteBytes(addr::WorkModeValues, modes, 4);
    session.Refresh();
    EXPECT_EQ(model.totalSensors, 3);
    EXPECT_EQ(model.winchCount, 2);
    const TableList calibr = model.LvCalibr();
    ASSERT_EQ(calibr.rows.size(), 3u);
    EXPECT_EQ(calibr.rows[0], (std::vector<std::string>{"Датчик №1", "100", "900", "800"}));
    EXPECT_EQ(calibr.rows[1], (std::vector<std::string>{"Датчик №2", "800", "200", "600"}));
    EXPECT_EQ(model.choices.rgRele3, 2);
    EXPECT_EQ(model.choices.rgRele4, -1);
    EXPECT_EQ(model.choices.rgExtReleAlg, 1);
    EXPECT_TRUE(model.choices.chbSensWorkMode);
    EXPECT_EQ(model.LvWorkModeVal().rows[0],
              (std::vector<std::string>{"Qн, %", "100", "80", "60", "40"}));
    EXPECT_EQ(model.LvWorkModeVal().columns[0], "");

    // Sensor counts beyond the calibration area do not read other settings as pairs.
    image.SetU8(addr::SensorCounts, 200);
    session.Refresh();
    EXPECT_EQ(model.totalSensors, 201);
    EXPECT_EQ(model.LvCalibr().rows.size(), 8u);
}

class StatisticsTest : public DecodingTest {
protected:
    // A crane spectrum of n cycles at load j, one group's long-term figures.
    void Cycles(int group, int load, std::uint32_t n) { image.SetBin(group, load, n); }
    const GroupStats& Stats(int g) { return model.stats[g]; }
};

TEST_F(StatisticsTest, ConstantsAndClassRules) {
    Cycles(0, 50, 100);  // S = 100 × 0.125 = 12.5, Kp = 0.125
    image.SetU32(addr::OperatingMinutes, 600);
    session.Refresh();
    EXPECT_EQ(Stats(0).n, 100);
    EXPECT_FLOAT_EQ(Stats(0).characteristic, 12.5f);
    EXPECT_FLOAT_EQ(Stats(0).kp, 0.125f);
    EXPECT_EQ(Stats(0).loadClass, 2);
    EXPECT_FLOAT_EQ(Stats(0).frequency, 10.0f);
    EXPECT_FLOAT_EQ(Stats(0).duration, 6.0f);
    EXPECT_EQ(model.regStat[0][0], "100");
    EXPECT_EQ(model.regStat[3][0], "10.00");
    EXPECT_EQ(model.regStat[4][0], "12.50");
    EXPECT_EQ(model.regStat[5][0], "0.13");
    EXPECT_EQ(model.regStat[6][0], "Q2");
    EXPECT_EQ(model.regStat[10][0], "10.0");
    EXPECT_EQ(model.regStat[11][0], "6.00");
}

TEST_F(StatisticsTest, LoadClassThresholds) {
    // Kp = (j/100)^3 for a single bin j.
    const std::pair<int, int> cases[] = {{49, 1}, {50, 2}, {62, 2},  {63, 3},
                                         {79, 3}, {80, 4}, {100, 4}, {127, 4}};
    for (auto [load, cls] : cases) {
        image = MakeBasicImage();
        Cycles(0, load, 10);
        session.Refresh();
        EXPECT_EQ(Stats(0).loadClass, cls) << load;
    }
}

TEST_F(StatisticsTest, UseClassOfTheCraneCountsExtrapolatedCycles) {
    // Reading one year after installation with a service life of 10 years: F = 3652.5 / 365.
    image.SetU32(addr::InstallDay, static_cast<std::uint32_t>(DayNumber(2008, 3, 3)));
    image.SetTime(addr::ReadingTime, MakeTime(3, 3, 2009, 0, 0));
    image.SetU8(addr::ServiceLife, 10);
    const double factor = 3652.5 / 365.0;
    const auto n16000 = static_cast<std::uint32_t>(std::ceil(16000 / factor));
    Cycles(0, 10, n16000);
    session.Refresh();
    EXPECT_EQ(Stats(0).useClass, 1);
    image.SetBin(0, 10, n16000 - 1);
    session.Refresh();
    EXPECT_EQ(Stats(0).useClass, 0);
    EXPECT_EQ(Stats(0).group, 1);  // load class 1 + use class 0 − 2, clamped
    EXPECT_EQ(model.regStat[9][0], "365");
}

TEST_F(StatisticsTest, UseClassNineGivesGroupEight) {
    image.SetU8(addr::ServiceLife, 1);  // life shorter than the days in service: F = 1
    Cycles(0, 10, 4000000);
    session.Refresh();
    EXPECT_EQ(Stats(0).useClass, 9);
    EXPECT_EQ(Stats(0).group, 8);
    EXPECT_EQ(model.regStat[8][0], "A8");
}

TEST_F(StatisticsTest, WinchUseClassCountsHours) {
    image.SetU8(addr::ServiceLife, 1);
    Cycles(1, 50, 10);
    image.SetU32(addr::OperatingMinutes + 4, 200 * 60);
    session.Refresh();
    EXPECT_EQ(Stats(1).useClass, 1);
    EXPECT_EQ(model.regStat[7][1], "T1");
    EXPECT_EQ(model.regStat[6][1], "L2");
    EXPECT_EQ(model.regStat[8][1], "M1");
    image.SetU32(addr::OperatingMinutes + 4, 200 * 60 - 1);
    session.Refresh();
    EXPECT_EQ(Stats(1).useClass, 0);
}

TEST_F(StatisticsTest, ZeroDaysInServiceExtrapolateNothing) {
    image.SetU32(addr::InstallDay, static_cast<std::uint32_t>(DayNumber(2009, 3, 3)));
    image.SetTime(addr::ReadingTime, MakeTime(3, 3, 2009, 0, 0));
    Cycles(0, 50, 16000);
    Cycles(1, 50, 5);
    session.Refresh();
    EXPECT_TRUE(prompter.texts.empty());
    EXPECT_EQ(Stats(0).useClass, 1);
    EXPECT_EQ(Stats(1).n, 5);
    EXPECT_EQ(model.regStat[9][0], "0");
}

TEST_F(StatisticsTest, NegativeDaysGiveUseClassZero) {
    image.SetU32(addr::InstallDay, static_cast<std::uint32_t>(DayNumber(2010, 1, 1)));
    Cycles(0, 50, 100000);
    session.Refresh();
    EXPECT_LT(Stats(0).days, 0);
    EXPECT_EQ(Stats(0).useClass, 0);
}

TEST_F(StatisticsTest, EmptyGroupsShowDashes) {
    Cycles(0, 50, 10);
    session.Refresh();
    for (int r = 0; r < kRegStatRows; ++r) {
        EXPECT_EQ(model.regStat[r][3], "-") << r;
        EXPECT_EQ(model.regStat[r][2], "-") << r;
    }
    EXPECT_EQ(Stats(3).loadClass, 1);
    EXPECT_EQ(Stats(3).group, 1);
}

TEST_F(StatisticsTest, HoursMinutesAndMinutesSeconds) {
    Cycles(0, 50, 4);
    const std::pair<std::uint32_t, const char*> cases[] = {
        {59, "0.59"}, {600, "10.00"}, {605, "10.05"}, {125, "2.05"}, {610, "10.10"}};
    for (auto [minutes, text] : cases) {
        image.SetU32(addr::OperatingMinutes, minutes);
        session.Refresh();
        EXPECT_EQ(model.regStat[3][0], text) << minutes;
    }
    image.SetU32(addr::OperatingMinutes, 10);  // 2.5 minutes a cycle
    session.Refresh();
    EXPECT_EQ(model.regStat[11][0], "2.30");
    image.SetU32(addr::OperatingMinutes, 1);  // 0.25 minutes: 15 seconds
    session.Refresh();
    EXPECT_EQ(model.regStat[11][0], "0.15");
    image.SetU32(addr::OperatingMinutes, 18);  // 4.5 minutes; 4 cycles = 0.5 min... 4.5 -> 4.30
    session.Refresh();
    EXPECT_EQ(model.regStat[11][0], "4.30");
}

TEST_F(DecodingTest, DistributionRowsAtEachStep) {
    image.SetBin(0, 5, 1);
    image.SetBin(0, 10, 2);
    image.SetBin(0, 11, 4);
    image.SetBin(0, 127, 8);
    image.SetBin(1, 6, 16);
    model.choices.rgStep = 0;
    session.Refresh();
    ASSERT_EQ(model.loadRows.size(), 127u);
    EXPECT_EQ(model.loadRows[0][1], "1%");
    EXPECT_EQ(model.loadRows[126][1], "127%");
    EXPECT_EQ(model.loadRows[4][2], "1");  // bin 5 in row "5%"
    EXPECT_EQ(model.loadRows[126][2], "8");
    EXPECT_EQ(model.loadRows[5][3], "16");  // winch 1's column of row "6%"
    EXPECT_EQ(model.histogram[0].back().x, 127);

    model.choices.rgStep = 1;
    session.FillLoadDistribution();
    ASSERT_EQ(model.loadRows.size(), 13u);
    EXPECT_EQ(model.loadRows[0][1], "от 1% до 10%");
    EXPECT_EQ(model.loadRows[0][2], "3");  // bins 0..10
    EXPECT_EQ(model.loadRows[1][2], "4");  // bins 11..20
    EXPECT_EQ(model.loadRows[12][1], "от 121% до 130%");
    EXPECT_EQ(model.loadRows[12][2], "8");
    EXPECT_EQ(model.loadRows[12][4], "0");  // winch 2 without cycles still shows zeros
    EXPECT_EQ(model.histogram[0].back().x, 130);

    model.choices.rgStep = 2;
    session.FillLoadDistribution();
    ASSERT_EQ(model.loadRows.size(), 6u);
    EXPECT_EQ(model.loadRows[5][1], "от 126% до 150%");
    const auto& h = model.histogram[0];
    ASSERT_EQ(h.size(), 8u);
    EXPECT_EQ(h[0].x, 0);
    EXPECT_EQ(h[0].label, "0");
    const PointColor expected[] = {PointColor::Series, PointColor::Series, PointColor::Series,
                                   PointColor::Series, PointColor::Series, PointColor::Yellow,
                                   PointColor::Red,    PointColor::Red};
    for (std::size_t i = 0; i < h.size(); ++i) EXPECT_EQ(h[i].color, expected[i]) << i;
    EXPECT_EQ(h[7].x, 150);
    EXPECT_EQ(h[7].y, 0u);
    EXPECT_EQ(h[5].label, "100");
}

TEST_F(DecodingTest, WinchWithoutSensorsShowsZerosAndDashes) {
    image.SetBin(3, 50, 99);
    session.Refresh();
    for (const auto& row : model.loadRows) EXPECT_EQ(row[5], "0");
    for (const auto& row : model.regStat) EXPECT_EQ(row[3], "-");
}

class CycleRowsTest : public DecodingTest {
protected:
    std::uint16_t Slot(int i) { return RecorderImage::SlotAddress(kCycleLog, i); }
    std::vector<CycleRow> Rows(CycleFilter f, bool correction = false, double date = 0) {
        return BuildCycleRows(image, f, date, correction);
    }
};

TEST_F(CycleRowsTest, AllCyclesNewestFirstWithStateTextsAndIcons) {
    image.SetU16(addr::CycleLogWrite, Slot(3));
    WriteRecord(image, Slot(0), MakeTime(1, 3, 2009, 8, 0), 0xA0, 12, 0, 0, 0, 0.0f, 0);
    WriteRecord(image, Slot(1), MakeTime(1, 3, 2009, 8, 5), 0x05, 80, 70, 10, 0, 20.0f, 0);
    WriteRecord(image, Slot(2), MakeTime(1, 3, 2009, 9, 0), 0x30, 0, 0, 0, 0, 0.0f, 0);
    WriteRecord(image, Slot(3), MakeTime(2, 3, 2009, 9, 0), 0x10, 30, 30, 0, 0, 0.5f, 0);
    const auto rows = Rows(CycleFilter::All);
    ASSERT_EQ(rows.size(), 1728u);
    EXPECT_EQ(rows[0].cells[0], "01.03.2009 09:00 ");
    EXPECT_EQ(rows[0].cells[6], " Выкл R0");
    EXPECT_EQ(rows[0].icon, RowIcon::SwitchOff);
    EXPECT_EQ(rows[1].cells[6], " Стоп: L00 L02");
    EXPECT_EQ(rows[1].icon, RowIcon::Stop);
    EXPECT_EQ(rows[1].cells[1], "80%");
    EXPECT_EQ(rows[1].cells[5], "20.0 т");
    EXPECT_EQ(rows[2].cells[6], " Вкл R2 E-12");
    EXPECT_EQ(rows[2].cells[1], "0%");
    EXPECT_EQ(rows[2].icon, RowIcon::SwitchOn);
    EXPECT_EQ(rows[3].cells[0], "00.00.2000 00:00 ");  // oldest slots follow, unwritten included
    EXPECT_EQ(rows[3].icon, RowIcon::None);
    EXPECT_EQ(rows[1727].cells[6], " Блок");
    EXPECT_EQ(rows[1727].icon, RowIcon::Blocking);
    EXPECT_EQ(rows[1727].cells[5], "0.50 т");
}

TEST_F(CycleRowsTest, ASwitchOnRecordWithAStopBitShowsTheStopIcon) {
    image.SetU16(addr::CycleLogWrite, Slot(1));
    WriteRecord(image, Slot(0), MakeTime(1, 3, 2009, 8, 0), 0x21, 0, 0, 0, 0, 0.0f, 0);
    const auto rows = Rows(CycleFilter::All);
    EXPECT_EQ(rows[0].cells[6], " Вкл R0 Стоп: L00");
    EXPECT_EQ(rows[0].icon, RowIcon::Stop);
}

TEST_F(CycleRowsTest, FiltersAndTheVersionQuirk) {
    image.SetU16(addr::CycleLogWrite, Slot(3));
    WriteRecord(image, Slot(0), MakeTime(1, 3, 2009, 8, 0), 0x20, 0, 0, 0, 0, 0.0f, 0);
    WriteRecord(image, Slot(1), MakeTime(1, 3, 2009, 8, 5), 0x00, 40, 40, 0, 0, 10.0f, 0);
    WriteRecord(image, Slot(2), MakeTime(2, 3, 2009, 9, 0), 0x30, 0, 0, 0, 0, 0.0f, 0);
    EXPECT_EQ(Rows(CycleFilter::SwitchEvents).size(), 2u);
    const auto byDate = Rows(CycleFilter::ByDate, false, DayNumber(2009, 3, 1));
    ASSERT_EQ(byDate.size(), 2u);
    EXPECT_EQ(byDate[0].cells[0], "01.03.2009 08:05 ");
    EXPECT_TRUE(Rows(CycleFilter::ByDate, false, DayNumber(2009, 3, 5)).empty());
    EXPECT_EQ(Rows(CycleFilter::LimiterTrips).size(), 64u);
    image.SetText(addr::Version, 5, "1.3");
    EXPECT_EQ(Rows(CycleFilter::LimiterTrips).size(), 64u);
    image.SetText(addr::Version, 5, "2.2");
    EXPECT_EQ(Rows(CycleFilter::LimiterTrips).size(), 64u);
    image.SetText(addr::Version, 5, "1.2");
    EXPECT_EQ(Rows(CycleFilter::LimiterTrips).size(), 1728u);
}

TEST_F(CycleRowsTest, DataCorrectionTouchesListedWorkCyclesOnly) {
    image.SetU16(addr::CycleLogWrite, Slot(3));
    WriteRecord(image, Slot(0), MakeTime(1, 3, 2009, 8, 0), 0x00, 130, 140, 10, 0, 40.0f, 0);
    WriteRecord(image, Slot(1), MakeTime(1, 3, 2009, 8, 5), 0x10, 130, 0, 0, 0, 40.0f, 0);
    WriteRecord(image, Slot(2), MakeTime(1, 3, 2009, 9, 0), 0x20, 200, 0, 0, 0, 0.0f, 0);
    const auto rows = Rows(CycleFilter::All, true);
    EXPECT_EQ(rows[2].cells[1], "125%");
    EXPECT_EQ(rows[2].cells[2], "125%");
    EXPECT_EQ(rows[2].cells[5], "31.3 т");  // 125 % of 25 t
    EXPECT_EQ(image.U8(Slot(0) + 6), 125);
    EXPECT_FLOAT_EQ(image.F32(Slot(0) + 10), 31.25f);
    EXPECT_EQ(rows[1].cells[1], "130%");  // blocking record unchanged
    EXPECT_EQ(image.U8(Slot(1) + 6), 130);
    EXPECT_EQ(image.U8(Slot(2) + 6), 200);  // the error code of a switch event
    EXPECT_EQ(rows[0].cells[6], " Вкл R0 E-200");

    // Records the filter does not list stay as they are.
    image.SetU8(Slot(0) + 6, 130);
    Rows(CycleFilter::SwitchEvents, true);
    EXPECT_EQ(image.U8(Slot(0) + 6), 130);
}

TEST_F(CycleRowsTest, FrameMarks) {
    image.SetU16(addr::CycleLogWrite, Slot(2));
    const RecorderTime t = MakeTime(1, 3, 2009, 8, 0);
    WriteRecord(image, Slot(0), t, 0x00, 50, 50, 0, 0, 12.0f, 0x7FFD);
    WriteRecord(image, Slot(1), MakeTime(1, 3, 2009, 9, 0), 0x00, 50, 50, 0, 0, 12.0f, 0x0100);
    for (int i = 0; i < 5; ++i)
        image.SetU8(static_cast<std::uint16_t>(0x8000 + ((0x7FFD + i) & 0x7FFF)), t.bytes[i]);
    const auto rows = Rows(CycleFilter::All);
    EXPECT_FALSE(rows[0].hasFrame);
    EXPECT_TRUE(rows[1].hasFrame);
    EXPECT_EQ(rows[1].cells[7], "32765");
    EXPECT_EQ(FrameOffsetOfRow(rows[1]), 0x7FFD);
}

TEST_F(CycleRowsTest, NonFiniteMassesShowTheirSpecialText) {
    image.SetU16(addr::CycleLogWrite, Slot(1));
    WriteRecord(image, Slot(0), MakeTime(1, 3, 2009, 8, 0), 0x00, 50, 50, 0, 0,
                std::numeric_limits<float>::quiet_NaN(), 0);
    EXPECT_EQ(Rows(CycleFilter::All)[0].cells[5], "NAN");
    image.SetF32(Slot(0) + 10, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(Rows(CycleFilter::All)[0].cells[5], "-INF");
}

}  // namespace
}  // namespace orbisk
