#pragma once
// The texts the reader link shows or sends, each defined once (UTF-8; the adapter's name goes
// over the wire in Windows-1251).

namespace orbisk::linktext {

// A load from the reader that ended without a data file.
inline constexpr char kNotSaved[] = "Файл данных регистратора не сохранен!";

// Port access.
inline constexpr char kDriverOpenFailed[] = "Не возможно открыть DriverLINX драйвер.\n";
// Windows: what the person must put beside the program, after the reason of the failure.
//   "\n" + prefix + program folder + middle
inline constexpr char kPortLibraryAdvicePrefix[] =
    "Для работы через LPT-порт положите в папку программы (";
inline constexpr char kPortLibraryAdviceMiddle[] =
    ") 64-разрядную библиотеку DLPortIO.dll или DLPortIO64.dll и её драйвер DLPortIO.SYS. "
    "Установка драйвера требует прав администратора.";

// A port that cannot be opened, serial or parallel: what happened, the system's wording in
// brackets, then what to do.
//   "Нет доступа к " + device + " (" + wording + "). " + group advice
//   "Порт " + device + " занят другой программой" [+ " или драйвером принтера"] + " (" +
//       wording + "). " + what to do
//   "Порт " + device + " не найден (" + wording + ")."
//   "Не удается открыть " + device + " (" + wording + ")."
inline constexpr char kPortNoAccessPrefix[] = "Нет доступа к ";
inline constexpr char kPortPrefix[] = "Порт ";
inline constexpr char kPortBusy[] = " занят другой программой";
inline constexpr char kPortMissing[] = " не найден";
inline constexpr char kPortCannotOpenPrefix[] = "Не удается открыть ";
// + group + ": sudo usermod -a -G " + group + " $USER, затем войти в систему заново."
inline constexpr char kPortGroupAdvicePrefix[] = "Пользователь должен входить в группу ";
inline constexpr char kPortGroupAdviceCommand[] = ": sudo usermod -a -G ";
inline constexpr char kPortGroupAdviceSuffix[] = " $USER, затем войти в систему заново.";
inline constexpr char kParallelPortGroup[] = "lp";
inline constexpr char kSerialPortGroup[] = "dialout";
inline constexpr char kParallelBusyByPrinter[] = " или драйвером принтера";
inline constexpr char kParallelBusyAdvice[] = "Выгрузите модуль lp: sudo rmmod lp.";
inline constexpr char kSerialBusyAdvice[] =
    "Закройте эту программу. USB-адаптеры обычно занимают службы ModemManager и brltty: "
    "sudo systemctl disable --now ModemManager, sudo apt-get remove brltty.";
// Windows: the port is shared with nobody, and its number is the one the device manager gives.
inline constexpr char kWindowsSerialBusyAdvice[] =
    "Закройте программу, которая его использует, или выберите другой порт.";
inline constexpr char kWindowsSerialMissingAdvice[] =
    "Номер COM-порта адаптера указан в диспетчере устройств, в разделе «Порты (COM и LPT)».";

// Bus master.
inline constexpr char kWaitTimeout[] = "Превышено время ожидания ответа!";
inline constexpr char kTransmitError[] = "Ошибка передачи данных!";
inline constexpr char kReceiveError[] = "Ошибка чтения данных!";
inline constexpr char kBusInitError[] = "Ошибка инициализации шины I2C!";
inline constexpr char kBusConflict[] = "Конфликт шины I2C!";
// A reader that keeps refusing its address or its bytes: every retry loop gives up with this.
inline constexpr char kNoReaderAnswer[] = "Нет ответа от ПСИ!";

// USB adapter.
inline constexpr char kAdapterName[] = "Орбис-К USB-адаптер";

// Transfers.
inline constexpr char kLoading[] = "Подождите, идет загрузка данных ...";
inline constexpr char kLoaded[] = "Данные загружены.";
inline constexpr char kWriting[] = "Подождите, идет запись данных ...";
inline constexpr char kWritten[] = "Данные записаны на ПСИ";
inline constexpr char kNotWritten[] = "Данные не записаны на ПСИ";
// What a write's read-back found: the reader kept other bytes than were sent.
inline constexpr char kWriteMismatch[] = "Данные в ПСИ не совпадают с записанными!";
inline constexpr char kAdapterError[] = "Ошибка при работе с адаптером!";
inline constexpr char kLinkBroken[] = "Разрыв связи с ПСИ или адаптером!";
inline constexpr char kBlockSizeWriteError[] =
    "Ошибка установки размера блока памяти через USB адаптер!";
inline constexpr char kAddressWriteError[] = "Ошибка установки адреса памяти через USB адаптер!";
inline constexpr char kCaptionLoadLpt[] = "Загрузка через LPT порт";
inline constexpr char kCaptionLoadUsb[] = "Загрузка через USB адаптер";
inline constexpr char kCaptionWrite[] = "Прибор считывания информации";
// The reader's variant of the checksum question: with a blank before the last line.
inline constexpr char kReaderChecksumQuestion[] =
    "Неправильная контрольная сумма!\nВозможно, ошибка чтения ПСИ.\n Продолжить обработку?";

// Discovery.
inline constexpr char kSearchAdapterPrefix[] = "Поиск <";  // + name + "> : " + port
inline constexpr char kSearchAdapterMiddle[] = "> : ";
inline constexpr char kNotAdapterPrefix[] = "К ";  // + port + " подключен не <" + name + ">"
inline constexpr char kNotAdapterMiddle[] = " подключен не <";
inline constexpr char kNotAdapterSuffix[] = ">";
inline constexpr char kAdapterFoundSuffix[] = " обнаружен!";
inline constexpr char kNoReaderOnAdapter[] = "ПСИ не подключен к USB-адаптеру. Проверить ещё раз?";
inline constexpr char kReaderFoundPrefix[] = "ПСИ обнаружен! Порт: ";
inline constexpr char kReaderNotFound[] = "Прибор считывания информации не обнаружен!";
inline constexpr char kLptSearchPrefix[] = "Поиск ПСИ по адресу 0x";  // + hex + "..."
inline constexpr char kLptSearchSuffix[] = "...";
inline constexpr char kLptInitFailedPrefix[] = "Ошибка инициализации порта 0x";  // + hex + "."
inline constexpr char kLptNoAnswerPrefix[] = "Нет ответа от ПСИ (порт 0x";       // + hex + ")."
inline constexpr char kLptNoAnswerSuffix[] = ").";

// Connection dialog.
inline constexpr char kDialogCaption[] = "Выбор порта подключения ПСИ";
inline constexpr char kDialogPrompt[] = "Введите порт, к которому подключен ПСИ";
inline constexpr char kDialogTypeCaption[] = " Тип подключения ";
inline constexpr char kDialogTypeUsb[] = "USB адаптер";
inline constexpr char kDialogTypeLpt[] = "LPT порт";
inline constexpr char kDialogAddressLabel[] = "Адрес:";
inline constexpr char kDialogDefaultUsbPort[] = "COM1";
inline constexpr char kDialogDefaultLptPort[] = "0x378";

}  // namespace orbisk::linktext
