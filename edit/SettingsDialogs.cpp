#include "edit/SettingsDialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "edit/EditTexts.h"
#include "edit/TextNumbers.h"
#include "image/NumberFormat.h"

namespace orbisk {

SensorRange SensorNumbers(const DisplayModel& model) {
    return {1, model.totalSensors};
}

std::array<std::string, 2> CalibrationTexts(const DisplayModel& model, int n) {
    if (n < 1 || static_cast<std::size_t>(n) > model.calibration.size()) return {"0", "0"};
    const CalibrationPair& pair = model.calibration[static_cast<std::size_t>(n - 1)];
    return {std::to_string(pair.qo), std::to_string(pair.qnom)};
}

namespace {

// An integer text of the dialog; the message names the text that does not convert.
std::optional<int> DialogInteger(const std::string& text, Prompter& prompter) {
    const auto value = IntegerText(text);
    if (!value) prompter.Message(edittext::NotIntegerText(text), MessageIcon::Error);
    return value;
}

}  // namespace

bool EnterCalibration(DisplayModel& model, int n, const std::string& qoText,
                      const std::string& qnomText, Prompter& prompter) {
    if (n < 1) return false;
    const auto qo = DialogInteger(qoText, prompter);
    if (!qo) return false;
    if (*qo < 0 || *qo > kMaxCalibrationValue) {
        prompter.Message(edittext::kQoOutOfRange, MessageIcon::Information);
        return false;
    }
    const auto qnom = DialogInteger(qnomText, prompter);
    if (!qnom) return false;
    if (*qnom < 0 || *qnom > kMaxCalibrationValue) {
        prompter.Message(edittext::kQnomOutOfRange, MessageIcon::Information);
        return false;
    }
    if (model.calibration.size() < static_cast<std::size_t>(n)) {
        model.calibration.resize(static_cast<std::size_t>(n));
    }
    model.calibration[static_cast<std::size_t>(n - 1)] = {static_cast<std::uint16_t>(*qo),
                                                          static_cast<std::uint16_t>(*qnom)};
    return true;
}

std::optional<std::string> ScaledQnom(const std::string& qoText, const std::string& qnomText,
                                      const std::string& scaleText, Prompter& prompter) {
    const auto k = FloatText(scaleText);
    if (!k) {
        prompter.Message(edittext::NotNumberText(scaleText), MessageIcon::Error);
        return std::nullopt;
    }
    const auto qo = DialogInteger(qoText, prompter);
    if (!qo) return std::nullopt;
    const auto qnom = DialogInteger(qnomText, prompter);
    if (!qnom) return std::nullopt;
    const float scale = *k;
    if (scale == 0.0f) {
        prompter.Message(edittext::kDivisionByZero, MessageIcon::Error);
        return std::nullopt;
    }
    // Single precision throughout, as the limiter's calibration has always been computed; the
    // span of two 32-bit texts may need 33 bits. A result beyond Qном's range is refused when
    // the dialog stores it.
    const auto span = static_cast<std::int64_t>(*qnom) - *qo;
    const float q = static_cast<float>(span) / scale;
    const float result = std::trunc(static_cast<float>(*qo) + 0.5f + q);
    return FormatFixed(static_cast<double>(result), 0);
}

int ClampWorkMode(int value) {
    return std::clamp(value, kWorkModeMin, kWorkModeMax);
}

WorkModeTyping TypedWorkMode(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(kWorkModeTypedLength)) {
        return WorkModeTyping::Refused;
    }
    if (text.empty() || text == "-") return WorkModeTyping::Unfinished;
    const auto value = IntegerText(text);
    if (!value) return WorkModeTyping::Refused;
    return *value == ClampWorkMode(*value) ? WorkModeTyping::InRange : WorkModeTyping::Unfinished;
}

int SettledWorkMode(std::string_view text, int before) {
    const auto value = IntegerText(text);
    return ClampWorkMode(value ? *value : before);
}

void StoreWorkModes(DisplayModel& model, const std::array<int, 4>& values) {
    for (std::size_t r = 0; r < values.size(); ++r) {
        model.workModeValues[r] = static_cast<std::uint8_t>(ClampWorkMode(values[r]));
    }
}

}  // namespace orbisk
