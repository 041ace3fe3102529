// The rules of the normalisation and work-mode dialogs: which sensor row is shown and changed,
// the range messages, and the rescaling of Qном in single precision.
#include <gtest/gtest.h>

#include "edit/EditTexts.h"
#include "edit/SettingsDialogs.h"
#include "support/RecordingPrompter.h"

namespace orbisk {
namespace {

using test::RecordingPrompter;

DisplayModel TwoSensors() {
    DisplayModel m;
    m.totalSensors = 3;
    m.calibration = {{412, 3687}, {398, 3702}};
    return m;
}

TEST(NormalisationDialog, TheRowOfTheSensorNumberOrZerosPastTheList) {
    const DisplayModel m = TwoSensors();
    EXPECT_EQ(CalibrationTexts(m, 2), (std::array<std::string, 2>{"398", "3702"}));
    EXPECT_EQ(CalibrationTexts(m, 3), (std::array<std::string, 2>{"0", "0"}));
    EXPECT_TRUE(SensorNumbers(m).Contains(3));
    EXPECT_FALSE(SensorNumbers(m).Contains(4));
    DisplayModel none;
    none.totalSensors = 0;
    EXPECT_TRUE(SensorNumbers(none).Empty());
}

TEST(NormalisationDialog, EnteringAppendsRowsAndRefusesWhatIsOutOfRange) {
    DisplayModel m = TwoSensors();
    RecordingPrompter prompter;
    ASSERT_TRUE(EnterCalibration(m, 3, "500", "1500", prompter));
    const TableList list = m.LvCalibr();
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[2], (std::vector<std::string>{"Датчик №3", "500", "1500", "1000"}));
    ASSERT_TRUE(EnterCalibration(m, 1, "2000", "1000", prompter));
    EXPECT_EQ(m.LvCalibr().rows[0][3], "1000");  // the span either way round
    EXPECT_TRUE(prompter.texts.empty());

    struct Case {
        const char* qo;
        const char* qnom;
        std::string message;
    };
    const Case refused[] = {
        {"40000", "1", edittext::kQoOutOfRange},       {"-1", "1", edittext::kQoOutOfRange},
        {"1", "32768", edittext::kQnomOutOfRange},     {"", "1", edittext::NotIntegerText("")},
        {"1", "1,5", edittext::NotIntegerText("1,5")},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.qo) + " " + c.qnom);
        DisplayModel before = TwoSensors();
        DisplayModel after = before;
        RecordingPrompter p;
        EXPECT_FALSE(EnterCalibration(after, 3, c.qo, c.qnom, p));
        EXPECT_EQ(p.texts, (std::vector<std::string>{c.message}));
        EXPECT_EQ(after.LvCalibr().rows, before.LvCalibr().rows);
    }
    EXPECT_TRUE(EnterCalibration(m, 2, "0", "32767", prompter));
}

// A decimal number beyond the largest single-precision float.
constexpr char kBeyondFloat[] = "999999999999999999999999999999999999999";

TEST(NormalisationDialog, ScaleRoundsHalfUpInSinglePrecision) {
    struct Case {
        const char* qo;
        const char* qnom;
        const char* scale;
        std::optional<std::string> result;
        std::string message;
    };
    const Case cases[] = {
        {"100", "1100", "2", "600", ""},
        {"0", "5", "2", "3", ""},
        {"100", "1100", "0,5", "2100", ""},
        {"100", "1100", "3", "433", ""},  // 100 + 0.5 + 333.33 in single precision
        {"1100", "100", "2", "600", ""},  // a falling span halves as well
        {"100", "1100", "0", std::nullopt, edittext::kDivisionByZero},
        {"100", "1100", "", std::nullopt, edittext::NotNumberText("")},
        {"100", "1100", "2x", std::nullopt, edittext::NotNumberText("2x")},
        {"a", "1100", "2", std::nullopt, edittext::NotIntegerText("a")},
        // Spans of two 32-bit texts need a 33rd bit; a scale must fit single precision.
        {"-1", "2147483647", "1", "2147483648", ""},
        {"2147483647", "-2147483648", "0,5", "-6442450944", ""},
        {"0", "1", kBeyondFloat, std::nullopt, edittext::NotNumberText(kBeyondFloat)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.qo) + " " + c.qnom + " / " + c.scale);
        RecordingPrompter p;
        EXPECT_EQ(ScaledQnom(c.qo, c.qnom, c.scale, p), c.result);
        EXPECT_EQ(p.texts, c.message.empty() ? std::vector<std::string>{}
                                             : std::vector<std::string>{c.message});
    }
}

TEST(WorkModeDialog, ValuesAreBroughtIntoTheirRange) {
    EXPECT_EQ(ClampWorkMode(-4), 0);
    EXPECT_EQ(ClampWorkMode(70), 70);
    EXPECT_EQ(ClampWorkMode(126), 125);
    DisplayModel model;
    StoreWorkModes(model, {-5, 130, 70, 2147483647});
    EXPECT_EQ(model.workModeValues, (std::array<std::uint8_t, 4>{0, 125, 70, 125}));
}

// Every key of 130, 200 or -5 is taken; the value settles when the edit is left.
TEST(WorkModeDialog, TheWholeValueIsTypedAndSettlesWhenLeft) {
    using enum WorkModeTyping;
    struct Case {
        const char* text;
        WorkModeTyping typing;
        int settled;  // left with 60 before, or left when refused
    };
    const Case cases[] = {
        {"", Unfinished, 60},     {"-", Unfinished, 60},    {"1", InRange, 1},
        {"13", InRange, 13},      {"130", Unfinished, 125}, {"200", Unfinished, 125},
        {"-5", Unfinished, 0},    {"125", InRange, 125},    {"0", InRange, 0},
        {"12a", Refused, 60},     {"+5", Refused, 60},      {"99999", Unfinished, 125},
        {"999999", Refused, 125},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TypedWorkMode(c.text), c.typing);
        EXPECT_EQ(SettledWorkMode(c.text, 60), c.settled);
    }
}

}  // namespace
}  // namespace orbisk
