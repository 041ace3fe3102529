#pragma once
// The main window's own texts: version, page names, the commands of the data module with
// their hints, and the titles of its file dialogs.
#include <string>
#include <string_view>

#include "image/IdentificationTable.h"

namespace orbisk::ui {

inline constexpr char kVersionPrefix[] = "Версия ";

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

// The file dialogs of "Открыть" and "Начало отчета".
inline constexpr char kOpenDialogTitle[] = "Выбор файла данных регистратора параметров";
inline constexpr char kPrevDialogTitle[] = "Выбор файла данных";

// "Записать в ПСИ" pressed outside edit mode: the pages may show a stored file of another crane.
inline constexpr char kWriteShownQuestion[] = "Записать в ПСИ данные, показанные на странице?";
inline std::string WriteShownQuestion(std::string_view craneType, std::string_view serial) {
    return std::string(kWriteShownQuestion) + "\n\n" + IdentificationCaption(Ctl::eMarka) + " " +
           std::string(craneType) + "\n" + idcaption::kSerial + " " + std::string(serial);
}

}  // namespace orbisk::ui
