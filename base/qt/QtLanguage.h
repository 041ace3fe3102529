#pragma once
// The toolkit's own texts in Russian, as the program's are: the buttons of questions, the file
// and print dialogs, the names of months and days in the calendars.
class QApplication;

namespace orbisk {

// Loads the toolkit's Russian translations (from its translations folder, or a "translations"
// folder beside the program) and makes Russian the widgets' locale. Numbers are not the
// widgets' business: the core writes them, the same under every locale. False when no
// translation was found (the toolkit's texts then stay English).
bool InstallRussianLanguage(QApplication& app);

}  // namespace orbisk
