#pragma once
// Captions and hints of the editing pages and of the two settings dialogs (the settings
// fields' own captions and hints sit with the page's rules in the core).
#include <array>

namespace orbisk::ui {

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

}  // namespace orbisk::ui
