// The rules of the settings page's two dialogs under any texts: the normalisation (its pair and
// the rescaling of Qном) and the work modes. No crash, no undefined behaviour, and what they
// promise: a refused text leaves the list as it was, a stored pair is in range, a work-mode
// value can be typed key by key and settles into its range.
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "edit/SettingsDialogs.h"
#include "edit/TextNumbers.h"
#include "support/RecordingPrompter.h"

using namespace orbisk;
using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string qo = input.Text(), qnom = input.Text(), scale = input.Text();
    const std::string typed = input.Text();
    const int sensor = input.Byte() % 12 - 1;

    test::RecordingPrompter prompter;
    if (const auto scaled = ScaledQnom(qo, qnom, scale, prompter)) {
        Require(prompter.texts.empty());
        // A number, or what a float beyond every number shows.
        Require(DecimalText(scaled->front() == '-' ? scaled->substr(1) : *scaled).has_value() ||
                *scaled == "INF" || *scaled == "-INF" || *scaled == "NAN");
    } else {
        Require(prompter.texts.size() == 1);
    }

    DisplayModel model;
    model.totalSensors = 8;
    model.calibration = {{1, 2}, {3, 4}};
    const auto same = [&model] {
        return model.calibration.size() == 2 && model.calibration[0].qo == 1 &&
               model.calibration[0].qnom == 2 && model.calibration[1].qo == 3 &&
               model.calibration[1].qnom == 4;
    };
    prompter.Clear();
    if (EnterCalibration(model, sensor, qo, qnom, prompter)) {
        const auto& pair = model.calibration.at(static_cast<std::size_t>(sensor - 1));
        Require(pair.qo == *IntegerText(qo) && pair.qnom == *IntegerText(qnom));
        Require(pair.qo <= kMaxCalibrationValue && pair.qnom <= kMaxCalibrationValue);
    } else {
        Require(same());
    }

    // Typing key by key is never stopped short of a text the edit takes.
    const WorkModeTyping typing = TypedWorkMode(typed);
    if (typing != WorkModeTyping::Refused) {
        for (std::size_t n = 0; n < typed.size(); ++n) {
            Require(TypedWorkMode(typed.substr(0, n)) != WorkModeTyping::Refused);
        }
    }
    const int settled = SettledWorkMode(typed, 60);
    Require(settled >= kWorkModeMin && settled <= kWorkModeMax);
    if (typing == WorkModeTyping::InRange) Require(settled == *IntegerText(typed));
    StoreWorkModes(model, {settled, IntegerText(typed).value_or(-1), 0, 200});
    for (std::uint8_t value : model.workModeValues) Require(value <= kWorkModeMax);
    return 0;
}
