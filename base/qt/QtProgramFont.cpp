#include "base/qt/QtProgramFont.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>

namespace orbisk {

bool UseShippedFont(const QString& folder) {
    const QDir dir(folder);
    QString family;
    // Sorted, so the regular face (DejaVuSans.ttf) comes before its bold and oblique ones.
    const QStringList files =
        dir.entryList({"*.ttf", "*.otf"}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& file : files) {
        const int id = QFontDatabase::addApplicationFont(dir.filePath(file));
        if (id < 0) continue;
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (family.isEmpty() && !families.isEmpty()) family = families.first();
    }
    if (family.isEmpty()) return false;
    QFont font = QApplication::font();
    font.setFamilies({family});
    QApplication::setFont(font);
    return true;
}

}  // namespace orbisk
