#pragma once
// The settings page's fields, one row each: the control, the byte of the settings block it
// stands for, its tab, caption, hint, bounds and the text it shows before any image. Decoding,
// the page, and the assembly of the block written to the reader all read this one table.
#include <array>
#include <cstdint>

#include "image/Controls.h"
#include "image/RecorderImage.h"

namespace orbisk {

enum class SettingsTab { Config, Level, ExtLevel, ExtRele };

// One integer setting of the page. The upper bounds of the winch 2 and 3 sensor counts shrink
// with the counts before them; `maximum` is their bound when those are zero.
struct SettingField {
    Ctl control;
    std::uint16_t address;
    SettingsTab tab;
    const char* caption;
    const char* hint;
    int minimum;
    int maximum;
    const char* initial;
};

// In the order the block is assembled, which is the order of its clamping messages.
inline constexpr std::array<SettingField, 24> kSettingFields = {{
    {Ctl::eLeb1Cnt, addr::SensorCounts, SettingsTab::Config, "[F-31]", "от 0 до 8", 1, 8, "1"},
    {Ctl::eLeb2Cnt, addr::SensorCounts + 1, SettingsTab::Config, "[F-32]", "от 0 до 8", 0, 8, "0"},
    {Ctl::eLeb3Cnt, addr::SensorCounts + 2, SettingsTab::Config, "[F-33]", "от 0 до 8", 0, 8, "0"},
    {Ctl::eWarning, addr::Warning, SettingsTab::Level,
     "Предупредительная сигнализация, % [F-37]:", "от 50 до 125", 50, 125, "90"},
    {Ctl::eStop1, addr::PreliminaryStop, SettingsTab::Level,
     "Предварительный останов, % [F-34]:", "от 0 до 125", 0, 125, "105"},
    {Ctl::eStop, addr::AverageMaxLoad, SettingsTab::Level,
     "Средняя максимальная нагрузка, % [F-35]:", "от 50 до 125", 50, 125, "115"},
    {Ctl::eStopMax, addr::InstantMaxLoad, SettingsTab::Level,
     "Мгновенная максимальная нагрузка, % [F-36]:", "от 0 до 125", 0, 125, "125"},
    {Ctl::eEnable, addr::EnableLoad, SettingsTab::Level,
     "Средняя нагрузка отмены запрета, % [F-41]:", "от 0 до 125", 0, 125, "100"},
    {Ctl::eAvrScale, addr::AverageFilter, SettingsTab::Level,
     "Коэф. фильтра средней нагрузки [F-42]:", "от 2 до 100", 2, 100, "25"},
    {Ctl::eMassScale, addr::MassFilter, SettingsTab::Level,
     "Коэф. фильтра массы груза [F-43]:", "от 4 до 255", 4, 255, "50"},
    {Ctl::eCycleStart, addr::CycleStart, SettingsTab::Level,
     "Условие начала рабочего цикла, % [F-38]:", "от 0 до 60", 0, 60, "5"},
    {Ctl::eCycleEnd, addr::CycleEnd, SettingsTab::Level,
     "Условие конца рабочего цикла, % [F-39]:", "от 0 до 50", 0, 50, "3"},
    {Ctl::eCycleTime, addr::CycleTime, SettingsTab::Level, "Минимальная  длительность, с [F-40]",
     "от 1 до 30", 1, 30, "10"},
    {Ctl::eStopSens, addr::SensorMaxLoad, SettingsTab::ExtLevel,
     "Максимальная нагрузка на датчик, % [F-44]:", "от 0 до 255 (0-контроль выключен)", 0, 255,
     "0"},
    {Ctl::eStopPerekos, addr::SensorSkew, SettingsTab::ExtLevel,
     "Допустимый перекос датчиков, % [F-45]:", "от 0 до 125 (0-контроль выключен)", 0, 125, "0"},
    {Ctl::eCtrlRele3, addr::Relay3On, SettingsTab::ExtLevel,
     "Порог Включения, % [F-46]:", "от 0 до 125 (0-контроль выключен)", 0, 125, "0"},
    {Ctl::eCtrlRele4, addr::Relay4On, SettingsTab::ExtLevel,
     "Порог Включения, % [F-48]:", "от 0 до 125 (0-звуковой сигнал)", 0, 125, "0"},
    {Ctl::eWorkMode, addr::WorkMode, SettingsTab::Config, "Текущий режим [F-02]:", "от 0 до 4", 0,
     4, "0"},
    {Ctl::eCtrlRele3_Off, addr::Relay3Off, SettingsTab::ExtLevel,
     "Порог Выключения, % [F-56]:", "от 0 до 125 (0-контроль выключен)", 0, 125, "0"},
    {Ctl::eCtrlRele4_Off, addr::Relay4Off, SettingsTab::ExtLevel,
     "Порог Выключения, % [F-58]:", "от 0 до 125 (0-контроль выключен)", 0, 125, "0"},
    {Ctl::eExtRele1, addr::ExtRelayThresholds, SettingsTab::ExtRele,
     "Порог управления Реле5, % [F-71]:", "от 0 до 125", 0, 125, "0"},
    {Ctl::eExtRele2, addr::ExtRelayThresholds + 1, SettingsTab::ExtRele,
     "Порог управления Реле6, % [F-72]:", "от 0 до 125", 0, 125, "0"},
    {Ctl::eExtRele3, addr::ExtRelayThresholds + 2, SettingsTab::ExtRele,
     "Порог управления Реле7, % [F-73]:", "от 0 до 125", 0, 125, "0"},
    {Ctl::eExtRele4, addr::ExtRelayThresholds + 3, SettingsTab::ExtRele,
     "Порог управления Реле8, % [F-74]:", "от 0 до 125", 0, 125, "0"},
}};

const SettingField* FindSettingField(Ctl control);

// The choices of the page: object name, caption, items, columns and the byte that keeps the
// chosen item's index.
struct SettingChoice {
    const char* name;
    const char* caption;
    std::array<const char*, 5> items;
    int itemCount;
    int columns;
    std::uint16_t address;
};

inline constexpr SettingChoice kRele3Choice{"rgRele3",
                                            " Контролируемая нагрузка [F-47]  ",
                                            {"Кран", "Лебедка №1", "Лебедка №2"},
                                            3,
                                            3,
                                            addr::Relay3Load};
inline constexpr SettingChoice kRele4Choice{"rgRele4",
                                            " Контролируемая нагрузка [F-49]  ",
                                            {"Кран", "Лебедка №1", "Лебедка №2", "Лебедка №3"},
                                            4,
                                            2,
                                            addr::Relay4Load};
inline constexpr SettingChoice kExtPultChoice{
    "rgExtPult",
    " Передача информации на доп.табло [F-60]  ",
    {"0-Выключена", "1-Табло \"Ривант 915-D15x3-RS485\" - масса, т",
     "2-Табло \"Ривант 915-D15x3-RS485\" - нагрузка, %",
     "3-Табло малое (ООО \"НПП \"ВЕРНАЛ\") - масса, т",
     "4-Табло малое (ООО \"НПП \"ВЕРНАЛ\") - нагрузка, %"},
    5,
    1,
    addr::ExtDisplay};
inline constexpr SettingChoice kExtDacChoice{
    "rgExtDAC",
    " Передача информации на  ЦАП [F-62]   ",
    {"0-Выключена", "1- Текущее значение нагрузки", "2- Среднее значение нагрузки"},
    3,
    1,
    addr::DacOutput};
inline constexpr SettingChoice kExtReleAlgChoice{
    "rgExtReleAlg",
    " Алгоритм использования блока доп. реле [F-70]  ",
    {"0 - Не использовать", "1 - Алгоритм №1", "2 - Алгоритм №2", "3 - резерв"},
    4,
    1,
    addr::ExtRelayAlgorithm};

// The choice's item index as the display model keeps it.
int& ChoiceIndexOf(Choices& choices, const SettingChoice& choice);
int ChoiceIndexOf(const Choices& choices, const SettingChoice& choice);

inline constexpr std::array<const SettingChoice*, 5> kSettingChoices = {
    &kRele3Choice, &kRele4Choice, &kExtPultChoice, &kExtDacChoice, &kExtReleAlgChoice};

// The calibration pairs occupy 0x0010..0x002F: eight sensors at the most.
inline constexpr int kMaxCalibrationPairs = 8;

}  // namespace orbisk
