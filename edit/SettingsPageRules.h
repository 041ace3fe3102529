#pragma once
// The settings page's live rules (its fields are the table of image/SettingsTable.h): indicator
// colours of the check thresholds, the relay rule that enables a controlled-load choice, the
// labels that grey out at zero, and the texts of the additional relay unit. The window only
// applies the answers.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/DisplayModel.h"
#include "image/SettingsTable.h"

namespace orbisk {

// By SettingsTab.
inline constexpr std::array<const char*, 4> kSettingsTabNames = {"tsConfig", "tsLevel",
                                                                 "tsExtLevel", "tsExtRele"};
inline constexpr std::array<const char*, 4> kSettingsTabCaptions = {
    "Конфигурация", "Основные параметры", "Дополнительные функции", "Блок дополнительных реле "};

inline constexpr char kSensWorkModeCaption[] = "Использовать датчик режима работы [F-61]";
inline constexpr char kVersionCaption[] = "Версия программы БМК:";
inline constexpr char kSensorCountGroup[] = " Количество датчиков ";
inline constexpr char kCalibrationGroup[] = " Значения настройки датчиков ";
inline constexpr char kWorkModesGroup[] = " Режимы работы [Rx] ";
inline constexpr char kRelay3Group[] = " Управление Реле3 ";
inline constexpr char kRelay4Group[] = " Управление Реле4 ";

// The integer settings of a tab, as the tab lists them: in the order of their bytes.
std::vector<const SettingField*> FieldsOnTab(SettingsTab tab);

// Texts of the additional relay unit's rows (relays 5 to 8) before any choice has been made.
inline constexpr char kExtRelayInitial[] = "ВЫКЛЮЧЕНО (не используется)";

// The four relay texts for an algorithm item (any index outside 1..2 leaves every relay off).
std::array<std::string, 4> ExtRelayTexts(int algorithmIndex);

// The indicator colour an edit takes for its text: the check thresholds turn green (the
// switch-off thresholds red) when non-zero. Nothing for other edits or a text that is no integer.
std::optional<EditColor> IndicatorColor(Ctl control, std::string_view text);

// Whether the label beside eStop1 or eStopMax is enabled; nothing for a text that is no integer.
std::optional<bool> ThresholdLabelEnabled(std::string_view text);

// Whether a relay's controlled-load choice is enabled for its switch-on and switch-off threshold
// texts; nothing (keep the state) when either text is no integer.
std::optional<bool> RelayChoiceEnabled(std::string_view onText, std::string_view offText);

}  // namespace orbisk
