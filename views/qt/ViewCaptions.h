#pragma once
// Captions and hints of the long-term and operational pages and of their two chart windows.
#include <array>

namespace orbisk::ui {

// Long-term page.
inline constexpr char kLoadTitle[] = "Распределение циклов работы крана в зависимости от нагрузки";
inline constexpr char kGistogramButton[] = "&Гистограмма...";
inline constexpr char kStepGroup[] = " Дискретность, % ";
inline constexpr std::array<const char*, 3> kStepItems = {"1", "10", "25"};
inline constexpr char kPeriodGroup[] = " Отчет за период ";
inline constexpr char kPeriodStart[] = "Начало:";
inline constexpr char kPeriodStartHint[] = "Начало|Дата начала отчетного периода";
inline constexpr char kPeriodEnd[] = "Конец:";
inline constexpr char kPeriodEndHint[] =
    "Конец|Дата и время чтения данных из регистратора параметров";
inline constexpr char kWorkGroup[] = " Параметры работы ";

// Operational page.
inline constexpr char kCyclesGroup[] = " Рабочие циклы ";
inline constexpr char kCyclesHint[] = "Информация о последних циклах работы крана";
inline constexpr std::array<const char*, 4> kCycleFilterItems = {
    "За выбранную дату", "Срабатывание ОГП", "Вкл/Выкл крана", "Все циклы"};

// The work-cycle chart.
inline constexpr char kOperCaption[] = "Оперативная информация";
inline constexpr char kOperCurvesGroup[] = " Параметры ";
inline constexpr char kOperCurvesHint[] = "Выбор графиков для отображения";
inline constexpr char kOperPrevHint[] = "Показать предыдущий цикл оперативных записей";
inline constexpr char kOperNextHint[] = "Показать следующий цикл оперативных записей";
inline constexpr char kOperTimeAxis[] = "Время, с";

// The load histogram.
inline constexpr char kGistCaption[] = "Гистограмма распределения рабочих циклов";
inline constexpr char kGistTitle[] = "График распределения регистрируемых циклов работы крана";
inline constexpr char kGistLoadAxis[] = "Нагрузка, %";
inline constexpr char kGistCountAxis[] = "Количество циклов";
inline constexpr std::array<const char*, 4> kGistLegend = {"Кран      ", "Лебедка №1", "Лебедка №2",
                                                           "Лебедка №3"};

}  // namespace orbisk::ui
