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
}

}  // namespace
}  // namespace orbisk
