#include "edit/IdentificationEdit.h"
#include "edit/SettingsPageRules.h"
#include "edit/TextNumbers.h"

#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/TextCodec.h"

namespace orbisk {
namespace {

TEST(SettingsPageRules, CheckThresholdsTurnGreenAndSwitchOffThresholdsRed) {
    EXPECT_EQ(IndicatorColor(Ctl::eStopSens, "10"), EditColor::Green);
    EXPECT_EQ(IndicatorColor(Ctl::eStopPerekos, "0"), EditColor::ButtonFace);
    EXPECT_EQ(IndicatorColor(Ctl::eCtrlRele3_Off, "20"), EditColor::Red);
    EXPECT_EQ(IndicatorColor(Ctl::eCtrlRele4, "1"), EditColor::Green);
    EXPECT_EQ(IndicatorColor(Ctl::eStopSens, "1a"), std::nullopt);  // a letter changes nothing
    EXPECT_EQ(IndicatorColor(Ctl::eStopSens, ""), std::nullopt);
    EXPECT_EQ(IndicatorColor(Ctl::eWarning, "90"), std::nullopt);
}

TEST(SettingsPageRules, RelayChoiceFollowsBothThresholds) {
    EXPECT_EQ(RelayChoiceEnabled("0", "20"), true);
    EXPECT_EQ(RelayChoiceEnabled("5", "0"), true);
    EXPECT_EQ(RelayChoiceEnabled("0", "0"), false);
    EXPECT_EQ(RelayChoiceEnabled("x", "0"), std::nullopt);
    EXPECT_EQ(ThresholdLabelEnabled("0"), false);
    EXPECT_EQ(ThresholdLabelEnabled("105"), true);
    EXPECT_EQ(ThresholdLabelEnabled("-"), std::nullopt);
}

// One rule for every number the pages take, in the live reactions and in the writes alike.
TEST(SettingsPageRules, IntegerTextsAsTheEditsHoldThem) {
    EXPECT_EQ(IntegerText("42"), 42);
    EXPECT_EQ(IntegerText("-3"), -3);
    EXPECT_EQ(IntegerText("007"), 7);
    for (const char* text : {" 42 ", "+7", "99999999999", "4.5", "", "-", "1e3", "٣"}) {
        EXPECT_EQ(IntegerText(text), std::nullopt) << text;
    }
    EXPECT_EQ(DecimalText("12.5"), 12.5);
    EXPECT_EQ(DecimalText("12,5"), 12.5);
    EXPECT_EQ(DecimalText(",5"), 0.5);
    EXPECT_EQ(DecimalText("7"), 7.0);
    for (const char* text : {"", ".", "1.2.3", "1,2.3", "-1", " 1", "1e3", "12.5т"}) {
        EXPECT_EQ(DecimalText(text), std::nullopt) << text;
    }
}

TEST(SettingsPageRules, AdditionalRelayTextsPerAlgorithm) {
    const auto two = ExtRelayTexts(2);
    EXPECT_EQ(two[0], "ВКЛЮЧЕНО,если нагрузка на Лебедке №1 < Порога");
    EXPECT_EQ(two[2], "ВКЛЮЧЕНО,если нагрузка на Лебедке №3 < Порога");
    EXPECT_EQ(two[3], "ВЫКЛЮЧЕНО(не используется)");
    EXPECT_EQ(ExtRelayTexts(1)[1], "ВКЛЮЧЕНО,если нагрузка на Лебедке №2 > Порога");
    for (int none : {0, 3, -1}) {
        for (const auto& t : ExtRelayTexts(none)) EXPECT_EQ(t, "ВЫКЛЮЧЕНО(не используется)");
    }
}

TEST(SettingsPageRules, EveryIntegerSettingHasOneFieldWithItsBounds) {
    EXPECT_EQ(FindSettingField(Ctl::eWarning)->minimum, 50);
    EXPECT_EQ(FindSettingField(Ctl::eMassScale)->maximum, 255);
    EXPECT_EQ(FindSettingField(Ctl::eCycleTime)->minimum, 1);
    EXPECT_EQ(FindSettingField(Ctl::eVersion), nullptr);
    DisplayModel model;  // each field has its design text
    for (const auto& f : kSettingFields) EXPECT_FALSE(model.Text(f.control).empty()) << f.caption;
}

TEST(IdentificationEdit, DigitFilterKeepsDigitsAndControlKeys) {
    EXPECT_EQ(FilterKey(KeyFilterOf(Ctl::eYear), U'7'), U'7');
    EXPECT_EQ(FilterKey(KeyFilterOf(Ctl::eSrok), U'\b'), U'\b');
    EXPECT_EQ(FilterKey(KeyFilterOf(Ctl::eRegYear), U'a'), std::nullopt);
    EXPECT_EQ(FilterKey(KeyFilterOf(Ctl::eRegYear), U'.'), std::nullopt);
    EXPECT_EQ(FilterKey(KeyFilterOf(Ctl::eMarka), U'ж'), U'ж');
}

TEST(IdentificationEdit, CapacityFilterTurnsCommaAndDotIntoTheSeparator) {
    const KeyFilter f = KeyFilterOf(Ctl::eGruz2);
    EXPECT_EQ(FilterKey(f, U','), U'.');
    EXPECT_EQ(FilterKey(f, U'.'), U'.');
    EXPECT_EQ(FilterKey(f, U'-'), std::nullopt);
    EXPECT_EQ(FilterKey(f, U'5'), U'5');
}

TEST(IdentificationEdit, TextLengthsAreTheFieldWidths) {
    EXPECT_EQ(MaxTextLength(Ctl::eMarka), 32);
    EXPECT_EQ(MaxTextLength(Ctl::eOwner), 64);
    EXPECT_EQ(MaxTextLength(Ctl::eLebName3), 16);
    EXPECT_EQ(MaxTextLength(Ctl::eGroup), 2);
    EXPECT_EQ(MaxTextLength(Ctl::eYear), 4);
    // A capacity beyond a float stays beyond it when cut to its edit's length.
    for (std::size_t digits = 39; digits < 60; ++digits) {
        EXPECT_FALSE(FloatText(PastedText(std::string(digits, '9'), MaxTextLength(Ctl::eGruz1))));
    }
    EXPECT_TRUE(FloatText(PastedText("340282346638528859811704183484516925440.00",
                                     MaxTextLength(Ctl::eGruz1))));
    EXPECT_EQ(MaxTextLength(Ctl::eChangeRTC), 0);
}

TEST(IdentificationEdit, CalendarStartsAtTheShownDateOrToday) {
    const long long day = DayNumber(2008, 7, 1);
    EXPECT_EQ(CalendarDayFor("01.07.2008", 100), day);
    EXPECT_EQ(CalendarDayFor("", 100), 100);
    EXPECT_EQ(CalendarDayFor("31.02.2008", 100), 100);
    EXPECT_EQ(InstallDateText(day), "01.07.2008");
}

}  // namespace
}  // namespace orbisk
