#include "desktop/qt/QtApplicationSetUp.h"

#include <QApplication>
#include <clocale>

#include "base/qt/QtLanguage.h"
#include "base/qt/QtProgramFont.h"

namespace orbisk {

bool SetUpApplication(QApplication& app, const QString& version, const QString& company) {
    // The toolkit sets the user's locale for the C library too; the core writes and reads its
    // numbers with '.', whatever the user's decimal separator.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("orbisk");
    // No display name: the toolkit would add it to the title of every dialog, after a dash, and
    // the window manager would then cut the dialog's own title short. The main window's title
    // names the program.
    QApplication::setApplicationVersion(version);
    QApplication::setOrganizationName(company);
    UseShippedFont(QCoreApplication::applicationDirPath() + "/fonts");
    return InstallRussianLanguage(app);
}

}  // namespace orbisk
