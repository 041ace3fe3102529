#include "base/qt/QtLanguage.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orbisk {

bool InstallRussianLanguage(QApplication& app) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QLocale::setDefault(russian);

    const QStringList folders = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(QCoreApplication::applicationDirPath()).filePath("translations"),
    };
    // "qt" gathers the modules' catalogs (base, serial port, ...) that the folder holds.
    auto* translator = new QTranslator(&app);
    for (const QString& folder : folders) {
        if (translator->load(russian, "qt", "_", folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

}  // namespace orbisk
