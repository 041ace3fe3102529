#pragma once
// The message texts of the image subsystem, each defined once.

namespace orbisk::msg {

inline constexpr char kCurrentDateUsed[] = "Используется текущая дата!";
inline constexpr char kBadChecksum[] =
    "Неправильная контрольная сумма!\nВозможно, ошибка чтения ПСИ.\nПродолжить обработку?";
inline constexpr char kBadReadingTime[] =
    "Неправильное значение даты или времени!\nТребуется коррекция часов регистратора параметров.";
inline constexpr char kIdentificationFailed[] = "Ошибка вывода идентификационной информации!";
inline constexpr char kStatisticsFailed[] =
    "Ошибка при обработке данных!\nПроверьте введенные значения.";
inline constexpr char kLongTermFailed[] = "Ошибка отображения данных РП!";
// Completed with the file's size and the second line by BadFileSizeText().
inline constexpr char kBadFileSizePrefix[] = "Неправильный размер файла данных: ";
inline constexpr char kBadFileSizeSuffix[] = " байт.\nОжидается 65536 байт.";
inline constexpr char kWrongExtension[] = "Файл данных должен быть с расширением *.bbd";
inline constexpr char kRecorderSerialDiffers[] =
    "Заводской номер РП не совпадает!\n Продолжить обработку?";
inline constexpr char kCraneSerialDiffers[] =
    "Заводской номер крана не совпадает!\n Продолжить обработку?";
inline constexpr char kWrongPreviousFile[] =
    "Выбран неправильный файл данных регистратора параметров!\nУкажите файл, содержащий "
    "результаты предыдущей проверки.";
inline constexpr char kBadPreviousFile[] =
    "Неправильный файл данных!\nУкажите файл, содержащий результаты предыдущей проверки.";
inline constexpr char kCannotOpenFilePrefix[] = "Не удается открыть файл ";
inline constexpr char kCannotCreateFilePrefix[] = "Не удается создать файл ";
inline constexpr char kWriteErrorPrefix[] = "Ошибка записи файла ";

}  // namespace orbisk::msg
