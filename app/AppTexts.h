#pragma once
// The desktop program's own texts: window and page captions, commands, labels, hints, dialog
// titles and filters, each defined once. The texts of the display model (list columns, default
// channel names) and of the settings page's fields live with their rules in the core.
#include <array>
#include <string>
#include <string_view>

namespace orbisk::ui {

// Application and main window.
inline constexpr char kAppTitle[] = "Регистратор параметров работы крана";
inline constexpr char kHelpFileName[] = "orbis_k.pdf";
inline constexpr char kVersionPrefix[] = "Версия ";

// The buttons of the program's own dialogs.
inline constexpr char kOkButton[] = "OK";
inline constexpr char kCancelButton[] = "Отмена";

// Pages.
inline constexpr char kPageMain[] = "Идентификационная ";
inline constexpr char kPageRegData[] = "Долговременная";
inline constexpr char kPageOper[] = "Оперативная";
inline constexpr char kPageTools[] = "Настройки";

// Commands of the data module: caption and hint.
struct CommandText {
    const char* caption;
    const char* hint;
};
inline constexpr CommandText kGetFromCopyr{"Загрузить", "Загрузить данные из ПСИ"};
inline constexpr CommandText kGetFromFile{"Открыть", "Загрузить данные из файла"};
inline constexpr CommandText kSaveData{"Сохранить", "Сохранить данные в файле "};
inline constexpr CommandText kOpenPrev{"&Начало отчета",
                                       "Выбор файла данных начала отчетного периода"};
inline constexpr CommandText kCraneHistory{
    "История крана", "Проверки крана из архива, графики и вывод о его работе"};
inline constexpr CommandText kPkrSave{"Записать в ПСИ",
                                      "Записать данные в Прибор считывания информации"};
inline constexpr CommandText kLevelSave{"Записать в ПСИ",
                                        "Записать данные в Прибор считывания информации"};
inline constexpr CommandText kHelp{"Справка", "Вызов файла справки"};
inline constexpr CommandText kShutDown{"Выход", "Прекращение работы программы"};
inline constexpr CommandText kPreview{"Протокол", "Оформление протоколов"};

// The number the "Протокол" button itself runs (the items of its drop-down are the report
// kinds of the report command).
inline constexpr int kDefaultReport = 2;

// Data-file dialogs.
inline constexpr char kDataFileFilter[] = "Файл данных (*.bbd)";
inline constexpr char kDataFileSuffix[] = "bbd";
inline constexpr char kOpenDialogTitle[] = "Выбор файла данных регистратора параметров";
inline constexpr char kSaveDialogTitle[] = "Сохранение данных регистратора параметров";
inline constexpr char kPrevDialogTitle[] = "Выбор файла данных";
inline constexpr char kNotSaved[] = "Файл данных регистратора не сохранен!";

// A file handed to the system that nothing opened: the person can still open it by hand.
inline constexpr char kNotOpened[] =
    "Файл не открылся: в системе нет программы, которая его показывает.\nОткройте его вручную:\n";
inline std::string NotOpenedText(std::string_view nativePath) {
    return kNotOpened + std::string(nativePath);
}

// Picture dialogs of the two charts.
inline constexpr char kPictureDialogTitle[] = "Сохранение графика";
inline constexpr char kPictureFilterBmp[] = "Bitmaps (*.bmp)";
inline constexpr char kPictureFilterPng[] = "PNG (*.png)";
inline constexpr char kPictureSuffix[] = "bmp";

// Identification page.
inline constexpr char kGbInfo[] = " Паспорт крана ";
inline constexpr char kGbRegistrator[] = " Паспорт регистратора параметров ";
inline constexpr char kGbGruz[] = " Грузоподъёмность [F-24]";
inline constexpr char kGbChanges[] = " Информация об изменениях ";
inline constexpr char kChangeIdent[] = "Редактирование идентификационной информации:";
inline constexpr char kChangeClock[] = "Коррекция часов регистратора параметров:";
inline constexpr char kChangeSettings[] = "Изменение параметров настройки:";
inline constexpr char kEditPkr[] = "Изменить [F-20]";
inline constexpr char kEditPkrLong[] = "Записать с долговременной информацией [F-82]";
inline constexpr char kEditPkrLongHint[] = "Доступ к данной функции ограничен";
inline constexpr char kEditHint[] = "Разрешить редактирование";
// "Записать в ПСИ" pressed outside edit mode: the pages may show a stored file of another crane.
inline constexpr char kWriteShownQuestion[] = "Записать в ПСИ данные, показанные на странице?";
inline std::string WriteShownQuestion(std::string_view craneType, std::string_view serial) {
    return std::string(kWriteShownQuestion) + "\n\n" + kCraneType + " " + std::string(craneType) +
           "\n" + kSerial + " " + std::string(serial);
}

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

// Settings page (its fields' captions and hints sit with the page's rules).
inline constexpr char kSettingsGroup[] = " Параметры настройки ОПН \"ОРБИС-К\" ";
inline constexpr char kEditLevel[] = "Изменить [F-29]";

// The normalisation dialog.
inline constexpr char kNormirCaption[] = "Ввод значения нормировки";
inline constexpr char kNormirNumber[] = "Номер датчика";
inline constexpr char kNormirQo[] = "Значение при Qo";
inline constexpr char kNormirQnom[] = "Значение при Qном";
inline constexpr char kNormirScale[] = "Масштаб";

// The work-mode dialog.
inline constexpr char kRegimyCaption[] = "Режимы работы";
inline constexpr char kRegimyExplanation[] =
    "Введите значение разрешённой нагрузки для выбранного режима работы в % от номинальной "
    "грузоподъёмности.";
inline constexpr std::array<const char*, 4> kRegimyLabels = {"Режим R0 [F-50]", "Режим R1 [F-51]",
                                                             "Режим R2 [F-52]", "Режим R3 [F-53]"};

// The buttons of both settings dialogs.
inline constexpr char kEnterButton[] = "&Ввод";
inline constexpr char kCancelDialogButton[] = "&Отмена";

// Chart buttons, shared by both analysis windows.
inline constexpr char kPrintButton[] = "&Печать";
inline constexpr char kPrintHint[] = "Вывод графика на принтер";
inline constexpr char kSaveButton[] = "&Сохранить";
inline constexpr char kSaveHint[] = "Сохранить в виде графического файла";
inline constexpr char kExitButton[] = "Вы&ход";
inline constexpr char kExitHint[] = "Закрыть окно";

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
