#pragma once
// The archive's messages to the user.
#include <string>

namespace orbisk::archive_text {

inline std::string Damaged(const std::string& file) {
    return "Файл архива проверок «" + file +
           "» повреждён или создан другой программой.\nСоздать архив заново по файлам данных?";
}

inline std::string Unreachable(const std::string& reason) {
    return "Сервер архива проверок недоступен: " + reason +
           "\nПрограмма продолжает работу без архива.";
}

inline std::string Failed(const std::string& reason) {
    return "Ошибка архива проверок: " + reason;
}

// A build made without the PostgreSQL library (the Windows build: no libpq for MinGW among
// Debian's packages) keeps the archive in its SQLite file only.
inline constexpr char kNoServerEngine[] =
    "Архив проверок на сервере в этой сборке программы недоступен; "
    "уберите адрес сервера из раздела [Архив] файла настроек, чтобы вести архив в папке данных.";

inline constexpr char kNoPreviousCheck[] = "В архиве нет более ранней проверки этого крана.";
inline constexpr char kNotInArchive[] = "Крана этого файла нет в архиве.";

}  // namespace orbisk::archive_text
