#pragma once
// The settings page's fields (caption, hint, bounds) and its live rules: indicator colours of the
// check thresholds, the relay rule that enables a controlled-load choice, the labels that grey
// out at zero, and the texts of the additional relay unit. The window only applies the answers.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "image/DisplayModel.h"

namespace orbisk {

enum class SettingsTab { Config, Level, ExtLevel, ExtRele };

inline constexpr std::array<const char*, 4> kSettingsTabNames = {"tsConfig", "tsLevel",
                                                                 "tsExtLevel", "tsExtRele"};
inline constexpr std::array<const char*, 4> kSettingsTabCaptions = {
    "Конфигурация", "Основные параметры", "Дополнительные функции", "Блок дополнительных реле "};

// One integer setting of the page. The upper bounds of the winch 2 and 3 sensor counts shrink
// with the counts before them; `maximum` is their bound when those are zero.
struct SettingField {
    Ctl control;
    SettingsTab tab;
    const char* caption;
    const char* hint;
    int minimum;
    int maximum;
};

inline constexpr std::array<SettingField, 24> kSettingFields = {{
    {Ctl::eLeb1Cnt, SettingsTab::Config, "[F-31]", "от 0 до 8", 1, 8},
    {Ctl::eLeb2Cnt, SettingsTab::Config, "[F-32]", "от 0 до 8", 0, 8},
    {Ctl::eLeb3Cnt, SettingsTab::Config, "[F-33]", "от 0 до 8", 0, 8},
    {Ctl::eWorkMode, SettingsTab::Config, "Текущий режим [F-02]:", "от 0 до 4", 0, 4},
    {Ctl::eStop1, SettingsTab::Level, "Предварительный останов, % [F-34]:", "от 0 до 125", 0, 125},
    {Ctl::eStop, SettingsTab::Level, "Средняя максимальная нагрузка, % [F-35]:", "от 50 до 125", 50,
     125},
    {Ctl::eStopMax, SettingsTab::Level,
     "Мгновенная максимальная нагрузка, % [F-36]:", "от 0 до 125", 0, 125},
    {Ctl::eWarning, SettingsTab::Level, "Предупредительная сигнализация, % [F-37]:", "от 50 до 125",
     50, 125},
    {Ctl::eCycleStart, SettingsTab::Level, "Условие начала рабочего цикла, % [F-38]:", "от 0 до 60",
     0, 60},
    {Ctl::eCycleEnd, SettingsTab::Level, "Условие конца рабочего цикла, % [F-39]:", "от 0 до 50", 0,
     50},
    {Ctl::eCycleTime, SettingsTab::Level, "Минимальная  длительность, с [F-40]", "от 1 до 30", 1,
     30},
    {Ctl::eEnable, SettingsTab::Level, "Средняя нагрузка отмены запрета, % [F-41]:", "от 0 до 125",
     0, 125},
    {Ctl::eAvrScale, SettingsTab::Level, "Коэф. фильтра средней нагрузки [F-42]:", "от 2 до 100", 2,
     100},
    {Ctl::eMassScale, SettingsTab::Level, "Коэф. фильтра массы груза [F-43]:", "от 4 до 255", 4,
     255},
    {Ctl::eStopSens, SettingsTab::ExtLevel,
     "Максимальная нагрузка на датчик, % [F-44]:", "от 0 до 255 (0-контроль выключен)", 0, 255},
    {Ctl::eStopPerekos, SettingsTab::ExtLevel,
     "Допустимый перекос датчиков, % [F-45]:", "от 0 до 125 (0-контроль выключен)", 0, 125},
    {Ctl::eCtrlRele3, SettingsTab::ExtLevel,
     "Порог Включения, % [F-46]:", "от 0 до 125 (0-контроль выключен)", 0, 125},
    {Ctl::eCtrlRele3_Off, SettingsTab::ExtLevel,
     "Порог Выключения, % [F-56]:", "от 0 до 125 (0-контроль выключен)", 0, 125},
    {Ctl::eCtrlRele4, SettingsTab::ExtLevel,
     "Порог Включения, % [F-48]:", "от 0 до 125 (0-звуковой сигнал)", 0, 125},
    {Ctl::eCtrlRele4_Off, SettingsTab::ExtLevel,
     "Порог Выключения, % [F-58]:", "от 0 до 125 (0-контроль выключен)", 0, 125},
    {Ctl::eExtRele1, SettingsTab::ExtRele, "Порог управления Реле5, % [F-71]:", "от 0 до 125", 0,
     125},
    {Ctl::eExtRele2, SettingsTab::ExtRele, "Порог управления Реле6, % [F-72]:", "от 0 до 125", 0,
     125},
    {Ctl::eExtRele3, SettingsTab::ExtRele, "Порог управления Реле7, % [F-73]:", "от 0 до 125", 0,
     125},
    {Ctl::eExtRele4, SettingsTab::ExtRele, "Порог управления Реле8, % [F-74]:", "от 0 до 125", 0,
     125},
}};

const SettingField* FindSettingField(Ctl control);

// The choices of the page: object name, caption, items and columns.
struct SettingChoice {
    const char* name;
    const char* caption;
    std::array<const char*, 5> items;
    int itemCount;
    int columns;
};

inline constexpr SettingChoice kRele3Choice{
    "rgRele3", " Контролируемая нагрузка [F-47]  ", {"Кран", "Лебедка №1", "Лебедка №2"}, 3, 3};
inline constexpr SettingChoice kRele4Choice{"rgRele4",
                                            " Контролируемая нагрузка [F-49]  ",
                                            {"Кран", "Лебедка №1", "Лебедка №2", "Лебедка №3"},
                                            4,
                                            2};
inline constexpr SettingChoice kExtPultChoice{
    "rgExtPult",
    " Передача информации на доп.табло [F-60]  ",
    {"0-Выключена", "1-Табло \"Ривант 915-D15x3-RS485\" - масса, т",
     "2-Табло \"Ривант 915-D15x3-RS485\" - нагрузка, %",
     "3-Табло малое (ООО \"НПП \"ВЕРНАЛ\") - масса, т",
     "4-Табло малое (ООО \"НПП \"ВЕРНАЛ\") - нагрузка, %"},
    5,
    1};
inline constexpr SettingChoice kExtDacChoice{
    "rgExtDAC",
    " Передача информации на  ЦАП [F-62]   ",
    {"0-Выключена", "1- Текущее значение нагрузки", "2- Среднее значение нагрузки"},
    3,
    1};
inline constexpr SettingChoice kExtReleAlgChoice{
    "rgExtReleAlg",
    " Алгоритм использования блока доп. реле [F-70]  ",
    {"0 - Не использовать", "1 - Алгоритм №1", "2 - Алгоритм №2", "3 - резерв"},
    4,
    1};

inline constexpr char kSensWorkModeCaption[] = "Использовать датчик режима работы [F-61]";
inline constexpr char kVersionCaption[] = "Версия программы БМК:";
inline constexpr char kSensorCountGroup[] = " Количество датчиков ";
inline constexpr char kCalibrationGroup[] = " Значения настройки датчиков ";
inline constexpr char kWorkModesGroup[] = " Режимы работы [Rx] ";
inline constexpr char kRelay3Group[] = " Управление Реле3 ";
inline constexpr char kRelay4Group[] = " Управление Реле4 ";

// Texts of the additional relay unit's rows (relays 5 to 8) before any choice has been made.
inline constexpr char kExtRelayInitial[] = "ВЫКЛЮЧЕНО (не используется)";

// The four relay texts for an algorithm item (any index outside 1..2 leaves every relay off).
std::array<std::string, 4> ExtRelayTexts(int algorithmIndex);

// The text of an edit as an integer: optional blanks and sign, decimal digits, within 32 bits.
std::optional<int> SettingInteger(std::string_view text);

// Colours the page gives its edits.
enum class EditColor { Window, ButtonFace, Green, Red };

// The colour of an edit in or out of edit mode.
inline EditColor EditModeColor(bool editing) {
    return editing ? EditColor::Window : EditColor::ButtonFace;
}

// The indicator colour an edit takes for its text: the check thresholds turn green (the
// switch-off thresholds red) when non-zero. Nothing for other edits or a text that is no integer.
std::optional<EditColor> IndicatorColor(Ctl control, std::string_view text);

// Whether the label beside eStop1 or eStopMax is enabled; nothing for a text that is no integer.
std::optional<bool> ThresholdLabelEnabled(std::string_view text);

// Whether a relay's controlled-load choice is enabled for its switch-on and switch-off threshold
// texts; nothing (keep the state) when either text is no integer.
std::optional<bool> RelayChoiceEnabled(std::string_view onText, std::string_view offText);

}  // namespace orbisk
