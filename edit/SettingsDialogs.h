#pragma once
// The rules of the settings page's two dialogs: the normalisation of one sensor (its pair of the
// calibration list, and the rescaling of Qном), and the four work-mode values. The dialogs and
// the command line only show and forward.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Prompter.h"
#include "image/DisplayModel.h"

namespace orbisk {

// The sensor numbers the normalisation dialog offers: 1 to the decoded total; none when the
// image has no sensors (the dialog then addresses no row).
struct SensorRange {
    int first = 1;
    int last = 0;
    bool Empty() const { return last < first; }
    bool Contains(int n) const { return n >= first && n <= last; }
};
SensorRange SensorNumbers(const DisplayModel& model);

// The texts of eQo and eQnom for sensor n: its row's values, or "0" and "0" past the list's end.
std::array<std::string, 2> CalibrationTexts(const DisplayModel& model, int n);

inline constexpr int kMaxCalibrationValue = 32767;

// "&Ввод": the two texts into row n − 1 of the calibration list, appending rows up to it. False,
// after its message, for a text that is no integer or a value outside 0..32767; the list is then
// unchanged.
bool EnterCalibration(DisplayModel& model, int n, const std::string& qoText,
                      const std::string& qnomText, Prompter& prompter);

// The scale button: the new Qном text, Qo + (Qном − Qo) / k rounded half up in single precision;
// nothing, after its message, when a text does not convert or k is zero.
std::optional<std::string> ScaledQnom(const std::string& qoText, const std::string& qnomText,
                                      const std::string& scaleText, Prompter& prompter);

// The work-mode spin edits' range.
inline constexpr int kWorkModeMin = 0;
inline constexpr int kWorkModeMax = 125;
int ClampWorkMode(int value);

// What a work-mode edit makes of the text being typed: the whole value is typed first (130, 200,
// -5, an emptied edit) and brought into the range only when the edit is left or "&Ввод" pressed.
enum class WorkModeTyping { Refused, Unfinished, InRange };
inline constexpr int kWorkModeTypedLength = 5;
WorkModeTyping TypedWorkMode(std::string_view text);
// The value a left edit settles on: the text's value clamped into the range; the value it had
// before when the text is no number (emptied, a lone minus sign).
int SettledWorkMode(std::string_view text, int before);

// "&Ввод" of the work-mode dialog and --modes: the four values, clamped, into the settings list.
void StoreWorkModes(DisplayModel& model, const std::array<int, 4>& values);

}  // namespace orbisk
