#pragma once
// The messages of editing and writing back, each defined once.
#include <string>

namespace orbisk::edittext {

// Two blanks between "считывания" and "информации", as the program has always shown it.
inline constexpr char kNotConnected[] = "Прибор считывания  информации не подключен!";

// Identification (the numbers' messages are in their table).
inline constexpr char kIdentificationHasErrors[] =
    "Идентификационная информация содержит ошибки.\nПродолжить запись?";
inline constexpr char kIdentificationWriteFailed[] =
    "Ошибка при записи идентификационных данных в память!";

// Settings.
inline constexpr char kAboveMaximum[] = "Введённое значение больше макс. возможного: ";  // + max
inline constexpr char kBelowMinimum[] = "Введённое значение меньше мин. возможного: ";   // + min
inline constexpr char kNotAnInteger[] = "Введено неправильное значение!\n Должно быть целое число.";
inline constexpr char kSettingsWriteFailed[] = "Ошибка при записи параметров настройки в память!";

// A period image keeps the previous check's date and the period's counters: never written.
inline constexpr char kPeriodNotWritten[] =
    "Данные за период не записываются в ПСИ.\nЗагрузите данные из ПСИ или откройте файл данных.";

// The normalisation dialog.
inline constexpr char kQoOutOfRange[] = "Значение Qo вне допустимого диапазона.";
inline constexpr char kQnomOutOfRange[] = "Значение Qном вне допустимого диапазона.";
inline constexpr char kDivisionByZero[] = "Деление на ноль.";

// A text that does not convert, quoted as it stands.
inline std::string NotIntegerText(const std::string& text) {
    return "\"" + text + "\" не является целым числом.";
}
inline std::string NotNumberText(const std::string& text) {
    return "\"" + text + "\" не является числом.";
}
inline std::string NotDateText(const std::string& text) {
    return "\"" + text + "\" не является правильной датой.";
}

}  // namespace orbisk::edittext
