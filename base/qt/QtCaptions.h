#pragma once
// Captions of the widgets and dialogs every window shares: the buttons of the program's own
// dialogs, the file dialogs, the message for a file nothing opened, the chart windows' buttons.
#include <string>
#include <string_view>

namespace orbisk::ui {

// The buttons of the program's own dialogs.
inline constexpr char kOkButton[] = "OK";
inline constexpr char kCancelButton[] = "Отмена";

// Data-file dialogs.
inline constexpr char kDataFileFilter[] = "Файл данных (*.bbd)";
inline constexpr char kDataFileSuffix[] = "bbd";
inline constexpr char kSaveDialogTitle[] = "Сохранение данных регистратора параметров";

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

// Chart buttons, shared by both analysis windows.
inline constexpr char kPrintButton[] = "&Печать";
inline constexpr char kPrintHint[] = "Вывод графика на принтер";
inline constexpr char kSaveButton[] = "&Сохранить";
inline constexpr char kSaveHint[] = "Сохранить в виде графического файла";
inline constexpr char kExitButton[] = "Вы&ход";
inline constexpr char kExitHint[] = "Закрыть окно";

}  // namespace orbisk::ui
